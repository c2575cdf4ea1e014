// The computation of one observation (one sight) and its screens.
//
//   COMPUTE  the apparent place of the body at the time of the sight, the
//            computed altitude and azimuth at the observation's assumed
//            position, the correction of the sextant altitude to the
//            observed altitude, the apparent altitude and the intercept
//   HCAZ     the computed altitude, azimuth and intercept formed again (also
//            for observation 2 renewed after the run between the sights)
//   RESULT   the result screen, the values kept for the lunar distance and
//            the fix, the record write, the ephemeris block
#include <cmath>
#include <cstdio>

#include "angles.h"
#include "calendar.h"
#include "console.h"
#include "input.h"
#include "moon.h"
#include "nutation.h"
#include "planets.h"
#include "records.h"
#include "screens.h"
#include "sight.h"
#include "screenlines.h"
#include "split.h"
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

}  // namespace

// Given:    bodycode  0/1 Sun lower/upper limb, 2/3 Moon lower/upper limb,
//                     4-7 planets, 8 star
//           Ic        index correction, arcminutes
//           Hs        sextant altitude, degrees
//           dip       dip of the horizon, arcminutes
//           SDa       semi-diameter applied, arcminutes
// Returned: apparent altitude of the centre, degrees
// Notes:    The semi-diameter takes the limb's sign as in the altitude
//           correction: an upper limb stands above the centre, so the
//           centre's apparent altitude is the limb's less the semi-diameter.
//           The clearing of the lunar distance and the screens take this
//           value as the apparent altitude of the body's centre.
double apparent_altitude(int bodycode, double Ic, double Hs, double dip,
                         double SDa) {
  int m = 0;
  if (bodycode == 0 || bodycode == 2) m = +1;
  if (bodycode == 1 || bodycode == 3) m = -1;
  return (Ic / 60 + Hs) - dip / 60 + m * SDa / 60;
}

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
  std::fputs(" Astro-Navigation by LUNAR DISTANCE \n", out);
  std::fprintf(out, " ~~~~~~~~~~~ [%d.] Observation ~~~~~~~~~~~~~\n\n",
               rs.obsno);
  date_line(w);
  time_line(w);
  position_lines(w);
  std::fprintf(out, " Index corr. Ic: %.2f'  Height of eye: %.2fm \n", rs.Ic,
               rs.eye);
  const DegMin hs = split_dm(rs.Hs);
  const DegMin ha = split_dm(rs.Ha);
  const DegMin ho = split_dm(rs.Ho);
  const DegMin hc = split_dm(rs.Hc);
  std::fprintf(out, " Sextant viewed: Hs= %d deg %3.2f'\n", hs.deg, hs.min);
  std::fprintf(out, " Sextant appar.: Ha= %d deg %3.2f'\n", ha.deg, ha.min);
  std::fprintf(out, " Sextant corr. : Ho= %d deg %3.2f'\n", ho.deg, ho.min);
  const int code = w.bodycode;
  if (code == 0 || code == 1)
    std::fprintf(out, " Sext. calculat: Hc= %d deg %3.2f' SUN_%d\n", hc.deg,
                 hc.min, code);
  else if (code == 2 || code == 3)
    std::fprintf(out, " Sext. calculat: Hc= %d deg %3.2f' Moon_%d\n", hc.deg,
                 hc.min, code);
  else if (code >= 4 && code <= 7)
    std::fprintf(out, " Sext. calculat: Hc= %d deg %3.2f' Planet_%d\n",
                 hc.deg, hc.min, code);
  else if (code == 8)
    std::fprintf(out, " Sext. calculat. Hc= %d deg %3.2f' Star_%d\n", hc.deg,
                 hc.min, w.starno);
  const DegMinSec hcs = split_dms(rs.Hc);
  std::fprintf(out, "                 Hc= %d deg %d' %.2f''\n", hcs.deg,
               hcs.min, hcs.sec);
  // The same words for every body.  A value that is not a number is an
  // error in the measured values as well.
  if (rs.intercept < 0)
    std::fprintf(out, " ==> Position = %6.2f miles, away from star\n",
                 rs.intercept);
  else if (rs.intercept < 1999)
    std::fprintf(out, " ==> Position = %6.2f miles closer to star\n",
                 rs.intercept);
  else
    std::fputs(" ==> !!!  Error in the measured values !!! \n", out);
  std::fprintf(out, " ==> Azimut   = %6.2f degrees\n", rs.Az);
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
  std::fprintf(out, " ============ JDE = %.7f ============\n", rs.JDE);
  const DegMinSec gha = split_dms(rs.GHA);
  if (code >= 0 && code <= 7) {
    std::fprintf(out, " GHA of %s = %d deg %d' %.2f''\n", kGhaNames[code],
                 gha.deg, gha.min, gha.sec);
  } else if (code == 8) {
    std::fputs(" GHA_STAR", out);
    std::fprintf(out, "%s", star_label(w.starno));
    if (w.starno == 43) {
      // Polaris in degrees and decimal minutes.
      const DegMin g = split_dm(rs.GHA);
      std::fprintf(out, "= %d deg %.2f'\n", g.deg, g.min);
    } else {
      std::fprintf(out, "= %d deg %d' %.2f''\n", gha.deg, gha.min, gha.sec);
    }
  }
  std::fprintf(out, " GHA (dec.) = %.8f deg \n", rs.GHA);
  const DegMinSec lha = split_dms(rs.LHA);
  std::fprintf(out, " LHA ship  = %d deg %d' %.2f''\n", lha.deg, lha.min,
               lha.sec);
  std::fprintf(out, " Declination = %.8f deg\n", rs.Dec);
  const DegMinSec dec = split_dms(rs.Dec);
  std::fprintf(out, " Declination = %d deg %d' %.2f''\n", dec.deg, dec.min,
               dec.sec);
  // A star's right ascension is held in (-180, 180]: shown in [0, 360).
  const double ra = norm360(rs.RA);
  std::fprintf(out, " Rectascension = %.8f deg \n", ra);
  const DegMinSec rah = split_dms(ra / 15);
  std::fprintf(out, " Rectascension = %d hour %d m %.2f s\n", rah.deg,
               rah.min, rah.sec);
  if (code == 8) {
    const DegMinSec sha = split_dms(norm360(rs.SHA));
    std::fprintf(out, " SHA (star)= %d deg %d' %.2f'' \n", sha.deg, sha.min,
                 sha.sec);
  }
  std::fprintf(out, " GAST (appar. Sid.Time) = %.8f deg \n", rs.GAST);
  const DegMinSec gast = split_dms(rs.GAST);
  std::fprintf(out, " GAST = 'Aries'         =  %d deg %d' %.2f'' \n",
               gast.deg, gast.min, gast.sec);
  const DegMinSec gmst = split_dms(GMST);
  std::fprintf(out, " GMST  (mean Sid.Time)  =  %d deg %d' %.2f'' \n",
               gmst.deg, gmst.min, gmst.sec);
  int eot_min = 0;
  double eot_sec = 0;
  eot_figures(equ_of_time(w.hour, w.minute, w.second, rs.GAST, rs.sunRA),
              &eot_min, &eot_sec);
  std::fprintf(out, " EoT= %dm %.2fs;   DELTA-T = %.2f sec(+-1)\n", eot_min,
               eot_sec, rs.deltaT);
  std::fprintf(out, " delta_psi=%.2f''; delta_eps=%.2f''\n", delta_psi * 3600,
               delta_eps * 3600);
  std::fprintf(out, " Ecliptic Obliquity eps=%.8f deg\n", eps);
  const DegMin ha = split_dm(rs.Ha);
  const DegMin ho = split_dm(rs.Ho);
  const DegMin hc = split_dm(rs.Hc);
  std::fprintf(out, " Sext.: Ha=%dd%.1f' Ho=%dd%.1f' Hcalc=%dd%.1f'\n",
               ha.deg, ha.min, ho.deg, ho.min, hc.deg, hc.min);
  std::fprintf(out, " S_Correction= %.2f'; Index= %.2f' SDa=%.2f'\n",
               rs.S_Correction, rs.Ic, rs.SDa);
  std::fprintf(out, " Dip= %.2f' Refr= %.2f' HP= %.2f'[max:%.2f]\n", rs.dip,
               rs.refraction, rs.parallax, rs.HP);
  std::fputs(" Precision:+-1'',see: NASA-JPL 'HORIZONS'\n", out);
  std::fputs(" ==============================================\n", out);
}

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
