// The program's text files: reading without waiting, the text of a file to
// be saved, and removal, all relative to the directory descriptor of the
// program's files.  The save itself is in textsave.cpp.
#include "textio.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>

#include "regularfile.h"

namespace {

textio_test::ReadFaultHook g_read_fault_hook = nullptr;

// A file whose reads fail with EIO once `left` more bytes were read, for the
// read fault hook: a disk that fails in the middle of a file.
struct FailingRead {
  int fd;
  size_t left;
};

ssize_t failing_read(void* cookie, char* buf, size_t size) {
  auto* r = static_cast<FailingRead*>(cookie);
  if (r->left == 0) {
    errno = EIO;
    return -1;
  }
  const ssize_t n = read(r->fd, buf, size < r->left ? size : r->left);
  if (n > 0) r->left -= static_cast<size_t>(n);
  return n;
}

int failing_close(void* cookie) {
  auto* r = static_cast<FailingRead*>(cookie);
  const int rc = close(r->fd);
  delete r;
  return rc;
}

FILE* open_failing(int fd, size_t after) {
  auto* r = new FailingRead{fd, after};
  cookie_io_functions_t io{};
  io.read = failing_read;
  io.close = failing_close;
  FILE* f = fopencookie(r, "r", io);
  if (f == nullptr) delete r;
  return f;
}

}  // namespace

FILE* open_for_reading(int dir, const char* name) {
  const int fd = open_regular(dir, name, 0);
  if (fd < 0) return nullptr;
  size_t after = 0;
  FILE* f = g_read_fault_hook != nullptr && g_read_fault_hook(name, &after)
                ? open_failing(fd, after)
                : fdopen(fd, "r");
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

bool remove_entry(int dir, const char* name) {
  if (unlinkat(dir, name, 0) == 0) return true;
  return errno == EISDIR && unlinkat(dir, name, AT_REMOVEDIR) == 0;
}

namespace textio_test {
void set_read_fault_hook(ReadFaultHook hook) { g_read_fault_hook = hook; }
}  // namespace textio_test
