// Test helper: runs a part of a test under an unprivileged user, so that file
// permissions bind it.  Run as root (as CI runs), the part runs in a child
// process that has become the user nobody, in a directory given to nobody
// first; run as any other user, it runs in the test process itself.  The
// part uses the usual EXPECT and ASSERT macros: in the child, a failure is
// printed there and reported back through the child's exit status.
//
// run_as runs a part as any user, group and supplementary groups (root
// only), for the cases that need two users or a shared group.
#pragma once

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

namespace ldtest {

constexpr uid_t kNobodyUid = 65534;
constexpr gid_t kNobodyGid = 65534;

// Who a part runs as: its user, its group and its supplementary groups.
struct Identity {
  uid_t uid = kNobodyUid;
  gid_t gid = kNobodyGid;
  std::vector<gid_t> groups;
};

// Runs the part in a child process that has become `who` (the caller must
// be root).  False when the child could not become `who` (the part did not
// run: the caller skips the test); true otherwise, the part's failures
// having been recorded as failures of the calling test.
inline bool run_as(const Identity& who, const std::function<void()>& part) {
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    if (setgroups(who.groups.size(), who.groups.data()) != 0 ||
        setgid(who.gid) != 0 || setuid(who.uid) != 0)
      _exit(126);
    part();
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int st = 0;
  if (waitpid(pid, &st, 0) != pid) return false;
  if (WIFEXITED(st) && WEXITSTATUS(st) == 126) return false;
  EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0)
      << "the part run as uid " << who.uid
      << " failed (its failures are printed above)";
  return true;
}

inline bool run_as_nobody(const std::filesystem::path& dir,
                          const std::function<void()>& part) {
  if (geteuid() != 0) {
    part();
    return true;
  }
  // The directory and all in it become nobody's, links themselves included.
  std::error_code ec;
  if (lchown(dir.c_str(), kNobodyUid, kNobodyGid) != 0) return false;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir, ec))
    if (lchown(e.path().c_str(), kNobodyUid, kNobodyGid) != 0) return false;
  return run_as(Identity{}, part);
}

inline const char kNoNobody[] =
    "the test could not become the user nobody (uid 65534), which it needs to be bound by "
    "file permissions when it runs as root";

}  // namespace ldtest
