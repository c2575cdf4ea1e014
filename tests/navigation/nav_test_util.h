// Test helpers of the navigation dialogue: the console bound to streams in
// memory, a fresh temporary working directory per test, and small file
// helpers.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "console.h"

namespace navtest {

namespace fs = std::filesystem;

// Binds the console to an input stream in memory (fmemopen) holding the
// given answers and an output stream in memory (open_memstream).
class MemConsole {
 public:
  explicit MemConsole(const std::string& input = "") : input_(input) {
    // fmemopen needs a buffer of at least one byte; an empty input is a
    // stream that is at its end at once.
    if (input_.empty()) {
      in_ = std::fopen("/dev/null", "r");
    } else {
      in_ = fmemopen(input_.data(), input_.size(), "r");
    }
    out_ = open_memstream(&buf_, &len_);
    con_bind(in_, out_);
  }
  ~MemConsole() {
    con_bind(nullptr, nullptr);
    std::fclose(in_);
    std::fclose(out_);
    std::free(buf_);
  }
  MemConsole(const MemConsole&) = delete;
  MemConsole& operator=(const MemConsole&) = delete;

  FILE* in() const { return in_; }
  FILE* out() const { return out_; }

  // Everything printed so far.
  std::string output() {
    std::fflush(out_);
    return std::string(buf_, len_);
  }
  // What is left of the input, unread.
  std::string unread() {
    std::string s;
    for (int c = std::fgetc(in_); c != EOF; c = std::fgetc(in_))
      s.push_back(static_cast<char>(c));
    return s;
  }

 private:
  std::string input_;
  FILE* in_ = nullptr;
  FILE* out_ = nullptr;
  char* buf_ = nullptr;
  size_t len_ = 0;
};

// Every test of this fixture runs in a fresh temporary directory.
class InTempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = fs::current_path();
    std::string tmpl = (fs::temp_directory_path() / "ld_nav_XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(home_);
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    for (const auto& e : fs::recursive_directory_iterator(dir_, ec))
      fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add,
                      ec);
    fs::remove_all(dir_, ec);
  }
  fs::path home_;
  fs::path dir_;
};

inline std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void put(const fs::path& p, const std::string& content) {
  std::ofstream out(p, std::ios::binary);
  out << content;
}

// Number of times needle occurs in hay.
inline int count(const std::string& hay, const std::string& needle) {
  int n = 0;
  for (size_t at = hay.find(needle); at != std::string::npos;
       at = hay.find(needle, at + needle.size()))
    ++n;
  return n;
}

}  // namespace navtest
