// The run between the sights and the fix.
//
//   SAIL   observation 1's dead-reckoning position carried over the run
//          between the sights (both sights share observation 1's time, so
//          only a distance run, a negative velocity, moves it); observation
//          2 is then renewed at its assumed position (HCAZ)
//   FINAL  the FINAL screen, each line of position laid through the run
//          position moved by its intercept along its azimuth, the two lines
//          intersected on a plane chart, sunrise and sunset at the fix, the
//          distance from the run position to the fix (the position error) and
//          the LUNAR RESULT screen
#include <cmath>
#include <cstdio>

#include "angles.h"
#include "console.h"
#include "input.h"
#include "sailing.h"
#include "screens.h"
#include "screenlines.h"
#include "split.h"
#include "stars.h"
#include "states.h"
#include "suntime.h"

namespace {

// Degrees to radians on the chart of the intersection, with pi rounded to 11
// decimals (formed first, then multiplied).
constexpr double kFactor = 2 * 3.14159265359 / 360;

// Slope of an east-west line of position, as the chart takes it.
constexpr double kSteep = 9999.0;

// Whole degrees (truncated towards zero) beyond the given magnitude.  NaN
// has 0 whole degrees.
bool whole_degrees_beyond(double x, int limit) {
  const int w = dtoi(x);
  return w > limit || w < -limit;
}

void set_position(obsrec& r, double lat, double lon) {
  const DegMin la = split_dm(lat);
  const DegMin lo = split_dm(lon);
  r.lat_deg = la.deg;
  r.lat_min = la.min;
  r.lon_deg = lo.deg;
  r.lon_min = lo.min;
}

// The errors of the fix leave the automatic passes: they restart at
// observation 1 with the answers read again.  The count of ITERATE passes
// starts again with them, so that it counts passes in a row and a later
// series of passes is read at the final menu only after as many passes as
// any other.
void leave_automatic_passes(RunState& rs) {
  rs.autorun = 0;
  rs.iterpasses = 0;
}

// The planet's name in the FINAL screen's Moon line, by body code 4 to 7.
constexpr const char* kPlanetNames[4] = {"Venus", "Mars", "Jupiter", "Saturn"};

}  // namespace

// Given:    az1, az2     azimuths of the two bodies, degrees
//           lat1, lon1   foot point of line 1, degrees
//           lat2, lon2   foot point of line 2, degrees
// Returned: y, x         latitude (degrees) and scaled longitude (degrees
//                        times c) of the intersection
//           c            scale of the longitudes, cosine of the mean latitude
//           (function)   how the lines were cut
// Notes:    Each line of position runs at right angles to its azimuth; its
//           slope is the change of scaled longitude per degree of latitude.
//           A line within 0.1 degree of east-west has no finite slope and is
//           met at its own latitude.  Lines whose slopes differ by less than
//           0.01 are taken as parallel: rejected, with line 2's foot point.
LopCut intersect_lops(double az1, double lat1, double lon1, double az2,
                      double lat2, double lon2, double* y, double* x,
                      double* c) {
  const int k1 = angcheck(az1);
  const int k2 = angcheck(az2);
  const double m1 = (k1 == 0) ? std::tan((az1 - 90) * kFactor) : kSteep;
  const double m2 = (k2 == 0) ? std::tan((az2 - 90) * kFactor) : kSteep;
  const double y1 = lat1;
  const double y2 = lat2;
  const double cm = std::cos((y1 + y2) / 2 * kFactor);
  const double x1 = lon1 * cm;
  const double x2 = lon2 * cm;

  LopCut cut = LopCut::kGeneral;
  if (k1 != 0 && k2 == 0) cut = LopCut::kLine1EastWest;
  if (k1 == 0 && k2 != 0) cut = LopCut::kLine2EastWest;
  if (std::fabs(m1 - m2) < 0.01) cut = LopCut::kRejected;

  switch (cut) {
    case LopCut::kGeneral:
      *y = (m2 * y2 - m1 * y1 + x1 - x2) / (m2 - m1);
      *x = (*y - y1) * m1 + x1;
      break;
    case LopCut::kLine1EastWest:
      *y = y1;
      *x = (y1 - y2) * m2 + x2;
      break;
    case LopCut::kLine2EastWest:
      *y = y2;
      *x = (y2 - y1) * m1 + x1;
      break;
    case LopCut::kRejected:
      *y = y2;
      *x = x2;
      break;
  }
  *c = cm;
  return cut;
}

bool fix_converged(double poserr) { return std::fabs(poserr) < 0.1; }

void final_screen(const RunState& rs) {
  FILE* out = con_out();
  const obsrec& w = rs.work;
  skip(25);
  std::fputs(" Renewing Position 2 after sailing from Pos. 1\n", out);
  std::fputs(" Astro-Navigation by LUNAR DISTANCE \n", out);
  std::fprintf(out, " ~~~~~~~~~~~ [%d.] Observation FINAL ~~~~~~~~ \n\n",
               rs.obsno);
  date_line(w);
  time_line(w);
  position_lines(w);
  std::fprintf(out, " Index corr. Ic: %.2f'  Height of eye: %.2fm \n", rs.Ic,
               rs.eye);
  const DegMin hs = split_dm(rs.Hs2);
  const DegMin ha = split_dm(rs.Ha2);
  const DegMin ho = split_dm(rs.Ho2);
  const DegMin hc = split_dm(rs.Hc);
  std::fprintf(out, " Sextant viewed:  Hs= %d deg %3.2f'\n", hs.deg, hs.min);
  std::fprintf(out, " Sextant appar.:  Ha= %d deg %3.2f'\n", ha.deg, ha.min);
  std::fprintf(out, " Sextant corr. :  Ho= %d deg %3.2f'\n", ho.deg, ho.min);
  std::fprintf(out, " Sextant calcul:  Hc= %d deg %3.2f'\n", hc.deg, hc.min);
  std::fprintf(out, " Course was: %5.0f  Velocity: %4.2f \n", rs.course,
               rs.velocity);
  // The words name the Sun whatever the body.  A value that is not a
  // number is an error in the measured values.
  if (rs.intercept < 0)
    std::fprintf(out, " ==> Position = %6.2f miles, away from sun\n",
                 rs.intercept);
  else if (rs.intercept < 999)
    std::fprintf(out, " ==> Position = %6.2f miles closer to sun\n",
                 rs.intercept);
  else
    std::fputs(" ==> !!!  Error in the measured values !!! \n", out);
  std::fprintf(out, " ==> Azimut   = %6.2f degrees  \n", rs.Az);
}

void lunar_result_screen(const RunState& rs) {
  FILE* out = con_out();
  const obsrec& w = rs.work;
  skip(25);
  std::fputs("   Astro-Navigation by  LUNAR DISTANCE\n", out);
  std::fputs(" ~~~~~~~~~~~~~~~ LUNAR RESULT ~~~~~~~~~~~~~\n", out);
  date_line(w);
  std::fprintf(out, " ==> TIME-UTC: %dh %dm %ds, Delta_T: %.2f\n", w.hour,
               w.minute, w.second, rs.deltaT);
  std::fprintf(out, " JulianDay [incl.Delta_T]= %.7f\n", rs.JDE);
  std::fprintf(out, " Temperature= %.1fC  Pressure= %.1fhPa\n", rs.temp,
               rs.press);
  // Sunrise and sunset once observation 2's intercept is below one nautical
  // mile (its whole miles are 0); an intercept that is not a number is not.
  if (std::fabs(rs.intercept2) < 1)
    std::fprintf(out, " SUN_R/S(Az)=%dh%dm(%d) %dh%dm(%d) D~%dm\n",
                 rs.rise_hour, rs.rise_minute, rs.rise_az, rs.set_hour,
                 rs.set_minute, rs.set_az, rs.twilight);
  const int code = rs.obs2.bodycode;
  if (code == 0 || code == 1) {
    std::fprintf(out, " MOON: SDa= %.2f', Lunar Distance to SUN\n", rs.SDa1);
  } else if (code >= 4 && code <= 7) {
    std::fprintf(out, " MOON: SDa= %.2f', Planet= %s\n", rs.SDa1,
                 kPlanetNames[code - 4]);
  } else if (code == 8) {
    int starno = rs.obs2.starno;
    if (starno < 0 || starno > 59) starno = 58;
    std::fprintf(out, " MOON: SDa= %.2f', Star=%s \n", rs.SDa1,
                 starnames[0][starno]);
  }
  // The distances of the last lunar-distance step made after the first
  // correction.
  if (rs.ldinner > 0) {
    const DegMin measured = split_dm(rs.LD_limb);
    const DegMinSec almanac = split_dms(rs.LDtrue);
    const DegMinSec cleared = split_dms(rs.LDclear);
    std::fprintf(out, " Lunar Dist. measured = %d deg %.1f'\n", measured.deg,
                 measured.min);
    std::fprintf(out, " Lunar Dist. (Almanac)= %d deg %d' %.2f''\n",
                 almanac.deg, almanac.min, almanac.sec);
    std::fprintf(out, " LUNAR DIST. CLEARED  = %d deg %d' %.2f''\n",
                 cleared.deg, cleared.min, cleared.sec);
  }
  std::fprintf(out, " Final Position Error = %5.2f naut. miles\n", rs.poserr);
  // A St. Hilaire fix holds only for a displacement small against the
  // zenith distance of the Moon.
  const double zenith = 90.0 - static_cast<double>(dtoi(rs.Hs1));
  if (rs.poserr > 10 * std::fabs(zenith))
    std::fputs(" ?? Displacement too big, St. Hilaire?\n", out);
  std::fputs("\n", out);
  if (fix_converged(rs.poserr))
    std::fputs(" ==> POSITION has CONVERGED:\n", out);
  else
    std::fputs(" ==> Approximate POSITION Fixed:\n", out);
  std::fprintf(out, "    Latitude  = %4d deg %5.2f' \n", w.lat_deg, w.lat_min);
  std::fprintf(out, "    Longitude = %4d deg %5.2f' \n", w.lon_deg, w.lon_min);
  if (fix_converged(rs.poserr))
    std::fputs(" This is actual POSITION, deviat.< 0.1nm\n", out);
  if (std::fabs(static_cast<double>(w.lat_deg)) > 89.9)
    std::fputs(" !!! Position-estimate should be changed !!!\n", out);
  if (rs.badfix != 0) {
    std::fputs(" !!! Observations not independent !!!\n", out);
    std::fputs(" !!! Result probably not good !!!\n", out);
  }
  std::fputs("\n", out);
}

State sail_run(RunState& rs) {
  const obsrec& r = rs.atresult1;
  const double lat0 = r.lat_deg + r.lat_min / 60;
  const double lon0 = r.lon_deg + r.lon_min / 60;
  verspos(rs.jd1, rs.jd1, rs.velocity, rs.course, lat0, lon0, &rs.run_lat,
          &rs.run_lon);
  set_position(rs.work, rs.run_lat, rs.run_lon);
  rs.renewing = 1;
  return State::HCAZ;
}

State final_fix(RunState& rs) {
  FILE* out = con_out();
  final_screen(rs);

  // Observation 2's line takes the renewed values.
  rs.Az2 = rs.Az;
  rs.intercept2 = rs.intercept;

  if (whole_degrees_beyond(rs.Az1, 360) || whole_degrees_beyond(rs.Az2, 360)) {
    std::fprintf(out, "\n !!! ERROR: Azimut1,2: %f %f\n", rs.Az1, rs.Az2);
    std::fputs(" hit ENTER to restart!", out);
    con_getc();
    leave_automatic_passes(rs);
    rs.obsno = 1;
    return State::LOOP_TOP;
  }

  // The foot points of the two lines of position; a negative intercept moves
  // away from the body.
  shiftpos(rs.intercept1, rs.run_lat, rs.run_lon, rs.Az1, &rs.pos1_lat,
           &rs.pos1_lon);
  shiftpos(rs.intercept2, rs.run_lat, rs.run_lon, rs.Az2, &rs.pos2_lat,
           &rs.pos2_lon);
  if (whole_degrees_beyond(rs.pos1_lat, 89) ||
      whole_degrees_beyond(rs.pos2_lat, 89)) {
    std::fprintf(out, "\n !!! ERROR: Latitude1/2 > 89= %f %f\n", rs.pos1_lat,
                 rs.pos2_lat);
    std::fputs(" restart the program!", out);
    con_getc();
    leave_automatic_passes(rs);
    rs.lddone = 0;
    rs.ldentered = 0;
    rs.obsno = 1;
    return State::LOOP_TOP;
  }

  double y = 0, x = 0, c = 0;
  const LopCut cut = intersect_lops(rs.Az1, rs.pos1_lat, rs.pos1_lon, rs.Az2,
                                    rs.pos2_lat, rs.pos2_lon, &y, &x, &c);
  if (cut == LopCut::kRejected) {
    std::fputs("\n", out);
    std::fputs("!!! ERROR 4, bad intersection of position lines!", out);
    rs.badfix += 1;
    con_getc();
  }
  rs.fix_lat = y;
  rs.fix_lon = lim180(x / c);
  set_position(rs.work, rs.fix_lat, rs.fix_lon);

  suntime(rs.work.year, rs.work.month, rs.work.day, rs.fix_lon, rs.fix_lat,
          &rs.rise_hour, &rs.rise_minute, &rs.set_hour, &rs.set_minute,
          &rs.rise_az, &rs.set_az, &rs.twilight);
  rs.poserr = bestver(rs.run_lat, rs.run_lon * c, y, x, c);

  lunar_result_screen(rs);
  rs.badfix = 0;
  return State::FINAL_MENU;
}
