// Differential fuzzer of the rows of the Delta-T table file: arbitrary bytes
// as the file, read by the program (deltat_read_nodes on the file opened as
// delta0x opens it) and by the loop of the C library's fscanf with the
// format "%d %lf \n" that defines the table (deltat_rows_reference.h) over
// the same bytes.  The count of nodes, all 41 nodes (also those not
// reached), and the count of characters taken must be the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "deltat.h"
#include "deltat_rows_reference.h"
#include "differential.h"
#include "textio.h"

namespace {

constexpr int kNodes = 41;
const char kName[] = "dodarivi0r0.txt";

// What the nodes hold before a read, so that a node not written shows.
constexpr int kYearBefore = -7000;
constexpr double kValueStep = -0.125;
void fill(int* yrs, double* vals) {
  for (int i = 0; i < kNodes; ++i) {
    yrs[i] = kYearBefore - i;
    vals[i] = kValueStep * i;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const diff::FileDir dir;
  std::string bytes(reinterpret_cast<const char*>(data), size);

  // The program.
  dir.put(kName, bytes);
  FILE* f = open_for_reading(con_dir(), kName);
  diff::require(f != nullptr, "the table file cannot be opened");
  int yrs[kNodes];
  double vals[kNodes];
  fill(yrs, vals);
  const int n = deltat_read_nodes(f, yrs, vals);
  const long taken = std::ftell(f);
  std::fclose(f);

  // The C library.
  FILE* m = diff::memory_stream(bytes);
  int ryrs[kNodes];
  double rvals[kNodes];
  fill(ryrs, rvals);
  const int rn = ldtest::reference_nodes(m, ryrs, rvals);
  const long rtaken = std::ftell(m);
  std::fclose(m);

  diff::Compare c;
  c.integer("node count", n, rn, 0);
  for (int i = 0; i < kNodes; ++i) {
    const std::string node = "node " + std::to_string(i);
    c.integer((node + " year").c_str(), yrs[i], ryrs[i], kYearBefore - i);
    c.real((node + " value").c_str(), vals[i], rvals[i], kValueStep * i);
  }
  c.integer("characters taken", taken, rtaken, 0);
  c.check("the Delta-T rows differ from fscanf \"%d %lf \\n\"", bytes, rtaken);
  return 0;
}
