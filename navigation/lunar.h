// Lunar distance: the almanac distance of two places and the clearing of the
// apparent distance of the centres from refraction and parallax.
#pragma once

// Angular distance (degrees) between two places given by declinations and
// right ascensions (degrees).
double LDist(double dec1, double dec2, double ra1, double ra2);

// Cleared lunar distance (degrees) from the apparent distance of the centres,
// the observed and apparent altitudes and the azimuths of the Moon and the
// second body, the Moon's parallax in altitude and the latitude (degrees).
double Lunaclear(double D, double HoM, double HoB, double HaM, double HaB,
                 double ZM, double ZB, double pM, double lat);
