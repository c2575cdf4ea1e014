// The session of one run of the dialogue: all that the console routines keep
// for the run outside the run state.  The console (its streams and the
// directory of the program's files), the lines that the field parsers keep
// so that the further fields of one answer are parsed from the line already
// read, and the Delta-T that the Earth-conditions dialog remembers for every
// later observation of the run.
//
// run_dialogue owns one session and makes it current on its thread for the
// whole run (SessionScope), so that the routines with fixed signatures
// (lies1, parsenth, earthcon, con_out() ...) reach it, and two runs, one
// after the other or at once on two threads, share nothing.  A thread that
// runs no dialogue has a session of its own.
#pragma once

#include "console.h"

// The buffers of one field parser.
struct FieldParser {
  char str1[64] = {};  // the line just read, end-of-line character included
  char str2[64] = {};  // the kept line
  char stringin[123] = {};  // one blank followed by the kept line, cut in place
};

// The console input routines' buffers: one set for each field parser (the
// readers lies2 and lies1 keep nothing from one call to the next).
struct InputBuffers {
  FieldParser int_parser;   // parsenth
  FieldParser int4_parser;  // parse4nth
  FieldParser real_parser;  // parsefd
};

// The Delta-T remembered by the Earth-conditions dialog.
struct DeltaTMemory {
  bool memtime = false;    // a Delta-T has been confirmed or set to 0
  double DeltaTmem = 0.0;  // the remembered Delta-T, seconds
};

struct Session {
  Console console;
  InputBuffers input;
  DeltaTMemory deltat;
};

// The session current on the calling thread.
Session& session();

// Makes a session current on the calling thread, its console included, for
// the life of the scope; the previous ones are current again after it.
class SessionScope {
 public:
  explicit SessionScope(Session& s);
  ~SessionScope();
  SessionScope(const SessionScope&) = delete;
  SessionScope& operator=(const SessionScope&) = delete;

 private:
  Session* previous_session_;
  Console* previous_console_;
};
