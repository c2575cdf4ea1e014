// The entry screens of both observations and the star selection screen: the
// year clamp and warnings, the latitude and longitude rules, the body menu,
// the height-of-eye clamp, the sextant altitude, the automatic passes (which
// read nothing), and the screens as printed.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "calendar.h"
#include "earthcon.h"
#include "entry.h"
#include "input.h"
#include "nav_test_util.h"

namespace {

using navtest::count;

// Answers of observation 1, one per prompt, in the order of the screens.
struct Obs1Answers {
  std::string date, time, earth = "", lat, lon, body, ic, eye, hs;
  std::string text() const {
    return date + "\n" + time + "\n" + earth + "\n" + lat + "\n" + lon + "\n" +
           body + "\n" + ic + "\n" + eye + "\n" + hs + "\n";
  }
};

class Entry : public navtest::InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    input_reset();
    earthcon_reset();
  }
  // Runs the entry of the observation in hand on the given answers; every
  // answer must be used.
  std::string enter(const std::string& answers, bool want_ok = true) {
    ConsoleCapture con(answers);
    bool ok = false;
    try {
      ok = enter_observation(rs);
    } catch (const EndOfInput&) {
      ADD_FAILURE() << "the answers ran out:\n" << con.output();
      return con.output();
    }
    EXPECT_EQ(ok, want_ok);
    EXPECT_EQ(con.unread(), "") << "answers left unread";
    return con.output();
  }
  RunState rs;
};

std::string head(int obsno, bool second_form) {
  std::string s = testsupport::cleared_screen();
  s += " Astro-Navigation by LUNAR DISTANCE \n";
  s += " ~~~~~~~~~~~ [" + std::to_string(obsno) +
       ".] Observation ~~~~~~~~~~~~~" + (second_form ? "" : " ") + "\n\n";
  return s;
}

TEST_F(Entry, Observation1WithDefaults) {
  const std::string out = enter(Obs1Answers{}.text());
  const obsrec& w = rs.work;
  EXPECT_EQ(w.year, 2017);
  EXPECT_EQ(w.lat_deg, 44);
  EXPECT_EQ(w.lat_min, 46.99);
  EXPECT_EQ(w.lon_deg, -17);
  EXPECT_EQ(w.lon_min, -11.6);
  EXPECT_EQ(w.bodycode, 2);
  EXPECT_DOUBLE_EQ(rs.sight1.pos.lat, 44 + 46.99 / 60);
  EXPECT_EQ(rs.sight2.pos.lat, rs.sight1.pos.lat);
  EXPECT_DOUBLE_EQ(rs.sight1.pos.lon, -17 + -11.6 / 60);
  EXPECT_EQ(rs.sight2.pos.lon, rs.sight1.pos.lon);
  EXPECT_EQ(rs.calc.Hs, 24 + 14.0 / 60);
  EXPECT_EQ(rs.shared.jd1, julday(2017, 6, 17, 3, 57, 14));
  EXPECT_DOUBLE_EQ(rs.shared.deltaT, 68.586);

  // The screens, literally, from the date screen to the index correction.
  std::string want = head(1, false) +
                     "###> Year: 2017   Month: 6   Day: 17\n"
                     "                            Year Month Day\n"
                     " [Default: 2017 6 17 ] Input: " +
                     head(1, false) + " Year: 2017   Month: 6   Day: 17\n" +
                     "\n###> Time-UTC:  3 h 57 min 14 sec \n"
                     "                            Hour Min. Sec.\n"
                     " [Default: 3 57 14 ] Input: ";
  EXPECT_EQ(out.substr(0, want.size()), want);
  const std::string after_earth = "###>    Input: " + head(1, false) +
                                  " Year: 2017   Month: 6   Day: 17\n"
                                  " Time-UTC:  3 h 57 min 14 sec \n"
                                  " Delta-T : 68.59 sec\n"
                                  "\n###> Latitude:  44 deg 46.99' \n"
                                  "                        +-Degree Minute\n"
                                  "[Default: 44 46.99 ] Input: " +
                                  head(1, false) +
                                  " Year: 2017   Month: 6   Day: 17\n"
                                  " Time-UTC:  3 h 57 min 14 sec \n"
                                  " Delta-T : 68.59 sec\n"
                                  " Latitude:  44 deg 46.99' \n"
                                  "\n###>  Longitude: -17 deg -11.60' \n"
                                  "                        +-Degree Minute\n"
                                  "[Default: -17 -11.60 ] Input: " +
                                  head(1, false) +
                                  " Year: 2017   Month: 6   Day: 17\n"
                                  " Time-UTC:  3 h 57 min 14 sec \n"
                                  " Delta-T : 68.59 sec\n"
                                  " Latitude:  44 deg 46.99' \n"
                                  " Longitude: -17 deg -11.60' \n";
  std::string menu = testsupport::cleared_screen();
  menu +=
      " ~~~~~~~~~~~ [1.] Observation ~~~~~~~~~~~~~ \n\n"
      " Celestial object: Moon\n"
      "\n"
      " 2=MOON lower rim,   3=UPPER rim of MOON\n"
      "\n"
      "###>  [Default: 2  ]   Input:  => Moon lower rim\n";
  const std::string rest = head(1, true) + " => Moon lower rim\n" +
                           "\n       SEXTANT-Data:\n"
                           "\n###> Index correction(sext) Ic: 0.00' \n"
                           "                         +-Minutes \n"
                           " [Default: 0.00  ] Input: " +
                           head(1, true) +
                           " Year: 2017   Month: 6   Day: 17\n"
                           " Time-UTC:  3 h 57 min 14 sec \n"
                           " Latitude:  44 deg 46.99' \n"
                           " Longitude: -17 deg -11.60' \n"
                           " Index corr. Ic: 0.00'\n"
                           "\n###> Height of eye: 1.83 m \n"
                           "                         Meters \n"
                           " [Default: 1.83  ] Input: " +
                           head(1, true) +
                           " Year: 2017   Month: 6   Day: 17\n"
                           " Time-UTC:  3 h 57 min 14 sec \n"
                           " Latitude:  44 deg 46.99' \n"
                           " Longitude: -17 deg -11.60' \n"
                           " Indx corr. Ic: 0.0' Height of eye: 1.8m \n"
                           "\n###> SEXTANT measurement: Hs= 24 deg 14.00'\n"
                           "                          +-Degrees  Min.\n"
                           "[Default: 24 14.00 ] Input: ";
  const std::string tail = after_earth + menu + rest;
  ASSERT_GE(out.size(), tail.size());
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
}

TEST_F(Entry, Observation2Screens) {
  rs.flow.obsno = 2;
  rs.shared.deltaT = 68.586;
  rs.fix.course = 45;
  rs.fix.velocity = -3;
  rs.sight2.pos.lat = -0.5;  // an assumed position just south of the equator
  rs.sight2.pos.lon = -170.25;
  rs.obs1.year = 2018;
  rs.shared.jd1 = 2458286.5;  // as observation 1's entry left it
  const std::string out = enter("\n\n");
  const obsrec& w = rs.work;
  EXPECT_EQ(w.year, 2018);
  EXPECT_EQ(w.lat_deg, 0);
  EXPECT_EQ(w.lat_min, -30);
  EXPECT_EQ(w.lon_deg, -170);
  EXPECT_EQ(w.lon_min, -15);
  EXPECT_EQ(w.bodycode, 4);
  EXPECT_EQ(rs.shared.jd1, 2458286.5);  // the Julian Day of the sights kept
  EXPECT_EQ(rs.calc.Hs, 7 + 47.8 / 60);

  std::string menu = testsupport::cleared_screen();
  menu +=
      " ~~~~~~~~~~~ [2.] Observation ~~~~~~~~~~~~~ \n\n"
      " Celestial object: Sun, Planet or Star\n"
      "\n"
      " 0=SUN lower rim,    1=UPPER rim of SUN\n"
      " 4=VENUS, 5=MARS 6=JUPITER 7=SATURN 8=*STAR*\n"
      "\n"
      "###>  [Default: 4  ]   Input:  => Planet Venus\n";
  const std::string date = " Year: 2018   Month: 6   Day: 17\n";
  const std::string time = " Time-UTC:  3 h 57 min 14 sec \n";
  const std::string want =
      head(2, false) + head(2, false) + date + head(2, false) + date + time +
      " Delta-T : 68.59 sec\n" + head(2, false) + date + time +
      " Delta-T : 68.59 sec\n"
      " Course: 45.00  Velocity: -3.00\n"
      " DR-Latitude:  0 deg -30.00' \n"
      " DR-Longitude: -170 deg -15.00' \n" +
      menu + head(2, true) + date + time +
      " Latitude:  0 deg -30.00' \n"
      " Longitude: -170 deg -15.00' \n"
      " Index corr. Ic: 0.00'\n"
      "\n###> Height of eye: 1.83 m \n" +
      head(2, true) + date + time +
      " Latitude:  0 deg -30.00' \n"
      " Longitude: -170 deg -15.00' \n"
      " Indx corr. Ic: 0.0' Height of eye: 1.8m \n"
      "\n###> SEXTANT measurement: Hs= 7 deg 47.80'\n"
      "                          +-Degrees  Min.\n"
      "[Default: 7 47.80 ] Input: ";
  EXPECT_EQ(out, want);
}

struct YearCase {
  const char* answer;
  int year;
  bool precision, julian;
};

TEST_F(Entry, YearClampAndWarnings) {
  const YearCase cases[] = {
      {"1400", 1400, true, true},   {"1582", 1582, false, true},
      {"1500", 1500, false, true},  {"1583", 1583, false, false},
      {"1499", 1499, true, true},   {"2500", 2500, false, false},
      {"2501", 2501, true, false},  {"9000", 5999, true, false},
      {"-3000", -1999, true, true},
  };
  for (const YearCase& c : cases) {
    earthcon_reset();
    Obs1Answers a;
    a.date = c.answer;
    if (c.julian) a.date += "\n";  // the pause after the calendar note
    SCOPED_TRACE(c.answer);
    const std::string out = enter(a.text());
    EXPECT_EQ(rs.work.year, c.year) << c.answer;
    EXPECT_EQ(rs.obs1.year, c.year) << c.answer;
    EXPECT_EQ(count(out, " Year outside the range of high precision!\n"),
              c.precision ? 1 : 0)
        << c.answer;
    EXPECT_EQ(count(out, "\n Dates before 1582-OCT-5 are JULIAN calender\n"),
              c.julian ? 1 : 0)
        << c.answer;
    rs = RunState{};
  }
}

TEST_F(Entry, AutomaticPassReadsNothing) {
  rs.flow.autorun = 1;
  rs.shared.deltaT = 12.5;
  rs.obs1.lat_deg = 0;
  rs.obs1.lat_min = 30;
  std::string out = enter("");  // any read would end the input
  EXPECT_EQ(rs.sight1.pos.lat, 0.5);
  EXPECT_EQ(rs.work.lat_min, 30);
  // Only the callers' default lines: date, time, body, Ic and eye.
  EXPECT_EQ(count(out, "Input: "), 5);
  EXPECT_EQ(count(out, "[Default: "), 5);
  EXPECT_EQ(count(out, "EARTH-CONDITIONS"), 0);
  EXPECT_EQ(rs.shared.deltaT, 12.5);

  rs.obs1.lat_min = -30;
  out = enter("");
  EXPECT_EQ(rs.sight1.pos.lat, -0.5);
  EXPECT_EQ(rs.work.lat_min, -30);

  // Sign rule of the remembered minutes: 10 degrees north, -30 minutes.
  rs.obs1.lat_deg = -10;
  rs.obs1.lat_min = 30;
  enter("");
  EXPECT_EQ(rs.sight1.pos.lat, -10.5);
  EXPECT_EQ(rs.work.lat_min, -30);
}

TEST_F(Entry, AutomaticPassStillPausesForTheCalendarNote) {
  rs.flow.autorun = 1;
  rs.obs1.year = 1400;
  const std::string out = enter("\n");
  EXPECT_EQ(count(out, "JULIAN calender"), 1);
}

TEST_F(Entry, LatitudeLimits) {
  Obs1Answers a;
  a.lat = "90 0";
  enter(a.text());
  EXPECT_EQ(rs.sight1.pos.lat, 90);

  // Beyond 90 degrees, or not a number at all (typed, or remembered from the
  // record file): the error, one key, and the dialogue ends.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double remembered_min;  // minutes of the remembered latitude
    const char* answer;
    const char* shown;  // the latitude in the error line
  };
  const Case cases[] = {
      {46.99, "90 1", "90.016667"},
      {46.99, "nan nan", "nan"},
      {46.99, "0 nan", "nan"},
      {46.99, "0 inf", "inf"},
      {nan, "", "nan"},  // RETURN keeps the remembered minutes
  };
  for (const Case& c : cases) {
    rs = RunState{};
    rs.obs1.lat_min = c.remembered_min;
    earthcon_reset();
    // date, time, Earth conditions, latitude, the key after the error
    const std::string out =
        enter(std::string("\n\n\n") + c.answer + "\n\n", false);
    const std::string tail = std::string("\n!!! ERROR, Latitude=") + c.shown +
                             "\n restart with new position\n";
    ASSERT_GE(out.size(), tail.size()) << c.answer;
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail) << c.answer;
  }

  // In the automatic passes a fix that is not a number is carried on (the
  // passes end by their bound); a latitude beyond 90 still ends there.
  rs = RunState{};
  rs.flow.autorun = 1;
  rs.obs1.lat_deg = 0;
  rs.obs1.lat_min = nan;
  std::string out = enter("");
  EXPECT_EQ(count(out, "!!! ERROR, Latitude="), 0);
  rs = RunState{};
  rs.flow.autorun = 1;
  rs.obs1.lat_deg = 91;
  rs.obs1.lat_min = 0;
  out = enter("\n", false);  // only the key
  EXPECT_EQ(count(out, "\n!!! ERROR, Latitude=91.000000\n"), 1);
}

TEST_F(Entry, LatitudeSignRules) {
  struct Case {
    const char* answer;
    int deg;
    double min, lat;
  };
  const Case cases[] = {
      {"-44", -44, -46.99, -44 - 46.99 / 60},
      {"0 -30", 0, -30, -0.5},
      {"-0 30", 0, 30, 0.5},
      {"-44.7 10", -44, -10, -44 - 10.0 / 60},
  };
  for (const Case& c : cases) {
    rs = RunState{};
    earthcon_reset();
    Obs1Answers a;
    a.lat = c.answer;
    enter(a.text());
    EXPECT_EQ(rs.work.lat_deg, c.deg) << c.answer;
    EXPECT_EQ(rs.work.lat_min, c.min) << c.answer;
    EXPECT_DOUBLE_EQ(rs.sight1.pos.lat, c.lat) << c.answer;
  }
}

TEST_F(Entry, LongitudeBeyond180) {
  Obs1Answers a;
  a.lon = "190 0";
  const std::string out = enter(a.text());
  EXPECT_EQ(rs.sight1.pos.lon, -170);
  EXPECT_EQ(rs.sight2.pos.lon, -170);
  EXPECT_EQ(rs.work.lon_deg, 190);
  EXPECT_EQ(rs.work.lon_min, 0);
  EXPECT_NE(out.find(" Longitude: 190 deg  0.00' \n"), std::string::npos);
}

TEST_F(Entry, BodyMenuAsksAgain) {
  Obs1Answers a;
  a.body = "0\n12\n3";
  const std::string out = enter(a.text());
  EXPECT_EQ(rs.work.bodycode, 3);
  EXPECT_EQ(count(out, "Celestial object: Moon"), 3);
  EXPECT_NE(out.find("###>  [Default: 2  ]   Input:  => Sun lower rim\n"),
            std::string::npos);
  EXPECT_NE(out.find("###>  [Default: 0  ]   Input: "), std::string::npos);
  EXPECT_NE(out.find("###>  [Default: 12  ]   Input: "), std::string::npos);
  EXPECT_NE(out.find(" => Moon upper rim\n\n       SEXTANT-Data:"),
            std::string::npos);

  rs = RunState{};
  rs.flow.obsno = 2;
  const std::string out2 = enter("2\n-4\n\n");
  EXPECT_EQ(rs.work.bodycode, 4);
  EXPECT_EQ(count(out2, " => Planet Venus\n"), 1);
  EXPECT_EQ(count(out2, " => Moon lower rim\n"), 1);
}

TEST_F(Entry, Observation1AnsweringStarSeesTheStarScreen) {
  Obs1Answers a;
  a.body = "8\n5\n\n2";  // star, star 5, the pause, then the Moon
  const std::string out = enter(a.text());
  EXPECT_EQ(rs.work.bodycode, 2);
  EXPECT_EQ(rs.work.starno, 5);
  EXPECT_EQ(count(out, " *** STAR-CATALOG 0..57: ***\n"), 1);
}

TEST_F(Entry, HeightOfEyeClamp) {
  for (const auto& [answer, want] :
       std::vector<std::pair<const char*, double>>{{"55", 40},
                                                   {"-2", 0},
                                                   {"40", 40},
                                                   {"0", 0},
                                                   {"3.5", 3.5},
                                                   {"nan", 0}}) {
    rs = RunState{};
    earthcon_reset();
    Obs1Answers a;
    a.eye = answer;
    enter(a.text());
    EXPECT_EQ(rs.shared.eye, want) << answer;
  }
  // The clamp holds in the automatic passes too.
  rs = RunState{};
  rs.flow.autorun = 1;
  rs.shared.eye = 55;
  enter("");
  EXPECT_EQ(rs.shared.eye, 40);
}

TEST_F(Entry, SextantAltitude) {
  Obs1Answers a;
  a.hs = "24.7 14";
  enter(a.text());
  EXPECT_EQ(rs.work.hs_deg, 24);
  EXPECT_EQ(rs.work.hs_min, 14);
  EXPECT_EQ(rs.calc.Hs, 24 + 14.0 / 60);

  rs = RunState{};
  earthcon_reset();
  a.hs = "-0.5 20";  // below the horizon
  enter(a.text());
  EXPECT_EQ(rs.work.hs_deg, 0);
  EXPECT_EQ(rs.work.hs_min, -20);
  EXPECT_EQ(rs.calc.Hs, -1 + -20.0 / 60);  // floor of the degrees as typed
}

TEST_F(Entry, IndexCorrectionOnlyForObservation1) {
  Obs1Answers a;
  a.ic = "-1.5";
  enter(a.text());
  EXPECT_EQ(rs.shared.Ic, -1.5);
}

TEST_F(Entry, HostileAnswersAreSafe) {
  // Numbers beyond every range, infinities and NaN on every screen: the
  // entry completes (the sanitizer build checks the arithmetic).
  Obs1Answers a;
  a.date = "99999999999 99999999999 -99999999999";
  a.time = "-99999999999 99999999999 2147483647";
  a.earth = "1\n1e999\n-inf\nnan\n";
  a.lat = "-45.9 1e-300";
  a.lon = "1e308 nan";
  a.body = "-99999999999\n-2147483648\n3";
  a.ic = "1e999";
  a.eye = "-inf";
  a.hs = "1e308 -1e308";
  enter(a.text());
  EXPECT_EQ(rs.work.year, 5999);
  EXPECT_EQ(rs.work.month, INT_MAX);
  EXPECT_EQ(rs.work.day, INT_MIN);
  EXPECT_EQ(rs.shared.deltaT, 5999);
  EXPECT_EQ(rs.shared.temp, -99);
  EXPECT_EQ(rs.work.bodycode, 3);
  EXPECT_EQ(rs.shared.eye, 0);
  EXPECT_EQ(rs.work.hs_deg, INT_MAX);

  // Degrees that are not a number are 0 degrees.  A longitude has no range
  // test: minutes that are not a number give an assumed longitude that is
  // not one, which the run carries as computed.
  rs = RunState{};
  earthcon_reset();
  a = Obs1Answers{};
  a.lat = "nan 30";
  a.lon = "inf nan";
  enter(a.text());
  EXPECT_EQ(rs.work.lat_deg, 0);
  EXPECT_EQ(rs.sight1.pos.lat, 0.5);
  EXPECT_EQ(rs.work.lon_deg, INT_MAX);
  EXPECT_TRUE(std::isnan(rs.sight1.pos.lon));
}

TEST_F(Entry, RejectedRememberedValuesAreReadInTheAutomaticPasses) {
  rs.flow.autorun = 1;
  rs.flow.obsno = 2;
  rs.obs2.bodycode = 3;  // a Moon code for the second body
  std::string out = enter("6\n");
  EXPECT_EQ(rs.work.bodycode, 6);
  EXPECT_EQ(count(out, "###>  [Default: 3  ]   Input: "), 2);

  rs = RunState{};
  rs.flow.autorun = 1;
  rs.flow.obsno = 2;
  rs.obs2.bodycode = 8;
  rs.obs2.starno = 70;
  out = enter("57\n\n");  // the star, then the pause
  EXPECT_EQ(rs.work.starno, 57);
  EXPECT_EQ(count(out, " - Star selected: 58=DUMMY\n"), 1);
}

class StarList : public ::testing::Test {
 protected:
  void SetUp() override { input_reset(); }
};

TEST_F(StarList, Screen) {
  ConsoleCapture con("12\n\n");
  EXPECT_EQ(starlist(false, 33), 12);
  std::string want(38, '\n');
  want += " *** STAR-CATALOG 0..57: ***\n";
  want += " 0=Acamar     20=Canopus   40=Mirfak   \n";
  const std::string out = con.output();
  EXPECT_EQ(out.substr(0, want.size()), want);
  EXPECT_NE(out.find(" 6=Alkaid     26=Elnath    46=Rasalhague\n"),
            std::string::npos);
  EXPECT_NE(out.find(" 9=Alphard    29=Fomalhaut 49=Rigil Kent.\n"),
            std::string::npos);
  const std::string last_rows =
      "\n 18=Bellatrix 38=Menkent   58=DUMMY    \n"
      " 19=Betelgeus 39=Miaplacid " +
      std::string(12, ' ') + "\n" +
      " ----------> Default-Star: 33 \n"
      " ==>  enter Number of Star: - Star selected: 12=Altair\n";
  EXPECT_NE(out.find(last_rows), std::string::npos) << out;
  EXPECT_EQ(count(out, "\n"), 38 + 1 + 20 + 2);
}

TEST_F(StarList, InvalidNumbersShowTheDummyAndAskAgain) {
  ConsoleCapture con("60\n\n\n\n-1\n\n57\n\n");
  EXPECT_EQ(starlist(false, 5), 57);
  const std::string out = con.output();
  EXPECT_EQ(count(out, " *** STAR-CATALOG"), 4);
  EXPECT_EQ(count(out, " - Star selected: 58=DUMMY\n"), 3);
  EXPECT_EQ(count(out, " ----------> Default-Star: 58 \n"), 3);
  EXPECT_EQ(count(out, " - Star selected: 57=Zub.elgenu\n"), 1);
}

TEST_F(StarList, AutomaticPassTakesTheDefault) {
  ConsoleCapture con("");
  EXPECT_EQ(starlist(true, 43), 43);
  EXPECT_NE(con.output().find(" ==>  enter Number of Star: - Star selected: "),
            std::string::npos);
}

TEST(Example, Screen) {
  ConsoleCapture con;
  RunState rs;
  example_screen(rs);
  std::string want = testsupport::cleared_screen();
  want +=
      " Astro-Navigation by LUNAR DISTANCE\n"
      "\n"
      " ~~~~~~~~~~~~+~~ E X A M P L E  ~~~~~~~~~~~~~ \n"
      " Year: 2017   Month: 6   Day: 17\n"
      " Time-UTC:  3 h 57 min 14 sec \n"
      " Latitude:  44 deg 46.99' \n"
      " Longitude: -17 deg -11.60' \n"
      " Sextant viewed: Ha= 24 deg 2.10' \n"
      " Sextant calcul. Hc: 24 deg 3.40' \n"
      " => Position incorrect by:   5.60 miles \n"
      " => Azimut direction: 180.00 deg \n"
      " ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~ \n"
      " (Thanks: textbook, VSOP87D,FK5,IAU1980,LEA-406b)\n"
      " ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~ \n"
      " (3 files created: dodarivi0r0,1,2.txt, for\n"
      " Delta-T in years >2020 see file ...0x0.txt)\n"
      " \n"
      "            ... hit ENTER to continue: \n";
  EXPECT_EQ(con.output(), want);
}

}  // namespace
