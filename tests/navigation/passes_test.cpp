// The computation of the observations, their result and ephemeris screens,
// the run between the sights with the fix, and the lunar-distance step: the
// figures of the equation of time, the lines chosen by value, and the states
// run in process on the built-in sights, including sights that no geometry
// can give.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "angles.h"
#include "calendar.h"
#include "dialogue.h"
#include "earthcon.h"
#include "input.h"
#include "lunar.h"
#include "moon.h"
#include "nav_test_util.h"
#include "planets.h"
#include "records.h"
#include "screens.h"
#include "sight.h"
#include "states.h"
#include "sun.h"

namespace {

using navtest::count;
using navtest::slurp;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

constexpr auto& cleared = testsupport::cleared_screen;

bool contains(const std::string& hay, const std::string& needle) {
  return hay.find(needle) != std::string::npos;
}

// ---------------------------------------------------------------------------
// The equation of time.

TEST(EquationOfTime, SignOnTheMinutesOrOnTheSeconds) {
  struct Case {
    double minutes;  // the equation of time in minutes
    int want_min;
    const char* want_sec;
  };
  const Case cases[] = {
      {-3.15, -3, "9.00"}, {-0.15, 0, "-9.00"}, {3.15, 3, "9.00"},
      {0.15, 0, "9.00"},   {0.0, 0, "0.00"},    {-16.4, -16, "24.00"},
  };
  for (const Case& c : cases) {
    int m = 99;
    double s = 99;
    eot_figures(c.minutes / 60, &m, &s);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", s);
    EXPECT_EQ(m, c.want_min) << c.minutes;
    EXPECT_STREQ(buf, c.want_sec) << c.minutes;
  }
  int m = 99;
  double s = 0;
  eot_figures(kNaN, &m, &s);  // no conversion of NaN to an int
  EXPECT_EQ(m, 0);
  EXPECT_TRUE(std::isnan(s));
}

// ---------------------------------------------------------------------------
// Lines chosen by value on the screens.

TEST(ResultScreen, InterceptLine) {
  struct Case {
    double intercept;
    const char* line;
  };
  const Case cases[] = {
      {-3.5, " ==> Position =  -3.50 miles, away from star\n"},
      {-1e9, " ==> Position = -1000000000.00 miles, away from star\n"},
      {0.0, " ==> Position =   0.00 miles closer to star\n"},
      {1998.999, " ==> Position = 1999.00 miles closer to star\n"},
      {1999.0, " ==> !!!  Error in the measured values !!! \n"},
      {kNaN, " ==> !!!  Error in the measured values !!! \n"},
  };
  for (const Case& c : cases) {
    RunState rs;
    rs.calc.intercept = c.intercept;
    ConsoleCapture con;
    result_screen(rs);
    EXPECT_TRUE(contains(
        con.output(), std::string(c.line) + " ==> Azimut   = 180.00 degrees\n"))
        << c.intercept;
  }
}

TEST(ResultScreen, WholeScreenAndTheHcLineOfEachBody) {
  RunState rs;
  rs.calc.Hs = 24 + 14.0 / 60;
  rs.calc.Ha = 24 + 27.32 / 60;
  rs.calc.Ho = 25 + 17.16 / 60;
  rs.calc.Hc = -(0 + 30.5 / 60);  // below the horizon: the sign on the minutes
  rs.calc.intercept = 0.5;
  rs.calc.Az = 127.47;
  rs.work.bodycode = 2;
  {
    ConsoleCapture con;
    result_screen(rs);
    EXPECT_EQ(con.output(),
              cleared() +
                  " Astro-Navigation by LUNAR DISTANCE \n"
                  " ~~~~~~~~~~~ [1.] Observation ~~~~~~~~~~~~~\n\n"
                  " Year: 2017   Month: 6   Day: 17\n"
                  " Time-UTC:  3 h 57 min 14 sec \n"
                  " Latitude:  44 deg 46.99' \n"
                  " Longitude: -17 deg -11.60' \n"
                  " Index corr. Ic: 0.00'  Height of eye: 1.83m \n"
                  " Sextant viewed: Hs= 24 deg 14.00'\n"
                  " Sextant appar.: Ha= 24 deg 27.32'\n"
                  " Sextant corr. : Ho= 25 deg 17.16'\n"
                  " Sext. calculat: Hc= 0 deg -30.50' Moon_2\n"
                  "                 Hc= 0 deg -30' -30.00''\n"
                  " ==> Position =   0.50 miles closer to star\n"
                  " ==> Azimut   = 127.47 degrees\n"
                  " ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~\n"
                  "     ... hit ENTER to continue ");
  }
  struct Case {
    int bodycode;
    const char* line;
  };
  const Case cases[] = {
      {0, " Sext. calculat: Hc= 0 deg -30.50' SUN_0\n"},
      {1, " Sext. calculat: Hc= 0 deg -30.50' SUN_1\n"},
      {3, " Sext. calculat: Hc= 0 deg -30.50' Moon_3\n"},
      {5, " Sext. calculat: Hc= 0 deg -30.50' Planet_5\n"},
      {8, " Sext. calculat. Hc= 0 deg -30.50' Star_12\n"},
  };
  for (const Case& c : cases) {
    rs.work.bodycode = c.bodycode;
    rs.work.starno = 12;
    ConsoleCapture con;
    result_screen(rs);
    EXPECT_TRUE(contains(con.output(), c.line)) << c.bodycode;
  }
}

// The ephemeris block of a star with the given place.
std::string star_block(int starno, double gha, double ra) {
  RunState rs;
  rs.work.bodycode = 8;
  rs.work.starno = starno;
  rs.calc.GHA = gha;
  rs.calc.RA = ra;
  rs.calc.SHA = norm360(360 - ra);
  ConsoleCapture con;
  ephemeris_block(rs);
  return con.output();
}

TEST(EphemerisBlock, StarLines) {
  const std::string altair = star_block(12, 27.691444, -30);
  EXPECT_TRUE(contains(altair,
                       "\n EPHEMERIDES of celestial object:\n"
                       " ============ JDE = 0.0000000 ============\n"
                       " GHA_STAR 12 > Altair= 27 deg 41' 29.20''\n"
                       " GHA (dec.) = 27.69144400 deg \n"));
  // A star's right ascension of -30 degrees is shown in [0, 360).
  EXPECT_TRUE(contains(altair,
                       " Rectascension = 330.00000000 deg \n"
                       " Rectascension = 22 hour 0 m 0.00 s\n"
                       " SHA (star)= 30 deg 0' 0.00'' \n"));
  // A star has neither semi-diameter nor parallax.
  EXPECT_TRUE(contains(altair, " SDa=0.00'\n"));
  EXPECT_TRUE(contains(altair, " HP= 0.00'[max:0.00]\n"));
  // Polaris in degrees and decimal minutes.
  EXPECT_TRUE(contains(star_block(43, 281.798066, 43.1),
                       " GHA_STAR 43 > POLARIS= 281 deg 47.88'\n"
                       " GHA (dec.) = 281.79806600 deg \n"));
  // Other bodies have no SHA line.
  RunState rs;
  rs.work.bodycode = 6;
  rs.calc.GHA = 65.870928;
  ConsoleCapture con;
  ephemeris_block(rs);
  EXPECT_TRUE(contains(con.output(), " GHA of JUPITER = 65 deg 52' 15.34''\n"));
  EXPECT_FALSE(contains(con.output(), "SHA"));
}

TEST(FinalScreen, InterceptWordsNameTheSun) {
  struct Case {
    double intercept;
    const char* line;
  };
  const Case cases[] = {
      {-0.01, " ==> Position =  -0.01 miles, away from sun\n"},
      {0.0, " ==> Position =   0.00 miles closer to sun\n"},
      {998.99, " ==> Position = 998.99 miles closer to sun\n"},
      {999.0, " ==> !!!  Error in the measured values !!! \n"},
      {1500.0, " ==> !!!  Error in the measured values !!! \n"},
      {kNaN, " ==> !!!  Error in the measured values !!! \n"},
  };
  for (const Case& c : cases) {
    RunState rs;
    rs.flow.obsno = 2;
    rs.work.bodycode = 8;  // whatever the body
    rs.calc.intercept = c.intercept;
    rs.calc.Az = 79.88;
    ConsoleCapture con;
    final_screen(rs);
    EXPECT_TRUE(contains(con.output(),
                         std::string(" Course was:     0  Velocity: 0.00 \n") +
                             c.line + " ==> Azimut   =  79.88 degrees  \n"))
        << c.intercept;
  }
}

// ---------------------------------------------------------------------------
// The states in process, on the built-in sights.

void reduce_both(RunState& rs);

class Passes : public navtest::InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    input_reset();
    earthcon_reset();
  }

  // Both built-in observations reduced as the entry screens leave them (the
  // Moon's lower limb and Venus, in agreement with each other and with the
  // lunar distance of 48 degrees 7 minutes), without any pause.
  RunState reduced() {
    RunState rs;
    rs.shared.deltaT = 68.586;
    reduce_both(rs);
    return rs;
  }
};

// Both observations computed and shown at the date and time of obs1, at
// its dead-reckoning position, as an automatic pass does.
void reduce_both(RunState& rs) {
  ConsoleCapture con;
  const bool autorun = rs.flow.autorun;
  rs.flow.autorun = true;
  const obsrec& r = rs.obs1;
  rs.sight1.pos.lat = rs.sight2.pos.lat = r.lat_deg + r.lat_min / 60;
  rs.sight1.pos.lon = rs.sight2.pos.lon = r.lon_deg + r.lon_min / 60;
  rs.shared.jd1 = julday(r.year, r.month, r.day, r.hour, r.minute, r.second);
  for (int obsno : {1, 2}) {
    rs.flow.obsno = obsno;
    rs.work = (obsno == 1) ? rs.obs1 : rs.obs2;
    rs.work.hour = rs.obs1.hour;
    rs.work.minute = rs.obs1.minute;
    rs.work.second = rs.obs1.second;
    rs.calc.Hs = rs.work.hs_deg + rs.work.hs_min / 60;
    EXPECT_EQ(compute_observation(rs), State::HCAZ);
    EXPECT_EQ(hcaz_intercept(rs), State::RESULT);
    EXPECT_EQ(result_screens(rs), State::POST_OBS_MENU);
  }
  rs.flow.autorun = autorun;
}

TEST_F(Passes, NegativeCorrectedAltitudeGoesIntoHoAsItsMagnitude) {
  // Venus 2 degrees below the sea horizon: the correction gives a negative
  // altitude, and Ho is its magnitude; the intercept is formed with that.
  RunState rs;
  rs.shared.deltaT = 68.586;
  rs.flow.obsno = 2;
  rs.work = rs.obs2;
  rs.sight2.pos.lat = 44.5;
  rs.sight2.pos.lon = -17.25;
  rs.calc.Hs = -2.0;
  ConsoleCapture con;
  ASSERT_EQ(compute_observation(rs), State::HCAZ);
  double par = 0, dip = 0, refr = 0, sda = 0, corr = 0;
  const double signed_Ho = BESCHICKUNG(
      4, 44.5, rs.calc.Az, -2.0, rs.shared.Ic, rs.shared.temp, rs.shared.press,
      rs.shared.eye, 0, rs.calc.HP, &par, &dip, &refr, &sda, &corr);
  ASSERT_LT(signed_Ho, 0);
  EXPECT_EQ(rs.calc.Ho, -signed_Ho);
  EXPECT_EQ(rs.calc.intercept, (rs.calc.Ho - rs.calc.Hc) * 60);
  EXPECT_EQ(rs.calc.S_Correction,
            corr);  // the correction of the signed altitude
}

TEST_F(Passes, ComputeKeepsWhatTheLunarDistanceAndTheFixNeed) {
  const RunState rs = reduced();
  // Observation 1, the Moon's lower limb.
  EXPECT_EQ(rs.sight1.Hs, 24 + 14.0 / 60);
  EXPECT_NEAR(rs.sight1.Ha, 24 + 27.32 / 60, 0.005 / 60);
  EXPECT_NEAR(rs.sight1.Ho, 25 + 17.16 / 60, 0.005 / 60);
  EXPECT_NEAR(rs.sight1.Az, 127.47, 0.005);
  EXPECT_NEAR(rs.sight1.SDa, 15.70, 0.005);
  EXPECT_NEAR(rs.sight1.moonpar, 51.96 / 60, 0.005 / 60);
  EXPECT_NEAR(rs.sight1.intercept, 0.0, 0.005);
  EXPECT_EQ(rs.sight1.atresult.lat_min, 46.99);
  // Observation 2, Venus: no semi-diameter, a small parallax.
  EXPECT_NEAR(rs.sight2.Ha, 7 + 45.42 / 60, 0.005 / 60);
  EXPECT_NEAR(rs.sight2.Ho, 7 + 38.94 / 60, 0.005 / 60);
  EXPECT_NEAR(rs.sight2.Az, 79.88, 0.005);
  EXPECT_EQ(rs.calc.SDa, 0.0);
  // Both records written after their results.
  EXPECT_TRUE(contains(slurp(kRecordFile1), "0.000909 127.469692 3.141593 \n"));
  EXPECT_TRUE(contains(slurp(kRecordFile2), "\n4 33 \n7 47.800000 0 \n"));
}

TEST_F(Passes, ResultWaitsForAKeyOnlyOutsideTheAutomaticPasses) {
  RunState rs = reduced();
  {
    ConsoleCapture con("xrest");
    EXPECT_EQ(result_screens(rs), State::POST_OBS_MENU);
    EXPECT_EQ(con.unread(), "rest");
    // The line end that opens the ephemeris block closes the pause line.
    EXPECT_TRUE(contains(con.output(),
                         "     ... hit ENTER to continue \n"
                         " EPHEMERIDES of celestial object:\n"));
  }
  rs.flow.autorun = 1;
  ConsoleCapture con("xrest");
  result_screens(rs);
  EXPECT_EQ(con.unread(), "xrest");
}

const char kLdQuestions[] =
    "\n ==> Enter LUNAR DISTANCE now:\n"
    "\n Which Limb of Moon? 1=NEAR 2=FAR: [Default: 1 ] Input: "
    "\n To which side of Moon? 1=EAST 2=WEST: [Default: 1 ] Input: "
    "\n LUNAR DISTANCE = degrees  minutes:\n"
    "###> [Default: 48 7.00 ] Input:  ok, LD_limb= 48 deg 7.0'\n\n";

TEST_F(Passes, FirstLunarDistanceStep) {
  RunState rs = reduced();
  rs.flow.ldpasses = 4;
  ConsoleCapture con("\n\n\nxrest");
  EXPECT_EQ(lunar_distance_step(rs), State::OBS_INPUT);
  EXPECT_EQ(con.output(), cleared() + kLdQuestions +
                              " LDclear=48.6058 LDtrue=48.6057[deg]\n"
                              " Time new/old[h]: t1=3.9539 t0=3.9539\n"
                              " Time corrected by 0 hours 0 min\n"
                              " NEW TIME = 3 hours 57 min 13 sec\n"
                              "\n ITERATION starts, press ENTER ....");
  // One key read; what follows it stays pending for the entry that comes
  // next, which is not preceded by a discard.
  EXPECT_EQ(con.unread(), "rest");
  EXPECT_EQ(rs.flow.ldpasses, 5);
  EXPECT_EQ(rs.flow.ldinner, 0);
  EXPECT_EQ(rs.flow.lddone, 1);
  EXPECT_EQ(rs.flow.ldentered, 1);
  EXPECT_EQ(rs.flow.autorun, 1);
  EXPECT_EQ(rs.flow.obsno, 1);
  // The first correction truncates the seconds and sets obs1's time only.
  EXPECT_EQ(rs.obs1.hour, 3);
  EXPECT_EQ(rs.obs1.minute, 57);
  EXPECT_EQ(rs.obs1.second, 13);
  EXPECT_EQ(rs.calc.calctime.second, 13);
  EXPECT_EQ(rs.obs2.second, 14);
}

TEST_F(Passes, LunarDistanceAnswers) {
  RunState rs = reduced();
  rs.shared.Ic = -1.2;
  // A limb of exactly 1.5, or not a number, names neither limb: asked again.
  ConsoleCapture con("1.5\nnan\n2\n2\n-48 -7\n\n");
  EXPECT_EQ(lunar_distance_step(rs), State::OBS_INPUT);
  const std::string out = con.output();
  EXPECT_EQ(
      count(out, " Which Limb of Moon? 1=NEAR 2=FAR: [Default: 1 ] Input: "),
      3);
  EXPECT_EQ(rs.ld.limb, 2.0);
  EXPECT_EQ(rs.ld.side, -1);
  EXPECT_EQ(rs.ld.LD_limb, 48.11666666666667);  // a negative distance typed
  EXPECT_TRUE(contains(out, " ok, LD_limb= -48 deg -7.0'\n\n"));

  // The defaults are now the answers given; the side answer above 1.5 only
  // is west.
  rs.flow.ldentered = 0;
  rs.flow.lddone = 0;
  ConsoleCapture again("\n1.5\n\n\n");
  lunar_distance_step(rs);
  EXPECT_TRUE(
      contains(again.output(),
               " Which Limb of Moon? 1=NEAR 2=FAR: [Default: 2 ] Input: "
               "\n To which side of Moon? 1=EAST 2=WEST: [Default: 2 ] "
               "Input: \n LUNAR DISTANCE = degrees  minutes:\n"
               "###> [Default: 48 7.00 ] Input: "));
  EXPECT_EQ(rs.ld.limb, 2.0);
  EXPECT_EQ(rs.ld.side, +1);
}

TEST_F(Passes, EndOfInputAtTheLunarDistanceQuestions) {
  for (const char* input : {"", "1.5\n", "1.5\n1.5\n", "\n\n", "\n\n\n"}) {
    input_reset();
    RunState rs = reduced();
    ConsoleCapture con(input);
    EXPECT_THROW(lunar_distance_step(rs), EndOfInput) << input;
  }
}

TEST_F(Passes, ApparentDistanceOfTheCentres) {
  // A distance of 45 degrees 30 minutes measured with an index correction of
  // 6' to a Moon of 15' semi-diameter, some 3 degrees short of the almanac
  // distance: the first step takes the apparent distance of the centres
  // itself, and shows it as the cleared one.  The Sun's own semi-diameter at
  // the time of the sights is added for its near limb.
  double Dec, GHA, GAST, RA, HP, SD, JDE;
  suneph(68.586, 2017, 6, 17, 3, 57, 14, &Dec, &GHA, &GAST, &RA, &HP, &SD,
         &JDE);
  struct Case {
    const char* limb;  // the answer to the limb question
    int bodycode;      // of the second body
    double want;       // apparent distance, degrees
  };
  const Case cases[] = {
      {"1", 4, 45.5 + 0.1 + 0.25},  // near limb: the semi-diameter added
      {"2", 4, 45.5 + 0.1 - 0.25},  // far limb: taken off
      {"", 4, 45.5 + 0.1 + 0.25},   // the near limb held
      {"1", 1, 45.5 + 0.1 + 0.25 + SD / 60},
      {"2", 0, 45.5 + 0.1 - 0.25 + SD / 60},
  };
  for (const Case& c : cases) {
    input_reset();
    RunState rs = reduced();
    rs.obs2.bodycode = c.bodycode;
    rs.sight1.SDa = 15.0;
    rs.shared.Ic = 6.0;
    rs.ld.LD_limb = 45.5;
    ConsoleCapture con(std::string(c.limb) + "\n\n\n\n");
    EXPECT_EQ(lunar_distance_step(rs), State::OBS_INPUT);
    char want[32];
    std::snprintf(want, sizeof want, " LDclear=%.4f ", c.want);
    EXPECT_TRUE(contains(con.output(), want)) << c.limb << " " << c.bodycode;
    EXPECT_EQ(contains(con.output(),
                       "Input: \n for SUN always NEAR limb assumed!\n\n"
                       " LUNAR DISTANCE = degrees  minutes:\n"),
              c.bodycode <= 1)
        << c.bodycode;
  }
}

TEST_F(Passes, FirstStepGuardsAFailedClearing) {
  RunState rs = reduced();
  rs.sight1.SDa = 15.0;
  rs.shared.Ic = 6.0;
  rs.ld.LD_limb = 45.5;  // some 3 degrees short of the almanac distance
  ConsoleCapture con("\n\n\n\n");
  lunar_distance_step(rs);
  // The apparent distance 45.85 degrees is taken.  The almanac distance of
  // the Moon and Venus at 3 h 57 m 14 s is 48.605745 degrees: 2.755745
  // degrees more, which move the time 4.960341 hours on, to 8.914230 h or
  // 8 h 54 m 51.2 s, and the first correction cuts the seconds.
  EXPECT_TRUE(contains(con.output(),
                       " LDclear=45.8500 LDtrue=48.6057[deg]\n"
                       " Time new/old[h]: t1=8.9142 t0=3.9539\n"
                       " Time corrected by 4 hours 57 min\n"
                       " NEW TIME = 8 hours 54 min 51 sec\n"));
  // A later step makes no such replacement: the apparent distance is
  // cleared.
  ConsoleCapture later;
  EXPECT_EQ(lunar_distance_step(rs), State::LOOP_TOP);
  EXPECT_EQ(rs.ld.LDclear,
            Lunaclear(45.5 + 6.0 / 60 + 15.0 / 60, rs.sight1.Ho, rs.sight2.Ho,
                      rs.sight1.Ha, rs.sight2.Ha, rs.sight1.Az, rs.sight2.Az,
                      rs.sight1.moonpar, rs.sight1.pos.lat));
}

TEST_F(Passes, LaterStepsIterateTheTime) {
  RunState rs = reduced();
  {
    ConsoleCapture con("\n\n\n\n");
    lunar_distance_step(rs);
  }
  // Sights without refraction or parallax and a distance to the Moon's
  // centre: the cleared distance is the measured one.  Measured as the
  // almanac gives it at the time in hand, the time stands still: one
  // evaluation, nothing printed but the cleared screen, and obs1 and obs2
  // take the date and the time.
  rs.sight1.Ha = rs.sight1.Ho;
  rs.sight2.Ha = rs.sight2.Ho;
  rs.sight1.moonpar = 0;
  rs.sight1.SDa = 0;
  rs.shared.Ic = 0;
  {
    const obstime& t = rs.calc.calctime;
    double mDec, mGHA, mGAST, mRA, mHP, mSD, vDec, vGHA, vGAST, vRA, vHP;
    mooneph(rs.shared.deltaT, t.year, t.month, t.day, t.hour, t.minute,
            t.second, &mDec, &mGHA, &mGAST, &mRA, &mHP, &mSD);
    planeteph(4, rs.shared.deltaT, t.year, t.month, t.day, t.hour, t.minute,
              t.second, &vDec, &vGHA, &vGAST, &vRA, &vHP);
    rs.ld.LD_limb = LDist(mDec, vDec, mRA, vRA);
  }
  ConsoleCapture con;
  EXPECT_EQ(lunar_distance_step(rs), State::LOOP_TOP);
  EXPECT_EQ(con.output(), cleared());
  EXPECT_EQ(rs.flow.ldinner, 1);
  EXPECT_EQ(rs.flow.autorun, 1);
  EXPECT_EQ(rs.flow.obsno, 1);
  EXPECT_EQ(rs.obs1.hour, 3);
  EXPECT_EQ(rs.obs1.minute, 57);
  EXPECT_EQ(rs.obs1.second, 13);
  EXPECT_EQ(rs.obs2.year, 2017);
  EXPECT_EQ(rs.obs2.hour, rs.obs1.hour);
  EXPECT_EQ(rs.obs2.minute, rs.obs1.minute);
  EXPECT_EQ(rs.obs2.second, rs.obs1.second);

  // A distance 0.01 degree larger: a few evaluations settle the time ...
  RunState right = rs;
  right.ld.LD_limb += 0.01;
  EXPECT_EQ(lunar_distance_step(right), State::LOOP_TOP);
  EXPECT_GE(right.flow.ldinner, 2);
  EXPECT_LT(right.flow.ldinner, 10);
  // ... while a wrong side drives the time away from the distance: the step
  // stops after ten evaluations.
  RunState wrong = rs;
  wrong.ld.LD_limb += 0.01;
  wrong.ld.side = -1;
  EXPECT_EQ(lunar_distance_step(wrong), State::LOOP_TOP);
  EXPECT_EQ(wrong.flow.ldinner, 10);
}

TEST_F(Passes, NegativeCorrectedHourWarnsAndWaits) {
  RunState rs = reduced();
  {
    ConsoleCapture con("\n\n\n\n");
    lunar_distance_step(rs);
  }
  // A distance some 2.75 degrees larger: the Moon, which moves about half a
  // degree an hour against Venus, stood there some five and a half hours
  // earlier, about half past one before 0 h of the day.
  rs.ld.LD_limb += 2.75;
  ConsoleCapture con("krest");
  EXPECT_EQ(lunar_distance_step(rs), State::LOOP_TOP);
  EXPECT_EQ(con.output(), cleared() + "\n !!! Warning: new hour t1 negativ!");
  EXPECT_EQ(con.unread(), "rest");
  // The fields are truncated towards zero, each with the sign of the time,
  // without carry into the date.
  EXPECT_EQ(rs.obs1.day, 17);
  EXPECT_EQ(rs.obs1.hour, -1);
  EXPECT_LT(rs.obs1.minute, 0);
  EXPECT_GT(rs.obs1.minute, -60);
  EXPECT_LE(rs.obs1.second, 0);
  ConsoleCapture none;
  rs.calc.calctime.hour = 3;
  EXPECT_THROW(lunar_distance_step(rs), EndOfInput);  // the wait at the end
}

TEST_F(Passes, NotANumberInTheClearing) {
  RunState rs = reduced();
  rs.sight1.Ho = kNaN;  // as from a sextant altitude that no sight can give
  ConsoleCapture con("\n\n\n\n");
  EXPECT_EQ(lunar_distance_step(rs), State::OBS_INPUT);
  EXPECT_TRUE(contains(con.output(),
                       " LDclear=nan LDtrue=48.6057[deg]\n"
                       " Time new/old[h]: t1=nan t0=3.9539\n"
                       " Time corrected by 0 hours 0 min\n"
                       " NEW TIME = 0 hours 0 min 0 sec\n"));
  // A later step: the repetition ends at once, and the time fields hold 0.
  ConsoleCapture later;
  EXPECT_EQ(lunar_distance_step(rs), State::LOOP_TOP);
  EXPECT_EQ(rs.flow.ldinner, 1);
  EXPECT_EQ(rs.obs1.hour, 0);
  EXPECT_EQ(rs.obs1.minute, 0);
  EXPECT_EQ(rs.obs1.second, 0);
}

TEST_F(Passes, SecondBodyCodeAbove8EndsTheDialogue) {
  RunState rs = reduced();
  rs.obs2.bodycode = 9;
  ConsoleCapture con;
  EXPECT_EQ(lunar_distance_step(rs), State::END);
}

// The run and the fix after the first lunar-distance step and the pass at
// the corrected time.
RunState sailed(RunState rs) {
  {
    ConsoleCapture con("\n\n\n\n");
    lunar_distance_step(rs);
  }
  reduce_both(rs);
  EXPECT_EQ(sail_run(rs), State::HCAZ);
  EXPECT_EQ(hcaz_intercept(rs), State::FINAL);
  return rs;
}

TEST_F(Passes, FixScreens) {
  RunState rs = sailed(reduced());
  ConsoleCapture con;
  EXPECT_EQ(final_fix(rs), State::FINAL_MENU);
  const std::string out = con.output();
  const std::string head = cleared() +
                           " Renewing Position 2 after sailing from Pos. 1\n"
                           " Astro-Navigation by LUNAR DISTANCE \n"
                           " ~~~~~~~~~~~ [2.] Observation FINAL ~~~~~~~~ \n\n"
                           " Year: 2017   Month: 6   Day: 17\n"
                           " Time-UTC:  3 h 57 min 13 sec \n"
                           " Latitude:  44 deg 46.99' \n"
                           " Longitude: -17 deg -11.60' \n"
                           " Index corr. Ic: 0.00'  Height of eye: 1.83m \n"
                           " Sextant viewed:  Hs= 7 deg 47.80'\n"
                           " Sextant appar.:  Ha= 7 deg 45.42'\n"
                           " Sextant corr. :  Ho= 7 deg 38.94'\n"
                           " Sextant calcul:  Hc= 7 deg 38.76'\n";
  EXPECT_EQ(out.substr(0, head.size()), head);
  EXPECT_TRUE(contains(out,
                       " Course was:     0  Velocity: 0.00 \n"
                       " ==> Position =   0.18 miles closer to sun\n"
                       " ==> Azimut   =  79.88 degrees  \n" +
                           cleared() +
                           "   Astro-Navigation by  LUNAR DISTANCE\n"
                           " ~~~~~~~~~~~~~~~ LUNAR RESULT ~~~~~~~~~~~~~\n"
                           " Year: 2017   Month: 6   Day: 17\n"
                           " ==> TIME-UTC: 3h 57m 13s, Delta_T: 68.59\n"));
  // Sunrise and sunset at the fix (observation 2's intercept is below one
  // mile); no distances yet (no step after the first correction).
  EXPECT_TRUE(contains(out,
                       " SUN_R/S(Az)=5h21m(56) 20h56m(304) D~40m\n"
                       " MOON: SDa= 15.70', Planet= Venus\n"
                       " Final Position Error =  0.18 naut. miles\n"
                       "\n ==> Approximate POSITION Fixed:\n"
                       "    Latitude  =   44 deg 46.99' \n"
                       "    Longitude =  -17 deg -11.35' \n\n"));
  EXPECT_EQ(rs.work.lat_deg, 44);
  EXPECT_EQ(rs.work.lon_deg, -17);
  EXPECT_NEAR(rs.fix.poserr, 0.18, 0.005);
  EXPECT_EQ(rs.sight2.Az, rs.calc.Az);
}

TEST_F(Passes, FixFarFromTheRunPositionWarns) {
  // Lines of position 10 degrees apart, one through the run position, the
  // other 600 miles off along its azimuth: they cross some 3400 miles north,
  // beyond the pole, while both foot points lie below 89 degrees.
  RunState rs = sailed(reduced());
  rs.sight1.Az = 90;
  rs.sight1.intercept = 0;
  rs.calc.Az = 80;  // observation 2, renewed
  rs.calc.intercept = 600;
  {
    ConsoleCapture con;
    EXPECT_EQ(final_fix(rs), State::FINAL_MENU);
    EXPECT_TRUE(contains(con.output(),
                         " Final Position Error = 3455.66 naut. miles\n"
                         " ?? Displacement too big, St. Hilaire?\n"
                         "\n ==> Approximate POSITION Fixed:\n"
                         "    Latitude  =  102 deg 22.65' \n"
                         "    Longitude =  -17 deg -11.60' \n"
                         " !!! Position-estimate should be changed !!!\n\n"))
        << con.output();
  }

  // The limits: a displacement above ten times the zenith distance of the
  // Moon's sextant altitude in whole degrees (strictly), and a fix latitude
  // of 90 whole degrees or more either way.
  struct Case {
    double Hs1, poserr;
    int lat_deg;
    bool hilaire, estimate;
  };
  const Case cases[] = {
      {24.9, 660, 89, false, false},  // 10 x (90 - 24)
      {24.9, 660.01, 90, true, true},
      {95.5, 50, -89, false, false},  // 10 x |90 - 95|
      {95.5, 50.01, -90, true, true},
  };
  for (const Case& c : cases) {
    rs.sight1.Hs = c.Hs1;
    rs.fix.poserr = c.poserr;
    rs.work.lat_deg = c.lat_deg;
    ConsoleCapture con;
    lunar_result_screen(rs);
    EXPECT_EQ(
        contains(con.output(), " ?? Displacement too big, St. Hilaire?\n"),
        c.hilaire)
        << c.Hs1 << " " << c.poserr;
    EXPECT_EQ(contains(con.output(),
                       " !!! Position-estimate should be changed !!!\n"),
              c.estimate)
        << c.lat_deg;
  }
}

TEST_F(Passes, BadIntersection) {
  RunState rs = sailed(reduced());
  rs.sight1.Az = 45;
  rs.calc.Az = 225;  // observation 2 renewed on the reverse bearing: parallel
  rs.flow.badfix = 0;
  ConsoleCapture con("krest");
  EXPECT_EQ(final_fix(rs), State::FINAL_MENU);
  const std::string out = con.output();
  EXPECT_TRUE(contains(out,
                       " ==> Azimut   = 225.00 degrees  \n"
                       "\n!!! ERROR 4, bad intersection of position lines!" +
                           cleared()));
  EXPECT_EQ(con.unread(), "rest");
  EXPECT_TRUE(contains(out,
                       " !!! Observations not independent !!!\n"
                       " !!! Result probably not good !!!\n\n"));
  EXPECT_EQ(rs.fix.lat, rs.sight2.pos.lat);  // line 2's foot point
  EXPECT_EQ(rs.flow.badfix, 0);
  ConsoleCapture none;  // end of input at the wait
  EXPECT_THROW(final_fix(rs), EndOfInput);
}

TEST_F(Passes, AzimuthAndLatitudeErrorsRestart) {
  {
    RunState rs = sailed(reduced());
    rs.sight1.Az = 400;
    rs.flow.autorun = 1;
    rs.flow.iterpasses = 29;
    ConsoleCapture con("krest");
    EXPECT_EQ(final_fix(rs), State::LOOP_TOP);
    EXPECT_TRUE(
        contains(con.output(), "\n !!! ERROR: Azimut1,2: 400.000000 79.8"));
    EXPECT_TRUE(contains(con.output(), "\n hit ENTER to restart!"));
    EXPECT_EQ(con.unread(), "rest");
    EXPECT_EQ(rs.flow.autorun, 0);
    EXPECT_EQ(rs.flow.iterpasses, 0);  // a later series counts from 0 again
    EXPECT_EQ(rs.flow.obsno, 1);
    EXPECT_EQ(rs.flow.lddone, 1);
  }
  RunState rs = sailed(reduced());
  rs.sight1.Az = 0;
  rs.sight1.intercept = 3000;  // 50 degrees north of the run position
  rs.flow.autorun = 1;
  rs.flow.iterpasses = 29;
  ConsoleCapture con("krest");
  EXPECT_EQ(final_fix(rs), State::LOOP_TOP);
  EXPECT_TRUE(contains(con.output(), "\n !!! ERROR: Latitude1/2 > 89= 94.7"));
  EXPECT_TRUE(contains(con.output(), "\n restart the program!"));
  EXPECT_EQ(con.unread(), "rest");
  EXPECT_EQ(rs.flow.autorun, 0);
  EXPECT_EQ(rs.flow.iterpasses, 0);
  EXPECT_EQ(rs.flow.lddone, 0);
  EXPECT_EQ(rs.flow.ldentered, 0);
  EXPECT_EQ(rs.flow.obsno, 1);
}

TEST_F(Passes, NotANumberInTheFixNeverConverges) {
  RunState rs = sailed(reduced());
  rs.sight1.Az = kNaN;
  ConsoleCapture con;
  EXPECT_EQ(final_fix(rs), State::FINAL_MENU);
  const std::string out = con.output();
  EXPECT_TRUE(std::isnan(rs.fix.poserr));
  EXPECT_TRUE(contains(out,
                       " Final Position Error =   nan naut. miles\n"
                       "\n ==> Approximate POSITION Fixed:\n"
                       "    Latitude  =    0 deg   nan' \n"));
  EXPECT_EQ(rs.work.lat_deg, 0);
  // The menu iterates by itself until the bound of passes, then reads.
  for (int i = 0; i < kMaxIteratePasses; ++i) {
    ASSERT_EQ(st_final_menu(rs), State::ITERATE);
    rs.flow.iterpasses += 1;
  }
  EXPECT_THROW(st_final_menu(rs), EndOfInput);
}

// ---------------------------------------------------------------------------
// Whole runs.

std::string run(const std::string& answers) {
  ConsoleCapture con(answers);
  EXPECT_EQ(run_dialogue(con.in(), con.out(), "."), 0);
  return con.output();
}

TEST_F(Passes, WholeRunToTheFinalSave) {
  // Every answer Enter up to the key after the first correction; nothing is
  // read again until the menu of a converged fix after more than 30
  // lunar-distance passes, which stops.
  const std::string out = run(std::string(22, '\n') + "9\n");
  EXPECT_EQ(count(out,
                  "   Astro-Navigation by  LUNAR DISTANCE\n"
                  " ~~~~~~~~~~~~~~~ LUNAR RESULT ~~~~~~~~~~~~~\n"),
            33);
  EXPECT_EQ(count(out, "\n ==> POSITION has CONVERGED:\n"), 31);
  EXPECT_EQ(count(out, " ITERATION started:\n"), 2);
  const std::string tail =
      " Final Position Error =  0.00 naut. miles\n"
      "\n ==> POSITION has CONVERGED:\n"
      "    Latitude  =   44 deg 46.99' \n"
      "    Longitude =  -17 deg -11.60' \n"
      " This is actual POSITION, deviat.< 0.1nm\n\n"
      " ## ENTER: 1=restart, 5=KESTOR, 9=stop:\n"
      " For FINAL CHECK, press again RETURN !\n"
      "\n>> fixed: write dodarivi0r1.txt \n"
      ">> fixed: write dodarivi0r2.txt \n \n";
  EXPECT_TRUE(contains(out, tail));
  EXPECT_EQ(slurp(kRecordFile1),
            "2017 6 17 \n3 57 14 \n44 46.989024 \n-17 -11.599442 \n2 33 \n"
            "24 14.000000 0 \n0.000000 1.830000 \n"
            "0.000000 127.469695 0.000000 \n16.100000 1026.400000 \n"
            "48.116667 1 \n");
  EXPECT_EQ(slurp(kRecordFile2),
            "2017 6 17 \n3 57 14 \n44 46.989024 \n-17 -11.599442 \n4 33 \n"
            "7 47.800000 0 \n0.000000 1.830000 \n"
            "0.000000 79.879431 0.000000 \n0.000000 0.000000 \n");
}

TEST_F(Passes, ImpossibleSightsEndByTheBoundOfPasses) {
  // A sextant altitude of the Moon above 90 degrees: the fixes never
  // converge; after 30 passes in a row the menu reads its answer, here the
  // end of input.
  const std::string out =
      run(std::string(11, '\n') + "95 0\n" + std::string(10, '\n'));
  EXPECT_EQ(count(out, " ITERATION started:\n"), kMaxIteratePasses);
  EXPECT_EQ(count(out, "--- END ---"), 1);
}

TEST_F(Passes, LongitudeNotANumberEndsByTheBoundOfPasses) {
  // A longitude has no range test: minutes that are not a number run into
  // every computation and the fix.  The fixes never converge; after 30 passes
  // in a row the menu reads its answer, here the end of input.
  const std::string out =
      run(std::string(7, '\n') + "-17 nan\n" + std::string(14, '\n'));
  EXPECT_TRUE(contains(out, " Final Position Error =   nan naut. miles\n"));
  EXPECT_EQ(count(out, " ITERATION started:\n"), kMaxIteratePasses);
  EXPECT_EQ(count(out, "!!! ERROR, Latitude="), 0);
  EXPECT_EQ(count(out, "--- END ---"), 1);
}

}  // namespace
