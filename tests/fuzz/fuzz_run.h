// One whole run of the navigation dialogue for a fuzzer.  The answers are the
// standard input (a stream in memory that counts every read attempted after
// its end was found), the screens go to a stream in memory, and the working
// directory is a fresh temporary directory, removed afterwards.
//
// Each property checked here aborts with a message when it fails, so that
// libFuzzer keeps the input as a finding, as it does for a crash, a
// sanitizer report or a run that outlasts its -timeout.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "dialogue.h"
#include "temp_dir.h"

namespace fuzzrun {

namespace fs = std::filesystem;

const char kClosingLine[] = "\n           --- END ---\n";
const char* const kFileNames[3] = {"dodarivi0r0.txt", "dodarivi0r1.txt",
                                   "dodarivi0r2.txt"};

[[noreturn]] inline void fail(const char* what,
                              const std::string& detail = "") {
  std::fprintf(stderr, "\n*** fuzz property failed: %s\n%s\n", what,
               detail.c_str());
  std::abort();
}

inline void require(bool ok, const char* what, const std::string& detail = "") {
  if (!ok) fail(what, detail);
}

using testsupport::count;
using testsupport::slurp;

inline void put(const fs::path& p, const std::string& content) {
  require(testsupport::put(p, content),
          "cannot write a file of the working directory", p.string());
}

// A fresh temporary directory, removed with everything in it at the end.
using TempDir = testsupport::TempDir;

// Standard input of a run: the answers, then the end of input.  The stream
// is unbuffered, so that every character is read when the dialogue asks for
// it.  With an output budget the input ends early, at the first read after
// the output has grown beyond the budget: every answer at the final menu
// may start some thirty further lunar-distance passes, so an input of a few
// hundred answers could ask for minutes of honest work.  Since the output is
// a function of the input, where the input ends stays a function of it too.
// A program that hangs still never comes back to read, and meets libFuzzer's
// -timeout.
struct Answers {
  const char* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
  const size_t* out_len = nullptr;  // what has been printed so far
  size_t out_budget = 0;            // 0: no budget
  bool ended = false;               // a read has found the end
  bool cut = false;                 // the end came from the budget
  int reads_after_end = 0;          // reads attempted after the end
};

inline ssize_t answers_read(void* cookie, char* buf, size_t n) {
  auto* a = static_cast<Answers*>(cookie);
  if (!a->ended && a->pos < a->size && a->out_budget != 0 &&
      *a->out_len > a->out_budget)
    a->cut = true;
  if (a->ended || a->cut || a->pos >= a->size) {
    if (a->ended) ++a->reads_after_end;
    a->ended = true;
    return 0;
  }
  const size_t k = n < a->size - a->pos ? n : a->size - a->pos;
  std::memcpy(buf, a->data + a->pos, k);
  a->pos += k;
  return static_cast<ssize_t>(k);
}

struct Run {
  int status = -1;
  std::string out;
  bool input_ended = false;  // a read found the end of the input
  bool cut = false;          // ... which came early, from the budget
  int reads_after_end = 0;
};

// The output budget of the fuzzers: three complete runs' worth of screens
// (a complete run prints about 340 KB, its final menu being read once).  The
// work behind a megabyte of screens varies: lunar-distance passes whose time
// does not settle evaluate the Moon ten times each and print little, so that
// 1 MB takes up to some seven seconds under the sanitizers, well within the
// 30 s of -timeout.
constexpr size_t kOutputBudget = size_t{1} << 20;

// One call of run_dialogue on the answers, in dir.
inline Run run(const std::string& answers, const std::string& dir,
               size_t out_budget = 0) {
  char* buf = nullptr;
  size_t len = 0;
  FILE* out = open_memstream(&buf, &len);
  Answers a;
  a.data = answers.data();
  a.size = answers.size();
  a.out_len = &len;
  a.out_budget = out_budget;
  cookie_io_functions_t io{};
  io.read = answers_read;
  FILE* in = fopencookie(&a, "r", io);
  require(in != nullptr && out != nullptr, "cannot open the console streams");
  std::setvbuf(in, nullptr, _IONBF, 0);
  Run r;
  r.status = run_dialogue(in, out, dir.c_str());
  std::fclose(in);
  std::fclose(out);
  r.out.assign(buf, len);
  std::free(buf);
  r.input_ended = a.ended;
  r.cut = a.cut;
  r.reads_after_end = a.reads_after_end;
  return r;
}

// What every run must show, whatever it was given: exit status 0, the
// closing screen exactly once and as the last thing printed, no read after
// the end of input was found, and the caller's working directory back.
inline void check_run(const Run& r, const std::string& cwd_before) {
  require(r.status == 0, "run_dialogue did not return 0");
  const std::string closing = kClosingLine;
  require(r.out.size() >= closing.size() &&
              r.out.compare(r.out.size() - closing.size(), closing.size(),
                            closing) == 0,
          "the output does not end with the closing screen");
  require(count(r.out, "--- END ---") == 1,
          "the closing screen is not printed exactly once");
  require(r.reads_after_end == 0, "standard input read again after its end");
  require(fs::current_path().string() == cwd_before,
          "the working directory was not restored");
}

// ---------------------------------------------------------------------------
// The shape of the files as the program writes them.

inline bool is_int_text(const std::string& t) {
  size_t i = (!t.empty() && t[0] == '-') ? 1 : 0;
  if (i == t.size()) return false;
  for (; i < t.size(); ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  return true;
}

// A real as "%f" prints it: digits, a point and six decimals, or nan / inf.
inline bool is_real_text(const std::string& t) {
  if (t == "nan" || t == "-nan" || t == "inf" || t == "-inf") return true;
  const size_t dot = t.find('.');
  if (dot == std::string::npos || t.size() - dot != 7) return false;
  if (!is_int_text(t.substr(0, dot))) return false;
  for (size_t i = dot + 1; i < t.size(); ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  return true;
}

// A record file as written: 9 lines (the first file 10 after a final save),
// each of numbers of the kinds given, separated by one blank, with or
// without one blank before the line end.  Empty when it is; else what is
// wrong.
inline std::string record_shape_error(const std::string& text, int file) {
  static const char* const kLines[10] = {"iii", "iii", "ir",  "ir", "ii",
                                         "iri", "rr",  "rrr", "rr", "ri"};
  if (text.empty() || text.back() != '\n')
    return "does not end with a line end";
  std::vector<std::string> lines;
  std::istringstream s(text);
  for (std::string l; std::getline(s, l);) lines.push_back(l);
  const size_t n = lines.size();
  if (!(n == 9 || (file == 1 && n == 10)))
    return "has " + std::to_string(n) + " lines";
  for (size_t i = 0; i < n; ++i) {
    std::string l = lines[i];
    if (!l.empty() && l.back() == ' ') l.pop_back();
    std::vector<std::string> tok;
    size_t at = 0;
    for (;;) {
      const size_t sp = l.find(' ', at);
      tok.push_back(l.substr(at, sp - at));
      if (sp == std::string::npos) break;
      at = sp + 1;
    }
    const std::string kinds = kLines[i];
    if (tok.size() != kinds.size())
      return "line " + std::to_string(i + 1) + " '" + lines[i] + "'";
    for (size_t k = 0; k < tok.size(); ++k) {
      const bool ok =
          kinds[k] == 'i' ? is_int_text(tok[k]) : is_real_text(tok[k]);
      if (!ok) return "line " + std::to_string(i + 1) + " '" + lines[i] + "'";
    }
  }
  return "";
}

// The Delta-T table file as the program creates it (from a run on no input
// in a fresh directory).
inline const std::string& default_deltat_table() {
  static const std::string content = [] {
    const TempDir dir("ld_fuzz");
    const std::string cwd = fs::current_path().string();
    const Run r = run("", dir.path());
    check_run(r, cwd);
    const std::string t = slurp(fs::path(dir.path()) / kFileNames[0]);
    require(!t.empty(), "no Delta-T table file from a run on no input");
    return t;
  }();
  return content;
}

// After a run that was given the files `before` (name to content; a name
// that is missing was not there): only the program's three files are left
// (no temporary file of a write), every record file that the program wrote
// is complete, and the Delta-T table file is either the one given, left
// unchanged, or, where none was given, the default one.
inline void check_files(const std::string& dir,
                        const std::map<std::string, std::string>& before) {
  const auto after =
      testsupport::files_of(dir, testsupport::Listing::kEveryEntry);
  for (const auto& [name, content] : after) {
    const bool known =
        name == kFileNames[0] || name == kFileNames[1] || name == kFileNames[2];
    require(known, "a file other than the program's three is left", name);
    const auto given = before.find(name);
    const bool unchanged = given != before.end() && given->second == content;
    if (name == kFileNames[0]) {
      require(unchanged ||
                  (given == before.end() && content == default_deltat_table()),
              "the Delta-T table file was changed", content);
    } else if (!unchanged) {
      const std::string why =
          record_shape_error(content, name == kFileNames[1] ? 1 : 2);
      require(why.empty(), "a record file was written incomplete",
              name + " " + why + ":\n" + content);
    }
  }
}

}  // namespace fuzzrun
