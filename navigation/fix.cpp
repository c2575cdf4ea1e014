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
//          the LUNAR RESULT screen (the screens are in screens.cpp; the
//          intersection and the test of convergence in lop.cpp)
#include <cmath>
#include <cstdio>

#include "angles.h"
#include "console.h"
#include "lop.h"
#include "sailing.h"
#include "screens.h"
#include "split.h"
#include "states.h"
#include "suntime.h"

namespace {

// Whole degrees (truncated towards zero) beyond the given magnitude.  NaN
// has 0 whole degrees.
bool whole_degrees_beyond(double x, int limit) {
  const int w = dtoi(x);
  return w > limit || w < -limit;
}

// The errors of the fix leave the automatic passes: they restart at
// observation 1 with the answers read again.  The count of ITERATE passes
// starts again with them, so that it counts passes in a row and a later
// series of passes is read at the final menu only after as many passes as
// any other.
void leave_automatic_passes(RunState& rs) {
  rs.flow.autorun = false;
  rs.flow.iterpasses = 0;
}

}  // namespace

State sail_run(RunState& rs) {
  // The first lunar-distance step comes before any run and fix.
  if (!rs.flow.lddone) return State::LD_STEP;
  const obsrec& r = rs.sight1.atresult;
  const double lat0 = r.lat_deg + r.lat_min / 60;
  const double lon0 = r.lon_deg + r.lon_min / 60;
  verspos(rs.shared.jd1, rs.shared.jd1, rs.fix.velocity, rs.fix.course, lat0,
          lon0, &rs.fix.run_lat, &rs.fix.run_lon);
  set_position(rs.work, rs.fix.run_lat, rs.fix.run_lon);
  rs.flow.renewing = true;
  return State::HCAZ;
}

State final_fix(RunState& rs) {
  FILE* out = con_out();
  final_screen(rs);

  // Observation 2's line takes the renewed values.
  rs.sight2.Az = rs.calc.Az;
  rs.sight2.intercept = rs.calc.intercept;

  if (whole_degrees_beyond(rs.sight1.Az, 360) ||
      whole_degrees_beyond(rs.sight2.Az, 360)) {
    std::fprintf(out, "\n !!! ERROR: Azimut1,2: %f %f\n", rs.sight1.Az,
                 rs.sight2.Az);
    std::fputs(" hit ENTER to restart!", out);
    con_getc();
    leave_automatic_passes(rs);
    rs.flow.obsno = 1;
    return State::LOOP_TOP;
  }

  // The foot points of the two lines of position; a negative intercept moves
  // away from the body.
  shiftpos(rs.sight1.intercept, rs.fix.run_lat, rs.fix.run_lon, rs.sight1.Az,
           &rs.sight1.pos.lat, &rs.sight1.pos.lon);
  shiftpos(rs.sight2.intercept, rs.fix.run_lat, rs.fix.run_lon, rs.sight2.Az,
           &rs.sight2.pos.lat, &rs.sight2.pos.lon);
  if (whole_degrees_beyond(rs.sight1.pos.lat, 89) ||
      whole_degrees_beyond(rs.sight2.pos.lat, 89)) {
    std::fprintf(out, "\n !!! ERROR: Latitude1/2 > 89= %f %f\n",
                 rs.sight1.pos.lat, rs.sight2.pos.lat);
    std::fputs(" restart the program!", out);
    con_getc();
    leave_automatic_passes(rs);
    rs.flow.lddone = false;
    rs.flow.ldentered = false;
    rs.flow.obsno = 1;
    return State::LOOP_TOP;
  }

  double y = 0, x = 0, c = 0;
  const LopCut cut = intersect_lops(
      rs.sight1.Az, rs.sight1.pos.lat, rs.sight1.pos.lon, rs.sight2.Az,
      rs.sight2.pos.lat, rs.sight2.pos.lon, &y, &x, &c);
  if (cut == LopCut::kRejected) {
    std::fputs("\n", out);
    std::fputs("!!! ERROR 4, bad intersection of position lines!", out);
    rs.flow.badfix += 1;
    con_getc();
  }
  rs.fix.lat = y;
  rs.fix.lon = lim180(x / c);
  set_position(rs.work, rs.fix.lat, rs.fix.lon);

  suntime(rs.work.year, rs.work.month, rs.work.day, rs.fix.lon, rs.fix.lat,
          &rs.fix.rise_hour, &rs.fix.rise_minute, &rs.fix.set_hour,
          &rs.fix.set_minute, &rs.fix.rise_az, &rs.fix.set_az,
          &rs.fix.twilight);
  rs.fix.poserr = bestver(rs.fix.run_lat, rs.fix.run_lon * c, y, x, c);

  lunar_result_screen(rs);
  rs.flow.badfix = 0;
  return State::FINAL_MENU;
}
