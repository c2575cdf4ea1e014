# The fuzz build (configure with -DLD_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
# -DCMAKE_C_COMPILER=clang): every library and program is compiled with the
# coverage instrumentation that libFuzzer steers by, and with AddressSanitizer
# and UndefinedBehaviorSanitizer, which stop at the first report.  The
# harnesses of tests/fuzz link libFuzzer itself.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR
    "LD_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang")
endif()
set(LD_FUZZ_SANITIZERS
  -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-fsanitize=fuzzer-no-link ${LD_FUZZ_SANITIZERS})
add_link_options(${LD_FUZZ_SANITIZERS})
