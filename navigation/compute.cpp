// The computation of one observation (one sight).
//
//   COMPUTE  the apparent place of the body at the time of the sight, the
//            computed altitude and azimuth at the observation's assumed
//            position, the correction of the sextant altitude to the
//            observed altitude, the apparent altitude and the intercept
//   HCAZ     the computed altitude, azimuth and intercept formed again (also
//            for observation 2 renewed after the run between the sights,
//            which goes on to the fix)
//   RESULT   the result screen (screens.cpp), the values kept for the lunar
//            distance and the fix, the record write, the ephemeris block
#include <cmath>

#include "bodyplace.h"
#include "console.h"
#include "records.h"
#include "screens.h"
#include "sight.h"
#include "states.h"

namespace {

// The assumed position at which the observation in hand is reduced.
void assumed_position(const RunState& rs, double* lat, double* lon) {
  if (rs.flow.obsno == 1) {
    *lat = rs.sight1.pos.lat;
    *lon = rs.sight1.pos.lon;
  } else {
    *lat = rs.sight2.pos.lat;
    *lon = rs.sight2.pos.lon;
  }
}

}  // namespace

State compute_observation(RunState& rs) {
  Computation& c = rs.calc;
  const obsrec& w = rs.work;
  c.calctime = obstime{w.year, w.month, w.day, w.hour, w.minute, w.second};
  const obstime& t = c.calctime;

  // The Sun's place, for every body: its right ascension and the dynamical
  // Julian Day serve the ephemeris screen.
  const BodyPlace sun = sun_place(rs.shared.deltaT, t, &c.JDE);
  c.sunRA = sun.RA;

  // The body's place, with the horizontal parallax and the semi-diameter
  // handed to the altitude correction.
  const int code = w.bodycode;
  static_cast<BodyPlace&>(c) =
      body_place(code, w.starno, rs.shared.deltaT, t, sun);

  double lat = 0, lon = 0;
  assumed_position(rs, &lat, &lon);
  HcAz(lat, lon, c.Dec, c.GHA, &c.LHA, &c.Hc, &c.Az);
  c.Ho = std::fabs(BESCHICKUNG(code, lat, c.Az, c.Hs, rs.shared.Ic,
                               rs.shared.temp, rs.shared.press, rs.shared.eye,
                               c.SD, c.HP, &c.parallax, &c.dip, &c.refraction,
                               &c.SDa, &c.S_Correction));
  if (rs.flow.obsno == 1)
    rs.sight1.SDa = c.SDa;  // the Moon's augmented semi-diameter
  c.Ha = apparent_altitude(code, rs.shared.Ic, c.Hs, c.dip, c.SDa);
  c.intercept = (c.Ho - c.Hc) * 60;  // nautical miles, towards the body
  return State::HCAZ;
}

State hcaz_intercept(RunState& rs) {
  Computation& c = rs.calc;
  double lat = 0, lon = 0;
  assumed_position(rs, &lat, &lon);
  HcAz(lat, lon, c.Dec, c.GHA, &c.LHA, &c.Hc, &c.Az);
  c.intercept = (c.Ho - c.Hc) * 60;
  if (rs.flow.renewing) {
    rs.flow.renewing = false;
    return State::FINAL;
  }
  return State::RESULT;
}

State result_screens(RunState& rs) {
  result_screen(rs);
  if (!rs.flow.autorun) con_getc();

  // Kept for the lunar distance and the fix.
  if (rs.flow.obsno == 1) {
    rs.sight1.Hs = rs.calc.Hs;
    rs.sight1.Ha = rs.calc.Ha;
    rs.sight1.Ho = rs.calc.Ho;
    rs.sight1.Az = rs.calc.Az;
  } else {
    rs.sight2.Hs = rs.calc.Hs;
    rs.sight2.Ha = rs.calc.Ha;
    rs.sight2.Ho = rs.calc.Ho;
    rs.sight2.Az = rs.calc.Az;
  }

  write_W3(rs);
  if (rs.flow.obsno == 1) {
    rs.sight1.intercept = rs.calc.intercept;
    rs.sight1.atresult = rs.work;  // day, time and position of the sight
  }

  ephemeris_block(rs);
  if (rs.flow.obsno == 1) rs.sight1.moonpar = rs.calc.parallax / 60;  // degrees
  return State::POST_OBS_MENU;
}
