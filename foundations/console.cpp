// The console streams of the program and the two primitive reads on which
// every answer, pause and confirmation rests.
#include "console.h"

#include <cstring>

#include <fcntl.h>

namespace {
FILE* g_in = nullptr;
FILE* g_out = nullptr;
int g_dir = AT_FDCWD;
}  // namespace

FILE* con_in() { return g_in ? g_in : stdin; }
FILE* con_out() { return g_out ? g_out : stdout; }

void con_bind(FILE* in, FILE* out) {
  g_in = in;
  g_out = out;
}

int con_dir() { return g_dir; }
void con_bind_dir(int dir) { g_dir = dir; }

int con_getc() {
  std::fflush(con_out());  // the prompt is on the screen before the wait
  const int c = std::fgetc(con_in());
  if (c == EOF) throw EndOfInput{};
  return c;
}

char* con_gets(char* buf, int size) {
  std::fflush(con_out());
  if (size < 2) {  // no room for a character: read nothing, give an empty line
    if (size == 1) buf[0] = '\0';
    return buf;
  }
  if (std::fgets(buf, size, con_in()) == nullptr) throw EndOfInput{};
  return buf;
}
