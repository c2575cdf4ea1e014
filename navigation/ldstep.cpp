// The lunar-distance step: the time of the sights corrected by the lunar
// distance.
//
// The almanac distance of the centres of the Moon and the second body is
// computed at the current time; the measured distance to the Moon's limb is
// asked for once and turned into the apparent distance of the centres, which
// is cleared of refraction and parallax with the observed and apparent
// altitudes of both sights.  The Moon moves against the other bodies by about
// half a degree an hour, so the time is moved by 1.8 hours per degree of
// difference between the cleared and the almanac distance.  The first step
// makes one correction and starts the automatic passes; every later step
// repeats the correction at the new time until the time stands still.
#include <climits>
#include <cmath>
#include <cstdio>

#include "angles.h"
#include "bodyplace.h"
#include "console.h"
#include "input.h"
#include "lunar.h"
#include "split.h"
#include "states.h"

namespace {

constexpr double kGain = 1.8;           // hours of time per degree of distance
constexpr double kTimeLimit = 0.00014;  // hours, about half a second
constexpr int kMaxEvaluations = 10;     // per step after the first correction
constexpr double kFirstGuard = 2.0;     // degrees: a failed first clearing

// The limb, the side and the measured distance, with the values held as
// defaults.
void ask_lunar_distance(RunState& rs, bool sun) {
  FILE* out = con_out();
  std::fputs("\n", out);
  std::fputs(" ==> Enter LUNAR DISTANCE now:\n", out);
  std::fputs("\n", out);
  std::fputs(" Which Limb of Moon? 1=NEAR 2=FAR:", out);
  double limb = rs.ld.limb;
  lies1(kShowWhole, rs.ld.limb, &limb);
  // An answer of exactly 1.5 (or one that is not a number) names neither
  // limb: the question is asked again, with the limb held as its default.
  while (!(limb < 1.5 || limb > 1.5)) {
    std::fputs("\n", out);
    std::fputs(" Which Limb of Moon? 1=NEAR 2=FAR:", out);
    lies1(kShowWhole, rs.ld.limb, &limb);
  }
  rs.ld.limb = limb;

  std::fputs("\n", out);
  std::fputs(" To which side of Moon? 1=EAST 2=WEST:", out);
  double side = 0;
  lies1(kShowWhole, rs.ld.side < 0 ? 2 : 1, &side);
  rs.ld.side = (side > 1.5) ? -1 : +1;

  std::fputs("\n", out);
  if (sun) std::fputs(" for SUN always NEAR limb assumed!\n\n", out);
  std::fputs(" LUNAR DISTANCE = degrees  minutes:\n", out);
  std::fputs("###> ", out);
  const DegMin held = split_dm(rs.ld.LD_limb);
  double deg = 0, min = 0;
  lies2(held.deg, held.min, &deg, &min);
  rs.ld.LD_limb = std::fabs(deg + min / 60);
  std::fprintf(out, " ok, LD_limb= %.0f deg %.1f'\n\n", deg, min);
}

// The time of an instant set to hours of UT to the nearest whole second,
// carried into the minutes and the hours, each part with the sign of the time
// (the hour is not carried into the date).  NaN gives 0 h 0 m 0 s.
void set_nearest_second(obstime& t, double hours) {
  const double total = std::round(hours * 3600.0);
  const double h = std::trunc(total / 3600.0);
  const double rest = total - h * 3600.0;
  const double m = std::trunc(rest / 60.0);
  t.hour = dtoi(h);
  t.minute = dtoi(m);
  t.second = dtoi(rest - m * 60.0);
}

}  // namespace

State lunar_distance_step(RunState& rs) {
  FILE* out = con_out();
  if (rs.flow.ldpasses < INT_MAX) rs.flow.ldpasses += 1;
  rs.flow.ldinner = 0;
  obstime& t = rs.calc.calctime;
  // The time before and after one correction, hours UT.
  double t0 = t.hour + t.minute / 60.0 + t.second / 3600.0;
  double t1 = t0;
  skip(25);

  const int code = rs.obs2.bodycode;
  const bool sun_second = (code == 0 || code == 1);
  for (;;) {
    // The places at the current time; for codes 0 and 1 the Sun is the
    // second body.
    double JDE = 0;
    const BodyPlace sun = sun_place(rs.shared.deltaT, t, &JDE);
    const BodyPlace moon = moon_place(rs.shared.deltaT, t);
    if (code > 8) return State::END;
    const BodyPlace second =
        body_place(code, rs.obs2.starno, rs.shared.deltaT, t, sun);
    rs.ld.LDtrue = LDist(moon.Dec, second.Dec, moon.RA, second.RA);

    if (!rs.flow.ldentered) ask_lunar_distance(rs, sun_second);

    // The apparent distance of the centres: the Moon's augmented
    // semi-diameter added to a distance measured to its near limb and taken
    // off one measured to its far limb; the Sun's near limb always.
    double LDobs = 0;
    if (rs.ld.limb < 1.5)
      LDobs = rs.ld.LD_limb + rs.shared.Ic / 60 + rs.sight1.SDa / 60;
    else
      LDobs = rs.shared.Ic / 60 + rs.ld.LD_limb - rs.sight1.SDa / 60;
    if (sun_second) LDobs = LDobs + sun.SD / 60;

    rs.ld.LDclear = Lunaclear(LDobs, rs.sight1.Ho, rs.sight2.Ho, rs.sight1.Ha,
                              rs.sight2.Ha, rs.sight1.Az, rs.sight2.Az,
                              rs.sight1.moonpar, rs.sight1.pos.lat);
    // On the first step a cleared distance far from the almanac one is a
    // failed clearing: the apparent distance is taken instead.
    if (!rs.flow.lddone &&
        std::fabs(rs.ld.LDclear - rs.ld.LDtrue) > kFirstGuard)
      rs.ld.LDclear = LDobs;
    t1 = t0 - rs.ld.side * kGain * (rs.ld.LDclear - rs.ld.LDtrue);

    if (!rs.flow.ldentered) {
      std::fprintf(out, " LDclear=%.4f LDtrue=%.4f[deg]\n", rs.ld.LDclear,
                   rs.ld.LDtrue);
      std::fprintf(out, " Time new/old[h]: t1=%.4f t0=%.4f\n", t1, t0);
      rs.flow.ldentered = true;
    }

    const double previous = t0;
    t0 = t1;
    if (!rs.flow.lddone) {
      // The first correction takes the whole seconds of the new time.
      const DegMinSec hms = split_dms(t1);
      t.hour = hms.deg;
      t.minute = hms.min;
      t.second = dtoi(hms.sec);
    } else {
      // While the time is iterated, the next evaluation is made at the new
      // time to the nearest whole second.  Cutting the seconds off instead
      // would evaluate up to a second before the time the correction is
      // reckoned from: where the distance changes faster than 1/1.8 degree an
      // hour the corrections then swing between a second early and a second
      // late and settle a second late, a fix some 0.25 nautical mile off in
      // the tropics.
      set_nearest_second(t, t1);
    }

    if (!rs.flow.lddone) {
      // The first correction: the automatic passes start at the entry of
      // observation 1, with nothing typed ahead thrown away.
      rs.obs1.hour = t.hour;
      rs.obs1.minute = t.minute;
      rs.obs1.second = t.second;
      rs.flow.lddone = true;
      rs.flow.obsno = 1;
      const double change = t1 - previous;
      const int hours = dtoi(change);
      const int minutes = dtoi((change - hours) * 60);
      std::fprintf(out, " Time corrected by %d hours %d min\n", hours, minutes);
      std::fprintf(out, " NEW TIME = %d hours %d min %d sec\n", rs.obs1.hour,
                   rs.obs1.minute, rs.obs1.second);
      std::fputs("\n ITERATION starts, press ENTER ....", out);
      rs.flow.autorun = true;
      con_getc();
      return State::OBS_INPUT;
    }

    // Later steps: again at the new time until it stands still.  A time
    // that is not a number ends the repetition at once.
    rs.flow.ldinner += 1;
    if (rs.flow.ldinner < kMaxEvaluations &&
        std::fabs(t1 - previous) > kTimeLimit)
      continue;
    break;
  }

  if (t1 < 0) {
    std::fputs("\n !!! Warning: new hour t1 negativ!", out);
    con_getc();
  }
  // The corrected time, to the nearest second; the hour is not carried into
  // the date.
  const int h = dtoi(t1);
  const int m = dtoi((t1 - h) * 60);
  const int s = dtoi(((t1 - h) * 60 - m) * 60 + 0.5);
  rs.obs1.year = t.year;
  rs.obs1.month = t.month;
  rs.obs1.day = t.day;
  rs.obs1.hour = h;
  rs.obs1.minute = m;
  rs.obs1.second = s;
  copy_date_time(rs.obs2, rs.obs1);
  rs.flow.autorun = true;
  rs.flow.obsno = 1;
  return State::LOOP_TOP;
}
