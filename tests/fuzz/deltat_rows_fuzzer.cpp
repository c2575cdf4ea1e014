// Fuzzer of the rows of the Delta-T table file: the input bytes choose a
// table of known rows and the way it is written (deltat_rows_written.h:
// spacing, notations of the numbers, text after the rows or in their midst),
// the table is read by the program (deltat_read_nodes on the file opened as
// delta0x opens it), and the nodes read must be the rows written, to the
// last bit, with the count that the table's definition gives and the nodes
// after the last untouched.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "choices.h"
#include "deltat.h"
#include "deltat_rows_written.h"
#include "differential.h"
#include "textio.h"

namespace {

constexpr int kNodes = ldtest::kDeltaTNodes;
const char kName[] = "dodarivi0r0.txt";
constexpr int kUntouched = -7000;

std::string show(const ldtest::WrittenDeltaT& w, int k, int year,
                 double value) {
  return "node " + std::to_string(k) + ": read " + std::to_string(year) + " " +
         diff::show(value) + ", written " +
         (k <= w.count
              ? std::to_string(w.years[k]) + " " + diff::show(w.values[k])
              : std::string("none")) +
         "\nfile (" + std::to_string(w.text.size()) + " bytes):\n" + w.text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const diff::FileDir dir;
  fuzzchoice::Choices pick(data, size);
  const ldtest::WrittenDeltaT w = ldtest::write_deltat_table(pick);

  dir.put(kName, w.text);
  FILE* f = open_for_reading(con_dir(), kName);
  diff::require(f != nullptr, "the table file cannot be opened");
  int yrs[kNodes];
  double vals[kNodes];
  for (int i = 0; i < kNodes; ++i) {
    yrs[i] = kUntouched;
    vals[i] = kUntouched;
  }
  const int n = deltat_read_nodes(f, yrs, vals);
  std::fclose(f);

  diff::require(n == w.count, "the count of Delta-T nodes is not the table's",
                "read " + std::to_string(n) + ", written " +
                    std::to_string(w.count) + "\nfile:\n" + w.text);
  for (int k = 0; k < kNodes; ++k) {
    const bool reached = k <= n;
    const int year = reached ? w.years[k] : kUntouched;
    const double value = reached ? w.values[k] : kUntouched;
    if (yrs[k] != year || !diff::same(vals[k], value))
      diff::fail("a Delta-T node is not the row written",
                 show(w, k, yrs[k], vals[k]));
  }
  return 0;
}
