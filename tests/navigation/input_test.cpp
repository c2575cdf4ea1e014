// Console input routines: the field parsers with their kept lines, the
// degrees-and-minutes reader with its sign rule, the one-number reader, the
// cutting of long lines, the end of input, and the discarding of typed-ahead
// input (terminal only).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

#include "input.h"
#include "nav_test_util.h"

namespace {

struct DateCase {
  const char* answer;
  int year, month, day;
};

// Answers to the date prompt, defaults 2017 6 17.
TEST(FieldParsers, DateAnswers) {
  const DateCase cases[] = {
      {"", 2017, 6, 17},
      {"2018 7", 2018, 7, 17},
      {"2018,7;9", 2018, 7, 9},
      {"2018 7 ", 2018, 7, 0},  // the end of line is a field of its own
      {"2018 7 9 ", 2018, 7, 9},
      {"   ", 0, 6, 17},
      {"6.7", 6, 6, 17},
      {"x", 0, 6, 17},
      {"2018\t7", 2018, 6, 17},  // a tab is no separator
      {",;, 2018 ,,;; 7", 2018, 7, 17},
  };
  for (const DateCase& c : cases) {
    input_reset();
    ConsoleCapture con(std::string(c.answer) + "\n");
    const int y = parse4nth(0, 1, 2017);
    const int m = parse4nth(0, 2, 6);
    const int d = parse4nth(0, 3, 17);
    EXPECT_EQ(y, c.year) << "answer '" << c.answer << "'";
    EXPECT_EQ(m, c.month) << "answer '" << c.answer << "'";
    EXPECT_EQ(d, c.day) << "answer '" << c.answer << "'";
    EXPECT_EQ(con.output(), "");
  }
}

TEST(FieldParsers, SkipFlagReadsNothingAndKeepsTheLine) {
  input_reset();
  ConsoleCapture con("5 6 7\nnext\n");
  EXPECT_EQ(parse4nth(0, 1, 0), 5);
  EXPECT_EQ(parse4nth(1, 1, 99), 99);  // nothing read
  EXPECT_EQ(parse4nth(1, 2, 98), 98);
  EXPECT_EQ(parse4nth(0, 2, 0), 6);  // the line kept before
  EXPECT_EQ(parse4nth(2, 3, 0), 7);  // any other flag value parses
  EXPECT_EQ(con.unread(), "next\n");
}

TEST(FieldParsers, EachParserKeepsItsOwnLine) {
  input_reset();
  ConsoleCapture con("1 2\n3.5 4.5\n8 9\n");
  EXPECT_EQ(parsenth(1, 0), 1);
  EXPECT_DOUBLE_EQ(parsefd(1, 0), 3.5);
  EXPECT_EQ(parse4nth(0, 1, 0), 8);
  EXPECT_EQ(parsenth(2, 0), 2);
  EXPECT_DOUBLE_EQ(parsefd(2, 0), 4.5);
  EXPECT_EQ(parse4nth(0, 2, 0), 9);
  // A reset of the run forgets every kept line.
  input_reset();
  EXPECT_EQ(parsenth(2, 77), 77);
  EXPECT_DOUBLE_EQ(parsefd(2, 7.5), 7.5);
  EXPECT_EQ(parse4nth(0, 2, 66), 66);
}

TEST(FieldParsers, EmptyAnswerKeepsAnEmptyLine) {
  input_reset();
  ConsoleCapture con("1 2\n\n");
  EXPECT_EQ(parsenth(1, 0), 1);
  EXPECT_EQ(parsenth(1, 5), 5);  // empty answer
  EXPECT_EQ(parsenth(2, 7), 7);  // the kept line is now the empty one
}

TEST(FieldParsers, LastLineWithoutLineEnd) {
  // A one-character last line counts as empty; a longer one is parsed.
  {
    input_reset();
    ConsoleCapture con("5");
    EXPECT_EQ(parsenth(1, 3), 3);
  }
  {
    input_reset();
    ConsoleCapture con("55");
    EXPECT_EQ(parsenth(1, 3), 55);
  }
  {
    input_reset();
    ConsoleCapture con(
        std::string("\0"
                    "5\n",
                    3));  // a NUL byte first
    EXPECT_EQ(parsenth(1, 3), 3);
  }
}

TEST(FieldParsers, LongAnswerIsCutAt61Characters) {
  input_reset();
  // 70 characters: "7", 59 blanks, "8", then "123456789".
  const std::string line = "7" + std::string(59, ' ') + "8" + "123456789";
  ASSERT_EQ(line.size(), 70u);
  ConsoleCapture con(line + "\n");
  EXPECT_EQ(parsenth(1, 0), 7);
  EXPECT_EQ(parsenth(2, 0), 8);          // field 2 ends at the cut
  EXPECT_EQ(parsenth(1, 0), 123456789);  // the rest is the next answer
  EXPECT_THROW(parsenth(1, 0), EndOfInput);
}

TEST(FieldParsers, NumbersSaturate) {
  input_reset();
  ConsoleCapture con("99999999999 -99999999999 2147483647 -2147483648\n");
  EXPECT_EQ(parsenth(1, 0), INT_MAX);
  EXPECT_EQ(parsenth(2, 0), INT_MIN);
  EXPECT_EQ(parsenth(3, 0), INT_MAX);
  EXPECT_EQ(parsenth(4, 0), INT_MIN);
}

TEST(FieldParsers, SaturatingAtoi) {
  EXPECT_EQ(satoi("2147483648"), INT_MAX);
  EXPECT_EQ(satoi("-2147483649"), INT_MIN);
  EXPECT_EQ(satoi("000000000000000000000042"), 42);
  EXPECT_EQ(satoi(" \t\n+12abc"), 12);
  EXPECT_EQ(satoi("-7\n"), -7);
  EXPECT_EQ(satoi("abc"), 0);
  EXPECT_EQ(satoi("-"), 0);
  EXPECT_EQ(satoi(""), 0);
}

TEST(FieldParsers, RealField) {
  input_reset();
  ConsoleCapture con("-2.5\n1e999\nabc\n\n0x10\n");
  EXPECT_DOUBLE_EQ(parsefd(1, 9), -2.5);
  EXPECT_TRUE(std::isinf(parsefd(1, 9)));
  EXPECT_DOUBLE_EQ(parsefd(1, 9), 0.0);
  EXPECT_DOUBLE_EQ(parsefd(1, 9), 9.0);
  EXPECT_DOUBLE_EQ(parsefd(1, 9), 16.0);
}

TEST(FieldParsers, EndOfInputThrows) {
  input_reset();
  ConsoleCapture con("");
  EXPECT_THROW(parsenth(1, 0), EndOfInput);
  EXPECT_THROW(parse4nth(0, 1, 0), EndOfInput);
  EXPECT_THROW(parsefd(1, 0), EndOfInput);
  double a = 0, b = 0;
  EXPECT_THROW(lies2(1, 2, &a, &b), EndOfInput);
  EXPECT_THROW(lies1(0, 1, &a), EndOfInput);
  EXPECT_EQ(parse4nth(1, 1, 4), 4);  // skipping reads nothing
}

struct Lies2Case {
  const char* answer;
  double deg, min;
};

// Answers to a degrees-and-minutes prompt, defaults 44 and 46.99.
TEST(Lies2, Answers) {
  const Lies2Case cases[] = {
      {"", 44, 46.99},
      {"-44", -44, -46.99},
      {"0 -30", 0, -30},
      {"-0 30", 0, 30},
      {"44,30", 44, 46.99},
      {"44.5 10", 44.5, 10},
      {"-12 5", -12, -5},
      {"12 -5", 12, 5},
      {"-0.5 20", -0.5, -20},
      {"x 10", 44, 46.99},
      {"  17\t 11.6 extra", 17, 11.6},
  };
  for (const Lies2Case& c : cases) {
    ConsoleCapture con(std::string(c.answer) + "\n");
    double d = -1, m = -1;
    lies2(44, 46.99, &d, &m);
    EXPECT_EQ(d, c.deg) << "answer '" << c.answer << "'";
    EXPECT_EQ(m, c.min) << "answer '" << c.answer << "'";
    EXPECT_EQ(con.output(), "[Default: 44 46.99 ] Input: ");
  }
}

TEST(Lies2, DefaultsAreSignRuledToo) {
  ConsoleCapture con("\n\n");
  double d = 0, m = 0;
  lies2(0, -30, &d, &m);  // a latitude just south of the equator
  EXPECT_EQ(d, 0);
  EXPECT_EQ(m, -30);
  lies2(-17, 11.6, &d, &m);
  EXPECT_EQ(d, -17);
  EXPECT_EQ(m, -11.6);
  EXPECT_EQ(con.output(),
            "[Default: 0 -30.00 ] Input: [Default: -17 11.60 ] Input: ");
}

TEST(Lies2, LongAnswerIsCutAt59Characters) {
  const std::string line = "5" + std::string(57, ' ') + "6" + "789";
  ConsoleCapture con(line + "\n");
  double d = 0, m = 0;
  lies2(1, 2, &d, &m);
  EXPECT_EQ(d, 5);
  EXPECT_EQ(m, 6);
  EXPECT_EQ(con.unread(), "789\n");
}

TEST(Lies1, KindsAndDefaults) {
  {
    ConsoleCapture con("\n");
    double v = 0;
    lies1(0, 1.6, &v);
    EXPECT_EQ(v, 1.6);  // the unrounded default
    EXPECT_EQ(con.output(), " [Default: 2 ] Input: ");
  }
  {
    ConsoleCapture con("7.25\n");
    double v = 0;
    lies1(1, 16.1, &v);
    EXPECT_EQ(v, 7.25);
    EXPECT_EQ(con.output(), " [Default: 16.1 ] Input: ");
  }
  {
    ConsoleCapture con("abc\n");
    double v = 0;
    lies1(2, 68.586, &v);
    EXPECT_EQ(v, 68.586);
    EXPECT_EQ(con.output(), " [Default: 68.59 ] Input: ");
  }
  {
    ConsoleCapture con(" -3\n");
    double v = 0;
    lies1(-2, 9, &v);
    EXPECT_EQ(v, -3);
    EXPECT_EQ(con.output(), "   Input: ");
  }
}

TEST(Skip, ClearsWithBlankLines) {
  ConsoleCapture con;
  skip(0);
  skip(-3);
  EXPECT_EQ(con.output(), "");
  skip(25);
  EXPECT_EQ(con.output(), testsupport::cleared_screen());
}

TEST(DiscardPendingInput, KeepsInputOfAStreamInMemory) {
  ConsoleCapture con("abc\n");
  EXPECT_EQ(con_getc(), 'a');
  discard_pending_input();
  EXPECT_EQ(con_getc(), 'b');
}

TEST(DiscardPendingInput, KeepsInputOfAPipe) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ASSERT_EQ(write(fds[1], "xy\n", 3), 3);
  close(fds[1]);
  FILE* in = fdopen(fds[0], "r");
  ASSERT_NE(in, nullptr);
  ConsoleCapture con;
  con_bind(in, con.out());
  EXPECT_EQ(con_getc(), 'x');
  discard_pending_input();
  EXPECT_EQ(con_getc(), 'y');
  con_bind(con.in(), con.out());
  std::fclose(in);
}

TEST(DiscardPendingInput, DropsTypedAheadInputOfATerminal) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
    GTEST_SKIP() << "no pseudo-terminal available";
  const int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
  ASSERT_GE(slave, 0);
  FILE* in = fdopen(slave, "r");
  ASSERT_NE(in, nullptr);
  ConsoleCapture con;
  con_bind(in, con.out());
  ASSERT_EQ(write(master, "abc\n", 4), 4);
  EXPECT_EQ(con_getc(), 'a');  // stdio now holds "bc\n"
  ASSERT_EQ(write(master, "def\n", 4), 4);
  usleep(100000);  // let the line reach the terminal's input queue
  discard_pending_input();
  ASSERT_EQ(write(master, "z\n", 2), 2);
  EXPECT_EQ(con_getc(), 'z');
  con_bind(con.in(), con.out());
  std::fclose(in);
  close(master);
}

}  // namespace
