// The Delta-T table file "dodarivi0r0.txt": rows of year and Delta-T for the
// years 2020 to 3000, which the user may edit, followed by an explanatory
// text.  It is created with its default content when it is missing, and read,
// tested for order and interpolated on every call; nothing is cached.
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "console.h"
#include "deltat.h"

namespace {

constexpr char kFileName[] = "dodarivi0r0.txt";
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
// Reading one row.  A row is read as the C format "%d %lf \n" reads it: white
// space, a whole number (the year), white space, a real number (Delta-T),
// white space.  Reading stops at the first item that cannot be read; what was
// read before it is kept, so a row that cannot be read at all leaves the year
// and the value as they were.  The first character that cannot continue an
// item is left in the stream for the next read, so unreadable text stops every
// later row as well.  Unlike fscanf the numbers are converted safely for any
// content: a year beyond the range of int is saturated at INT_MIN or INT_MAX,
// a real number of any length is rounded correctly (beyond 800 significant
// digits only whether a further digit is not zero counts), an exponent of any
// size gives an infinity or 0, "inf", "infinity" and "nan" (any case) are
// read as such, and hexadecimal numbers are not recognised.

bool is_space(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool is_digit(int c) { return c >= '0' && c <= '9'; }
int lower(int c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

// Skips white space; returns the first other character (EOF at the end).
int next_nonspace(FILE* f) {
  int c = std::fgetc(f);
  while (is_space(c)) c = std::fgetc(f);
  return c;
}

void unread(int c, FILE* f) {
  if (c != EOF) std::ungetc(c, f);
}

// "%d": optional sign and decimal digits, saturated at the limits of int.
bool scan_int(FILE* f, int* out) {
  int c = next_nonspace(f);
  bool neg = false;
  if (c == '+' || c == '-') {
    neg = (c == '-');
    c = std::fgetc(f);
  }
  if (!is_digit(c)) {
    unread(c, f);
    return false;
  }
  long long acc = 0;
  for (; is_digit(c); c = std::fgetc(f)) {
    if (acc <= 10000000000LL) acc = acc * 10 + (c - '0');  // beyond int: saturated below
  }
  unread(c, f);
  if (neg) acc = -acc;
  *out = acc > INT_MAX ? INT_MAX : acc < INT_MIN ? INT_MIN : static_cast<int>(acc);
  return true;
}

// Matches the rest of a word (after its first letter) as far as it goes;
// returns the number of letters matched, the first letter included.
int match_word(FILE* f, const char* word) {
  int matched = 1;
  int c = std::fgetc(f);
  while (word[matched] != '\0' && lower(c) == word[matched]) {
    ++matched;
    c = std::fgetc(f);
  }
  unread(c, f);
  return matched;
}

// "%lf": optional sign, then digits with an optional decimal point and an
// optional exponent, or inf / infinity / nan.
bool scan_real(FILE* f, double* out) {
  int c = next_nonspace(f);
  bool neg = false;
  if (c == '+' || c == '-') {
    neg = (c == '-');
    c = std::fgetc(f);
  }
  if (lower(c) == 'i' || lower(c) == 'n') {
    const bool inf = lower(c) == 'i';
    const int matched = match_word(f, inf ? "infinity" : "nan");
    if (matched < 3) return false;
    const double v = inf ? HUGE_VAL : std::nan("");
    *out = neg ? -v : v;
    return true;
  }

  // The significant digits are gathered as an integer D, the value being
  // D x 10^exp10; leading zeros are dropped, digits beyond the 800th only
  // count as a sticky non-zero digit.
  constexpr int kMaxDigits = 800;
  constexpr long long kExpLimit = 1000000000LL;  // far beyond any double
  char digits[kMaxDigits + 2];
  int nd = 0;
  bool sticky = false;
  bool any = false;
  long long exp10 = 0;
  auto clamp = [](long long e) { return e > kExpLimit ? kExpLimit : e < -kExpLimit ? -kExpLimit : e; };
  for (; is_digit(c); c = std::fgetc(f)) {
    any = true;
    if (nd == 0 && c == '0') continue;
    if (nd < kMaxDigits) {
      digits[nd++] = static_cast<char>(c);
    } else {
      exp10 = clamp(exp10 + 1);
      if (c != '0') sticky = true;
    }
  }
  if (c == '.') {
    for (c = std::fgetc(f); is_digit(c); c = std::fgetc(f)) {
      any = true;
      if (nd == 0 && c == '0') {
        exp10 = clamp(exp10 - 1);
      } else if (nd < kMaxDigits) {
        digits[nd++] = static_cast<char>(c);
        exp10 = clamp(exp10 - 1);
      } else if (c != '0') {
        sticky = true;
      }
    }
  }
  if (!any) {
    unread(c, f);
    return false;
  }
  if (c == 'e' || c == 'E') {
    // An exponent without digits leaves the number as it stands (the letter
    // and its sign are taken with it).
    c = std::fgetc(f);
    bool eneg = false;
    if (c == '+' || c == '-') {
      eneg = (c == '-');
      c = std::fgetc(f);
    }
    long long e = 0;
    for (; is_digit(c); c = std::fgetc(f)) {
      if (e < kExpLimit) e = e * 10 + (c - '0');
    }
    exp10 = clamp(exp10 + (eneg ? -e : e));
  }
  unread(c, f);

  double v = 0.0;
  if (nd > 0) {
    if (sticky) {
      digits[nd++] = '1';
      exp10 = clamp(exp10 - 1);
    }
    char text[kMaxDigits + 32];
    std::memcpy(text, digits, static_cast<size_t>(nd));
    std::snprintf(text + nd, sizeof text - static_cast<size_t>(nd), "e%lld", exp10);
    v = std::strtod(text, nullptr);  // correctly rounded; out of range: inf or 0
  }
  *out = neg ? -v : v;
  return true;
}

// One row as "%d %lf \n": the year, the value, then white space.
void scan_row(FILE* f, int* yr, double* v) {
  int y = 0;
  if (!scan_int(f, &y)) return;
  *yr = y;
  double d = 0.0;
  if (!scan_real(f, &d)) return;
  *v = d;
  unread(next_nonspace(f), f);
}

// ---------------------------------------------------------------------------
// Writing the default file.  It is written to a temporary file in the same
// directory and renamed into place only when every byte has been written, so
// a failed write never leaves a truncated table under the file's name.

bool write_default(FILE* f) {
  int year = 2020;
  for (int i = 1; i <= 21; ++i) {
    if (i >= 2) {
      year = year + 5 * (i - 1);
      if (year > 3000) year = 3000;
    }
    if (std::fprintf(f, "    %d   %.1f \n", year, deltatime(year)) < 0) return false;
  }
  for (const char* piece : kExplanation) {
    if (std::fputs(piece, f) < 0) return false;
  }
  return true;
}

bool create_default_file() {
  char tmp[] = "dodarivi0r0.txt.XXXXXX";
  const int fd = mkstemp(tmp);
  if (fd < 0) return false;
  // Ordinary permissions for a file the user may edit (mkstemp gives 0600).
  const mode_t mask = umask(0);
  umask(mask);
  (void)fchmod(fd, 0666 & ~mask);
  FILE* f = fdopen(fd, "w");
  if (f == nullptr) {
    close(fd);
    std::remove(tmp);
    return false;
  }
  bool ok = write_default(f);
  ok = (std::fflush(f) == 0) && ok;
  ok = (fsync(fileno(f)) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  ok = ok && std::rename(tmp, kFileName) == 0;
  if (!ok) std::remove(tmp);
  return ok;
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
  const double xs[4] = {0.0, static_cast<double>(yrs[i - 1]), static_cast<double>(yrs[i]),
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
  std::fprintf(con_out(),
               "??? %s can be neither read nor created: Delta-T taken from the built-in model\n",
               kFileName);
}

// Opens the table for reading without ever waiting: only a regular file is
// a table.  A directory, a pipe or a device under the name is unusable
// (errno EINVAL), and opening a pipe that no program writes to would wait
// for ever.
FILE* open_table() {
  const int fd = open(kFileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    errno = EINVAL;
    return nullptr;
  }
  FILE* f = fdopen(fd, "r");
  if (f == nullptr) close(fd);
  return f;
}

}  // namespace

// delta0x
//   Given:    year (int)
//   Returned: Delta-T (seconds) for that year from the Delta-T table file; 0
//             after 3000, before 2020, beyond the last row read, when the
//             rows are out of order, or when the value found is not finite
//   Notes:    See deltat.h for the whole behaviour.
double delta0x(int year) {
  if (year > 3000) return 0.0;  // the file is neither read nor created

  errno = 0;
  FILE* f = open_table();
  if (f == nullptr) {
    // Only a missing file is created; an existing file, readable or not, is
    // never replaced.  A file that can be neither read nor created leaves
    // Delta-T to the built-in model, after one line on the console.
    if (errno != ENOENT || !create_default_file() ||
        (f = open_table()) == nullptr) {
      print_unusable();
      return model_value(year);
    }
  }

  // Nodes 0 and 1 are always (2010, 66.1) and (2020, 69.36); the file's first
  // row is read in place of node 1 and replaced.  Reading stops after the
  // first row whose year is 3000 or more, or after 40 rows.
  int yrs[kMaxRows + 1] = {};
  double vals[kMaxRows + 1] = {};
  int yr = 0;
  double v = 0.0;
  int n = 0;
  while (yr <= 2999 && n < kMaxRows) {
    ++n;
    scan_row(f, &yr, &v);
    yrs[n] = yr;
    vals[n] = v;
    yrs[0] = 2010;
    vals[0] = 66.1;
    yrs[1] = 2020;
    vals[1] = 69.36;
  }
  // A read error (the name is a directory, say) makes the file unreadable,
  // which is not the same as rows that cannot be read.
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    print_unusable();
    return model_value(year);
  }
  const int size = n;

  int prev = 2020;
  for (int i = 1; i <= size - 1; ++i) {
    if (yrs[i] < prev) {
      std::fprintf(con_out(), "??? dodarivi0r0.txt:\n? wrong sequence:%d\n", prev);
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
