// An angle (or a time) split for the screens and for the records: whole
// degrees (hours) with decimal minutes, or whole degrees, whole minutes and
// decimal seconds, each part carrying the sign of the value (cxangle).  The
// whole parts are 0 for NaN and saturate for values beyond the range of int.
#pragma once

#include "angles.h"
#include "runstate.h"

struct DegMin {
  int deg;     // whole degrees (hours), truncated towards zero
  double min;  // decimal minutes
};

struct DegMinSec {
  int deg;     // whole degrees (hours), truncated towards zero
  int min;     // whole minutes, truncated towards zero
  double sec;  // decimal seconds
};

inline DegMin split_dm(double x) {
  int units = 0, minutes = 0, minutes_r = 0, seconds_r = 0;
  double minutes_dec = 0, seconds_dec = 0;
  cxangle(x, &units, &minutes, &minutes_r, &seconds_r, &minutes_dec,
          &seconds_dec);
  return {units, minutes_dec};
}

inline DegMinSec split_dms(double x) {
  int units = 0, minutes = 0, minutes_r = 0, seconds_r = 0;
  double minutes_dec = 0, seconds_dec = 0;
  cxangle(x, &units, &minutes, &minutes_r, &seconds_r, &minutes_dec,
          &seconds_dec);
  return {units, minutes, seconds_dec};
}

// A position in decimal degrees as the dead-reckoning position of a record:
// latitude and longitude each split into whole degrees and signed decimal
// minutes.
inline void set_position(obsrec& r, double lat, double lon) {
  const DegMin la = split_dm(lat);
  const DegMin lo = split_dm(lon);
  r.lat_deg = la.deg;
  r.lat_min = la.min;
  r.lon_deg = lo.deg;
  r.lon_min = lo.min;
}
