// The program: the navigation dialogue on the standard streams, with its
// files in the working directory.
#include <cstdio>

#include "dialogue.h"

int main() { return run_dialogue(stdin, stdout, "."); }
