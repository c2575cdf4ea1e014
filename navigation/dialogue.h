// The navigation dialogue: the whole interactive run of the program, from the
// title screen to the closing screen, on the given console streams and in the
// given working directory (where the Delta-T table and the two observation
// record files are kept).  Returns the exit status, always 0.
#pragma once
#include <cstdio>

int run_dialogue(FILE* in, FILE* out, const char* workdir);
