// Differential fuzzer of the rows of the Delta-T table file: arbitrary bytes
// as the file, read by the program (deltat_read_nodes on the file opened as
// delta0x opens it) and by a loop of the C library's fscanf with the format
// "%d %lf \n" over the same bytes, as the table is defined: while the last
// year read is at most 2999 and fewer than 40 rows are read, one more row
// into the year and the value (a row not read whole leaves what it does not
// reach), node 0 (2010, 66.1) and node 1 (2020, 69.36) set again after each.
// The count of nodes, all 41 nodes (also those not reached), and the count
// of characters taken must be the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "deltat.h"
#include "differential.h"
#include "textio.h"

namespace {

constexpr int kNodes = 41;
const char kName[] = "dodarivi0r0.txt";

// What the nodes hold before a read, so that a node not written shows.
void fill(int* yrs, double* vals) {
  for (int i = 0; i < kNodes; ++i) {
    yrs[i] = -7000 - i;
    vals[i] = -0.125 * i;
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
  int yr = 0;
  double v = 0.0;
  int rn = 0;
  while (yr <= 2999 && rn < 40) {
    ++rn;
    (void)std::fscanf(m, "%d %lf \n", &yr, &v);
    ryrs[rn] = yr;
    rvals[rn] = v;
    ryrs[0] = 2010;
    rvals[0] = 66.1;
    ryrs[1] = 2020;
    rvals[1] = 69.36;
  }
  const long rtaken = std::ftell(m);
  std::fclose(m);

  diff::Compare c;
  c.integer("node count", n, rn);
  for (int i = 0; i < kNodes; ++i) {
    const std::string node = "node " + std::to_string(i);
    c.integer((node + " year").c_str(), yrs[i], ryrs[i]);
    c.real((node + " value").c_str(), vals[i], rvals[i]);
  }
  c.integer("characters taken", taken, rtaken);
  c.check("the Delta-T rows differ from fscanf \"%d %lf \\n\"", bytes);
  return 0;
}
