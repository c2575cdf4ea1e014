// Differential fuzzer of lies2, the reader of degrees and minutes: what the
// user types against sscanf with the format "%lf %lf" on the line as lies2
// takes it, from the two defaults, followed by the sign rule of the minutes
// (they take the sign of the degrees, negative only for degrees below 0,
// and keep their own sign when the degrees are exactly 0).  Both values (to
// the last bit, NaN by class), the end of input and the characters consumed
// must be the same.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "input.h"
#include "lies_fuzzer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const double def_deg = lies::kDefaults[data[0] & 7];
  const double def_min = lies::kDefaults[(data[0] >> 3) & 7];
  std::string typed(reinterpret_cast<const char*>(data + 1), size - 1);

  double deg = -123.25, min = -456.75;
  long taken = 0;
  const bool ended = lies::program_side(
      typed, [&] { lies2(def_deg, def_min, &deg, &min); }, &taken);

  char line[lies::kLine];
  long lib_taken = 0;
  const bool got = lies::library_line(typed, line, &lib_taken);
  double d = def_deg, m = def_min;
  if (got) (void)std::sscanf(line, "%lf %lf", &d, &m);
  const double minutes_as_read = m;
  m = d < 0 ? -std::fabs(minutes_as_read) : std::fabs(minutes_as_read);
  if (d == 0)
    m = minutes_as_read < 0 ? -std::fabs(minutes_as_read)
                            : std::fabs(minutes_as_read);

  diff::Compare c;
  c.integer("end of input", ended, !got, 0);
  if (got) {
    c.real("degrees", deg, d, def_deg);
    c.real("minutes", min, m, def_min);
  }
  c.integer("characters taken", taken, lib_taken, 0);
  c.check("lies2 differs from sscanf \"%lf %lf\" and the sign rule",
          std::string(reinterpret_cast<const char*>(data), size), lib_taken);
  return 0;
}
