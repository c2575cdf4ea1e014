// The Delta-T table file "dodarivi0r0.txt": rows of year and Delta-T for the
// years 2020 to 3000, which the user may edit, followed by an explanatory
// text.  It is created with its default content when it is missing, and read,
// tested for order and interpolated on every call; nothing is cached.
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "console.h"
#include "deltat.h"
#include "textio.h"

const char kDeltaTFile[] = "dodarivi0r0.txt";

namespace {

constexpr int kMaxRows = 40;  // rows read at most; nodes 0..40

// The explanatory text after the rows, eleven pieces written in this order.
constexpr const char* kExplanation[] = {
    "  'YEAR'  'DELTA_T(seconds)' \n\n",
    " DELTA_T = TT-UT1 is obtained (after year 2020)\n",
    " from THIS FILE via local quadratic interpolation,\n",
    " and then entered into program Veldramont-nn.exe - \n\n",
    " Data given by UKHO in 2021 (also see JPL-DE441),\n",
    // the public Delta-T page of the data provider named in the piece before
    " up to year 2500, see: https://astro.ukho.gov.uk/nao/lvm/\n",
    " (beyond that by quadratic extrapolation).\n",
    " You may change the entries of the file as you like,\n",
    " but YEARS must be between 2020 and 3000. -\n",
    " If the file gets corrupted, just erase it completely,\n",
    " the program next time will rebuild it in original form.\n",
};

// ---------------------------------------------------------------------------
// Writing the default file: saved whole, through a temporary file, and only
// where no file of the name exists, so that a failed write never leaves a
// truncated table and an existing table is never replaced.

bool create_default_file() {
  TextBuffer text;
  int year = 2020;
  for (int i = 1; i <= 21; ++i) {
    if (i >= 2) {
      year = year + 5 * (i - 1);
      if (year > 3000) year = 3000;
    }
    text.printf("    %d   %.1f \n", year, deltatime(year));
  }
  for (const char* piece : kExplanation) text.printf("%s", piece);
  return text.ok() &&
         save_file(con_dir(), kDeltaTFile, text.data(), text.size(),
                   SaveMode::kCreateOnly) != SaveResult::kFailed;
}

// ---------------------------------------------------------------------------

// The value at `year` of the interval from node i to node i+1, with node i-1
// as the first of the three nodes.  The nodes never decrease here (the order
// check has passed node i, and the interval holds the year).  Three distinct
// years: the parabola through the three nodes.  Two equal years, which the
// order check lets pass: a year equal to the year of node i or of node i+1
// gets that node's value (node i first), any other year is interpolated
// linearly between node i and node i+1, so nothing is divided by zero.
double interval_value(const int* yrs, const double* vals, int i, int year) {
  const double xs[4] = {0.0, static_cast<double>(yrs[i - 1]),
                        static_cast<double>(yrs[i]),
                        static_cast<double>(yrs[i + 1])};
  const double ys[4] = {0.0, vals[i - 1], vals[i], vals[i + 1]};
  const double x = static_cast<double>(year);
  if (xs[1] != xs[2] && xs[2] != xs[3] && xs[1] != xs[3]) {
    double y = 0.0;
    quadipolb(xs, ys, x, &y);
    return y;
  }
  if (x == xs[2]) return ys[2];
  if (x == xs[3]) return ys[3];
  return ys[2] + (ys[3] - ys[2]) * ((x - xs[2]) / (xs[3] - xs[2]));
}

// The model's Delta-T in place of the file's.  Before -700 the model gives 0
// and prints two lines of its own; here 0 is given without them, so that the
// one line of print_unusable stays the only message.  (Years after 3000 never
// come here.)
double model_value(int year) { return year < -700 ? 0.0 : deltatime(year); }

void print_unusable() {
  std::fprintf(
      con_out(),
      "??? %s can be neither read nor created: Delta-T taken from the built-in model\n",
      kDeltaTFile);
}

}  // namespace

// deltat_read_nodes
//   Nodes 0 and 1 are always (2010, 66.1) and (2020, 69.36); the file's first
//   row is read in place of node 1 and replaced.  Reading stops after the
//   first row whose year is 3000 or more, or after 40 rows.  A row that
//   cannot be read (fscanf converts fewer than two values) leaves the year
//   or the value as it was, so the last row read counts again.
int deltat_read_nodes(FILE* f, int* yrs, double* vals) {
  int yr = 0;
  double v = 0.0;
  int n = 0;
  while (yr <= 2999 && n < kMaxRows) {
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

// delta0x
//   Given:    year (int)
//   Returned: Delta-T (seconds) for that year from the Delta-T table file; 0
//             after 3000, before 2020, beyond the last row read, when the
//             rows are out of order, or when the value found is not finite
//   Notes:    See deltat.h for the whole behaviour.
double delta0x(int year) {
  if (year > 3000) return 0.0;  // the file is neither read nor created

  errno = 0;
  FILE* f = open_for_reading(con_dir(), kDeltaTFile);
  if (f == nullptr) {
    // Only a missing file is created; an existing file, readable or not, is
    // never replaced.  A file that can be neither read nor created leaves
    // Delta-T to the built-in model, after one line on the console.
    if (errno != ENOENT || !create_default_file() ||
        (f = open_for_reading(con_dir(), kDeltaTFile)) == nullptr) {
      print_unusable();
      return model_value(year);
    }
  }

  int yrs[kMaxRows + 1] = {};
  double vals[kMaxRows + 1] = {};
  const int size = deltat_read_nodes(f, yrs, vals);
  // A read error (the name is a directory, say) makes the file unreadable,
  // which is not the same as rows that cannot be read.
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    print_unusable();
    return model_value(year);
  }

  int prev = 2020;
  for (int i = 1; i <= size - 1; ++i) {
    if (yrs[i] < prev) {
      std::fprintf(con_out(), "??? %s:\n? wrong sequence:%d\n", kDeltaTFile,
                   prev);
      con_getc();  // wait for one character; EndOfInput propagates from here
      return 0.0;
    }
    prev = yrs[i];
    if (yrs[i] <= year && year <= yrs[i + 1]) {
      const double y = interval_value(yrs, vals, i, year);
      return std::isfinite(y) ? y : 0.0;
    }
  }
  return 0.0;
}
