// The Earth-conditions dialog: the Delta-T offered by year (model, table
// file, none after 3000), the modify question, the change dialog with its
// clamps, and the remembered Delta-T.  Each test runs in a fresh directory,
// where the Delta-T table file is created with its default content.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "deltat.h"
#include "earthcon.h"
#include "input.h"
#include "nav_test_util.h"

namespace {

struct Result {
  double deltaT = -1, temp = -1, press = -1;
  std::string out;
};

class EarthCon : public navtest::InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    input_reset();
    earthcon_reset();
  }
  static Result run(int year, double temp, double press,
                    const std::string& answers) {
    ConsoleCapture con(answers);
    Result r;
    earthcon(year, temp, press, &r.deltaT, &r.temp, &r.press);
    r.out = con.output();
    EXPECT_EQ(con.unread(), "") << "answers left unread";
    return r;
  }
};

std::string screen_head() {
  std::string s = " ";
  for (int i = 0; i < 40; ++i) s += "\n";
  return s +
         "  The following STANDARD CONDITIONS should only\n"
         "  be modified, if alternative parameters\n"
         "  are known with sufficient precision!\n"
         "\n"
         "  **********> EARTH-CONDITIONS <****************\n";
}

TEST_F(EarthCon, WholeScreenForAYearOfTheModel) {
  const Result r = run(2017, 16.1, 1026.4, "\n");
  EXPECT_EQ(r.out, screen_head() +
                       "    Delta_T=TT-UT1= 68.59 sec\n"
                       "    Temperature = 16.1 deg Celsius \n"
                       "    Pressure    = 1026.4 hPa. \n"
                       "  **********************************************\n"
                       "\n"
                       "       To modify, enter 1, else hit RETURN:\n"
                       "###>    Input: ");
  // The model through 2015, 2018 and 2020.
  EXPECT_DOUBLE_EQ(r.deltaT, 68.586);
  EXPECT_EQ(r.temp, 16.1);
  EXPECT_EQ(r.press, 1026.4);
}

TEST_F(EarthCon, ExtrapolatedFrom2020AndFromTheFileAfter2020) {
  Result r = run(2019, 10, 1000, "\n");
  EXPECT_NE(r.out.find("    Delta_T=TT-UT1= 69.20 sec\n"), std::string::npos)
      << r.out;
  r = run(2020, 10, 1000, "\n");
  EXPECT_NE(r.out.find("    Delta_T=TT-UT1= 69.36 sec (extrapolated!)\n"),
            std::string::npos);
  EXPECT_EQ(r.deltaT, 69.36);
  // 2030: the file's rows 2020, 2025 and 2035, not the model's 68.
  r = run(2030, 10, 1000, "\n");
  const double want = quadipola(2020, 69.36, 2025, 68.7, 2035, 67.8, 2030);
  EXPECT_DOUBLE_EQ(r.deltaT, want);
  EXPECT_NE(r.deltaT, 68.0);
  EXPECT_TRUE(navtest::fs::exists("dodarivi0r0.txt"));
}

TEST_F(EarthCon, After3000NothingIsOfferedAndNoFileIsMade) {
  const Result r = run(3001, 10, 1000, "\n");
  EXPECT_EQ(r.deltaT, 0.0);
  EXPECT_NE(r.out.find("    Delta_T=TT-UT1= 0.00 sec (extrapolated!)\n"
                       "    NOTE: Year>3000: year=3001\n"
                       "    Temperature = 10.0 deg Celsius \n"),
            std::string::npos)
      << r.out;
  EXPECT_FALSE(navtest::fs::exists("dodarivi0r0.txt"));
}

TEST_F(EarthCon, ModelOutOfRangeLinesComeBeforeTheScreen) {
  const Result r = run(3600, 10, 1000, "\n");
  EXPECT_EQ(r.deltaT, 0.0);
  EXPECT_EQ(r.out.rfind(" ??? year out of range:  -700 < year < 3500 ??? \n"
                        " ??? setting Delta-T == 0 !\n ",
                        0),
            0u)
      << r.out;
}

TEST_F(EarthCon, ReturnKeepsEverythingAsOffered) {
  for (const char* answer : {"\n", "x\n", "1.5\n", "-1.5\n", "7\n", "nan\n"}) {
    earthcon_reset();
    const Result r = run(2017, -3.5, -12, answer);
    EXPECT_DOUBLE_EQ(r.deltaT, 68.586) << answer;
    EXPECT_EQ(r.temp, -3.5) << answer;
    EXPECT_EQ(r.press, -12) << answer;
    // Nothing is remembered: the next year gets its own value.
    EXPECT_EQ(run(2020, 0, 0, "\n").deltaT, 69.36) << answer;
  }
}

TEST_F(EarthCon, ReturnKeepsAnOfferedDeltaTThatLooksLikeAChoice) {
  // An offered Delta-T of 1.0 or 0.3 is no answer to the modify question:
  // RETURN neither opens the change dialog nor selects a Delta-T of 0.
  struct Case {
    const char* typed;
    double deltaT;
    const char* line;
  };
  for (const Case& c : {Case{"1", 1.0, "    Delta_T=TT-UT1= 1.00 sec\n"},
                        Case{"0.3", 0.3, "    Delta_T=TT-UT1= 0.30 sec\n"}}) {
    earthcon_reset();
    // The change dialog makes it the Delta-T offered from now on.
    run(2017, 10, 1000, std::string("1\n") + c.typed + "\n\n\n\n");
    const Result r = run(2018, 12.5, 1005, "\n");
    EXPECT_EQ(r.deltaT, c.deltaT) << c.typed;
    EXPECT_EQ(r.temp, 12.5) << c.typed;
    EXPECT_EQ(r.press, 1005) << c.typed;
    EXPECT_NE(r.out.find(c.line), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Change following"), std::string::npos) << r.out;
  }
}

TEST_F(EarthCon, ChangeDialogWithEnterKeepsValuesButRemembersDeltaT) {
  const Result r = run(2017, 16.1, -5, "1\n\n\n\n\n");
  EXPECT_NE(r.out.find("###>    Input: Change following values or hit ENTER:\n"
                       "###> Delta_T =  [Default: 68.59 ] Input: "
                       "###> Temperature =  [Default: 16.1 ] Input: "
                       ">> temp 16.1\n"
                       "###> Pressure =  [Default: 0.0 ] Input: "
                       ">> press 0.0\n"),
            std::string::npos)
      << r.out;
  EXPECT_DOUBLE_EQ(r.deltaT, 68.586);
  EXPECT_EQ(r.temp, 16.1);
  EXPECT_EQ(r.press, 0.0);  // a negative pressure is offered as 0
  // Remembered for another year, shown with that year's line.
  const Result next = run(2030, 16.1, 1000, "\n");
  EXPECT_DOUBLE_EQ(next.deltaT, 68.586);
  EXPECT_NE(next.out.find("    Delta_T=TT-UT1= 68.59 sec (extrapolated!)\n"),
            std::string::npos);
  // Until the run starts anew.
  earthcon_reset();
  EXPECT_NE(run(2030, 16.1, 1000, "\n").deltaT, r.deltaT);
}

TEST_F(EarthCon, AnswersThatOpenTheChangeDialog) {
  for (const char* answer : {"1\n", "0.5\n", "1.49\n", "1 2 3\n"}) {
    earthcon_reset();
    const Result r = run(2017, 10, 1000, std::string(answer) + "\n\n\n\n");
    EXPECT_NE(r.out.find("Change following values"), std::string::npos)
        << answer;
  }
}

TEST_F(EarthCon, AnswerZeroMeansNoDeltaTForTheRun) {
  for (const char* answer : {"0\n", "-1.4\n", "0.49\n"}) {
    earthcon_reset();
    const Result r = run(2017, 10, 1000, answer);
    EXPECT_EQ(r.deltaT, 0.0) << answer;
    EXPECT_EQ(r.out.find("Change following"), std::string::npos);
    const Result next = run(1950, 10, 1000, "\n");
    EXPECT_EQ(next.deltaT, 0.0) << answer;
    EXPECT_NE(next.out.find("    Delta_T=TT-UT1= 0.00 sec\n"),
              std::string::npos);
  }
}

TEST_F(EarthCon, KeptDeltaTIsClampedToo) {
  const Result r = run(-500, 10, 1000, "1\n\n\n\n\n");
  EXPECT_NE(r.out.find("[Default: 16940.00 ]"), std::string::npos);
  EXPECT_EQ(r.deltaT, 5999.0);
}

struct ClampCase {
  const char* dt;
  const char* temp;
  const char* press;
  double want_dt, want_temp, want_press;
};

TEST_F(EarthCon, ChangeDialogClamps) {
  const ClampCase cases[] = {
      {"7000", "2500", "-5", 5999, 1999, 0},
      {"6000", "2000", "2000", 6000, 2000, 2000},
      {"-1001", "-150", "2001", -999, -99, 1999},
      {"-1000", "-100", "0", -1000, -100, 0},
      {"33.3", "x", "", 33.3, 10, 1000},
  };
  for (const ClampCase& c : cases) {
    earthcon_reset();
    const Result r = run(
        2017, 10, 1000,
        std::string("1\n") + c.dt + "\n" + c.temp + "\n" + c.press + "\n\n");
    EXPECT_EQ(r.deltaT, c.want_dt) << c.dt;
    EXPECT_EQ(r.temp, c.want_temp) << c.temp;
    EXPECT_EQ(r.press, c.want_press) << c.press;
  }
}

TEST_F(EarthCon, EndOfInputPropagates) {
  ConsoleCapture con("1\n5\n");
  double a, b, c;
  EXPECT_THROW(earthcon(2017, 10, 1000, &a, &b, &c), EndOfInput);
}

}  // namespace
