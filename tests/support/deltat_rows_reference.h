// The nodes of the Delta-T table file as the table is defined, read with the
// C library's fscanf: the reference against which the tests and the
// differential fuzzer compare the program's reader.
#pragma once

#include <cstdio>

namespace ldtest {

// While the last year read is at most 2999 and fewer than 40 rows are read:
// one more row into the year and the value with "%d %lf \n" (a row not read
// whole leaves what it does not reach), then node 0 set to (2010, 66.1) and
// node 1 to (2020, 69.36).  Returns the count of nodes after node 0.
inline int reference_nodes(FILE* f, int* yrs, double* vals) {
  int yr = 0;
  double v = 0.0;
  int n = 0;
  while (yr <= 2999 && n < 40) {
    ++n;
    (void)std::fscanf(f, "%d %lf \n", &yr, &v);
    yrs[n] = yr;
    vals[n] = v;
    yrs[0] = 2010;
    vals[0] = 66.1;
    yrs[1] = 2020;
    vals[1] = 69.36;
  }
  return n;
}

}  // namespace ldtest
