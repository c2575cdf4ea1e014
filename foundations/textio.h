// The program's text files: opening one for reading without ever waiting,
// saving one so that it is never left half written or mixed with another
// save, and removing one.  Every routine takes the directory that holds the
// files as a descriptor (con_dir(), or AT_FDCWD for the working directory)
// and names the file relative to it, so nothing here depends on the
// process's working directory.
#pragma once

#include <cstddef>
#include <cstdio>

// Opens the file `name` of directory `dir` for reading.  Only a regular file
// is opened: for a directory, a pipe or a device under the name it gives
// nullptr with errno EINVAL without opening it, so it never waits (opening a
// pipe that no program writes to would wait for ever) and never sets off
// what opening a pipe or a device does.  A symbolic link is followed.
// nullptr with the errno of the failure when the file cannot be opened
// (ENOENT when there is none, also for a link that leads nowhere).
FILE* open_for_reading(int dir, const char* name);

// A text of at most kCapacity characters built with printf formats, the
// content of a file to be saved.  A text that would not fit is marked as
// failed (ok() false) and is never saved.
class TextBuffer {
 public:
  static constexpr size_t kCapacity = 8192;

  // Appends the formatted text, as fprintf would write it.
  void printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

  bool ok() const { return ok_; }
  const char* data() const { return buf_; }
  size_t size() const { return size_; }

 private:
  char buf_[kCapacity + 1] = {};
  size_t size_ = 0;
  bool ok_ = true;
};

enum class SaveMode {
  // The file gets the new content, whatever it held.  A file that may not
  // be written (write-protected) is left alone and the save fails.  A
  // regular file that already holds exactly the new content is not
  // rewritten.
  kReplace,
  // The file is created only when there is nothing under its name; an
  // existing file (or anything else under the name) is never replaced.
  kCreateOnly,
};

enum class SaveResult {
  kWritten,    // the file now holds the new content
  kUnchanged,  // nothing was written: the file already holds that content
               // (kReplace), or something exists under the name (kCreateOnly)
  kFailed,     // nothing was changed: the old file is exactly as it was
};

// Saves `size` bytes as the file `name` of directory `dir`.  The bytes go
// into a new temporary file beside it, created under a name of its own that
// no existing entry has (nothing under another name is ever followed, opened
// or truncated) and readable by the user alone until it has its final
// access.  Before the first byte goes into it, it is given the owner, group,
// permission bits and access ACL of the regular file it replaces (a new
// file the permission bits of a newly created file, 0666 less the umask),
// so that no one who may not read the saved file can open it meanwhile.  It
// is then flushed to the disk and renamed over the file in one step; the
// directory is flushed too.  So the file holds, at every moment and after a
// crash, either its old content or the complete new one, also when several
// programs save it at once.  Any failure removes the temporary file and
// leaves the old file as it was.  A symbolic link under the name is
// replaced by the file, never written through; a link to a regular file
// gives the new file the access of the file it leads to, by the rules
// below, and is replaced even where that file holds the new content.  A
// second hard link of the file keeps the old content.
//
// The owner and the group are kept as far as the system allows: root keeps
// both, the file's owner the owner, a member of the file's group the group.
// Where the group cannot be kept, the group that the file passes to gets no
// access: its permission bits, and the owning group's entry of an ACL, are
// cleared.  A file of which neither can be kept (a user who is neither its
// owner nor in its group, writing a file that others may write) is not
// saved: a rename would hand it to that user, and writing it in place could
// leave it truncated.  Nor is a file saved whose name cannot be looked at
// (other than for being missing), a regular file that cannot be opened for
// reading (its ACL cannot be read), or one whose ACL cannot be copied.  The
// ACL is copied as the bytes of its extended attribute; an old file without
// one gives the new file none, also where the directory's default ACL would
// give a new file one, and a file system without ACLs has none to copy.
SaveResult save_file(int dir, const char* name, const char* data, size_t size,
                     SaveMode mode);

// Removes the entry `name` of directory `dir`, as remove() does: a file, or
// an empty directory.  False when nothing was removed (also when there is
// no such entry).
bool remove_entry(int dir, const char* name);

// For tests only: points at which a test can step into a save or a read.
namespace textio_test {

// Called by every save that writes, once its temporary file is complete and
// flushed and before it is renamed over the file; `name` is the file's name.
// A test pauses there to make two saves overlap at a moment of its choice.
using PauseHook = void (*)(const char* name);
void set_pause_hook(PauseHook hook);

// Asked for the name of the temporary file at each attempt (0, 1, ...):
// true with a name written to `out` (at most `size` bytes with its
// terminating NUL) to try that name, false to let the save choose one.  A
// test plants entries under the names it gives.
using TempNameHook = bool (*)(const char* name, int attempt, char* out,
                              size_t size);
void set_temp_name_hook(TempNameHook hook);

// Called by every save once its temporary file `tmp` of directory `dir` is
// created, before anything is written into it.  A test looks at the file
// there as others could.
using CreatedHook = void (*)(int dir, const char* tmp);
void set_created_hook(CreatedHook hook);

// Called by every save that writes, once its temporary file `tmp` of
// directory `dir` has its final owner, group, permission bits and ACL and
// just before the first byte is written into it.  A test compares the
// file's access there with the saved file's.
using WritingHook = void (*)(int dir, const char* tmp);
void set_writing_hook(WritingHook hook);

// Asked by every open_for_reading with the file's name: true with a number
// of bytes in *after to make the reads of that file fail with EIO once that
// many bytes were read (a disk that fails in the middle of a file), false to
// read it as it is.
using ReadFaultHook = bool (*)(const char* name, size_t* after);
void set_read_fault_hook(ReadFaultHook hook);

}  // namespace textio_test
