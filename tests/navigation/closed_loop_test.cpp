// Closed loop of the whole lunar-distance method.
//
// For a true date, UT and position the program's own routines give the true
// altitudes and azimuths of the Moon and of a second body and their almanac
// distance.  These are turned into the readings a navigator would take off
// the sextant by undoing, with the program's own altitude correction, the
// index error, dip, refraction, semi-diameter and parallax, and by finding
// the apparent distance of the centres that the program's own clearing turns
// into the almanac distance, from which the distance to the chosen limb
// follows.  The real program is then run as a process on these sights, with
// a dead-reckoning position some 20 to 40 miles off and a clock a few
// minutes wrong: after its automatic passes it must have found the position
// and the time again.
#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include "angles.h"
#include "deltat.h"
#include "lunar.h"
#include "moon.h"
#include "nav_test_util.h"
#include "planets.h"
#include "program_run.h"
#include "sight.h"
#include "stars.h"
#include "sun.h"

namespace {

namespace fs = std::filesystem;

constexpr double kPi = 3.141592653589793;
constexpr double kRad = kPi / 180;

// Body codes of the dialogue.
constexpr int kSunLower = 0, kSunUpper = 1, kMoonLower = 2, kMoonUpper = 3;
constexpr int kVenus = 4, kMars = 5, kJupiter = 6, kSaturn = 7, kStar = 8;
// Limb of the Moon to which the lunar distance is measured.
constexpr int kNear = 1, kFar = 2;
// Side of the Moon on which the second body stands.
constexpr int kEast = +1, kWest = -1;

// One closed-loop case: the truth, the sights to take, the instrument and
// the weather, and how far off the navigator's reckoning and clock are.
struct Case {
  const char* name;
  int year, month, day, hour, minute, second;  // true UT
  double lat, lon;                             // true position, degrees
  int moon;                                    // kMoonLower or kMoonUpper
  int body, star;                              // second body (star number)
  int ldlimb;                                  // kNear or kFar
  int side;                                    // kEast or kWest, as it is
  double dr_north, dr_east;                    // reckoning error, nm
  int clock_error;                             // seconds, clock minus UT
  double Ic, eye, temp, press;                 // arcmin, m, C, hPa
};

// Geometries where the method is well conditioned: both bodies 23 to 48
// degrees high, azimuths 75 to 125 degrees apart, the second body near the
// ecliptic and 50 to 105 degrees from the Moon, so that the distance changes
// by 0.45 to 0.58 degree an hour.
const Case kCases[] = {
    {"SunLowerEast", 2022,    5,          23,        16,  57,    48,
     46.91,          -141.53, kMoonLower, kSunLower, 0,   kNear, kEast,
     18.0,           -22.0,   95,         1.2,       4.5, 18.0,  1021.0},
    {"SunUpperWest", 2027,   1,          16,        20,   15,   5,
     41.56,          -99.65, kMoonUpper, kSunUpper, 0,    kFar, kWest,
     -25.0,          15.0,   -140,       -0.8,      12.0, 3.5,  998.0},
    {"RegulusEast", 2020,   9,          12,    3,   5,     3,
     54.82,         103.93, kMoonUpper, kStar, 47,  kNear, kEast,
     30.0,          12.0,   170,        0.0,   2.5, 10.0,  1010.0},
    {"RegulusWest", 2019,   12,         23,    21,  16,   40,
     40.39,         164.13, kMoonLower, kStar, 47,  kFar, kWest,
     -14.0,         -26.0,  -75,        2.4,   8.0, 22.0, 1015.5},
    {"AntaresEastNearDateLine",
     2027,
     5,
     15,
     11,
     17,
     59,
     24.91,
     -178.99,
     kMoonLower,
     kStar,
     14,
     kNear,
     kEast,
     20.0,
     -25.0,
     120,
     -1.5,
     6.0,
     27.0,
     1009.0},
    {"AldebaranWestSouth",
     2017,
     5,
     4,
     23,
     35,
     5,
     -29.89,
     -105.94,
     kMoonUpper,
     kStar,
     4,
     kFar,
     kWest,
     -28.0,
     10.0,
     65,
     0.6,
     3.0,
     14.0,
     1026.4},
    {"JupiterEast", 2029,  9,          6,        8,    27,   55,
     44.35,         76.31, kMoonUpper, kJupiter, 0,    kFar, kEast,
     10.0,          32.0,  -100,       -0.4,     15.0, 12.0, 1005.0},
    {"JupiterWestSouth",
     2023,
     6,
     20,
     3,
     49,
     18,
     -20.37,
     113.88,
     kMoonLower,
     kJupiter,
     0,
     kNear,
     kWest,
     -20.0,
     -20.0,
     150,
     1.0,
     5.0,
     25.0,
     1012.0},
    {"VenusEast", 2020,   3,          22,     4,   1,    59,
     42.49,       104.77, kMoonLower, kVenus, 0,   kFar, kEast,
     0.0,         -35.0,  -60,        0.3,    4.0, 5.0,  1030.0},
    {"SaturnWest", 2024,    1,          19,      1,    36,    45,
     36.63,        -158.11, kMoonUpper, kSaturn, 0,    kNear, kWest,
     28.0,         -14.0,   80,         -2.0,    10.0, 20.0,  1008.0},
    {"MarsEast", 2021,    12,         23,    16,  54,    59,
     40.27,      -125.31, kMoonLower, kMars, 0,   kNear, kEast,
     -33.0,      8.0,     -175,       0.9,   7.0, 8.0,   1019.0},
    // In the tropics, with the distance changing faster than 1/1.8 degree an
    // hour: a time iterated on whole seconds cut off (not rounded) settled a
    // second late here, a fix 0.24 nautical mile off.
    {"JupiterWestTropics",
     2030,
     7,
     13,
     2,
     6,
     5,
     13.84,
     -74.00,
     kMoonLower,
     kJupiter,
     0,
     kNear,
     kWest,
     20.0,
     15.0,
     -100,
     0.5,
     5.0,
     15.0,
     1010.0},
};

// The place of a body at an instant, as the dialogue takes it.
struct Place {
  double Dec = 0, GHA = 0, RA = 0;  // degrees
  double HP = 0, SD = 0;            // arcminutes
};

struct Instant {
  int year, month, day, hour, minute, second;
};

Place place_of(int body, int star, double deltaT, const Instant& t) {
  Place p;
  double GAST = 0, JDE = 0, SHA = 0;
  if (body == kSunLower || body == kSunUpper)
    suneph(deltaT, t.year, t.month, t.day, t.hour, t.minute, t.second, &p.Dec,
           &p.GHA, &GAST, &p.RA, &p.HP, &p.SD, &JDE);
  else if (body == kMoonLower || body == kMoonUpper)
    mooneph(deltaT, t.year, t.month, t.day, t.hour, t.minute, t.second, &p.Dec,
            &p.GHA, &GAST, &p.RA, &p.HP, &p.SD);
  else if (body <= kSaturn)
    planeteph(body, deltaT, t.year, t.month, t.day, t.hour, t.minute, t.second,
              &p.Dec, &p.GHA, &GAST, &p.RA, &p.HP);
  else
    starseph(star, deltaT, t.year, t.month, t.day, t.hour, t.minute, t.second,
             &p.Dec, &p.GHA, &GAST, &p.RA, &SHA);
  return p;
}

// The instant s seconds after t, on the same day.
Instant shifted(const Instant& t, int s) {
  int total = t.hour * 3600 + t.minute * 60 + t.second + s;
  Instant r = t;
  r.hour = total / 3600;
  r.minute = total / 60 % 60;
  r.second = total % 60;
  return r;
}

// One sight as the navigator takes it, and what the program forms from it.
struct Sight {
  double Hc = 0, Az = 0;  // true altitude and azimuth, degrees
  std::string typed;      // the sextant altitude as typed: "deg min"
  double Hs = 0;          // the sextant altitude the program reads from it
  double Ho = 0, Ha = 0;  // observed and apparent altitudes, degrees
  double parallax = 0, dip = 0, SDa = 0;  // arcminutes
};

// A number as typed: the shortest text that reads back as the same double.
std::string typed_number(double x) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, r.ptr);
}

// A value in degrees as typed at a degrees-and-minutes prompt: the sign on
// the degrees, or on the minutes for a value within a degree below zero.
std::string typed_angle(double x) {
  char buf[64];
  const double mag = std::fabs(x);
  const double deg = std::floor(mag);
  const double min = (mag - deg) * 60;
  if (x < 0 && deg == 0)
    std::snprintf(buf, sizeof buf, "0 -%.12f", min);
  else
    std::snprintf(buf, sizeof buf, "%s%.0f %.12f", x < 0 ? "-" : "", deg, min);
  return buf;
}

// The value the program reads from a typed "deg min" of a positive angle.
double read_back(const std::string& typed) {
  double deg = 0, min = 0;
  std::sscanf(typed.c_str(), "%lf %lf", &deg, &min);
  return std::floor(deg + 1e-8) + min / 60;
}

// The apparent altitude of the body's centre the program forms for the
// clearing: the sextant altitude with index correction and dip, and the
// semi-diameter taken with the limb's sign (a lower limb lies below the
// centre, an upper limb above it).
double apparent_altitude(int body, double Hs, double Ic, double dip,
                         double SDa) {
  int m = 0;
  if (body == kSunLower || body == kMoonLower) m = +1;
  if (body == kSunUpper || body == kMoonUpper) m = -1;
  return (Ic / 60 + Hs) - dip / 60 + m * SDa / 60;
}

// The sextant altitude whose correction by the program gives the true
// altitude of the body at the true position: BESCHICKUNG inverted by
// bisection (the observed altitude grows with the sextant altitude).
Sight take_sight(int body, const Place& p, double lat, double lon,
                 const Case& c) {
  Sight s;
  double LHA = 0;
  HcAz(lat, lon, p.Dec, p.GHA, &LHA, &s.Hc, &s.Az);
  // The semi-diameter of the Sun or the Moon (the correction computes the
  // Moon's augmented one itself) and the horizontal parallax, 0 for a star.
  const double sd = body <= kMoonUpper ? p.SD : 0;
  const double hp = body == kStar ? 0 : p.HP;
  double par = 0, dip = 0, refr = 0, SDa = 0, corr = 0;
  auto Ho = [&](double hs) {
    return std::fabs(BESCHICKUNG(body, lat, s.Az, hs, c.Ic, c.temp, c.press,
                                 c.eye, sd, hp, &par, &dip, &refr, &SDa,
                                 &corr));
  };
  double lo = s.Hc - 3, hi = s.Hc + 3;
  for (int i = 0; i < 200 && hi - lo > 1e-13; ++i) {
    const double mid = 0.5 * (lo + hi);
    (Ho(mid) < s.Hc ? lo : hi) = mid;
  }
  s.typed = typed_angle(0.5 * (lo + hi));
  s.Hs = read_back(s.typed);
  s.Ho = Ho(s.Hs);
  s.parallax = par;
  s.dip = dip;
  s.SDa = SDa;
  s.Ha = apparent_altitude(body, s.Hs, c.Ic, dip, SDa);
  return s;
}

// Everything the navigator types, and the truth it came from.
struct Synthesis {
  double deltaT = 0;
  Sight moon, body;
  double LDtrue = 0;     // almanac distance of the centres at the true UT
  double rate = 0;       // its change, degrees per hour
  double daz = 0;        // azimuth difference, degrees
  double LD_limb = 0;    // the distance to the Moon's limb, degrees
  std::string ld_typed;  // as typed
  std::string answers;   // the whole answer file
};

Synthesis synthesize(const Case& c) {
  Synthesis y;
  y.deltaT = deltatime(c.year);
  const Instant t{c.year, c.month, c.day, c.hour, c.minute, c.second};
  const Place moon = place_of(c.moon, 0, y.deltaT, t);
  const Place body = place_of(c.body, c.star, y.deltaT, t);
  const Place sun = place_of(kSunLower, 0, y.deltaT, t);
  y.moon = take_sight(c.moon, moon, c.lat, c.lon, c);
  y.body = take_sight(c.body, body, c.lat, c.lon, c);
  y.daz = std::fabs(y.moon.Az - y.body.Az);
  if (y.daz > 180) y.daz = 360 - y.daz;

  y.LDtrue = LDist(moon.Dec, body.Dec, moon.RA, body.RA);
  const Instant a = shifted(t, -60), b = shifted(t, 60);
  const Place ma = place_of(c.moon, 0, y.deltaT, a);
  const Place ba = place_of(c.body, c.star, y.deltaT, a);
  const Place mb = place_of(c.moon, 0, y.deltaT, b);
  const Place bb = place_of(c.body, c.star, y.deltaT, b);
  y.rate = (LDist(mb.Dec, bb.Dec, mb.RA, bb.RA) -
            LDist(ma.Dec, ba.Dec, ma.RA, ba.RA)) *
           30;

  // The apparent distance of the centres that the program clears to the
  // almanac distance, with the altitudes it forms itself and the Moon's
  // parallax in altitude as it keeps it.
  const double pM = y.moon.parallax / 60;
  auto cleared = [&](double D) {
    return Lunaclear(D, y.moon.Ho, y.body.Ho, y.moon.Ha, y.body.Ha, y.moon.Az,
                     y.body.Az, pM, c.lat);
  };
  double lo = y.LDtrue - 2, hi = y.LDtrue + 2;
  for (int i = 0; i < 200 && hi - lo > 1e-13; ++i) {
    const double mid = 0.5 * (lo + hi);
    (cleared(mid) < y.LDtrue ? lo : hi) = mid;
  }
  const double D = 0.5 * (lo + hi);
  // From the centres to the limb: the Moon's augmented semi-diameter towards
  // the near limb or away from it to the far limb; for the Sun its near limb.
  y.LD_limb = D - c.Ic / 60;
  y.LD_limb += (c.ldlimb == kNear ? -1 : +1) * y.moon.SDa / 60;
  if (c.body == kSunLower || c.body == kSunUpper) y.LD_limb -= sun.SD / 60;
  y.ld_typed = typed_angle(y.LD_limb);

  // The navigator's reckoning and clock.
  const double dr_lat = c.lat + c.dr_north / 60;
  const double dr_lon = c.lon + c.dr_east / (60 * std::cos(c.lat * kRad));
  const Instant clock = shifted(t, c.clock_error);

  std::ostringstream in;
  char line[128];
  in << "\n"   // no reset of the record files
     << "\n"   // ... hit ENTER
     << "\n";  // the EXAMPLE screen
  std::snprintf(line, sizeof line, "%d %d %d\n", c.year, c.month, c.day);
  in << line;
  std::snprintf(line, sizeof line, "%d %d %d\n", clock.hour, clock.minute,
                clock.second);
  in << line;
  // Earth conditions: the change dialog with this Delta-T and weather.
  in << "1\n";
  in << typed_number(y.deltaT) << "\n"
     << typed_number(c.temp) << "\n"
     << typed_number(c.press) << "\n\n";
  in << typed_angle(dr_lat) << "\n" << typed_angle(dr_lon) << "\n";
  in << c.moon << "\n";
  in << typed_number(c.Ic) << "\n" << typed_number(c.eye) << "\n";
  in << y.moon.typed << "\n"
     << "\n"   // result screen
     << "\n";  // on to observation 2
  in << c.body << "\n";
  if (c.body == kStar) in << c.star << "\n\n";
  in << y.body.typed << "\n"
     << "\n"   // result screen
     << "\n";  // on to the lunar distance
  in << c.ldlimb << "\n"
     << (c.side == kWest ? 2 : 1) << "\n"
     << y.ld_typed << "\n"
     << "\n";  // ITERATION starts
  in << "9\n"  // stop, at the final menu after more than 30 passes
     << "\n";  // the closing screen
  y.answers = in.str();
  return y;
}

// Runs the program in a fresh directory on the answers; its standard output
// and the first record file as it leaves it.
struct ProgramRun : testsupport::ProgramRun {
  std::string record1;
};

ProgramRun run_program(const std::string& answers) {
  const testsupport::TempDir work("ld_loop");
  ProgramRun r;
  static_cast<testsupport::ProgramRun&>(r) =
      testsupport::run_program(LD_VELDRAMONT, work.path(), answers, 120);
  r.record1 = testsupport::slurp(work.path() / "dodarivi0r1.txt");
  return r;
}

// What the last LUNAR RESULT screen shows.
struct Result {
  bool found = false, converged = false;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  double lat = 0, lon = 0;  // degrees
};

// The value of the line beginning with key at or after from, or npos.
size_t line_at(const std::string& s, const std::string& key, size_t from) {
  const size_t at = s.find("\n" + key, from);
  return at == std::string::npos ? at : at + 1;
}

Result last_result(const std::string& out) {
  Result r;
  const size_t screen = out.rfind("LUNAR RESULT");
  if (screen == std::string::npos) return r;
  const size_t d = line_at(out, " Year: ", screen);
  const size_t t = line_at(out, " ==> TIME-UTC: ", screen);
  const size_t la = line_at(out, "    Latitude  = ", screen);
  const size_t lo = line_at(out, "    Longitude = ", screen);
  if (d == std::string::npos || t == std::string::npos ||
      la == std::string::npos || lo == std::string::npos)
    return r;
  int ldeg = 0, odeg = 0;
  double lmin = 0, omin = 0;
  r.found = std::sscanf(out.c_str() + d, " Year: %d Month: %d Day: %d", &r.year,
                        &r.month, &r.day) == 3 &&
            std::sscanf(out.c_str() + t, " ==> TIME-UTC: %dh %dm %ds", &r.hour,
                        &r.minute, &r.second) == 3 &&
            std::sscanf(out.c_str() + la, "    Latitude  = %d deg %lf'", &ldeg,
                        &lmin) == 2 &&
            std::sscanf(out.c_str() + lo, "    Longitude = %d deg %lf'", &odeg,
                        &omin) == 2;
  // Degrees and minutes both carry the sign of the angle.
  r.lat = ldeg + lmin / 60;
  r.lon = odeg + omin / 60;
  r.converged =
      out.find(" ==> POSITION has CONVERGED:", screen) != std::string::npos;
  return r;
}

// Great-circle distance in nautical miles (minutes of arc).
double distance_nm(double lat1, double lon1, double lat2, double lon2) {
  const double s1 = std::sin((lat2 - lat1) * kRad / 2);
  const double s2 = std::sin((lon2 - lon1) * kRad / 2);
  const double a =
      s1 * s1 + std::cos(lat1 * kRad) * std::cos(lat2 * kRad) * s2 * s2;
  return 2 * std::asin(std::sqrt(a)) / kRad * 60;
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ClosedLoop : public ::testing::TestWithParam<Case> {};

TEST_P(ClosedLoop, FindsThePositionAndTheTimeAgain) {
  const Case& c = GetParam();
  const Synthesis y = synthesize(c);

  // The case must be one where the method is well conditioned.
  EXPECT_GE(y.moon.Hc, 15);
  EXPECT_LE(y.moon.Hc, 60);
  EXPECT_GE(y.body.Hc, 15);
  EXPECT_LE(y.body.Hc, 60);
  EXPECT_GE(y.daz, 40);
  EXPECT_LE(y.daz, 140);
  EXPECT_GE(std::fabs(y.rate), 0.4) << "distance changes too slowly";
  EXPECT_GE(y.LDtrue, 30) << "second body too near the Moon";
  // The Moon runs east among the stars: the distance grows to a body west
  // of it and shrinks to one east of it.
  EXPECT_EQ(c.side, y.rate < 0 ? kEast : kWest);
  const double dr = std::hypot(c.dr_north, c.dr_east);
  EXPECT_GE(dr, 20);
  EXPECT_LE(dr, 40);
  EXPECT_GE(std::abs(c.clock_error), 60);
  EXPECT_LE(std::abs(c.clock_error), 180);

  // The synthesis itself: the program's corrections give back the truth.
  EXPECT_NEAR(y.moon.Ho, y.moon.Hc, 1e-10);
  EXPECT_NEAR(y.body.Ho, y.body.Hc, 1e-10);

  const ProgramRun run = run_program(y.answers);
  ASSERT_TRUE(run.ended) << "the program did not end";
  EXPECT_EQ(run.status, 0);
  // The answer 9 was read at the final menu of a converged fix, after the
  // automatic passes, and the final save was made.
  const size_t stop = run.out.find("\n>> fixed: write dodarivi0r1.txt \n");
  ASSERT_NE(stop, std::string::npos) << "no final save";
  const size_t menu =
      run.out.rfind(" ## ENTER: 1=restart, 5=KESTOR, 9=stop:\n");
  EXPECT_TRUE(menu != std::string::npos && menu > run.out.rfind("LUNAR RESULT"))
      << "the stop was not answered at the menu of a converged fix";
  EXPECT_GE(navtest::count(run.out, "LUNAR RESULT"), 31);

  const Result r = last_result(run.out);
  ASSERT_TRUE(r.found) << "no LUNAR RESULT screen";
  EXPECT_TRUE(r.converged);
  EXPECT_EQ(r.year, c.year);
  EXPECT_EQ(r.month, c.month);
  EXPECT_EQ(r.day, c.day);
  // The time is corrected in whole seconds, to the nearest second.
  const int time_error = (r.hour * 3600 + r.minute * 60 + r.second) -
                         (c.hour * 3600 + c.minute * 60 + c.second);
  const double pos_error = distance_nm(c.lat, c.lon, r.lat, r.lon);
  EXPECT_LE(std::abs(time_error), 2) << "seconds";
  EXPECT_LE(pos_error, 0.2) << "nautical miles";
  std::printf(
      "[ closed loop ] %-24s position error %.3f nm, time error %+d s\n",
      c.name, pos_error, time_error);

  // The final save keeps the corrected time and the lunar distance typed.
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  int latd = 0, lond = 0, bodycode = 0, starno = 0, hsd = 0, zero = 0, side = 0;
  double latm = 0, lonm = 0, hsm = 0, ic = 0, eye = 0, icpt = 0, az = 0,
         spare = 0, temp = 0, press = 0, ld = 0;
  ASSERT_EQ(
      std::sscanf(run.record1.c_str(),
                  "%d %d %d %d %d %d %d %lf %d %lf %d %d %d %lf %d %lf "
                  "%lf %lf %lf %lf %lf %lf %lf %d",
                  &year, &month, &day, &hour, &minute, &second, &latd, &latm,
                  &lond, &lonm, &bodycode, &starno, &hsd, &hsm, &zero, &ic,
                  &eye, &icpt, &az, &spare, &temp, &press, &ld, &side),
      24)
      << run.record1;
  EXPECT_EQ(hour * 3600 + minute * 60 + second,
            r.hour * 3600 + r.minute * 60 + r.second);
  EXPECT_NEAR(ld, y.LD_limb, 1e-6);
  EXPECT_EQ(side, c.side);
}

INSTANTIATE_TEST_SUITE_P(Sights, ClosedLoop, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
