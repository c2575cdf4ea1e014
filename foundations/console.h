// The text console of the program: the stream the answers come from, the
// stream the screens and messages go to, and the directory that holds the
// program's files.  Every routine that prints, reads or opens a file goes
// through these, so that the whole dialogue can run on any pair of streams
// (a terminal, a pipe, a file or a buffer in memory) and in any directory,
// without changing the process's working directory.
//
// The console in use belongs to the calling thread: the one made current by
// con_use (a run of the dialogue makes its own current for its whole run),
// or else a console of the thread itself, on standard input and output and
// the working directory until con_bind and con_bind_dir change it.  So two
// runs on two threads never share a console.
#pragma once
#include <fcntl.h>

#include <cstdio>

struct Console {
  FILE* in = nullptr;   // nullptr: standard input
  FILE* out = nullptr;  // nullptr: standard output
  int dir = AT_FDCWD;   // a directory descriptor for the *at() calls
};

// Makes c the console of the calling thread (nullptr: the thread's own) and
// returns the one it replaces, for the caller to restore.
Console* con_use(Console* c);

// The streams of the console in use, and binding others to it.
FILE* con_in();
FILE* con_out();
void con_bind(FILE* in, FILE* out);

// The directory that holds the program's files (the Delta-T table and the
// two observation records), as a descriptor for the *at() calls, and binding
// another to the console in use.
int con_dir();
void con_bind_dir(int dir);

// Thrown by the reading routines when standard input has ended: a read that
// finds no character at all.  The dialogue catches it and ends the run.
struct EndOfInput {};

// One character from the console; throws EndOfInput at end of input.
int con_getc();

// One line of at most size - 1 characters (fgets); throws EndOfInput when
// not a single character could be read.
char* con_gets(char* buf, int size);
