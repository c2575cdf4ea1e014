// The program's text files: reading without waiting, the safe save through a
// temporary file of a name of its own, and removal, all relative to the
// directory descriptor of the program's files.
#include "textio.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstring>

namespace {

textio_test::PauseHook g_pause_hook = nullptr;
textio_test::TempNameHook g_temp_name_hook = nullptr;
textio_test::CreatedHook g_created_hook = nullptr;

// Attempts at a free temporary name before a save gives up.  Each name has
// 36 random bits, so only entries planted under the very names drawn can
// take an attempt.
constexpr int kTempAttempts = 100;
constexpr size_t kMaxName = 256;

// Opens a regular file read-only and non-blocking; -1 for anything else.
// The name is looked at first, so that nothing but a regular file is ever
// opened (opening a pipe would release a program waiting to write to it, and
// opening a device runs whatever its driver does on an open); the look at the
// opened file afterwards catches an entry swapped in between.  A symbolic
// link is followed unless extra_flags holds O_NOFOLLOW.
int open_regular(int dir, const char* name, int extra_flags) {
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
  return fd;
}

// Six characters of [0-9A-Za-z] from random bits: the kernel's, or, where it
// has none to give, the clock and the process number.
void random_suffix(char* out) {
  static const char kChars[] =
      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  uint64_t bits = 0;
  if (getrandom(&bits, sizeof bits, GRND_NONBLOCK) !=
      static_cast<ssize_t>(sizeof bits)) {
    static uint64_t counter = 0;
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    bits = (static_cast<uint64_t>(ts.tv_sec) * 1000000000u +
            static_cast<uint64_t>(ts.tv_nsec)) ^
           (static_cast<uint64_t>(getpid()) << 40) ^
           (++counter * 0x9E3779B97F4A7C15u);
    // splitmix64 finaliser: every input bit reaches every output bit
    bits = (bits ^ (bits >> 30)) * 0xBF58476D1CE4E5B9u;
    bits = (bits ^ (bits >> 27)) * 0x94D049BB133111EBu;
    bits ^= bits >> 31;
  }
  for (int i = 0; i < 6; ++i) {
    out[i] = kChars[bits % 62];
    bits /= 62;
  }
  out[6] = '\0';
}

// Creates the temporary file beside `name` under a name that no entry has:
// "<name>.XXXXXX".  O_EXCL with O_CREAT never opens or follows an existing
// entry, whatever it is (file, link, pipe, directory); such a name is simply
// taken and another one is drawn.  The file gets the permission bits `perm`
// (less the umask).  -1 on failure, with nothing created.
int create_temp(int dir, const char* name, char* tmp, mode_t perm) {
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
    if (g_temp_name_hook == nullptr ||
        !g_temp_name_hook(name, attempt, tmp, kMaxName)) {
      char suffix[7];
      random_suffix(suffix);
      const int n = std::snprintf(tmp, kMaxName, "%s.%s", name, suffix);
      if (n < 0 || static_cast<size_t>(n) >= kMaxName) return -1;
    }
    const int fd = openat(
        dir, tmp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, perm);
    if (fd >= 0) return fd;
    if (errno != EEXIST) return -1;
  }
  return -1;
}

// The permission bits that a file newly created in `dir` gets: those of an
// empty file created there with 0666, to which the kernel applies the umask
// (or the directory's default ACL).  Found this way, and not by setting the
// umask and restoring it, so that a thread that creates a file meanwhile is
// never given a wrong umask.  The probe is an unnamed file where the file
// system has them, else an empty file of a name of its own beside `name`,
// removed at once; being empty it shows nothing to anyone.  False when no
// probe could be made.
bool new_file_perm(int dir, const char* name, mode_t* perm) {
  int fd = openat(dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  char probe[kMaxName] = {};
  if (fd < 0) fd = create_temp(dir, name, probe, 0666);
  if (fd < 0) return false;
  struct stat st;
  const bool ok = fstat(fd, &st) == 0;
  close(fd);
  if (probe[0] != '\0') unlinkat(dir, probe, 0);
  if (ok) *perm = st.st_mode & 0777;
  return ok;
}

// Gives the temporary file the owner and group of the regular file it
// replaces, as far as the system allows: root keeps both, the file's owner
// keeps the owner, a member of the file's group keeps the group (the crew's
// shared folder, whose records stay in their group).  False when neither can
// be kept (the file would pass to someone else, with a group of theirs), or
// when fchown fails for another reason than a missing permission (EPERM) or
// an owner or group that this user namespace cannot name (EINVAL).
bool keep_owner_or_group(int fd, const struct stat& old) {
  const auto cannot_keep = [] { return errno == EPERM || errno == EINVAL; };
  if (fchown(fd, old.st_uid, old.st_gid) == 0) return true;
  if (!cannot_keep()) return false;
  if (fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0) return true;
  if (!cannot_keep()) return false;
  struct stat now;
  return fstat(fd, &now) == 0 && now.st_uid == old.st_uid;
}

bool write_all(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// True when `name` is a regular file (not a link to one) whose content is
// exactly the given bytes.
bool holds(int dir, const char* name, const char* data, size_t size) {
  const int fd = open_regular(dir, name, O_NOFOLLOW);
  if (fd < 0) return false;
  char buf[4096];
  size_t at = 0;
  bool same = true;
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      same = false;
      break;
    }
    if (n == 0) {
      same = (at == size);
      break;
    }
    const size_t got = static_cast<size_t>(n);
    if (got > size - at || std::memcmp(buf, data + at, got) != 0) {
      same = false;
      break;
    }
    at += got;
  }
  close(fd);
  return same;
}

// Moves the temporary file to `name` only when nothing is there: the kernel's
// rename without replacing, or where the file system lacks it a hard link,
// which fails as well when the name exists (EEXIST then).  A file system
// that has neither gets the plain rename, the name having been found free
// just before.
int rename_no_replace(int dir, const char* tmp, const char* name) {
  if (renameat2(dir, tmp, dir, name, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return -1;
  if (linkat(dir, tmp, dir, name, 0) == 0) {
    unlinkat(dir, tmp, 0);
    return 0;
  }
  if (errno != EPERM && errno != ENOTSUP && errno != ENOSYS) return -1;
  return renameat(dir, tmp, dir, name);
}

// Makes the rename itself durable.  Its outcome is not reported: the new
// file is in place already, and some file systems cannot flush a directory.
void sync_directory(int dir) {
  const int fd = openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)fsync(fd);
  close(fd);
}

}  // namespace

FILE* open_for_reading(int dir, const char* name) {
  const int fd = open_regular(dir, name, 0);
  if (fd < 0) return nullptr;
  FILE* f = fdopen(fd, "r");
  if (f == nullptr) close(fd);
  return f;
}

void TextBuffer::printf(const char* format, ...) {
  if (!ok_) return;
  std::va_list args;
  va_start(args, format);
  const int n =
      std::vsnprintf(buf_ + size_, kCapacity + 1 - size_, format, args);
  va_end(args);
  if (n < 0 || static_cast<size_t>(n) > kCapacity - size_) {
    ok_ = false;
    buf_[size_] = '\0';
    return;
  }
  size_ += static_cast<size_t>(n);
}

SaveResult save_file(int dir, const char* name, const char* data, size_t size,
                     SaveMode mode) {
  if (mode == SaveMode::kReplace && faccessat(dir, name, F_OK, 0) == 0 &&
      faccessat(dir, name, W_OK, 0) != 0)
    return SaveResult::kFailed;  // write-protected: left alone
  if (mode == SaveMode::kCreateOnly) {
    struct stat st;
    if (fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) == 0)
      return SaveResult::kUnchanged;
  }

  // The regular file that is replaced, whose owner, group and permission
  // bits the new one takes.  A name that cannot be looked at fails the save
  // rather than give the file a stranger's owner or mode.
  struct stat old;
  bool keep_old = false;
  if (mode == SaveMode::kReplace) {
    if (fstatat(dir, name, &old, AT_SYMLINK_NOFOLLOW) == 0)
      keep_old = S_ISREG(old.st_mode);
    else if (errno != ENOENT)
      return SaveResult::kFailed;
  }

  // Created readable and writable by the user alone, so that no one else
  // can open it while it is written (an open file stays readable whatever
  // its mode becomes), nor read a copy left by a run killed meanwhile.
  char tmp[kMaxName];
  const int fd = create_temp(dir, name, tmp, 0600);
  if (fd < 0) return SaveResult::kFailed;
  if (g_created_hook != nullptr) g_created_hook(dir, tmp);

  // The temporary file was made first, so an unchanged file is only left
  // as it is where the save could have replaced it.
  if (mode == SaveMode::kReplace && holds(dir, name, data, size)) {
    close(fd);
    unlinkat(dir, tmp, 0);
    return SaveResult::kUnchanged;
  }

  // The final permission bits go on before the data are flushed, so that
  // the flush makes them durable with the data.
  mode_t perm = keep_old ? old.st_mode & 0777 : 0;
  bool ok = keep_old || new_file_perm(dir, name, &perm);
  ok = ok && write_all(fd, data, size);
  if (ok && keep_old) ok = keep_owner_or_group(fd, old);
  ok = ok && fchmod(fd, perm) == 0;
  ok = ok && fsync(fd) == 0;
  ok = (close(fd) == 0) && ok;
  if (ok && g_pause_hook != nullptr) g_pause_hook(name);
  if (ok) {
    if (mode == SaveMode::kReplace) {
      ok = renameat(dir, tmp, dir, name) == 0;
    } else if (rename_no_replace(dir, tmp, name) != 0) {
      const bool exists = errno == EEXIST;
      unlinkat(dir, tmp, 0);
      return exists ? SaveResult::kUnchanged : SaveResult::kFailed;
    }
  }
  if (!ok) {
    unlinkat(dir, tmp, 0);
    return SaveResult::kFailed;
  }
  sync_directory(dir);
  return SaveResult::kWritten;
}

bool remove_entry(int dir, const char* name) {
  if (unlinkat(dir, name, 0) == 0) return true;
  return errno == EISDIR && unlinkat(dir, name, AT_REMOVEDIR) == 0;
}

namespace textio_test {
void set_pause_hook(PauseHook hook) { g_pause_hook = hook; }
void set_temp_name_hook(TempNameHook hook) { g_temp_name_hook = hook; }
void set_created_hook(CreatedHook hook) { g_created_hook = hook; }
}  // namespace textio_test
