// Opening a regular file of the program's directory, and only a regular
// file, for both the reading and the saving of its text files.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

// Opens a regular file read-only and non-blocking; -1 for anything else.
// The name is looked at first, so that nothing but a regular file is ever
// opened (opening a pipe would release a program waiting to write to it, and
// opening a device runs whatever its driver does on an open); the look at the
// opened file afterwards catches an entry swapped in between.  A symbolic
// link is followed unless extra_flags holds O_NOFOLLOW.  *opened, when
// given, gets the status of the file opened.
inline int open_regular(int dir, const char* name, int extra_flags,
                        struct stat* opened = nullptr) {
  struct stat st;
  const int at_flags =
      (extra_flags & O_NOFOLLOW) != 0 ? AT_SYMLINK_NOFOLLOW : 0;
  if (fstatat(dir, name, &st, at_flags) != 0) return -1;
  if (!S_ISREG(st.st_mode)) {
    errno = EINVAL;
    return -1;
  }
  const int fd =
      openat(dir, name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | extra_flags);
  if (fd < 0) return -1;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    errno = EINVAL;
    return -1;
  }
  if (opened != nullptr) *opened = st;
  return fd;
}
