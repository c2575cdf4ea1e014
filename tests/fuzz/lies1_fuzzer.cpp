// Differential fuzzer of lies1, the reader of one number: what the user types
// against sscanf with the format "%lf " on the line as lies1 takes it, from
// the default.  The value (to the last bit, NaN by class), the end of input
// and the characters consumed must be the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "input.h"
#include "lies_fuzzer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const int kKinds[4] = {0, 1, 2, -2};
  const int kind = kKinds[data[0] & 3];
  const double def = lies::kDefaults[(data[0] >> 2) & 7];
  std::string typed(reinterpret_cast<const char*>(data + 1), size - 1);

  double value = -123.25;
  long taken = 0;
  const bool ended = lies::program_side(
      typed, [&] { lies1(kind, def, &value); }, &taken);

  char line[lies::kLine];
  long lib_taken = 0;
  const bool got = lies::library_line(typed, line, &lib_taken);
  double lib_value = def;
  if (got) (void)std::sscanf(line, "%lf ", &lib_value);

  diff::Compare c;
  c.integer("end of input", ended, !got, 0);
  if (got) c.real("value", value, lib_value, def);
  c.integer("characters taken", taken, lib_taken, 0);
  c.check("lies1 differs from sscanf \"%lf \"",
          std::string(reinterpret_cast<const char*>(data), size), lib_taken);
  return 0;
}
