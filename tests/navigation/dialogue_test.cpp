// The dialogue flow: the title screen and the reset dialogue, the loading of
// the record files, the menus after an observation and after a fix (with the
// bound on the automatic passes), ITERATE, the final save, the closing
// screen, the end of input at any point, and run_dialogue itself (working
// directory, repeated runs in one process).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "dialogue.h"
#include "earthcon.h"
#include "input.h"
#include "nav_test_util.h"
#include "records.h"
#include "states.h"

namespace {

using navtest::count;
using navtest::put;
using navtest::slurp;
using navtest::fs::exists;

constexpr auto& cleared = testsupport::cleared_screen;

const char kTitle[] =
    " LUNAR DISTANCE for Astro-Navigation. V13 \n"
    " ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~ \n"
    " Determine position of a ship at sea\n"
    " by LUNAR DISTANCE to other celestial bodies.\n"
    " Aproximate Date, Time & Position is required,\n"
    " and precise Sextant result for Lunar Distance.\n"
    " Sextant-height of Moon & second body needed,\n"
    " expected in degrees and angular minutes,\n"
    " Degrees positive for NORTH and EAST,\n"
    " negative for SOUTH and WEST.\n"
    " Three Sextant-values determine position & time.\n"
    "   WARNING: There may be more than one solution.\n"
    " The values are entered one after the other.\n"
    " The program remembers the input-values.\n"
    " PROGRAM-Details: \n"
    " a) Enter Date, Time and Position, and then\n"
    "    1. and 2. observation by sextant.\n"
    " b) Enter Lunar Distance. (Time auto-adjusted).\n"
    " c) Finally auto-iteration until convergence.\n"
    " (Delta-T prediction from file dodarivi0r0.txt).\n"
    "\n";

const char kFresh1[] =
    "2017 6 17 \n3 57 14 \n44 46.990000 \n-17 -11.600000 \n2 33 \n"
    "24 14.000000 0 \n0.000000 1.830000 \n0.000000 180.000000 3.141593 \n"
    "16.100000 1026.400000 \n";

// Runs the whole dialogue in process on the given answers, in the fixture's
// directory; returns what it printed.
std::string run(const std::string& answers, const char* dir = ".") {
  ConsoleCapture con(answers);
  EXPECT_EQ(run_dialogue(con.in(), con.out(), dir), 0);
  return con.output();
}

class Dialogue : public navtest::InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    input_reset();
    earthcon_reset();
  }
};

TEST_F(Dialogue, TitleAndResetDialogue) {
  const std::string out = run("\n\n");
  const std::string want = cleared() + kTitle +
                           "  To RESET files 0x1,0x2 enter: '1' ==>"
                           " OK, - No RESET of files 0x0,0x1,0x2.txt\n"
                           "            ... hit ENTER to continue: \n" +
                           cleared() +
                           " Astro-Navigation by LUNAR DISTANCE\n\n";
  EXPECT_EQ(out.substr(0, want.size()), want);
  EXPECT_TRUE(exists("dodarivi0r0.txt"));   // made before the title screen
  EXPECT_EQ(slurp(kRecordFile1), kFresh1);  // made at the first LOOP_TOP
  EXPECT_FALSE(exists(kRecordFile2));
}

struct ResetCase {
  const char* answers;  // up to and including the final key
  const char* text;     // printed after the title
  bool r0, r1, r2;      // files left before LOOP_TOP writes the first
};

TEST_F(Dialogue, ResetBranches) {
  const ResetCase cases[] = {
      {"\n\n", " OK, - No RESET of files 0x0,0x1,0x2.txt\n", true, true, true},
      {"n\n", " OK, - No RESET of files 0x0,0x1,0x2.txt\n", true, true, true},
      {"r\nn\n\n",
       " OK, + RESETTiNG files 0x1 and 0x2.txt\n"
       "  To RESET file 0x0 enter: '2' ) ==> OK, - No RESET of file 0x0.txt\n",
       true, false, false},
      {"R\nx\n\n",
       " OK, + RESETTiNG files 0x1 and 0x2.txt\n"
       "  To RESET file 0x0 enter: '2' ) ==> OK, + RESETTiNG file 0x0.txt\n",
       false, false, false},
      {"1\n2\n\n",
       " OK, + RESETTiNG files 0x1 and 0x2.txt\n"
       "  To RESET file 0x0 enter: '2' ) ==> OK, + RESETTiNG file 0x0.txt\n",
       false, false, false},
      {"1\nX\n\n",
       " OK, + RESETTiNG files 0x1 and 0x2.txt\n"
       "  To RESET file 0x0 enter: '2' ) ==> OK, + RESETTiNG file 0x0.txt\n",
       false, false, false},
  };
  for (const ResetCase& c : cases) {
    put(kRecordFile1, "1999 1 1\n");
    put(kRecordFile2, "1998 1 1\n");
    put("dodarivi0r0.txt", "    2020   69.4 \n    2030   70.0 \n");
    RunState rs;
    ConsoleCapture con(c.answers);
    EXPECT_EQ(st_start(rs), State::LOOP_TOP);
    EXPECT_EQ(con.unread(), "") << c.answers;
    EXPECT_EQ(con.output(),
              cleared() + kTitle + "  To RESET files 0x1,0x2 enter: '1' ==>" +
                  c.text + "            ... hit ENTER to continue: \n")
        << c.answers;
    EXPECT_EQ(exists("dodarivi0r0.txt"), c.r0) << c.answers;
    EXPECT_EQ(exists(kRecordFile1), c.r1) << c.answers;
    EXPECT_EQ(exists(kRecordFile2), c.r2) << c.answers;
  }
}

TEST_F(Dialogue, ResetOfMissingFilesReportsThem) {
  RunState rs;
  ConsoleCapture con("r\nx\n\n");
  ASSERT_EQ(st_start(rs), State::LOOP_TOP);
  const std::string out = con.output();
  EXPECT_NE(out.find(" OK, + RESETTiNG files 0x1 and 0x2.txt\n"
                     " !!! file dodarivi0r1.txt possibly PROTECTED\n"
                     " !!! file dodarivi0r2.txt possibly PROTECTED\n"
                     "  To RESET file 0x0 enter: '2' ) ==>"
                     " OK, + RESETTiNG file 0x0.txt\n"
                     "            ... hit ENTER"),
            std::string::npos)
      << out;
  // The Delta-T table file existed (made at the start) and is gone now.
  EXPECT_FALSE(exists("dodarivi0r0.txt"));

  // The start creates the table file again, so its removal succeeds again.
  RunState again;
  ConsoleCapture con2("1\n2\n\n");
  ASSERT_EQ(st_start(again), State::LOOP_TOP);
  EXPECT_EQ(count(con2.output(), "WRITE PROTECTED"), 0);
}

TEST_F(Dialogue, LoopTopAndObs2FileLoadOrCreateTheRecords) {
  RunState rs;
  ConsoleCapture con;
  EXPECT_EQ(st_loop_top(rs), State::EXAMPLE);
  EXPECT_EQ(slurp(kRecordFile1), kFresh1);
  rs.flow.obsno = 2;
  rs.calc.Az = 99.5;
  EXPECT_EQ(st_obs2_file(rs), State::EXAMPLE);
  EXPECT_EQ(count(slurp(kRecordFile2), "0.000000 99.500000 3.141593\n"), 1);

  // A record file read: its values become the defaults.
  put(kRecordFile1, "2019 2 3\n");
  rs.flow.obsno = 1;
  EXPECT_EQ(st_loop_top(rs), State::EXAMPLE);
  EXPECT_EQ(rs.obs1.year, 2019);
  EXPECT_EQ(rs.work.year, 2019);

  // The automatic passes neither read nor write the files.
  put(kRecordFile1, "2020 2 3\n");
  navtest::fs::remove(kRecordFile2);
  rs.flow.autorun = 1;
  EXPECT_EQ(st_loop_top(rs), State::EXAMPLE);
  EXPECT_EQ(rs.obs1.year, 2019);
  rs.flow.obsno = 2;
  EXPECT_EQ(st_obs2_file(rs), State::EXAMPLE);
  EXPECT_FALSE(exists(kRecordFile2));
  EXPECT_EQ(con.output(), "");
}

TEST_F(Dialogue, ExampleScreenOnlyForObservation1) {
  RunState rs;
  {
    ConsoleCapture con("\nrest");
    EXPECT_EQ(st_example(rs), State::OBS_INPUT);
    EXPECT_EQ(count(con.output(), "E X A M P L E"), 1);
    EXPECT_EQ(con.unread(), "rest");  // one key; a file of answers stays
  }
  {
    rs.flow.autorun = 1;
    ConsoleCapture con("rest");
    EXPECT_EQ(st_example(rs), State::OBS_INPUT);
    EXPECT_EQ(count(con.output(), "E X A M P L E"), 1);
    EXPECT_EQ(con.unread(), "rest");
  }
  {
    rs.flow.autorun = 0;
    rs.flow.obsno = 2;
    ConsoleCapture con("rest");
    EXPECT_EQ(st_example(rs), State::OBS_INPUT);
    EXPECT_EQ(con.output(), "");
    EXPECT_EQ(con.unread(), "rest");
  }
}

struct MenuCase {
  int obsno;
  const char* answers;
  State next;
  int obsno_after;
  int prompts;
};

TEST_F(Dialogue, MenuAfterAnObservation) {
  const MenuCase cases[] = {
      {1, "\n", State::OBS2_FILE, 2, 1},
      {1, "2\n", State::OBS2_FILE, 2, 1},
      {1, "1\n", State::EXAMPLE, 1, 1},
      {1, "0\n", State::EXAMPLE, 1, 1},
      {1, "x\n", State::EXAMPLE, 1, 1},
      {1, "9\n", State::END, 1, 1},
      {1, "3\n", State::END, 1, 1},
      {1, "-5\n\n", State::OBS2_FILE, 2, 2},
      {1, "999\n", State::OBS2_FILE, 2, 1},
      {2, "\n", State::SAIL, 2, 1},
      {2, "3\n", State::SAIL, 2, 1},
      {2, "999\n", State::SAIL, 2, 1},
      {2, "0\n", State::EXAMPLE, 2, 1},
      {2, "1\n", State::LOOP_TOP, 1, 1},
      {2, "2\n", State::OBS2_FILE, 2, 1},
      {2, "4\n", State::END, 2, 1},
      {2, "-1\n-2\n9\n", State::END, 2, 3},
  };
  for (const MenuCase& c : cases) {
    input_reset();
    RunState rs;
    rs.flow.obsno = c.obsno;
    ConsoleCapture con(c.answers);
    EXPECT_EQ(st_post_obs_menu(rs), c.next) << c.answers;
    EXPECT_EQ(rs.flow.obsno, c.obsno_after) << c.answers;
    const char* prompt = c.obsno == 1
                             ? " ### ENTER: 1=repeat 9=stop, or hit RETURN "
                             : " ### ENTER: 2=repeat[2.obs.] or hit RETURN ";
    std::string want;
    for (int i = 0; i < c.prompts; ++i) want += prompt;
    EXPECT_EQ(con.output(), want) << c.answers;
    EXPECT_EQ(con.unread(), "") << c.answers;
  }
  // The automatic passes answer by themselves.
  for (int obsno : {1, 2}) {
    RunState rs;
    rs.flow.obsno = obsno;
    rs.flow.autorun = 1;
    ConsoleCapture con;
    EXPECT_EQ(st_post_obs_menu(rs),
              obsno == 1 ? State::OBS2_FILE : State::SAIL);
    EXPECT_EQ(rs.flow.choice, obsno == 1 ? 2 : 3);
  }
}

TEST_F(Dialogue, SailGoesToTheFirstLunarDistanceStep) {
  RunState rs;
  const obsrec work = rs.work;
  EXPECT_EQ(sail_run(rs), State::LD_STEP);
  EXPECT_FALSE(rs.flow.renewing);  // no run, no fix yet
  EXPECT_EQ(rs.work.lat_min, work.lat_min);
  rs.flow.lddone = true;
  EXPECT_EQ(sail_run(rs), State::HCAZ);
  EXPECT_TRUE(rs.flow.renewing);
  // HCAZ of observation 2 renewed after the run leads to the fix, once.
  EXPECT_EQ(hcaz_intercept(rs), State::FINAL);
  EXPECT_FALSE(rs.flow.renewing);
  EXPECT_EQ(hcaz_intercept(rs), State::RESULT);
}

const char* state_name(State s) {
  static const char* const names[] = {
      "START",         "LOOP_TOP", "OBS2_FILE", "EXAMPLE",
      "OBS_INPUT",     "COMPUTE",  "HCAZ",      "RESULT",
      "POST_OBS_MENU", "SAIL",     "FINAL",     "FINAL_MENU",
      "LD_STEP",       "ITERATE",  "STOP",      "END"};
  return names[static_cast<int>(s)];
}

// The states that a run from START visits on the given answers, up to the
// end of its input or the given number of states: their names, each
// followed by a blank.
std::string visited(const std::string& answers, int most) {
  ConsoleCapture con(answers);
  RunState rs;
  std::string names;
  State s = State::START;
  try {
    for (int n = 0; n < most; ++n) {
      names += std::string(state_name(s)) + " ";
      if (s == State::END) break;
      s = run_state(s, rs);
    }
  } catch (const EndOfInput&) {
    // the state named last was reading when the input ended
  }
  return names;
}

TEST_F(Dialogue, StatesVisitedByARun) {
  // An observation entered, computed and shown, up to its menu; each
  // observation loaded first; the run between the sights and the fix.
  const std::string sight = "OBS_INPUT COMPUTE HCAZ RESULT POST_OBS_MENU ";
  const std::string obs1 = "LOOP_TOP EXAMPLE " + sight;
  const std::string obs2 = "OBS2_FILE EXAMPLE " + sight;
  const std::string fix = "SAIL HCAZ FINAL FINAL_MENU ";

  // Every answer the default: both observations, the first lunar-distance
  // step and its correction, then the automatic passes: the run and the fix
  // (which has not converged after the first pass), ITERATE, both
  // observations again without their files, and a fix that has converged,
  // after which a further lunar-distance step follows.
  const std::string defaults(22, '\n');
  const std::string automatic = "START " + obs1 + obs2 + "SAIL LD_STEP " +
                                sight + obs2 + fix + "ITERATE " + obs1 + obs2 +
                                fix + "LD_STEP " + obs1;
  EXPECT_EQ(visited(defaults, count(automatic, " ")), automatic);

  // The menu after each observation: 1 repeats observation 1 from its
  // example screen; after observation 2, 2 reads its file again, 0 repeats
  // it without the file and 1 goes back to observation 1 with its file.
  const std::string entry1(10, '\n');  // the example pause and 9 prompts
  const std::string entry2(2, '\n');   // body and altitude
  const std::string result = "\n";
  const std::string repeats = "\n\n" + entry1 + result + "1\n" + entry1 +
                              result + "\n" + entry2 + result + "2\n" + entry2 +
                              result + "0\n" + entry2 + result + "1\n";
  EXPECT_EQ(visited(repeats, 200), "START " + obs1 + "EXAMPLE " + sight + obs2 +
                                       obs2 + "EXAMPLE " + sight +
                                       "LOOP_TOP EXAMPLE ");
}

// A fix that has not converged, with the lunar distance entered.
RunState unconverged() {
  RunState rs;
  rs.fix.poserr = 1.0;
  rs.flow.ldentered = 1;
  rs.flow.lddone = 1;
  rs.flow.ldpasses = 3;
  rs.flow.autorun = 1;
  rs.work.lat_deg = 40;
  rs.work.lat_min = 12.5;
  return rs;
}

const char kIterateMenu[] = " ## ENTER: 1=restart, 4=ITERATE, 9=stop:";
const char kConvergedMenu[] =
    " ## ENTER: 1=restart, 5=KESTOR, 9=stop:\n"
    " For FINAL CHECK, press again RETURN !\n";

TEST_F(Dialogue, FinalMenuIteratesByItself) {
  RunState rs = unconverged();
  ConsoleCapture con;  // nothing to read
  EXPECT_EQ(st_final_menu(rs), State::ITERATE);
  EXPECT_EQ(rs.flow.autorun, 0);
  EXPECT_EQ(con.output(), kIterateMenu);
  EXPECT_EQ(rs.obs1.lat_deg, 44);  // no latitude copied
}

TEST_F(Dialogue, FinalMenuReadsAfterThirtyIterations) {
  RunState rs = unconverged();
  rs.flow.iterpasses = kMaxIteratePasses - 1;
  {
    ConsoleCapture con;
    EXPECT_EQ(st_final_menu(rs), State::ITERATE);
  }
  rs.flow.iterpasses = kMaxIteratePasses;
  {
    ConsoleCapture con("7\n4\n");  // 7 shows the menu again and reads again
    EXPECT_EQ(st_final_menu(rs), State::ITERATE);
    EXPECT_EQ(con.output(), std::string(kIterateMenu) + kIterateMenu);
    EXPECT_EQ(rs.flow.iterpasses, 0);  // the count starts again
  }
  rs.flow.iterpasses = kMaxIteratePasses;
  {
    ConsoleCapture con("\n");  // RETURN: a further lunar-distance pass
    EXPECT_EQ(st_final_menu(rs), State::LD_STEP);
  }
  rs.flow.iterpasses = kMaxIteratePasses;
  {
    ConsoleCapture con("9\n");
    EXPECT_EQ(st_final_menu(rs), State::STOP);
  }
  rs.flow.iterpasses = kMaxIteratePasses;
  {
    ConsoleCapture con;  // end of input at the answer
    EXPECT_THROW(st_final_menu(rs), EndOfInput);
  }
}

TEST_F(Dialogue, IteratePassesAreCountedAndEndedByConvergence) {
  RunState rs = unconverged();
  ConsoleCapture con;
  for (int i = 0; i < kMaxIteratePasses; ++i) {
    ASSERT_EQ(st_final_menu(rs), State::ITERATE);
    ASSERT_EQ(st_iterate(rs), State::LOOP_TOP);
  }
  EXPECT_EQ(rs.flow.iterpasses, kMaxIteratePasses);
  rs.fix.poserr = 0.05;  // converged: the row of passes ends
  ASSERT_EQ(st_final_menu(rs), State::LD_STEP);
  EXPECT_EQ(rs.flow.iterpasses, 0);
}

TEST_F(Dialogue, FinalMenuAfterAConvergedFix) {
  RunState rs = unconverged();
  rs.fix.poserr = -0.099;
  {
    ConsoleCapture con;  // 3 passes counted: a further pass by itself
    EXPECT_EQ(st_final_menu(rs), State::LD_STEP);
    EXPECT_EQ(con.output(), kConvergedMenu);
    EXPECT_EQ(rs.obs1.lat_deg, 40);
    EXPECT_EQ(rs.obs1.lat_min, 12.5);
    EXPECT_EQ(rs.obs2.lat_deg, 40);
    EXPECT_EQ(rs.obs2.lat_min, 12.5);
    EXPECT_EQ(rs.obs1.lon_deg, -17);  // the longitudes stay
    EXPECT_EQ(rs.obs1.lon_min, -11.6);
  }
  rs.flow.ldpasses = 31;
  {
    ConsoleCapture con("9\n");
    EXPECT_EQ(st_final_menu(rs), State::STOP);
    EXPECT_EQ(rs.flow.ldpasses, 0);
  }
  rs.flow.ldpasses = 30;
  {
    ConsoleCapture con;
    EXPECT_EQ(st_final_menu(rs), State::LD_STEP);
  }
  rs.flow.ldpasses = 0;
  {
    ConsoleCapture con("1\n");
    EXPECT_EQ(st_final_menu(rs), State::LOOP_TOP);
    EXPECT_EQ(rs.flow.obsno, 1);
    EXPECT_EQ(rs.flow.lddone, 0);
    EXPECT_EQ(rs.flow.ldentered, 0);
    EXPECT_EQ(rs.flow.ldpasses, 0);
  }
  rs = unconverged();
  rs.fix.poserr = 0.1;  // exactly 0.1 has not converged
  {
    ConsoleCapture con;
    EXPECT_EQ(st_final_menu(rs), State::ITERATE);
  }
}

TEST_F(Dialogue, FinalMenuAnswers) {
  struct Case {
    const char* answers;
    State next;
  };
  const Case cases[] = {
      {"\n", State::LD_STEP},   {"5\n", State::LD_STEP},
      {"0\n", State::SAIL},     {"x\n", State::SAIL},
      {"4\n", State::ITERATE},  {"9\n", State::STOP},
      {"1\n", State::LOOP_TOP}, {"7\n-3\n9\n", State::STOP},
  };
  for (const Case& c : cases) {
    input_reset();
    RunState rs = unconverged();
    rs.fix.poserr = 0;
    rs.flow.ldpasses = 0;
    ConsoleCapture con(c.answers);
    EXPECT_EQ(st_final_menu(rs), c.next) << c.answers;
    EXPECT_EQ(con.unread(), "") << c.answers;
  }
}

TEST_F(Dialogue, FinalMenuNearAPole) {
  for (int lat : {89, -89, 90}) {
    RunState rs = unconverged();
    rs.work.lat_deg = lat;
    rs.flow.ldpasses = 12;
    ConsoleCapture con("\n");
    EXPECT_EQ(st_final_menu(rs), State::LD_STEP);
    EXPECT_EQ(con.output(), " continue with RETURN, 1=start, or 9=stop\n");
    EXPECT_EQ(rs.flow.ldentered, 0);  // the lunar distance is asked again
    EXPECT_EQ(rs.flow.ldpasses, 0);
    EXPECT_EQ(rs.flow.autorun, 0);
  }
  RunState rs = unconverged();
  rs.work.lat_deg = -88;
  ConsoleCapture con;
  EXPECT_EQ(st_final_menu(rs), State::ITERATE);
}

TEST_F(Dialogue, FinalMenuWithoutTheLunarDistanceEntered) {
  RunState rs = unconverged();
  rs.flow.ldentered = 0;
  rs.flow.ldpasses = 0;
  ConsoleCapture con("4\n");
  EXPECT_EQ(st_final_menu(rs), State::ITERATE);
  EXPECT_EQ(con.output(), kIterateMenu);
}

TEST_F(Dialogue, Iterate) {
  struct Case {
    double course, velocity;
    const char* line;
  };
  const Case cases[] = {
      {0, 0, "kursav0 kursbak, velav 0.000000 180.000000 0.000000\n"},
      {270, 12, "kursav0 kursbak, velav 270.000000 90.000000 12.000000\n"},
      {90, -10, "kursav0 kursbak, velav 90.000000 270.000000 -10.000000\n"},
  };
  for (const Case& c : cases) {
    RunState rs = unconverged();
    rs.fix.course = c.course;
    rs.fix.velocity = c.velocity;
    rs.fix.lat = 10.5;
    rs.fix.lon = -20.25;
    rs.work.lat_deg = 10;
    rs.work.lat_min = 30;
    rs.work.lon_deg = -20;
    rs.work.lon_min = -15;
    rs.flow.obsno = 2;
    rs.flow.autorun = 0;
    ConsoleCapture con;
    EXPECT_EQ(st_iterate(rs), State::LOOP_TOP);
    const std::string want = cleared() +
                             " ITERATION started:\n"
                             " Just repeat all steps by hitting ENTER, \n"
                             " but do not change any parameters.\n\n"
                             " You may repeat the iteration several times,\n"
                             " until there is no more change\n"
                             " in the FINAL POSITION.\n\n"
                             " ...now hit ENTER to continue:\n" +
                             c.line;
    EXPECT_EQ(con.output(), want);
    EXPECT_EQ(rs.flow.autorun, 1);
    EXPECT_EQ(rs.flow.obsno, 1);
    EXPECT_EQ(rs.flow.iterpasses, 1);
    // The fix goes to observation 2's record, the back-run to observation
    // 1's, and to position 1.
    EXPECT_EQ(rs.obs2.lat_deg, 10);
    EXPECT_EQ(rs.obs2.lon_min, -15);
    if (c.velocity >= 0) {  // a speed: both sights share a time, no run
      EXPECT_EQ(rs.obs1.lat_deg, 10);
      EXPECT_DOUBLE_EQ(rs.obs1.lat_min, 30);
      EXPECT_EQ(rs.obs1.lon_deg, -20);
      EXPECT_DOUBLE_EQ(rs.obs1.lon_min, -15);
      EXPECT_DOUBLE_EQ(rs.sight1.pos.lat, 10.5);
      EXPECT_DOUBLE_EQ(rs.sight1.pos.lon, -20.25);
    } else {  // 10 nautical miles back to the west
      EXPECT_DOUBLE_EQ(rs.sight1.pos.lat, 10.5);
      EXPECT_LT(rs.sight1.pos.lon, -20.25 - 10.0 / 60);
      EXPECT_EQ(rs.obs1.lon_deg, -20);
    }
  }
  // Before the lunar distance is entered ITERATE waits for a key.
  RunState rs = unconverged();
  rs.flow.ldentered = 0;
  ConsoleCapture con("\nrest");
  st_iterate(rs);
  EXPECT_EQ(con.unread(), "rest");
}

TEST_F(Dialogue, StopSavesBothFiles) {
  RunState rs;
  rs.sight1.Az = 150;
  rs.sight2.Az = 250;
  rs.work = rs.obs2;
  ConsoleCapture con;
  EXPECT_EQ(st_stop(rs), State::END);
  EXPECT_EQ(con.output(),
            "\n>> fixed: write dodarivi0r1.txt \n"
            ">> fixed: write dodarivi0r2.txt \n");
  const std::string f1 = slurp(kRecordFile1);
  EXPECT_EQ(count(f1, "\n"), 10);
  EXPECT_NE(f1.find("0.000000 150.000000 0.000000 \n16.100000 1026.400000 \n"
                    "48.116667 1 \n"),
            std::string::npos);
  EXPECT_EQ(count(slurp(kRecordFile2), "\n"), 9);
}

TEST_F(Dialogue, ClosingScreen) {
  RunState rs;
  ConsoleCapture con("\nrest");
  EXPECT_EQ(st_end(rs), State::END);
  const std::string out = con.output();
  EXPECT_EQ(out.substr(0, 2), " \n");
  const std::string tail = "\n           --- END ---\n";
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
  // A blank line, ten lines of sources, a blank line, the note in two lines.
  std::vector<std::string> lines;
  size_t at = 0;
  for (size_t nl; (nl = out.find('\n', at)) != std::string::npos; at = nl + 1)
    lines.push_back(out.substr(at, nl - at));
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[0], " ");
  EXPECT_EQ(lines[11], " ");
  EXPECT_EQ(lines[12].substr(0, 2), " [");
  EXPECT_NE(lines[13].find("]"), std::string::npos);
  EXPECT_NE((lines[12] + lines[13]).find("this project"), std::string::npos);
  EXPECT_NE((lines[12] + lines[13]).find("2026"), std::string::npos);
  for (const char* source : {"VSOP87D", "FK5", "IAU 1980", "LEA-406b", "2016",
                             "DE441", "1800", "2200", "almanac"})
    EXPECT_NE(out.find(source), std::string::npos) << source;
  for (const std::string& l : lines) EXPECT_LT(l.size(), 50u) << l;
  EXPECT_EQ(rs.flow.end_shown, 1);
  EXPECT_EQ(con.unread(), "rest");
}

TEST_F(Dialogue, EndOfInputAnywhereEndsWithOneClosingScreen) {
  const char* inputs[] = {
      "",                             // at the reset question
      "1",                            // after the first reset answer
      "\n\n",                         // at the example pause
      "\n\n\n\n\n1\n50\n",            // in the change dialog of Delta-T
      "\n\n\n\n\n\n\n\n8\n",          // at the star screen of observation 1
      "\n\n\n\n\n\n\n\n\n\n\n\n",     // at the menu after observation 1
      "\n\n\n\n\n\n\n\n\n\n\n\n9\n",  // at the key of the closing screen
      "\n\n\n1400\n",                 // at the pause of the calendar note
  };
  for (const char* input : inputs) {
    input_reset();
    const std::string out = run(input);
    EXPECT_EQ(count(out, "--- END ---"), 1) << "input '" << input << "'";
    EXPECT_EQ(out.substr(out.size() - 24), "\n           --- END ---\n")
        << "input '" << input << "'";
  }
}

TEST_F(Dialogue, FreshDirectoryCreatesTheSecondFileAtObservation2) {
  // Observation 1 entered with other values; the second file is created
  // from observation 2's built-in record all the same.
  run("\n\n\n2018\n\n\n10 0\n\n\n\n\n\n\n\n");  // the result, the menu
  const std::string f2 = slurp(kRecordFile2);
  const std::string head =
      "2017 6 17 \n3 57 14 \n44 46.990000 \n-17 -11.600000 \n4 33 \n"
      "7 47.800000 0 \n0.000000 1.830000 \n";
  ASSERT_EQ(f2.substr(0, head.size()), head);
  // Line 8: intercept and azimuth as they stand after observation 1, and
  // the spare value, with no blank before the line end; line 9 the run.
  const std::string rest = f2.substr(head.size());
  const size_t nl = rest.find('\n');
  ASSERT_NE(nl, std::string::npos);
  EXPECT_NE(rest[nl - 1], ' ');
  EXPECT_EQ(rest.substr(nl - 9, 9), " 3.141593");
  EXPECT_EQ(rest.substr(nl + 1), "0.000000 0.000000\n");
  EXPECT_EQ(count(slurp(kRecordFile1), "2018 6 17 \n"), 1);
}

TEST_F(Dialogue, LatitudeBeyond90EndsWithoutSaving) {
  const std::string out = run("\n\n\n\n\n\n90 1\n\nmore\n");
  EXPECT_NE(out.find("\n!!! ERROR, Latitude=90.016667\n"
                     " restart with new position\n"
                     " \n"),
            std::string::npos);
  EXPECT_EQ(slurp(kRecordFile1), kFresh1);  // as written at LOOP_TOP
  EXPECT_FALSE(exists(kRecordFile2));
}

TEST_F(Dialogue, WorkingDirectoryAndRepeatedRuns) {
  navtest::fs::create_directory("sub");
  const auto before = navtest::fs::current_path();
  // Delta-T 0 for the run in "sub" ...
  const std::string first = run("\n\n\n\n\n0\n", "sub");
  EXPECT_EQ(navtest::fs::current_path(), before);
  EXPECT_TRUE(exists("sub/dodarivi0r1.txt"));
  EXPECT_FALSE(exists(kRecordFile1));
  EXPECT_NE(first.find(" Delta-T : 0.00 sec\n"), std::string::npos);
  // ... is not remembered by the next run, which offers the model again.
  const std::string second = run("\n\n\n\n\n\n", "sub");
  EXPECT_NE(second.find(" Delta-T : 68.59 sec\n"), std::string::npos);
  EXPECT_EQ(run("\n\n\n\n\n\n", "sub"), second);

  ConsoleCapture con;
  EXPECT_EQ(run_dialogue(con.in(), con.out(), "no/such/dir"), 1);
  EXPECT_EQ(con.output(), " !!! directory no/such/dir cannot be entered\n");
}

TEST_F(Dialogue, RandomAnswersAlwaysEndOnce) {
  // Random answers and random record files: every run ends at the end of its
  // input with one closing screen (the sanitizer build checks the rest).
  std::mt19937 gen(2026);
  const char* answers[] = {"\n",
                           "\n",
                           "\n",
                           "1\n",
                           "2\n",
                           "3\n",
                           "9\n",
                           "0\n",
                           "r\n",
                           "x\n",
                           "8\n",
                           "60\n",
                           "-4\n",
                           "nan\n",
                           "inf 5\n",
                           "-1e308 -1e308\n",
                           "99999999999 -99999999999 7\n",
                           "1400\n",
                           "12,3;4 5\n",
                           "90 1\n",
                           "190 0\n",
                           "43\n"};
  const char* files[] = {"", "2017 6 17\n", "1e999 nan -0 99999999999\n",
                         "2017 6 17 3 57 14 44 46.99 -17 -11.6 8 70 24 14 0\n",
                         "2017 6 17 3 57 14 44 46.99 -17 -11.6 -2147483648 "
                         "-5 24 14 0 1 2 3 4 5 6 7 48 -1\n"};
  for (int round = 0; round < 150; ++round) {
    std::string input;
    const int n = static_cast<int>(gen() % 60);
    for (int i = 0; i < n; ++i) {
      if (gen() % 10 == 0) {
        for (int k = static_cast<int>(gen() % 80); k > 0; --k)
          input.push_back(static_cast<char>(gen()));
      } else {
        input += answers[gen() % (sizeof answers / sizeof *answers)];
      }
    }
    put(kRecordFile1, files[gen() % 5]);
    put(kRecordFile2, files[gen() % 5]);
    input_reset();
    const std::string out = run(input);
    ASSERT_EQ(count(out, "           --- END ---\n"), 1) << input;
  }
}

TEST_F(Dialogue, AutomaticPassesEndAndStopSaves) {
  // Both observations and the lunar distance with their defaults, and the
  // key after the first time correction; from there on nothing is read until
  // the final menu, after more than 30 lunar-distance passes.  The built-in
  // sights agree with each other: every pass ends in a converged fix.
  const std::string answers = std::string(22, '\n') + "9\n";
  const std::string out = run(answers);
  EXPECT_EQ(count(out, kConvergedMenu), 31);
  EXPECT_EQ(count(out, "\n>> fixed: write dodarivi0r1.txt \n"), 1);
  EXPECT_EQ(count(out, "--- END ---"), 1);
  EXPECT_EQ(count(slurp(kRecordFile1), "\n"), 10);
  EXPECT_EQ(count(slurp(kRecordFile2), "\n"), 9);
}

}  // namespace
