// The observation record files: reading them as a stream of numbers, and
// writing them so that a file is never left half written.
#include "records.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "console.h"

const char kRecordFile1[] = "dodarivi0r1.txt";
const char kRecordFile2[] = "dodarivi0r2.txt";

obsrec builtin_obs1() {
  obsrec r;
  r.year = 2017;
  r.month = 6;
  r.day = 17;
  r.hour = 3;
  r.minute = 57;
  r.second = 14;
  r.lat_deg = 44;
  r.lat_min = 46.99;
  r.lon_deg = -17;
  r.lon_min = -11.6;
  r.bodycode = 2;  // the Moon's lower limb
  r.starno = 33;
  r.hs_deg = 24;
  r.hs_min = 14.0;
  return r;
}

obsrec builtin_obs2() {
  obsrec r = builtin_obs1();
  r.bodycode = 4;  // Venus
  r.hs_deg = 7;
  r.hs_min = 47.8;
  return r;
}

namespace {

// The numbers of a record file, read in order as the file's text gives them.
//
// Numbers are separated by any run of white space; the line breaks carry no
// meaning.  An integer takes the digits of an integer only, so a value written
// with a fraction in an integer place leaves its fraction to be read as the
// next value.  An integer beyond the range of int saturates.  A real is read
// as the standard conversion reads it ("nan", "inf" and hexadecimal forms
// included).  A real of more than kMaxToken characters counts as unreadable.
// Nothing here can read past a buffer or overflow, whatever the file holds
// (binary junk and NUL bytes are simply text that is not a number).
class NumberStream {
 public:
  explicit NumberStream(FILE* f) : f_(f) {}

  bool read_int(int* value) {
    char tok[kMaxToken + 1];
    bool more = false;
    const int n = collect(tok, &more);
    if (n == 0) return false;  // end of file
    int i = 0;
    bool negative = false;
    if (tok[i] == '+' || tok[i] == '-') negative = (tok[i++] == '-');
    if (i == n || !is_digit(tok[i])) return false;
    Accumulator acc;
    while (i < n && is_digit(tok[i])) acc.add(tok[i++] - '0');
    if (i == n && more) {
      // The digits go on beyond the token buffer: take the rest as well.
      for (;;) {
        const int c = get();
        if (c == EOF) break;
        if (!is_digit(static_cast<char>(c))) {
          const char ch = static_cast<char>(c);
          unread(&ch, 1);
          break;
        }
        acc.add(c - '0');
      }
    } else {
      unread(tok + i, n - i);
    }
    *value = acc.result(negative);
    return true;
  }

  bool read_real(double* value) {
    char tok[kMaxToken + 1];
    bool more = false;
    const int n = collect(tok, &more);
    if (n == 0) return false;  // end of file
    tok[n] = '\0';             // an embedded NUL ends the number earlier
    char* end = nullptr;
    const double v = std::strtod(tok, &end);
    const int used = static_cast<int>(end - tok);
    if (used == 0) return false;
    if (more && used == n) return false;  // longer than the token buffer
    // Two prefixes that the conversion takes but a formatted read rejects:
    // "0x" without hexadecimal digits, and an unfinished "infinity".
    const int sign = (tok[0] == '+' || tok[0] == '-') ? 1 : 0;
    if (used == sign + 1 && tok[sign] == '0' &&
        (tok[sign + 1] == 'x' || tok[sign + 1] == 'X'))
      return false;
    if (used == sign + 3 && (tok[used] == 'i' || tok[used] == 'I'))
      return false;
    unread(tok + used, n - used);
    *value = v;
    return true;
  }

 private:
  static constexpr int kMaxToken = 1024;

  static bool is_digit(char c) { return c >= '0' && c <= '9'; }
  static bool is_space(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
           c == '\r';
  }

  // Saturating decimal accumulation, kept negative so that INT_MIN fits.
  struct Accumulator {
    int value = 0;
    bool saturated = false;
    void add(int digit) {
      if (saturated) return;
      if (value < (INT_MIN + digit) / 10) {
        saturated = true;
        return;
      }
      value = value * 10 - digit;
    }
    int result(bool negative) const {
      if (saturated) return negative ? INT_MIN : INT_MAX;
      if (negative) return value;
      return value == INT_MIN ? INT_MAX : -value;
    }
  };

  int get() {
    if (plen_ > 0) {
      --plen_;
      return static_cast<unsigned char>(pend_[pstart_++]);
    }
    return std::fgetc(f_);
  }

  // Puts characters back in front of what is still to be read.  What is put
  // back is always part of what was just taken, so the pending characters
  // never exceed one token.
  void unread(const char* s, int n) {
    if (n <= 0) return;
    if (n + plen_ > static_cast<int>(sizeof pend_)) return;  // cannot happen
    if (pstart_ >= n) {
      pstart_ -= n;
    } else {
      std::memmove(pend_ + n, pend_ + pstart_, static_cast<size_t>(plen_));
      pstart_ = 0;
    }
    std::memcpy(pend_ + pstart_, s, static_cast<size_t>(n));
    plen_ += n;
  }

  // Skips white space and takes the run of other characters that follows,
  // at most kMaxToken of them; *more tells whether the run goes on.
  int collect(char* tok, bool* more) {
    int c = get();
    while (c != EOF && is_space(c)) c = get();
    int n = 0;
    while (c != EOF && !is_space(c)) {
      if (n == kMaxToken) {
        *more = true;
        const char ch = static_cast<char>(c);
        unread(&ch, 1);
        return n;
      }
      tok[n++] = static_cast<char>(c);
      c = get();
    }
    if (c != EOF) {
      const char ch = static_cast<char>(c);
      unread(&ch, 1);
    }
    *more = false;
    return n;
  }

  FILE* f_;
  char pend_[2 * kMaxToken + 2];
  int pstart_ = 0;
  int plen_ = 0;
};

// Opens a record file for reading; only a regular file counts (a directory,
// a device or a pipe under the file's name is treated as a missing file, and
// opening never waits).
FILE* open_for_reading(const char* name) {
  const int fd = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return nullptr;
  }
  FILE* f = fdopen(fd, "r");
  if (f == nullptr) close(fd);
  return f;
}

// Lines 1 to 6 of a record file into the record; false at the first value
// that cannot be read.  The third value of line 6 is read and discarded.
bool read_record_lines(NumberStream& s, obsrec& r) {
  int unused = 0;
  return s.read_int(&r.year) && s.read_int(&r.month) && s.read_int(&r.day) &&
         s.read_int(&r.hour) && s.read_int(&r.minute) &&
         s.read_int(&r.second) && s.read_int(&r.lat_deg) &&
         s.read_real(&r.lat_min) && s.read_int(&r.lon_deg) &&
         s.read_real(&r.lon_min) && s.read_int(&r.bodycode) &&
         s.read_int(&r.starno) && s.read_int(&r.hs_deg) &&
         s.read_real(&r.hs_min) && s.read_int(&unused);
}

// Lines 1 to 6 as written: the date from one record, the rest from another,
// with the body code and star number given separately.
void write_record_lines(FILE* f, const obsrec& date, const obsrec& r,
                        int bodycode, int starno) {
  std::fprintf(f, "%d %d %d \n", date.year, date.month, date.day);
  std::fprintf(f, "%d %d %d \n", r.hour, r.minute, r.second);
  std::fprintf(f, "%d %f \n", r.lat_deg, r.lat_min);
  std::fprintf(f, "%d %f \n", r.lon_deg, r.lon_min);
  std::fprintf(f, "%d %d \n", bodycode, starno);
  std::fprintf(f, "%d %f %d \n", r.hs_deg, r.hs_min, 0);
}

// Writes a record file through a temporary file in the same directory, which
// replaces the old file only once it is complete, so that a failed write
// leaves the old file as it was.  A file that the user has write-protected
// is left alone, as a direct write would leave it.  A failure is reported by
// one line.
//
// A record file that may itself be written but lies in a directory that may
// not (no temporary file can be made beside it) is therefore not written
// either, and reported by the same line.  This is intended: writing the file
// in place could leave a truncated record when the write fails midway,
// while refusing keeps the last complete one.
template <typename Body>
void write_file(const char* name, Body body) {
  char tmp[64];
  std::snprintf(tmp, sizeof tmp, "%s.tmp", name);
  bool ok = false;
  const bool protected_file = access(name, F_OK) == 0 && access(name, W_OK) != 0;
  if (FILE* f = protected_file ? nullptr : std::fopen(tmp, "w")) {
    body(f);
    ok = !std::ferror(f);
    if (std::fclose(f) != 0) ok = false;
    if (ok && std::rename(tmp, name) != 0) ok = false;
    if (!ok) std::remove(tmp);
  }
  if (!ok) std::fprintf(con_out(), " !!! file %s could not be written\n", name);
}

}  // namespace

bool read_R1(RunState& rs) {
  FILE* f = open_for_reading(kRecordFile1);
  if (f == nullptr) return false;
  NumberStream s(f);
  (void)(read_record_lines(s, rs.work) && s.read_real(&rs.shared.Ic) &&
         s.read_real(&rs.shared.eye) && s.read_real(&rs.calc.intercept) &&
         s.read_real(&rs.calc.Az) && s.read_real(&rs.shared.spare) &&
         s.read_real(&rs.shared.temp) && s.read_real(&rs.shared.press) &&
         s.read_real(&rs.ld.LD_limb) && s.read_int(&rs.ld.side));
  std::fclose(f);
  rs.obs1 = rs.work;
  return true;
}

bool read_R2(RunState& rs) {
  FILE* f = open_for_reading(kRecordFile2);
  if (f == nullptr) return false;
  NumberStream s(f);
  double unused = 0;
  (void)(read_record_lines(s, rs.work) && s.read_real(&unused) &&
         s.read_real(&unused) && s.read_real(&rs.calc.intercept) &&
         s.read_real(&rs.calc.Az) && s.read_real(&rs.shared.spare) &&
         s.read_real(&rs.fix.course) && s.read_real(&rs.fix.velocity));
  std::fclose(f);
  rs.obs2 = rs.work;
  return true;
}

void write_W1(RunState& rs) {
  write_file(kRecordFile1, [&](FILE* f) {
    const obsrec& r = rs.obs1;
    write_record_lines(f, r, r, r.bodycode, r.starno);
    std::fprintf(f, "%f %f \n", rs.shared.Ic, rs.shared.eye);
    std::fprintf(f, "%f %f %f \n", rs.calc.intercept, rs.calc.Az,
                 rs.shared.spare);
    std::fprintf(f, "%f %f \n", rs.shared.temp, rs.shared.press);
  });
}

void write_W2(RunState& rs) {
  write_file(kRecordFile2, [&](FILE* f) {
    const obsrec& r = rs.obs2;
    write_record_lines(f, r, r, r.bodycode, r.starno);
    std::fprintf(f, "%f %f \n", rs.shared.Ic, rs.shared.eye);
    std::fprintf(f, "%f %f %f\n", rs.calc.intercept, rs.calc.Az,
                 rs.shared.spare);
    std::fprintf(f, "%f %f\n", rs.fix.course, rs.fix.velocity);
  });
}

void write_W3(RunState& rs) {
  const bool first = (rs.flow.obsno == 1);
  write_file(first ? kRecordFile1 : kRecordFile2, [&](FILE* f) {
    const obsrec& r = rs.work;
    write_record_lines(f, r, r, r.bodycode, r.starno);
    std::fprintf(f, "%f %f \n", rs.shared.Ic, rs.shared.eye);
    std::fprintf(f, "%f %f %f \n", rs.calc.intercept, rs.calc.Az,
                 rs.shared.spare);
    if (first)
      std::fprintf(f, "%f %f \n", rs.shared.temp, rs.shared.press);
    else
      std::fprintf(f, "%f %f \n", rs.fix.course, rs.fix.velocity);
  });
  if (first)
    rs.obs1 = rs.work;
  else
    rs.obs2 = rs.work;
}

void write_W4(RunState& rs, int file) {
  // The program ends right after the final save.
  rs.calc.intercept = 0;
  rs.shared.spare = 0;
  const bool first = (file == 1);
  write_file(first ? kRecordFile1 : kRecordFile2, [&](FILE* f) {
    const obsrec& r = first ? rs.obs1 : rs.obs2;
    // The date of the sights, and the star number of the last observation
    // computed (observation 2), stand in both files.
    write_record_lines(f, rs.work, r, r.bodycode, rs.work.starno);
    std::fprintf(f, "%f %f \n", rs.shared.Ic, rs.shared.eye);
    std::fprintf(f, "%f %f %f \n", rs.calc.intercept,
                 first ? rs.sight1.Az : rs.sight2.Az, rs.shared.spare);
    if (first) {
      std::fprintf(f, "%f %f \n", rs.shared.temp, rs.shared.press);
      std::fprintf(f, "%f %d \n", rs.ld.LD_limb, rs.ld.side);
    } else {
      std::fprintf(f, "%f %f \n", rs.fix.course, rs.fix.velocity);
    }
  });
}
