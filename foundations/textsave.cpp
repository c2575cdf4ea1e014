// The save of a text file: a temporary file of a name of its own beside it,
// given the owner, group, permission bits and access ACL of the file it
// replaces before the text goes into it, flushed, and renamed over the file
// in one step.
#include <fcntl.h>
#include <linux/posix_acl.h>
#include <linux/posix_acl_xattr.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "regularfile.h"
#include "textio.h"

namespace {

textio_test::PauseHook g_pause_hook = nullptr;
textio_test::TempNameHook g_temp_name_hook = nullptr;
textio_test::CreatedHook g_created_hook = nullptr;
textio_test::WritingHook g_writing_hook = nullptr;

// Attempts at a free temporary name before a save gives up.  Each name has
// 36 random bits, so only entries planted under the very names drawn can
// take an attempt.
constexpr int kTempAttempts = 100;
constexpr size_t kMaxName = 256;

// Closes a descriptor when it goes out of scope (-1: none).
class OwnedFd {
 public:
  explicit OwnedFd(int fd) : fd_(fd) {}
  OwnedFd(const OwnedFd&) = delete;
  OwnedFd& operator=(const OwnedFd&) = delete;
  ~OwnedFd() {
    if (fd_ >= 0) close(fd_);
  }

 private:
  int fd_;
};

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
// shared folder, whose records stay in their group).  *group_kept tells
// whether the file's group is the old one.  False when neither can be kept
// (the file would pass to someone else, with a group of theirs), or when
// fchown fails for another reason than a missing permission (EPERM) or an
// owner or group that this user namespace cannot name (EINVAL).
bool keep_owner_or_group(int fd, const struct stat& old, bool* group_kept) {
  const auto cannot_keep = [] { return errno == EPERM || errno == EINVAL; };
  if (fchown(fd, old.st_uid, old.st_gid) != 0) {
    if (!cannot_keep()) return false;
    if (fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0 && !cannot_keep())
      return false;
  }
  struct stat now;
  if (fstat(fd, &now) != 0) return false;
  *group_kept = now.st_gid == old.st_gid;
  return *group_kept || now.st_uid == old.st_uid;
}

// The access ACL of a file, the extended attribute that grants named users
// and groups their access beside the permission bits.
constexpr char kAccessAcl[] = "system.posix_acl_access";

// The access ACL of the open file fd, as the bytes of its attribute: empty
// when the file has none or its file system has no ACLs.  False when it
// could not be read.
bool read_access_acl(int fd, std::vector<char>* acl) {
  acl->clear();
  for (int attempt = 0; attempt < 3; ++attempt) {
    const ssize_t n = fgetxattr(fd, kAccessAcl, nullptr, 0);
    if (n < 0) return errno == ENODATA || errno == ENOTSUP;
    acl->resize(static_cast<size_t>(n) + 1);  // never a buffer of size 0
    const ssize_t got = fgetxattr(fd, kAccessAcl, acl->data(), acl->size());
    if (got >= 0) {
      acl->resize(static_cast<size_t>(got));
      return true;
    }
    if (errno == ENODATA) {  // removed meanwhile
      acl->clear();
      return true;
    }
    if (errno != ERANGE) return false;  // ERANGE: it grew meanwhile
  }
  return false;
}

// Takes every permission from the owning group's entry of an access ACL, so
// that a group other than the file's old one gains nothing from it; the
// named users and groups keep theirs.  False when the bytes are not an ACL
// of the version known here, which then cannot be copied safely.
bool clear_owning_group(std::vector<char>* acl) {
  const auto le16 = [&](size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>((*acl)[at])) |
           static_cast<unsigned>(static_cast<unsigned char>((*acl)[at + 1]))
               << 8;
  };
  constexpr size_t kHeader = sizeof(posix_acl_xattr_header);
  constexpr size_t kEntry = sizeof(posix_acl_xattr_entry);
  if (acl->size() < kHeader || (acl->size() - kHeader) % kEntry != 0 ||
      le16(0) != POSIX_ACL_XATTR_VERSION || le16(2) != 0)
    return false;
  for (size_t at = kHeader; at < acl->size(); at += kEntry)
    if (le16(at) == ACL_GROUP_OBJ) (*acl)[at + 2] = (*acl)[at + 3] = 0;
  return true;
}

// Gives the temporary file its final permission bits and access ACL, before
// anything is written into it.  Where the file it replaces has an ACL,
// setting that ACL sets the permission bits too (the owner's from its owner
// entry, the group's from its mask, the others' from its other entry), so no
// fchmod follows: it would set the mask from `perm` and could take away the
// access of the named users.  Otherwise an ACL that the directory's default
// ACL gave the temporary file is removed first, while its mask still grants
// nothing (the file was created 0600), and only then are the bits set: in
// the other order the users that the default ACL names could open the file
// in between.  A new file (`replaces` false) keeps what any file newly
// created there gets, default ACL included.  A file system without ACLs has
// none to copy or remove; where the ACL of the file that a link leads to
// cannot be set on the new file (its directory lies on such a file system),
// the save fails, since the bits alone would give the owning group the
// access of the mask.
bool set_access(int fd, mode_t perm, const std::vector<char>& acl,
                bool replaces) {
  if (!acl.empty())
    return fsetxattr(fd, kAccessAcl, acl.data(), acl.size(), 0) == 0;
  if (replaces && fremovexattr(fd, kAccessAcl) != 0 && errno != ENODATA &&
      errno != ENOTSUP)
    return false;
  return fchmod(fd, perm) == 0;
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

// True when the open file fd, read from its start, holds exactly the given
// bytes.
bool holds(int fd, const char* data, size_t size) {
  char buf[4096];
  size_t at = 0;
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0 && at == size;
    const size_t got = static_cast<size_t>(n);
    if (got > size - at || std::memcmp(buf, data + at, got) != 0) return false;
    at += got;
  }
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

  // The regular file that is replaced, opened, whose owner, group,
  // permission bits and access ACL the new one takes.  A symbolic link to a
  // regular file is replaced like the file it leads to, so that a record
  // kept in a private file does not become one that anyone may read; the
  // file it leads to is only read, never written.  A name that cannot be
  // looked at, or a regular file that cannot be opened for reading (whose
  // ACL cannot be read), fails the save rather than give the file a
  // stranger's owner or give anyone more access than they had.
  struct stat old;
  int old_fd = -1;
  bool replaces_link = false;
  if (mode == SaveMode::kReplace) {
    struct stat target;
    if (fstatat(dir, name, &old, AT_SYMLINK_NOFOLLOW) == 0) {
      if (S_ISREG(old.st_mode)) {
        old_fd = open_regular(dir, name, O_NOFOLLOW, &old);
        if (old_fd < 0) return SaveResult::kFailed;
      } else if (S_ISLNK(old.st_mode) && fstatat(dir, name, &target, 0) == 0 &&
                 S_ISREG(target.st_mode)) {
        old_fd = open_regular(dir, name, 0, &old);
        if (old_fd < 0) return SaveResult::kFailed;
        replaces_link = true;
      }
    } else if (errno != ENOENT) {
      return SaveResult::kFailed;
    }
  }
  const OwnedFd old_file(old_fd);
  const bool keep_old = old_fd >= 0;
  std::vector<char> acl;
  if (keep_old && !read_access_acl(old_fd, &acl)) return SaveResult::kFailed;

  // Created readable and writable by the user alone, so that no one else
  // can open it before it has its final access (an open file stays readable
  // whatever its access becomes).
  char tmp[kMaxName];
  const int fd = create_temp(dir, name, tmp, 0600);
  if (fd < 0) return SaveResult::kFailed;
  if (g_created_hook != nullptr) g_created_hook(dir, tmp);

  // The temporary file was made first, so an unchanged file is only left
  // as it is where the save could have replaced it.  A link is replaced by
  // a file of its own whatever the file it leads to holds.
  if (keep_old && !replaces_link && holds(old_fd, data, size)) {
    close(fd);
    unlinkat(dir, tmp, 0);
    return SaveResult::kUnchanged;
  }

  // The file takes its final owner, group, permission bits and ACL before
  // the first byte of the record goes into it: whoever can open it from
  // then on may read the saved file too, so a descriptor opened early gains
  // nothing.  Where the old group cannot be kept, the group that the file
  // has now gets no access.
  mode_t perm = keep_old ? old.st_mode & 0777 : 0;
  bool ok = keep_old || new_file_perm(dir, name, &perm);
  if (ok && keep_old) {
    bool group_kept = false;
    ok = keep_owner_or_group(fd, old, &group_kept);
    if (ok && !group_kept) {
      perm &= ~static_cast<mode_t>(070);
      ok = acl.empty() || clear_owning_group(&acl);
    }
  }
  ok = ok && set_access(fd, perm, acl, keep_old);
  if (ok && g_writing_hook != nullptr) g_writing_hook(dir, tmp);
  ok = ok && write_all(fd, data, size);
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

namespace textio_test {
void set_pause_hook(PauseHook hook) { g_pause_hook = hook; }
void set_temp_name_hook(TempNameHook hook) { g_temp_name_hook = hook; }
void set_created_hook(CreatedHook hook) { g_created_hook = hook; }
void set_writing_hook(WritingHook hook) { g_writing_hook = hook; }
}  // namespace textio_test
