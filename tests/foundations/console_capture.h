// Test helper: binds the console to a temporary input stream holding given
// text and a temporary output stream, and gives back what was printed.
#pragma once
#include <cstdio>
#include <string>

#include "console.h"

class ConsoleCapture {
 public:
  explicit ConsoleCapture(const std::string& input = "") {
    in_ = std::tmpfile();
    out_ = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in_);
    std::rewind(in_);
    con_bind(in_, out_);
  }
  ~ConsoleCapture() {
    con_bind(nullptr, nullptr);
    std::fclose(in_);
    std::fclose(out_);
  }
  ConsoleCapture(const ConsoleCapture&) = delete;
  ConsoleCapture& operator=(const ConsoleCapture&) = delete;

  // Everything printed so far.
  std::string output() {
    std::fflush(out_);
    const long pos = std::ftell(out_);
    std::string s(static_cast<size_t>(pos), '\0');
    std::rewind(out_);
    const size_t got = std::fread(s.data(), 1, s.size(), out_);
    s.resize(got);
    std::fseek(out_, 0, SEEK_END);
    return s;
  }
  // What is left of the input, unread.
  std::string unread() {
    std::string s;
    for (int c = std::fgetc(in_); c != EOF; c = std::fgetc(in_)) s.push_back(static_cast<char>(c));
    return s;
  }

 private:
  FILE* in_;
  FILE* out_;
};
