// Console input routines of the navigation dialogue.
//
// The three field parsers each own a set of buffers in the session of the
// run (session.h): the line just read (str1), the kept line that later calls
// parse again for further fields of the same answer (str2), and a work copy
// cut into fields (stringin).  Nothing is shared between the three sets.
#include "input.h"

#include <stdio_ext.h>
#include <termios.h>
#include <unistd.h>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "angles.h"
#include "console.h"
#include "session.h"

namespace {

// Size handed to fgets by the field parsers (at most 61 characters of a line)
// and by lies2 and lies1 (at most 59).
constexpr int kFieldLine = 62;
constexpr int kNumberLine = 60;

const char kDelimiter[] = " ,;";

// Reads the answer line (n <= 1) or takes the kept line (n >= 2), and finds
// field n.  Returns nullptr when the answer is empty or the line has fewer
// than n fields: the caller then gives its default.
const char* find_field(FieldParser& p, int n) {
  if (n <= 1) {
    con_gets(p.str1, kFieldLine);
    std::memcpy(p.str2, p.str1, sizeof p.str2);
    // An empty answer: only the end-of-line character (or nothing at all).
    if (static_cast<int>(std::strlen(p.str1)) - 1 <= 0) return nullptr;
    n = 1;
  }
  // The kept line holds at most 61 characters, so one blank and the line fit.
  p.stringin[0] = ' ';
  std::memcpy(p.stringin + 1, p.str2, sizeof p.str2);
  p.stringin[sizeof p.stringin - 1] = '\0';
  // Fields are maximal runs of characters other than blank, comma and
  // semicolon; the end-of-line character stays attached to the last field.
  int count = 0;
  char* save = nullptr;
  for (char* tok = strtok_r(p.stringin, kDelimiter, &save); tok != nullptr;
       tok = strtok_r(nullptr, kDelimiter, &save)) {
    if (++count == n) return tok;
  }
  return nullptr;
}

int parse_int_field(FieldParser& p, int n, int def) {
  const char* field = find_field(p, n);
  return field ? satoi(field) : def;
}

// The sign rule of a value in degrees and minutes: the minutes take the sign
// of the degrees, and keep their own when the degrees are exactly 0.
double signed_minutes(double deg, double min) {
  const bool deg_negative = deg < 0;
  const bool min_negative = min < 0;
  double m = deg_negative ? -std::fabs(min) : std::fabs(min);
  if (deg == 0) m = min_negative ? -std::fabs(min) : std::fabs(min);
  return m;
}

}  // namespace

int satoi(const char* s) {
  while (*s == ' ' || *s == '\t' || *s == '\n' || *s == '\v' || *s == '\f' ||
         *s == '\r')
    ++s;
  bool negative = false;
  if (*s == '+' || *s == '-') negative = (*s++ == '-');
  // Accumulated as a negative number, whose range includes INT_MIN.
  int value = 0;
  bool saturated = false;
  for (; *s >= '0' && *s <= '9'; ++s) {
    const int digit = *s - '0';
    if (saturated) continue;
    if (value < (INT_MIN + digit) / 10) {
      saturated = true;
      continue;
    }
    value = value * 10 - digit;
  }
  if (saturated) return negative ? INT_MIN : INT_MAX;
  if (negative) return value;
  return value == INT_MIN ? INT_MAX : -value;
}

void skip(int n) {
  if (n <= 0) return;
  std::fputs(" >skip> \n", con_out());
  for (int i = 0; i < n; ++i) std::fputs(" \n", con_out());
}

int parsenth(int n, int def) {
  return parse_int_field(session().input.int_parser, n, def);
}

int parse4nth(int skipflag, int n, int def) {
  if (skipflag == 1) return def;
  return parse_int_field(session().input.int4_parser, n, def);
}

double parsefd(int n, double def) {
  const char* field = find_field(session().input.real_parser, n);
  return field ? std::strtod(field, nullptr) : def;
}

void lies2(double def_deg, double def_min, double* deg, double* min) {
  std::fprintf(con_out(), "[Default: %.0f %.2f ] ", def_deg, def_min);
  std::fputs("Input: ", con_out());
  char line[kNumberLine] = {};
  con_gets(line, kNumberLine);
  double d = def_deg;
  double m = def_min;
  // The two numbers are separated by white space only: a comma ends the scan.
  std::sscanf(line, "%lf %lf", &d, &m);
  *deg = d;
  *min = signed_minutes(d, m);
}

void lies1(int kind, double def, double* value) {
  switch (kind) {
    case kShowWhole:
      std::fprintf(con_out(), " [Default: %d ] Input: ", dtoi(def + 0.5));
      break;
    case kShowOneDecimal:
      std::fprintf(con_out(), " [Default: %.1f ] Input: ", def);
      break;
    case kShowTwoDecimals:
      std::fprintf(con_out(), " [Default: %.2f ] Input: ", def);
      break;
    case kShowNone: std::fputs("   Input: ", con_out()); break;
    default: break;
  }
  char line[kNumberLine] = {};
  con_gets(line, kNumberLine);
  double v = def;
  std::sscanf(line, "%lf ", &v);
  *value = v;
}

void input_reset() { session().input = InputBuffers{}; }

void discard_pending_input() {
  FILE* in = con_in();
  const int fd = fileno(in);
  if (fd < 0 || !isatty(fd)) return;
  tcflush(fd, TCIFLUSH);  // what the terminal holds
  __fpurge(in);           // what stdio has already taken from it
}
