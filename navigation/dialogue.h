// The navigation dialogue: the whole interactive run of the program, from the
// title screen to the closing screen, on the given console streams, with the
// Delta-T table and the two observation record files kept in the directory
// workdir.  The run has a session of its own (session.h): what its console
// routines keep does not outlive it.  Returns the exit status: 0 after the
// closing screen (also when standard input ends before it), 1 when workdir
// cannot be opened as a directory (one line is printed, nothing else is
// done).
#pragma once
#include <cstdio>

int run_dialogue(FILE* in, FILE* out, const char* workdir);
