// The computation of one observation (one sight).
//
//   COMPUTE  the apparent place of the body at the time of the sight, the
//            computed altitude and azimuth at the observation's assumed
//            position, the correction of the sextant altitude to the
//            observed altitude, the apparent altitude and the intercept
//   HCAZ     the computed altitude, azimuth and intercept formed again (also
//            for observation 2 renewed after the run between the sights)
//   RESULT   the result screen (screens.cpp), the values kept for the lunar
//            distance and the fix, the record write, the ephemeris block
#include <cmath>

#include "console.h"
#include "moon.h"
#include "planets.h"
#include "records.h"
#include "screens.h"
#include "sight.h"
#include "stars.h"
#include "states.h"
#include "sun.h"

namespace {

// The assumed position at which the observation in hand is reduced.
void assumed_position(const RunState& rs, double* lat, double* lon) {
  if (rs.obsno == 1) {
    *lat = rs.pos1_lat;
    *lon = rs.pos1_lon;
  } else {
    *lat = rs.pos2_lat;
    *lon = rs.pos2_lon;
  }
}

}  // namespace

State compute_observation(RunState& rs) {
  const obsrec& w = rs.work;
  obstime& t = rs.calctime;
  t.year = w.year;
  t.month = w.month;
  t.day = w.day;
  t.hour = w.hour;
  t.minute = w.minute;
  t.second = w.second;

  // The Sun's place, for every body: its right ascension and the dynamical
  // Julian Day serve the ephemeris screen.
  double sunHP = 0, sunSD = 0;
  suneph(rs.deltaT, t.year, t.month, t.day, t.hour, t.minute, t.second,
         &rs.Dec, &rs.GHA, &rs.GAST, &rs.RA, &sunHP, &sunSD, &rs.JDE);
  rs.sunRA = rs.RA;

  // The body's place replaces the Sun's; the horizontal parallax and the
  // semi-diameter handed to the altitude correction by body.
  const int code = w.bodycode;
  double HP = sunHP, SD = sunSD;
  if (code == 2 || code == 3) {
    mooneph(rs.deltaT, t.year, t.month, t.day, t.hour, t.minute, t.second,
            &rs.Dec, &rs.GHA, &rs.GAST, &rs.RA, &HP, &SD);
  } else if (code >= 4 && code <= 7) {
    planeteph(code, rs.deltaT, t.year, t.month, t.day, t.hour, t.minute,
              t.second, &rs.Dec, &rs.GHA, &rs.GAST, &rs.RA, &HP);
    SD = 0;
  } else if (code == 8) {
    starseph(w.starno, rs.deltaT, t.year, t.month, t.day, t.hour, t.minute,
             t.second, &rs.Dec, &rs.GHA, &rs.GAST, &rs.RA, &rs.SHA);
    HP = 0;
    SD = 0;
  }
  rs.HP = HP;
  rs.SD = SD;

  double lat = 0, lon = 0;
  assumed_position(rs, &lat, &lon);
  HcAz(lat, lon, rs.Dec, rs.GHA, &rs.LHA, &rs.Hc, &rs.Az);
  rs.Ho = std::fabs(BESCHICKUNG(code, lat, rs.Az, rs.Hs, rs.Ic, rs.temp,
                                rs.press, rs.eye, rs.SD, rs.HP, &rs.parallax,
                                &rs.dip, &rs.refraction, &rs.SDa,
                                &rs.S_Correction));
  if (rs.obsno == 1) rs.SDa1 = rs.SDa;  // the Moon's augmented semi-diameter
  rs.Ha = apparent_altitude(code, rs.Ic, rs.Hs, rs.dip, rs.SDa);
  rs.intercept = (rs.Ho - rs.Hc) * 60;  // nautical miles, towards the body
  return State::HCAZ;
}

State hcaz_intercept(RunState& rs) {
  double lat = 0, lon = 0;
  assumed_position(rs, &lat, &lon);
  HcAz(lat, lon, rs.Dec, rs.GHA, &rs.LHA, &rs.Hc, &rs.Az);
  rs.intercept = (rs.Ho - rs.Hc) * 60;
  if (rs.renewing) {
    rs.renewing = 0;
    return State::FINAL;
  }
  return State::RESULT;
}

State result_screens(RunState& rs) {
  result_screen(rs);
  if (!rs.autorun) con_getc();

  // Kept for the lunar distance and the fix.
  if (rs.obsno == 1) {
    rs.Hs1 = rs.Hs;
    rs.Ha1 = rs.Ha;
    rs.Ho1 = rs.Ho;
    rs.Az1 = rs.Az;
  } else {
    rs.Hs2 = rs.Hs;
    rs.Ha2 = rs.Ha;
    rs.Ho2 = rs.Ho;
    rs.Az2 = rs.Az;
  }

  write_W3(rs);
  if (rs.obsno == 1) {
    rs.intercept1 = rs.intercept;
    rs.atresult1 = rs.work;  // day, time and position of the sight
  }

  ephemeris_block(rs);
  if (rs.obsno == 1) rs.moonpar1 = rs.parallax / 60;  // degrees
  return State::POST_OBS_MENU;
}
