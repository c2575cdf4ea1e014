// The head, date, time and position lines that the entry, result and FINAL
// screens share.
#pragma once

#include <cstdio>

#include "console.h"
#include "runstate.h"

// The line of observation obsno: its number between tildes, and after the
// word "Observation" the rest of the line as the screen ends it.
inline void observation_line(int obsno, const char* rest) {
  std::fprintf(con_out(), " ~~~~~~~~~~~ [%d.] Observation%s", obsno, rest);
}

// The head of a screen of observation obsno: the program's title line and
// the observation's line.
inline void screen_head(int obsno, const char* rest) {
  std::fputs(" Astro-Navigation by LUNAR DISTANCE \n", con_out());
  observation_line(obsno, rest);
}

inline void date_line(const obsrec& w) {
  std::fprintf(con_out(), " Year: %d   Month: %d   Day: %d\n", w.year, w.month,
               w.day);
}

inline void time_line(const obsrec& w) {
  std::fprintf(con_out(), " Time-UTC:  %d h %d min %d sec \n", w.hour, w.minute,
               w.second);
}

// Latitude and longitude in degrees and decimal minutes, as the sextant,
// example, result and FINAL screens show them.
inline void position_lines(const obsrec& w) {
  std::fprintf(con_out(), " Latitude:  %d deg %.2f' \n", w.lat_deg, w.lat_min);
  std::fprintf(con_out(), " Longitude: %d deg %.2f' \n", w.lon_deg, w.lon_min);
}
