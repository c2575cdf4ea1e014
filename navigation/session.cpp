// The session current on each thread.
#include "session.h"

namespace {
thread_local Session t_own;                 // the thread's own session
thread_local Session* t_current = nullptr;  // nullptr: the thread's own
}  // namespace

Session& session() { return t_current ? *t_current : t_own; }

SessionScope::SessionScope(Session& s)
    : previous_session_(t_current), previous_console_(con_use(&s.console)) {
  t_current = &s;
}

SessionScope::~SessionScope() {
  t_current = previous_session_;
  con_use(previous_console_);
}
