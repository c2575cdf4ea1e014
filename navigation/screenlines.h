// The date and time lines that the entry, result and FINAL screens share.
#pragma once

#include <cstdio>

#include "console.h"
#include "runstate.h"

inline void date_line(const obsrec& w) {
  std::fprintf(con_out(), " Year: %d   Month: %d   Day: %d\n", w.year,
               w.month, w.day);
}

inline void time_line(const obsrec& w) {
  std::fprintf(con_out(), " Time-UTC:  %d h %d min %d sec \n", w.hour,
               w.minute, w.second);
}
