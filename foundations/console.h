// The text console of the program: the stream the answers come from and the
// stream the screens and messages go to.  Every routine that prints or reads
// goes through these, so that the whole dialogue can run on any pair of
// streams (a terminal, a pipe, a file or a buffer in memory).
#pragma once
#include <cstdio>

// The streams in use; standard input and output until con_bind is called.
FILE* con_in();
FILE* con_out();
void con_bind(FILE* in, FILE* out);

// The directory that holds the program's files (the Delta-T table and the
// two observation records), as a descriptor for the *at() calls: the working
// directory (AT_FDCWD) until con_bind_dir is called.
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
