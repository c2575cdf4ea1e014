// The screens of a computed observation and of the fix: the result screen
// and the ephemeris block of each observation, the FINAL screen of
// observation 2 renewed after the run between the sights, and the LUNAR
// RESULT screen of the fix.  They print the run state as it stands and read
// nothing.
#include "screens.h"

#include <cmath>
#include <cstdio>

#include "angles.h"
#include "calendar.h"
#include "console.h"
#include "input.h"
#include "lop.h"
#include "nutation.h"
#include "screenlines.h"
#include "split.h"
#include "stars.h"

namespace {

// The label form of a star's name, " 43 > POLARIS"; a number outside the
// catalogue names its placeholder row.
const char* star_label(int starno) {
  if (starno < 0 || starno > 59) starno = 58;
  return starnames[0][starno];
}

// The body's name in the ephemeris screen's GHA line, by body code 0 to 7
// (the two limbs of the Sun and of the Moon share a name).
constexpr const char* kGhaNames[8] = {"SUN",   "SUN",  "MOON",    "MOON",
                                      "VENUS", "MARS", "JUPITER", "SATURN"};

// The planet's name in the FINAL screen's Moon line, by body code 4 to 7.
constexpr const char* kPlanetNames[4] = {"Venus", "Mars", "Jupiter", "Saturn"};

// The date, time, dead-reckoning position and instrument lines of the
// observation in w, as the result and FINAL screens show them.
void sight_lines(const RunState& rs, const obsrec& w) {
  date_line(w);
  time_line(w);
  position_lines(w);
  std::fprintf(con_out(), " Index corr. Ic: %.2f'  Height of eye: %.2fm \n",
               rs.shared.Ic, rs.shared.eye);
}

// An altitude (degrees) in whole degrees and decimal minutes after its label.
void altitude_line(const char* label, double altitude) {
  const DegMin a = split_dm(altitude);
  std::fprintf(con_out(), "%s= %d deg %3.2f'\n", label, a.deg, a.min);
}

// The intercept (nautical miles) in words, away from or closer to the named
// body; one of limit or more, or one that is not a number, is an error in
// the measured values.
void intercept_line(double intercept, double limit, const char* body) {
  FILE* out = con_out();
  if (intercept < 0)
    std::fprintf(out, " ==> Position = %6.2f miles, away from %s\n", intercept,
                 body);
  else if (intercept < limit)
    std::fprintf(out, " ==> Position = %6.2f miles closer to %s\n", intercept,
                 body);
  else
    std::fputs(" ==> !!!  Error in the measured values !!! \n", out);
}

}  // namespace

// Given:    eot_hours  equation of time, hours
// Returned: minutes    its whole minutes, truncated, with its sign
//           seconds    the rest in seconds; positive when the minutes are
//                      not 0, so that the sign shows once
void eot_figures(double eot_hours, int* minutes, double* seconds) {
  const int m = split_dms(eot_hours).min;
  double s = (eot_hours * 60 - m) * 60;
  if (m != 0) s = std::fabs(s);
  *minutes = m;
  *seconds = s;
}

void result_screen(const RunState& rs) {
  FILE* out = con_out();
  const obsrec& w = rs.work;
  skip(25);
  screen_head(rs.flow.obsno, " ~~~~~~~~~~~~~\n\n");
  sight_lines(rs, w);
  altitude_line(" Sextant viewed: Hs", rs.calc.Hs);
  altitude_line(" Sextant appar.: Ha", rs.calc.Ha);
  altitude_line(" Sextant corr. : Ho", rs.calc.Ho);
  const DegMin hc = split_dm(rs.calc.Hc);
  const int code = w.bodycode;
  if (code == 0 || code == 1)
    std::fprintf(out, " Sext. calculat: Hc= %d deg %3.2f' SUN_%d\n", hc.deg,
                 hc.min, code);
  else if (code == 2 || code == 3)
    std::fprintf(out, " Sext. calculat: Hc= %d deg %3.2f' Moon_%d\n", hc.deg,
                 hc.min, code);
  else if (code >= 4 && code <= 7)
    std::fprintf(out, " Sext. calculat: Hc= %d deg %3.2f' Planet_%d\n", hc.deg,
                 hc.min, code);
  else if (code == 8)
    std::fprintf(out, " Sext. calculat. Hc= %d deg %3.2f' Star_%d\n", hc.deg,
                 hc.min, w.starno);
  const DegMinSec hcs = split_dms(rs.calc.Hc);
  std::fprintf(out, "                 Hc= %d deg %d' %.2f''\n", hcs.deg,
               hcs.min, hcs.sec);
  // The same words for every body.
  intercept_line(rs.calc.intercept, 1999, "star");
  std::fprintf(out, " ==> Azimut   = %6.2f degrees\n", rs.calc.Az);
  std::fputs(" ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~\n", out);
  std::fputs("     ... hit ENTER to continue ", out);
}

void ephemeris_block(const RunState& rs) {
  FILE* out = con_out();
  const obsrec& w = rs.work;
  const int code = w.bodycode;

  // For this display only: mean sidereal time and nutation from the Julian
  // Day of the sight on the UT scale.
  const double JD = julday(w.year, w.month, w.day, w.hour, w.minute, w.second);
  const double GMST = green0mean(JD);
  double delta_psi = 0, delta_eps = 0, eps0 = 0, eps = 0;
  Nutation((JD - 2451545.0) / 36525, &delta_psi, &delta_eps, &eps0, &eps);

  std::fputs("\n EPHEMERIDES of celestial object:\n", out);
  std::fprintf(out, " ============ JDE = %.7f ============\n", rs.calc.JDE);
  const DegMinSec gha = split_dms(rs.calc.GHA);
  if (code >= 0 && code <= 7) {
    std::fprintf(out, " GHA of %s = %d deg %d' %.2f''\n", kGhaNames[code],
                 gha.deg, gha.min, gha.sec);
  } else if (code == 8) {
    std::fputs(" GHA_STAR", out);
    std::fprintf(out, "%s", star_label(w.starno));
    if (w.starno == 43) {
      // Polaris in degrees and decimal minutes.
      const DegMin g = split_dm(rs.calc.GHA);
      std::fprintf(out, "= %d deg %.2f'\n", g.deg, g.min);
    } else {
      std::fprintf(out, "= %d deg %d' %.2f''\n", gha.deg, gha.min, gha.sec);
    }
  }
  std::fprintf(out, " GHA (dec.) = %.8f deg \n", rs.calc.GHA);
  const DegMinSec lha = split_dms(rs.calc.LHA);
  std::fprintf(out, " LHA ship  = %d deg %d' %.2f''\n", lha.deg, lha.min,
               lha.sec);
  std::fprintf(out, " Declination = %.8f deg\n", rs.calc.Dec);
  const DegMinSec dec = split_dms(rs.calc.Dec);
  std::fprintf(out, " Declination = %d deg %d' %.2f''\n", dec.deg, dec.min,
               dec.sec);
  // A star's right ascension is held in (-180, 180]: shown in [0, 360).
  const double ra = norm360(rs.calc.RA);
  std::fprintf(out, " Rectascension = %.8f deg \n", ra);
  const DegMinSec rah = split_dms(ra / 15);
  std::fprintf(out, " Rectascension = %d hour %d m %.2f s\n", rah.deg, rah.min,
               rah.sec);
  if (code == 8) {
    const DegMinSec sha = split_dms(norm360(rs.calc.SHA));
    std::fprintf(out, " SHA (star)= %d deg %d' %.2f'' \n", sha.deg, sha.min,
                 sha.sec);
  }
  std::fprintf(out, " GAST (appar. Sid.Time) = %.8f deg \n", rs.calc.GAST);
  const DegMinSec gast = split_dms(rs.calc.GAST);
  std::fprintf(out, " GAST = 'Aries'         =  %d deg %d' %.2f'' \n", gast.deg,
               gast.min, gast.sec);
  const DegMinSec gmst = split_dms(GMST);
  std::fprintf(out, " GMST  (mean Sid.Time)  =  %d deg %d' %.2f'' \n", gmst.deg,
               gmst.min, gmst.sec);
  int eot_min = 0;
  double eot_sec = 0;
  eot_figures(
      equ_of_time(w.hour, w.minute, w.second, rs.calc.GAST, rs.calc.sunRA),
      &eot_min, &eot_sec);
  std::fprintf(out, " EoT= %dm %.2fs;   DELTA-T = %.2f sec(+-1)\n", eot_min,
               eot_sec, rs.shared.deltaT);
  std::fprintf(out, " delta_psi=%.2f''; delta_eps=%.2f''\n", delta_psi * 3600,
               delta_eps * 3600);
  std::fprintf(out, " Ecliptic Obliquity eps=%.8f deg\n", eps);
  const DegMin ha = split_dm(rs.calc.Ha);
  const DegMin ho = split_dm(rs.calc.Ho);
  const DegMin hc = split_dm(rs.calc.Hc);
  std::fprintf(out, " Sext.: Ha=%dd%.1f' Ho=%dd%.1f' Hcalc=%dd%.1f'\n", ha.deg,
               ha.min, ho.deg, ho.min, hc.deg, hc.min);
  std::fprintf(out, " S_Correction= %.2f'; Index= %.2f' SDa=%.2f'\n",
               rs.calc.S_Correction, rs.shared.Ic, rs.calc.SDa);
  std::fprintf(out, " Dip= %.2f' Refr= %.2f' HP= %.2f'[max:%.2f]\n",
               rs.calc.dip, rs.calc.refraction, rs.calc.parallax, rs.calc.HP);
  std::fputs(" Precision:+-1'',see: NASA-JPL 'HORIZONS'\n", out);
  std::fputs(" ==============================================\n", out);
}

void final_screen(const RunState& rs) {
  FILE* out = con_out();
  const obsrec& w = rs.work;
  skip(25);
  std::fputs(" Renewing Position 2 after sailing from Pos. 1\n", out);
  screen_head(rs.flow.obsno, " FINAL ~~~~~~~~ \n\n");
  sight_lines(rs, w);
  altitude_line(" Sextant viewed:  Hs", rs.sight2.Hs);
  altitude_line(" Sextant appar.:  Ha", rs.sight2.Ha);
  altitude_line(" Sextant corr. :  Ho", rs.sight2.Ho);
  altitude_line(" Sextant calcul:  Hc", rs.calc.Hc);
  std::fprintf(out, " Course was: %5.0f  Velocity: %4.2f \n", rs.fix.course,
               rs.fix.velocity);
  // The words name the Sun whatever the body.
  intercept_line(rs.calc.intercept, 999, "sun");
  std::fprintf(out, " ==> Azimut   = %6.2f degrees  \n", rs.calc.Az);
}

void lunar_result_screen(const RunState& rs) {
  FILE* out = con_out();
  const obsrec& w = rs.work;
  skip(25);
  std::fputs("   Astro-Navigation by  LUNAR DISTANCE\n", out);
  std::fputs(" ~~~~~~~~~~~~~~~ LUNAR RESULT ~~~~~~~~~~~~~\n", out);
  date_line(w);
  std::fprintf(out, " ==> TIME-UTC: %dh %dm %ds, Delta_T: %.2f\n", w.hour,
               w.minute, w.second, rs.shared.deltaT);
  std::fprintf(out, " JulianDay [incl.Delta_T]= %.7f\n", rs.calc.JDE);
  std::fprintf(out, " Temperature= %.1fC  Pressure= %.1fhPa\n", rs.shared.temp,
               rs.shared.press);
  // Sunrise and sunset once observation 2's intercept is below one nautical
  // mile (its whole miles are 0); an intercept that is not a number is not.
  if (std::fabs(rs.sight2.intercept) < 1)
    std::fprintf(out, " SUN_R/S(Az)=%dh%dm(%d) %dh%dm(%d) D~%dm\n",
                 rs.fix.rise_hour, rs.fix.rise_minute, rs.fix.rise_az,
                 rs.fix.set_hour, rs.fix.set_minute, rs.fix.set_az,
                 rs.fix.twilight);
  const int code = rs.obs2.bodycode;
  if (code == 0 || code == 1) {
    std::fprintf(out, " MOON: SDa= %.2f', Lunar Distance to SUN\n",
                 rs.sight1.SDa);
  } else if (code >= 4 && code <= 7) {
    std::fprintf(out, " MOON: SDa= %.2f', Planet= %s\n", rs.sight1.SDa,
                 kPlanetNames[code - 4]);
  } else if (code == 8) {
    std::fprintf(out, " MOON: SDa= %.2f', Star=%s \n", rs.sight1.SDa,
                 star_label(rs.obs2.starno));
  }
  // The distances of the last lunar-distance step made after the first
  // correction.
  if (rs.flow.ldinner > 0) {
    const DegMin measured = split_dm(rs.ld.LD_limb);
    const DegMinSec almanac = split_dms(rs.ld.LDtrue);
    const DegMinSec cleared = split_dms(rs.ld.LDclear);
    std::fprintf(out, " Lunar Dist. measured = %d deg %.1f'\n", measured.deg,
                 measured.min);
    std::fprintf(out, " Lunar Dist. (Almanac)= %d deg %d' %.2f''\n",
                 almanac.deg, almanac.min, almanac.sec);
    std::fprintf(out, " LUNAR DIST. CLEARED  = %d deg %d' %.2f''\n",
                 cleared.deg, cleared.min, cleared.sec);
  }
  std::fprintf(out, " Final Position Error = %5.2f naut. miles\n",
               rs.fix.poserr);
  // A St. Hilaire fix holds only for a displacement small against the
  // zenith distance of the Moon.
  const double zenith = 90.0 - static_cast<double>(dtoi(rs.sight1.Hs));
  if (rs.fix.poserr > 10 * std::fabs(zenith))
    std::fputs(" ?? Displacement too big, St. Hilaire?\n", out);
  std::fputs("\n", out);
  if (fix_converged(rs.fix.poserr))
    std::fputs(" ==> POSITION has CONVERGED:\n", out);
  else
    std::fputs(" ==> Approximate POSITION Fixed:\n", out);
  std::fprintf(out, "    Latitude  = %4d deg %5.2f' \n", w.lat_deg, w.lat_min);
  std::fprintf(out, "    Longitude = %4d deg %5.2f' \n", w.lon_deg, w.lon_min);
  if (fix_converged(rs.fix.poserr))
    std::fputs(" This is actual POSITION, deviat.< 0.1nm\n", out);
  if (std::fabs(static_cast<double>(w.lat_deg)) > 89.9)
    std::fputs(" !!! Position-estimate should be changed !!!\n", out);
  if (rs.flow.badfix != 0) {
    std::fputs(" !!! Observations not independent !!!\n", out);
    std::fputs(" !!! Result probably not good !!!\n", out);
  }
  std::fputs("\n", out);
}
