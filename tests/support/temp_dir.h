// Test helpers: fresh temporary directories, and the small file reads and
// writes that tests make in them.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace testsupport {

namespace fs = std::filesystem;

// A fresh directory under the temporary directory (TMPDIR, else /tmp), named
// stem_XXXXXX; the process aborts when none can be made.
inline fs::path make_temp_dir(const char* stem) {
  std::string tmpl =
      (fs::temp_directory_path() / (std::string(stem) + "_XXXXXX")).string();
  if (mkdtemp(tmpl.data()) == nullptr) {
    std::fprintf(stderr, "cannot make a temporary directory %s\n",
                 tmpl.c_str());
    std::abort();
  }
  return tmpl;
}

// Removes a directory with everything in it; its owner is given every
// permission on it and on the directories within first, so that parts made
// read-only by a test go too.
inline void remove_tree(const fs::path& dir) {
  std::error_code ec;
  fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
  for (const auto& e : fs::recursive_directory_iterator(dir, ec))
    if (e.is_directory(ec))
      fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add,
                      ec);
  fs::remove_all(dir, ec);
}

// A fresh temporary directory for the life of the object.
class TempDir {
 public:
  explicit TempDir(const char* stem = "ld_test") : path_(make_temp_dir(stem)) {}
  ~TempDir() { remove_tree(path_); }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// A fresh temporary directory that is the process's working directory for
// the life of the object; the working directory before it is restored.
class WorkInTempDir {
 public:
  explicit WorkInTempDir(const char* stem = "ld_test")
      : home_(fs::current_path()), dir_(stem) {
    fs::current_path(dir_.path());
  }
  ~WorkInTempDir() { fs::current_path(home_); }
  WorkInTempDir(const WorkInTempDir&) = delete;
  WorkInTempDir& operator=(const WorkInTempDir&) = delete;
  const fs::path& home() const { return home_; }
  const fs::path& path() const { return dir_.path(); }

 private:
  fs::path home_;
  TempDir dir_;  // removed after the working directory is restored
};

// The whole content of a file (empty when it cannot be read).
inline std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Writes a file with the given content; false when that fails.
inline bool put(const fs::path& p, const std::string& content) {
  std::ofstream out(p, std::ios::binary);
  out << content;
  out.close();
  return static_cast<bool>(out);
}

// What a listing of a directory holds: its regular files, or every entry.
enum class Listing { kRegularFiles, kEveryEntry };

// The entries of a directory by name, with the contents of its regular
// files; with kEveryEntry any other entry (a directory, a pipe, a link to
// nothing) is listed too, with an empty content.
inline std::map<std::string, std::string> files_of(
    const fs::path& dir, Listing listing = Listing::kRegularFiles) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec)) {
    if (e.is_regular_file())
      files[e.path().filename().string()] = slurp(e.path());
    else if (listing == Listing::kEveryEntry)
      files.emplace(e.path().filename().string(), std::string());
  }
  return files;
}

// Number of times needle occurs in hay, without overlaps.
inline int count(const std::string& hay, const std::string& needle) {
  int n = 0;
  for (size_t at = hay.find(needle); at != std::string::npos;
       at = hay.find(needle, at + needle.size()))
    ++n;
  return n;
}

}  // namespace testsupport
