// The entry screens of an observation and the star selection screen.
//
// Observation 1 (the Moon) is entered in full: date, time, the Earth
// conditions, dead-reckoning position, limb, index correction, height of eye
// and sextant altitude.  Observation 2 takes date, time and position from
// observation 1 and asks only for its body (and star) and its sextant
// altitude.  During the automatic passes every screen is printed with the
// current values but nothing is read.
#include "entry.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "angles.h"
#include "calendar.h"
#include "console.h"
#include "earthcon.h"
#include "input.h"
#include "screenlines.h"
#include "split.h"
#include "stars.h"

namespace {

// The head of an entry screen; from the index correction screen on its
// second line has no blank before the line ends.
void head(int obsno, bool second_form) {
  skip(25);
  screen_head(obsno,
              second_form ? " ~~~~~~~~~~~~~\n\n" : " ~~~~~~~~~~~~~ \n\n");
}

void deltat_line(double deltaT) {
  std::fprintf(con_out(), " Delta-T : %.2f sec\n", deltaT);
}

// Magnitude of an int; INT_MIN, which has none, saturates.
int magnitude(int v) {
  if (v == INT_MIN) return INT_MAX;
  return v < 0 ? -v : v;
}

const char* const kBodyEcho[9] = {
    " => Sun lower rim\n",
    " => Sun upper rim\n",
    " => Moon lower rim\n",
    " => Moon upper rim\n",
    " => Planet Venus\n",
    " => Planet Mars\n",
    " => Planet Jupiter\n",
    " => Planet Saturn\n",
    " => Star (see catalog after Sextant-Data)\n"};

// Step: date screen.  Observation 2 sees only the head.
void date_screen(RunState& rs) {
  FILE* out = con_out();
  obsrec& w = rs.work;
  head(rs.flow.obsno, false);
  if (rs.flow.obsno != 1) return;
  std::fprintf(out, "###> Year: %d   Month: %d   Day: %d\n", w.year, w.month,
               w.day);
  std::fputs("                            Year Month Day\n", out);
  std::fprintf(out, " [Default: %d %d %d ] Input: ", w.year, w.month, w.day);
  int year = parse4nth(rs.flow.autorun, 1, w.year);
  const int month = parse4nth(rs.flow.autorun, 2, w.month);
  const int day = parse4nth(rs.flow.autorun, 3, w.day);
  if (year < -1999) year = -1999;
  if (year > 5999) year = 5999;
  w.year = year;
  w.month = month;
  w.day = day;
  if (year <= 1499 || year > 2500)
    std::fputs(" Year outside the range of high precision!\n", out);
  if (year <= 1582) {
    std::fputs("\n Dates before 1582-OCT-5 are JULIAN calender\n", out);
    con_getc();  // also in the automatic passes
  }
}

// Step: time screen; observation 1 then confirms the Earth conditions.
void time_screen(RunState& rs) {
  FILE* out = con_out();
  obsrec& w = rs.work;
  head(rs.flow.obsno, false);
  date_line(w);
  if (rs.flow.obsno != 1) return;
  std::fprintf(out, "\n###> Time-UTC:  %d h %d min %d sec \n", w.hour, w.minute,
               w.second);
  std::fputs("                            Hour Min. Sec.\n", out);
  std::fprintf(out, " [Default: %d %d %d ] Input: ", w.hour, w.minute,
               w.second);
  const int hour = parse4nth(rs.flow.autorun, 1, w.hour);
  const int minute = parse4nth(rs.flow.autorun, 2, w.minute);
  const int second = parse4nth(rs.flow.autorun, 3, w.second);
  w.hour = hour;
  w.minute = minute;
  w.second = second;
  copy_date_time(rs.obs1, w);
  if (!rs.flow.autorun)
    earthcon(w.year, rs.shared.temp, rs.shared.press, &rs.shared.deltaT,
             &rs.shared.temp, &rs.shared.press);
}

// Step: latitude screen of observation 1, after the Julian Day of the sights
// is taken from observation 1's date and time.  False for a latitude beyond
// 90 (or not a number).
bool latitude_screen(RunState& rs) {
  FILE* out = con_out();
  obsrec& w = rs.work;
  rs.shared.jd1 = julday(rs.obs1.year, rs.obs1.month, rs.obs1.day, rs.obs1.hour,
                         rs.obs1.minute, rs.obs1.second);
  std::fprintf(out, "\n###> Latitude:  %d deg %5.2f' \n", w.lat_deg, w.lat_min);
  std::fputs("                        +-Degree Minute\n", out);
  // The minutes take the sign of the degrees; with 0 degrees they keep their
  // own, so that a latitude within a degree of the equator keeps its side.
  double min = w.lat_min;
  if (w.lat_deg > 0) min = std::fabs(min);
  if (w.lat_deg < 0) min = -std::fabs(min);
  int deg = w.lat_deg;
  if (!rs.flow.autorun) {
    double d = 0;
    lies2(w.lat_deg, min, &d, &min);
    deg = dtoi(d);
  }
  const double lat = deg + min / 60;
  rs.sight1.pos.lat = lat;
  rs.sight2.pos.lat = lat;
  if (deg < 0) min = -std::fabs(min);
  w.lat_deg = deg;
  w.lat_min = min;
  // A latitude that is not a number, typed as such or read so from the
  // record file, is no latitude within 90 degrees either: it ends the
  // dialogue as one beyond 90 does, instead of running every later
  // computation on NaN.  In the automatic passes a fix that is not a number
  // (from a longitude that is not one) is carried on instead, and the passes
  // end by their bound, after which the final menu reads its answer.
  const bool beyond =
      rs.flow.autorun ? std::fabs(lat) > 90 : !(std::fabs(lat) <= 90);
  if (beyond) {
    std::fprintf(out, "\n!!! ERROR, Latitude=%f\n", lat);
    std::fputs(" restart with new position\n", out);
    con_getc();
    return false;
  }
  return true;
}

// Step: longitude screen of observation 1.
void longitude_screen(RunState& rs) {
  FILE* out = con_out();
  obsrec& w = rs.work;
  head(rs.flow.obsno, false);
  date_line(w);
  time_line(w);
  deltat_line(rs.shared.deltaT);
  std::fprintf(out, " Latitude:  %d deg %5.2f' \n", w.lat_deg, w.lat_min);
  std::fprintf(out, "\n###>  Longitude: %d deg %5.2f' \n", w.lon_deg,
               w.lon_min);
  std::fputs("                        +-Degree Minute\n", out);
  int deg = w.lon_deg;
  double min = w.lon_min;
  if (!rs.flow.autorun) {
    double d = 0;
    lies2(w.lon_deg, w.lon_min, &d, &min);
    deg = dtoi(d);
  }
  const double lon = lim180(norm360(deg + min / 60));
  rs.sight1.pos.lon = lon;
  rs.sight2.pos.lon = lon;
  if (deg < 0) min = -std::fabs(min);
  w.lon_deg = deg;
  w.lon_min = min;
}

// Step: observation 2 shows its assumed position as its dead-reckoning
// position.  Both sights keep the Julian Day of observation 1 taken at its
// latitude screen: whatever changes observation 1's date or time (its record
// read, the lunar-distance step) leads to its entry again before the next
// run between the sights.
void obs2_position(RunState& rs) {
  set_position(rs.work, rs.sight2.pos.lat, rs.sight2.pos.lon);
}

void summary_screen(RunState& rs) {
  FILE* out = con_out();
  const obsrec& w = rs.work;
  head(rs.flow.obsno, false);
  date_line(w);
  time_line(w);
  deltat_line(rs.shared.deltaT);
  if (rs.flow.obsno == 1) {
    std::fprintf(out, " Latitude:  %d deg %5.2f' \n", w.lat_deg, w.lat_min);
    std::fprintf(out, " Longitude: %d deg %5.2f' \n", w.lon_deg, w.lon_min);
  } else {
    std::fprintf(out, " Course: %2.2f  Velocity: %2.2f\n", rs.fix.course,
                 rs.fix.velocity);
    std::fprintf(out, " DR-Latitude:  %d deg %5.2f' \n", w.lat_deg, w.lat_min);
    std::fprintf(out, " DR-Longitude: %d deg %5.2f' \n", w.lon_deg, w.lon_min);
  }
}

// The body menu, shown again until the code suits the observation.
void body_menu(RunState& rs) {
  FILE* out = con_out();
  obsrec& w = rs.work;
  // In the automatic passes the remembered code is taken unread.  Should the
  // checks reject it, the menu reads an answer from then on: without that,
  // a rejected code would bring the menu back unread for ever.
  int readflag = rs.flow.autorun;
  for (;;) {
    skip(25);
    observation_line(rs.flow.obsno, " ~~~~~~~~~~~~~ \n\n");
    if (rs.flow.obsno == 1)
      std::fputs(" Celestial object: Moon\n", out);
    else
      std::fputs(" Celestial object: Sun, Planet or Star\n", out);
    std::fputs("\n", out);
    if (rs.flow.obsno != 1)
      std::fputs(" 0=SUN lower rim,    1=UPPER rim of SUN\n", out);
    if (rs.flow.obsno == 1)
      std::fputs(" 2=MOON lower rim,   3=UPPER rim of MOON\n", out);
    if (rs.flow.obsno != 1)
      std::fputs(" 4=VENUS, 5=MARS 6=JUPITER 7=SATURN 8=*STAR*\n", out);
    std::fputs("\n", out);
    std::fprintf(out, "###>  [Default: %d  ]   Input: ", w.bodycode);
    const int code = magnitude(parse4nth(readflag, 1, w.bodycode));
    w.bodycode = code;
    if (code <= 8) std::fputs(kBodyEcho[code], out);
    if (code == 8) w.starno = starlist(rs.flow.autorun, w.starno);
    const bool moon = (code == 2 || code == 3);
    const bool valid = code <= 8 && (rs.flow.obsno == 1 ? moon : !moon);
    if (valid) return;
    readflag = 0;
  }
}

void index_screen(RunState& rs) {
  FILE* out = con_out();
  head(rs.flow.obsno, true);
  std::fputs(
      rs.work.bodycode == 3 ? " => Moon upper rim\n" : " => Moon lower rim\n",
      out);
  std::fputs("\n       SEXTANT-Data:\n", out);
  std::fprintf(out, "\n###> Index correction(sext) Ic: %.2f' \n", rs.shared.Ic);
  std::fputs("                         +-Minutes \n", out);
  std::fprintf(out, " [Default: %.2f  ] Input: ", rs.shared.Ic);
  if (!rs.flow.autorun) rs.shared.Ic = parsefd(1, rs.shared.Ic);
}

void eye_screen(RunState& rs) {
  FILE* out = con_out();
  const obsrec& w = rs.work;
  head(rs.flow.obsno, true);
  date_line(w);
  time_line(w);
  std::fprintf(out, " Latitude:  %d deg %5.2f' \n", w.lat_deg, w.lat_min);
  std::fprintf(out, " Longitude: %d deg %5.2f' \n", w.lon_deg, w.lon_min);
  std::fprintf(out, " Index corr. Ic: %.2f'\n", rs.shared.Ic);
  std::fprintf(out, "\n###> Height of eye: %.2f m \n", rs.shared.eye);
  if (rs.flow.obsno != 1) return;
  std::fputs("                         Meters \n", out);
  std::fprintf(out, " [Default: %.2f  ] Input: ", rs.shared.eye);
  if (!rs.flow.autorun) rs.shared.eye = parsefd(1, rs.shared.eye);
  // Clamped also in the automatic passes.  A height that is not a number is
  // taken as 0, so that the dip always has a defined square root.
  if (rs.shared.eye > 40) rs.shared.eye = 40;
  if (!(rs.shared.eye >= 0)) rs.shared.eye = 0;
}

void sextant_screen(RunState& rs) {
  FILE* out = con_out();
  obsrec& w = rs.work;
  head(rs.flow.obsno, true);
  date_line(w);
  time_line(w);
  position_lines(w);
  std::fprintf(out, " Indx corr. Ic: %.1f' Height of eye: %.1fm \n",
               rs.shared.Ic, rs.shared.eye);
  std::fprintf(out, "\n###> SEXTANT measurement: Hs= %d deg %3.2f'\n", w.hs_deg,
               w.hs_min);
  std::fputs("                          +-Degrees  Min.\n", out);
  double deg = w.hs_deg;
  double min = w.hs_min;
  if (!rs.flow.autorun) lies2(w.hs_deg, w.hs_min, &deg, &min);
  w.hs_deg = dtoi(deg);
  w.hs_min = min;
  rs.calc.Hs = std::floor(deg + 1e-8) + min / 60;
}

}  // namespace

int starlist(bool autorun, int def) {
  FILE* out = con_out();
  // In the automatic passes the default is taken unread.  Should it be
  // rejected, the screen reads an answer from then on (and pauses): without
  // that, a rejected number would bring the screen back unread for ever.
  bool unread = autorun;
  for (;;) {
    for (int i = 0; i < 38; ++i) std::fputs("\n", out);
    std::fputs(" *** STAR-CATALOG 0..57: ***\n", out);
    for (int i = 0; i < 20; ++i)
      std::fprintf(out, " %-12s %-12s %-12s\n", starnames[1][i],
                   starnames[1][i + 20], starnames[1][i + 40]);
    std::fprintf(out, " ----------> Default-Star: %d \n", def);
    std::fputs(" ==>  enter Number of Star:", out);
    int n = def;
    if (!unread) n = parsenth(1, def);
    if (n < 0 || n > 57) {
      n = 58;
      def = 58;
    }
    std::fprintf(out, " - Star selected: %s\n", starnames[1][n]);
    if (!unread) con_getc();
    if (n != 58) return n;
    unread = false;
  }
}

void example_screen(const RunState& rs) {
  FILE* out = con_out();
  const obsrec& w = rs.work;
  skip(25);
  std::fputs(" Astro-Navigation by LUNAR DISTANCE\n\n", out);
  std::fputs(" ~~~~~~~~~~~~+~~ E X A M P L E  ~~~~~~~~~~~~~ \n", out);
  date_line(w);
  time_line(w);
  position_lines(w);
  // Fixed figures that illustrate the method.
  std::fprintf(out, " Sextant viewed: Ha= %d deg %3.2f' \n", w.hs_deg, 2.1);
  std::fprintf(out, " Sextant calcul. Hc: %d deg %3.2f' \n", w.hs_deg, 3.4);
  std::fprintf(out, " => Position incorrect by: %6.2f miles \n", 5.6);
  std::fprintf(out, " => Azimut direction: %6.2f deg \n", rs.calc.Az);
  std::fputs(" ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~ \n", out);
  std::fputs(" (Thanks: textbook, VSOP87D,FK5,IAU1980,LEA-406b)\n", out);
  std::fputs(" ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~ \n", out);
  std::fputs(" (3 files created: dodarivi0r0,1,2.txt, for\n", out);
  std::fputs(" Delta-T in years >2020 see file ...0x0.txt)\n", out);
  std::fputs(" \n            ... hit ENTER to continue: \n", out);
}

bool enter_observation(RunState& rs) {
  obsrec& w = rs.work;

  // The working copy: observation 2 takes date, time and position from
  // observation 1, its body, star and altitude from its own record.
  if (rs.flow.obsno == 1) {
    w = rs.obs1;
  } else {
    w = rs.obs2;
    copy_date_time(w, rs.obs1);
    w.lat_deg = rs.obs1.lat_deg;
    w.lat_min = rs.obs1.lat_min;
    w.lon_deg = rs.obs1.lon_deg;
    w.lon_min = rs.obs1.lon_min;
  }

  date_screen(rs);
  time_screen(rs);

  head(rs.flow.obsno, false);
  date_line(w);
  time_line(w);
  deltat_line(rs.shared.deltaT);
  if (rs.flow.obsno == 1) {
    if (!latitude_screen(rs)) return false;
    longitude_screen(rs);
  } else {
    obs2_position(rs);
  }

  summary_screen(rs);
  body_menu(rs);
  if (rs.flow.obsno == 1) index_screen(rs);
  eye_screen(rs);
  sextant_screen(rs);
  return true;
}
