// Sunrise and sunset (UT hours and minutes), the azimuths of the rising and
// setting Sun (whole degrees) and the duration of twilight (minutes) for a
// date and position (degrees, east and north positive).
#pragma once

void suntime(int year, int month, int day, double lon, double lat,
             int* rise_hour, int* rise_minute, int* set_hour, int* set_minute,
             int* rise_azimuth, int* set_azimuth, int* twilight);
