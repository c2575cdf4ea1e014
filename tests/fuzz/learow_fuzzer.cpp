// Differential fuzzer of the row reader of the lunar series' table: the
// input (at most one slot of 160 characters, NUL-padded as in the table; an
// input of 160 characters or more fills the slot without a NUL) is read by
// leascan::read_row and by the C library's scan with the row format
// (leascan::scan_row, on the slot with a NUL after it).  Both must give the
// same count of fields, the same integers and the same reals bit for bit
// (NaN by its class), the fields neither reaches keeping their values.
//
// The reader's check of a row takes no branch, so coverage cannot lead the
// fuzzer towards rows that pass it; half of the mutations therefore start
// from a real row of the table and change a few of its characters or put a
// piece of a row (the dictionary's kind) into one of its fields, so that many
// inputs stand at the edge of the fixed layout.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "leascan.h"
#include "leatab.h"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size,
                                        std::size_t max_size);

namespace {

[[noreturn]] void fail(const char* what, int field, double got, double want) {
  std::fprintf(
      stderr, "\n*** fuzz property failed: %s (field %d): reader %a, scan %a\n",
      what, field, got, want);
  std::abort();
}

bool same(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

// A small generator of its own, from the seed libFuzzer gives.
struct Random {
  std::uint64_t s;
  unsigned below(unsigned n) {
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>((s >> 33) % n);
  }
};

// Fields of the layout (first and last column) and pieces that may go there.
constexpr int kFieldCols[21][2] = {
    {0, 3},   {4, 7},   {8, 11},  {12, 15}, {16, 19},   {20, 23},   {24, 27},
    {28, 31}, {32, 35}, {36, 39}, {40, 43}, {44, 47},   {48, 51},   {52, 55},
    {56, 59}, {60, 75}, {76, 87}, {88, 99}, {100, 117}, {118, 135}, {136, 153}};
const char* const kPieces[] = {"0",
                               "-0",
                               "+7",
                               "-20",
                               "999",
                               "1000",
                               "-999",
                               "12345",
                               "2147483648",
                               "-0.000000000000",
                               "9007.199254740992",
                               "9007.199254740993",
                               "9999.999999999999",
                               "1234567.1234567",
                               "12345678.1234567",
                               "0.0227190",
                               "1e-5",
                               "2.5E+3",
                               "0x1p-3",
                               "inf",
                               "-nan",
                               "nan(7)",
                               ".5",
                               "5.",
                               "-",
                               "",
                               "1,5",
                               "\t3"};
const char kAlphabet[] = " -+.0123456789eEinxp\t\n";

}  // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data,
                                               std::size_t size,
                                               std::size_t max_size,
                                               unsigned int seed) {
  Random r{seed};
  if (max_size < leascan::kWidth || r.below(2) == 0)
    return LLVMFuzzerMutate(data, size, max_size);
  char row[leascan::kWidth];
  std::memcpy(row, leatab[1 + r.below(3871)], sizeof row);
  if (r.below(2) == 0) {
    for (unsigned n = 1 + r.below(3); n > 0; --n)
      row[r.below(leascan::kWidth)] = kAlphabet[r.below(sizeof kAlphabet)];
  } else {  // a piece right-aligned in a field, running over its left end where longer
    const int* f = kFieldCols[r.below(21)];
    const char* piece = kPieces[r.below(sizeof kPieces / sizeof *kPieces)];
    const int len = static_cast<int>(std::strlen(piece));
    for (int k = f[0]; k <= f[1]; ++k) row[k] = ' ';
    for (int k = 0; k < len && f[1] - k >= 0; ++k)
      row[f[1] - k] = piece[len - 1 - k];
  }
  std::memcpy(data, row, sizeof row);
  return sizeof row;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  char slot[leascan::kWidth] = {};
  std::memcpy(slot, data, size < sizeof slot ? size : sizeof slot);
  char row[leascan::kWidth + 1] = {};
  std::memcpy(row, slot, sizeof slot);

  // The fields start with values no row holds.
  int f[15], g[15];
  double v[6], w[6];
  for (int k = 0; k < 15; ++k) f[k] = g[k] = -123456789 + k;
  for (int k = 0; k < 6; ++k) v[k] = w[k] = -0.1234567890123 - k;
  // An edge of its own for the rows that take the fixed columns.
  static volatile int fixed_rows = 0;
  int fx[15];
  double vx[6];
  if (leascan::read_fixed(slot, fx, vx)) fixed_rows = fixed_rows + 1;
  const int got = leascan::read_row(slot, f, v);
  const int want = leascan::scan_row(row, g, w);
  if (got != want) fail("count of fields", 0, got, want);
  for (int k = 0; k < 15; ++k)
    if (f[k] != g[k]) fail("integer", k + 1, f[k], g[k]);
  for (int k = 0; k < 6; ++k)
    if (!same(v[k], w[k])) fail("real", 16 + k, v[k], w[k]);
  return 0;
}
