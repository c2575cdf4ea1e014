// The program: the navigation dialogue on the standard streams, with its
// files in the working directory.
//
// The Moon's series works in about 1.15 MB of automatic storage, so the
// dialogue runs on a thread whose stack is reserved for it (8 MB), whatever
// the stack limit the process was started with.  When that thread cannot be
// had (no memory for its stack, no thread left to the user), the run ends
// at once with a message on standard error, before any file is touched: the
// main thread's stack may be too small for the series.
//
// A limit on the size of files (SIGXFSZ) is ignored as a signal, so that a
// save beyond it fails as any other failed save does: reported, with the
// old file kept.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <cstring>

#include "dialogue.h"

namespace {

constexpr size_t kDialogueStack = 8u << 20;

// Runs the dialogue; its exit status goes into the int pointed to.
void* dialogue_thread(void* status) {
  *static_cast<int*>(status) = run_dialogue(stdin, stdout, ".");
  return nullptr;
}

}  // namespace

int main() {
  signal(SIGXFSZ, SIG_IGN);
  pthread_attr_t attr;
  pthread_t thread;
  int status = 0;
  int err = pthread_attr_init(&attr);
  if (err == 0) err = pthread_attr_setstacksize(&attr, kDialogueStack);
  if (err == 0) err = pthread_create(&thread, &attr, dialogue_thread, &status);
  if (err != 0) {
    std::fprintf(stderr,
                 "veldramont: the dialogue cannot start: no thread with a "
                 "stack of 8 MB could be created (%s)\n",
                 std::strerror(err));
    return 1;
  }
  pthread_join(thread, nullptr);
  return status;
}
