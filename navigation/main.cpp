// The program: the navigation dialogue on the standard streams, with its
// files in the working directory.
//
// The Moon's series works in about 1.15 MB of automatic storage, so the
// dialogue runs on a thread whose stack is reserved for it (8 MB), whatever
// the stack limit the process was started with.
#include <pthread.h>

#include <cstdio>

#include "dialogue.h"

namespace {

// Runs the dialogue; its exit status goes into the int pointed to.
void* dialogue_thread(void* status) {
  *static_cast<int*>(status) = run_dialogue(stdin, stdout, ".");
  return nullptr;
}

}  // namespace

int main() {
  pthread_attr_t attr;
  pthread_t thread;
  int status = 0;
  if (pthread_attr_init(&attr) == 0 &&
      pthread_attr_setstacksize(&attr, 8u << 20) == 0 &&
      pthread_create(&thread, &attr, dialogue_thread, &status) == 0) {
    pthread_join(thread, nullptr);
    return status;
  }
  return run_dialogue(stdin, stdout, ".");  // on the main thread's own stack
}
