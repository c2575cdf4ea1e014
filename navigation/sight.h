// Sight reduction: computed altitude and azimuth, and the correction of the
// sextant altitude to the observed altitude.
#pragma once

// Local hour angle, computed altitude and azimuth (degrees) of a body of
// declination dec and Greenwich hour angle gha seen from (lat, lon).
void HcAz(double lat, double lon, double dec, double gha, double* LHA,
          double* Hc, double* Az);

// Observed altitude of the body's centre (degrees) from the sextant altitude
// hs (degrees), with index correction ic, temperature, pressure, height of eye
// (metres), semi-diameter sd and horizontal parallax hp (arcminutes).  Outputs
// in arcminutes: parallax in altitude, dip, refraction (before the
// temperature-pressure factor), semi-diameter applied, total correction.
double BESCHICKUNG(int bodycode, double lat, double zn, double hs, double ic,
                   double temp, double press, double eye, double sd, double hp,
                   double* parallax, double* dip, double* refraction,
                   double* SDa, double* S_Correction);

// Apparent altitude of the body's centre, degrees: the sextant altitude Hs
// (degrees) with the index correction Ic, the dip and the semi-diameter
// applied (arcminutes), the semi-diameter added for a lower limb and taken
// off for an upper limb (body codes 0 and 2 lower, 1 and 3 upper; a planet or
// a star has no semi-diameter).
double apparent_altitude(int bodycode, double Ic, double Hs, double dip,
                         double SDa);
