// The console streams of the program and the two primitive reads on which
// every answer, pause and confirmation rests.
#include "console.h"

namespace {
thread_local Console t_own;                 // the thread's own console
thread_local Console* t_current = nullptr;  // nullptr: the thread's own

Console& current() { return t_current ? *t_current : t_own; }
}  // namespace

Console* con_use(Console* c) {
  Console* const previous = t_current;
  t_current = c;
  return previous;
}

FILE* con_in() {
  FILE* const in = current().in;
  return in ? in : stdin;
}

FILE* con_out() {
  FILE* const out = current().out;
  return out ? out : stdout;
}

void con_bind(FILE* in, FILE* out) {
  current().in = in;
  current().out = out;
}

int con_dir() { return current().dir; }
void con_bind_dir(int dir) { current().dir = dir; }

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
