// Console input of the navigation dialogue: the screen clearer, the field
// parsers that read the fields of one answer, and the readers of a value in
// degrees and minutes and of a single number with its default.
//
// Every answer is read from the console (con_gets, con_getc) and every text
// goes to con_out().  None of these routines checks a range: every clamp and
// every validity test belongs to the caller.  At end of input the reads throw
// EndOfInput (foundations/console.h), which only the dialogue entry catches.
#pragma once

// Clears the screen: the line " >skip> " and n lines of one blank; nothing
// for n <= 0.
void skip(int n);

// Integer field n (counted from 1) of an answer.  n <= 1 reads a new line of
// at most 61 characters (the rest of a longer line stays pending as the next
// answer) and keeps it; n >= 2 parses the line kept by the last read.  Fields
// are separated by blanks, commas and semicolons in any mix.  An empty answer
// gives the default; so does a field number beyond the fields of the line.  A
// field without leading digits gives 0; a number beyond the range of int
// gives INT_MAX or INT_MIN.
int parsenth(int n, int def);

// parsenth with its own kept line, and a skip flag: a flag of exactly 1
// returns the default at once, reading nothing and keeping the kept line.
int parse4nth(int skipflag, int n, int def);

// parsenth for a real field, with its own kept line: a field without a
// leading number gives 0.0.
double parsefd(int n, double def);

// A value in degrees and minutes.  Prints "[Default: %.0f %.2f ] Input: ",
// reads a line of at most 59 characters and scans two numbers separated by
// white space: an empty or unreadable answer keeps both defaults, one number
// replaces the degrees only.  The minutes then take the sign of the degrees
// (negative only for degrees below 0), except that with degrees of exactly 0
// they keep their own sign.  Both outputs are always written; the degrees
// keep any fraction typed.
void lies2(double def_deg, double def_min, double* deg, double* min);

// How lies1 shows its default before "Input: ".
enum Lies1Kind : int {
  kShowWhole = 0,        // as a whole number: default + 0.5, truncated
  kShowOneDecimal = 1,   // with one decimal
  kShowTwoDecimals = 2,  // with two decimals
  kShowNone = -2,        // not at all
};

// A single number.  The default is shown by kind (Lies1Kind; any other kind
// shows nothing, not even "Input: "); then a line of at most 59 characters
// is read.  An empty or unreadable answer gives the default exactly as
// passed.
void lies1(int kind, double def, double* value);

// Empties the kept lines and buffers of all the routines above in the
// current session (session.h), as at the start of a run.
void input_reset();

// Throws away what the user has typed ahead, before an observation is
// entered.  Only a terminal has typed-ahead input: from a pipe, a file or a
// stream in memory (which may have no file descriptor) nothing is discarded,
// so that a file of answers can drive a whole run.
void discard_pending_input();

// atoi without undefined behaviour: leading white space skipped, an optional
// sign, the digits up to the first other character; 0 without digits, and
// INT_MAX or INT_MIN for a number beyond the range of int.
int satoi(const char* s);
