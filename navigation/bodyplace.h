// The apparent place of the body of a sight, by its body code, as the
// computation of an observation and the lunar-distance step take it from the
// ephemerides.
#pragma once

#include "moon.h"
#include "planets.h"
#include "runstate.h"
#include "stars.h"
#include "sun.h"

// The place of a body (BodyPlace, runstate.h) at a UT instant: declination,
// Greenwich hour angle, apparent sidereal time and right ascension, the
// horizontal parallax and semi-diameter, and the sidereal hour angle of a
// star.

// The Sun's place at the instant t, and the dynamical Julian Day of t.
inline BodyPlace sun_place(double deltaT, const obstime& t, double* JDE) {
  BodyPlace p;
  suneph(deltaT, t.year, t.month, t.day, t.hour, t.minute, t.second, &p.Dec,
         &p.GHA, &p.GAST, &p.RA, &p.HP, &p.SD, JDE);
  return p;
}

// The Moon's place at the instant t.
inline BodyPlace moon_place(double deltaT, const obstime& t) {
  BodyPlace p;
  mooneph(deltaT, t.year, t.month, t.day, t.hour, t.minute, t.second, &p.Dec,
          &p.GHA, &p.GAST, &p.RA, &p.HP, &p.SD);
  return p;
}

// The place at the instant t of the body of body code `code`: 2 and 3 the
// Moon, 4 to 7 the planets, 8 the catalogue star starno; for the Sun's codes
// 0 and 1 (and any other code) the Sun's place `sun` at that instant.
inline BodyPlace body_place(int code, int starno, double deltaT,
                            const obstime& t, const BodyPlace& sun) {
  BodyPlace p;
  if (code == 2 || code == 3) {
    p = moon_place(deltaT, t);
  } else if (code >= 4 && code <= 7) {
    planeteph(code, deltaT, t.year, t.month, t.day, t.hour, t.minute, t.second,
              &p.Dec, &p.GHA, &p.GAST, &p.RA, &p.HP);
  } else if (code == 8) {
    starseph(starno, deltaT, t.year, t.month, t.day, t.hour, t.minute, t.second,
             &p.Dec, &p.GHA, &p.GAST, &p.RA, &p.SHA);
  } else {
    p = sun;
  }
  return p;
}
