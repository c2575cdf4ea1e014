// Sailings: dead reckoning of a run, a position moved along a course, and the
// distance between two positions.  Latitudes and longitudes in degrees (north
// and east positive), distances in nautical miles, courses in degrees.
#pragma once

// Position reached from (lat0, lon0) after the run between two Julian Days at
// speed knots on course (a negative speed is a distance in nautical miles).
void verspos(double jd1, double jd2, double speed, double course, double lat0,
             double lon0, double* lat, double* lon);

// Position reached from (lat, lon) after distance nautical miles on course.
void shiftpos(double distance, double lat, double lon, double course,
              double* lat2, double* lon2);

// Distance in nautical miles between two points given as latitude and
// scaled longitude (longitude times k).
double bestver(double lat1, double x1, double lat2, double x2, double k);
