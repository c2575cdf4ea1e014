// Helpers of the differential fuzzers, which feed the same bytes to one of
// the program's readers and to the C library's fscanf or sscanf with the
// reader's own format, and fail on any difference: a value that differs in
// a single bit (NaN by class), a field read by one and not by the other, or
// a different count of characters taken.  The fuzzers that write a file of
// known values and read it back use its directory of the program's files
// and its comparison and display of reals.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "console.h"
#include "fuzz_run.h"

namespace diff {

using fuzzrun::fail;
using fuzzrun::require;

// libFuzzer counts these as coverage.  The C library is not instrumented, so
// the fuzzer would not see which of its ways a scan took; each comparison
// therefore marks its outcome here, one counter for each field and outcome
// (not read, or read with a value of this class and sign) and for each
// count of characters taken (by powers of two), and an input that reaches a
// counter not reached before is kept in the corpus.
__attribute__((
    section("__libfuzzer_extra_counters"))) static uint8_t g_outcomes[1 << 15];

// Equal to the last bit; two NaNs count as equal whatever their payload.
inline bool same(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::memcmp(&a, &b, sizeof a) == 0;
}

inline std::string show(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%a (%.17g)", v, v);
  return buf;
}

// The fields of both sides, each with the value it had before the read;
// records the first difference and the outcome.
class Compare {
 public:
  void real(const char* field, double program, double library, double before) {
    note(same(library, before)
             ? 0
             : 1 + std::fpclassify(library) * 2 + std::signbit(library));
    if (!same(program, library) && what_.empty())
      what_ = std::string(field) + ": program " + show(program) + ", library " +
              show(library);
  }
  void integer(const char* field, long program, long library, long before) {
    note(library == before ? 0
         : library < 0     ? 1
         : library == 0    ? 2
         : library < 65536 ? 3
                           : 4);
    if (program != library && what_.empty())
      what_ = std::string(field) + ": program " + std::to_string(program) +
              ", library " + std::to_string(library);
  }
  // Fails with the input shown when a field differed; else marks the outcome
  // with the count of characters taken (by powers of two).
  void check(const char* reader, const std::string& input, long taken) {
    if (!what_.empty())
      fail(reader, what_ + "\ninput (" + std::to_string(input.size()) +
                       " bytes): " + input);
    int bits = 0;
    for (unsigned long t = taken > 0 ? static_cast<unsigned long>(taken) : 0;
         t != 0; t >>= 1)
      ++bits;
    note(bits);
  }

 private:
  // Outcome `feature` (below 64) of the next field.
  void note(int feature) {
    g_outcomes[(fields_++ * 64 + feature) % sizeof g_outcomes] = 1;
  }

  std::string what_;
  size_t fields_ = 0;
};

// The bytes as a stream in memory for the C library's side.
inline FILE* memory_stream(std::string& bytes) {
  FILE* f = fmemopen(bytes.data(), bytes.size(), "r");
  require(f != nullptr, "fmemopen failed");
  return f;
}

// A directory of this fuzzing process, bound as the directory of the
// program's files, in which the program's side finds its file.
class FileDir {
 public:
  FileDir() {
    const char* base = std::getenv("TMPDIR");
    path_ = std::string(base && *base ? base : "/tmp") + "/ld_diff_XXXXXX";
    require(mkdtemp(path_.data()) != nullptr, "mkdtemp failed", path_);
    fd_ = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    require(fd_ >= 0, "cannot open the scratch directory", path_);
    con_bind_dir(fd_);
  }
  ~FileDir() {
    con_bind_dir(AT_FDCWD);
    std::error_code ec;
    fuzzrun::fs::remove_all(path_, ec);
    close(fd_);
  }
  FileDir(const FileDir&) = delete;
  FileDir& operator=(const FileDir&) = delete;

  // The file `name` of the directory with exactly these bytes.
  void put(const char* name, const std::string& bytes) const {
    const int f =
        openat(fd_, name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    require(f >= 0, "cannot write the scratch file", name);
    size_t at = 0;
    while (at < bytes.size()) {
      const ssize_t n = write(f, bytes.data() + at, bytes.size() - at);
      require(n > 0, "cannot write the scratch file", name);
      at += static_cast<size_t>(n);
    }
    close(f);
  }

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace diff
