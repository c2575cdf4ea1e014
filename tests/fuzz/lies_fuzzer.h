// The frame of the differential fuzzers of lies1 and lies2: the first byte of
// the input chooses the defaults (and for lies1 the kind), the rest is what
// the user types.  The program's reader reads it from the console; the C
// library's side takes the line as the reader does (fgets of at most 59
// characters: end of input when there is none at all) and scans it with
// sscanf and the reader's format, starting from the defaults.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "console.h"
#include "differential.h"

namespace lies {

// Defaults offered: ordinary ones, signed zeros, and values that print and
// compare in unusual ways.
constexpr double kDefaults[8] = {0.0,   -0.0,  1.6, 46.99,
                                 -17.5, 1e308, NAN, -INFINITY};
constexpr int kLine = 60;  // the readers' line: at most 59 characters

// One reading: the console bound to the typed bytes, output thrown away.
// Runs read() (the program's reader) and tells whether it met the end of
// input; *taken is how many characters of the input it consumed.
template <typename Read>
bool program_side(std::string& typed, Read read, long* taken) {
  FILE* in = diff::memory_stream(typed);
  FILE* out = std::fopen("/dev/null", "w");
  diff::require(out != nullptr, "cannot open /dev/null");
  con_bind(in, out);
  bool ended = false;
  try {
    read();
  } catch (const EndOfInput&) {
    ended = true;
  }
  con_bind(nullptr, nullptr);
  *taken = std::ftell(in);
  std::fclose(in);
  std::fclose(out);
  return ended;
}

// The line as the readers take it; false at the end of input.
inline bool library_line(std::string& typed, char* line, long* taken) {
  FILE* m = diff::memory_stream(typed);
  const bool got = std::fgets(line, kLine, m) != nullptr;
  *taken = std::ftell(m);
  std::fclose(m);
  return got;
}

}  // namespace lies
