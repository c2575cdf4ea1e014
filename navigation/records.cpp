// The observation record files: reading them line format by line format as
// fscanf reads them, and saving them so that a file is never left half
// written.
#include "records.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <iterator>

#include "console.h"
#include "textio.h"

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

// The layout of both record files, one line each: what the line holds, the
// format it is written with (every real with "%f", six decimals, every
// integer with "%d") and the format it is read with.  W2 writes lines 8 and
// 9 without the blank before the line end; a read takes either.  Each line
// is written and read through its row, named by the line, so that the
// compiler checks the values of every write and read against the row's
// formats.
enum RecordLine {
  kDateLine,
  kTimeLine,
  kLatitudeLine,
  kLongitudeLine,
  kBodyLine,
  kAltitudeLine,
  kIcEyeLine,
  kInterceptLine,
  kWeatherOrRunLine,
  kLunarDistanceLine,
};

struct LineFormats {
  const char* write;
  const char* write_W2;
  const char* read;
};

// clang-format off
constexpr LineFormats kLayout[] = {
  //  write           W2 writes        read              line: holds
  {"%d %d %d \n",   "%d %d %d \n",   "%d %d %d \n"},     //  1: year, month, day
  {"%d %d %d \n",   "%d %d %d \n",   "%d %d %d \n"},     //  2: hour, minute, second (UTC)
  {"%d %f \n",      "%d %f \n",      "%d %lf \n"},       //  3: latitude degrees, minutes
  {"%d %f \n",      "%d %f \n",      "%d %lf \n"},       //  4: longitude degrees, minutes
  {"%d %d \n",      "%d %d \n",      "%d %d \n"},        //  5: body code, star number
  {"%d %f %d \n",   "%d %f %d \n",   "%d %lf %d \n"},    //  6: sextant altitude degrees, minutes, 0
  {"%f %f \n",      "%f %f \n",      "%lf %lf \n"},      //  7: Ic, eye (the second file's are not read)
  {"%f %f %f \n",   "%f %f %f\n",    "%lf %lf %lf \n"},  //  8: intercept, Az, spare
  {"%f %f \n",      "%f %f\n",       "%lf %lf \n"},      //  9: first file temp, press; second file course, velocity
  {"%f %d \n",      "%f %d \n",      "%lf %d \n"},       // 10: LD_limb, side (first file, after a final save)
};
// clang-format on
static_assert(std::size(kLayout) == kLunarDistanceLine + 1);

// One line of the layout read with its format from the rest of the file;
// false when the format does not read all its values.
template <RecordLine L, typename... T>
bool scan(FILE* f, T*... values) {
  return std::fscanf(f, kLayout[L].read, values...) ==
         static_cast<int>(sizeof...(T));
}

// Lines 1 to 6 of a record file into the record, each line's format applied
// in order to the rest of the file; false at the first format that does not
// read all its values.  The third value of line 6 is read and discarded.
bool read_record_lines(FILE* f, obsrec& r) {
  int unused = 0;
  return scan<kDateLine>(f, &r.year, &r.month, &r.day) &&
         scan<kTimeLine>(f, &r.hour, &r.minute, &r.second) &&
         scan<kLatitudeLine>(f, &r.lat_deg, &r.lat_min) &&
         scan<kLongitudeLine>(f, &r.lon_deg, &r.lon_min) &&
         scan<kBodyLine>(f, &r.bodycode, &r.starno) &&
         scan<kAltitudeLine>(f, &r.hs_deg, &r.hs_min, &unused);
}

// The text of a record file, line by line in the layout's write formats (or
// in W2's).
class RecordText {
 public:
  explicit RecordText(bool by_W2) : by_W2_(by_W2) {}
  template <RecordLine L, typename... T>
  void line(T... values) {
    if (by_W2_)
      text.printf(kLayout[L].write_W2, values...);
    else
      text.printf(kLayout[L].write, values...);
  }
  TextBuffer text;

 private:
  bool by_W2_;
};

// The one line that reports a save that failed or was skipped.
void report_not_written(const char* name) {
  std::fprintf(con_out(), " !!! file %s could not be written\n", name);
}

// Saves a record file whole (textio.h): it holds either its old content or
// the complete new one, whatever happens and however many runs save it at
// once.  A file that the user has write-protected is left alone, as a
// direct write would leave it; a file that already holds the new content is
// not rewritten.  A failure is reported by one line, and the run goes on.
//
// A record file that may itself be written but lies in a directory that may
// not (no temporary file can be made beside it) is therefore not written
// either, and reported by the same line.  This is intended: writing the file
// in place could leave a truncated record when the write fails midway,
// while refusing keeps the last complete one.
void save_record(const char* name, const TextBuffer& t) {
  if (!t.ok() || save_file(con_dir(), name, t.data(), t.size(),
                           SaveMode::kReplace) == SaveResult::kFailed)
    report_not_written(name);
}

// Opens a record file for reading.  nullptr when it cannot be: *missing
// then tells whether nothing at all stands under its name.
FILE* open_record(const char* name, bool* missing) {
  FILE* f = open_for_reading(con_dir(), name);
  *missing = false;
  if (f != nullptr) return f;
  struct stat st;
  *missing = errno == ENOENT &&
             fstatat(con_dir(), name, &st, AT_SYMLINK_NOFOLLOW) != 0 &&
             errno == ENOENT;
  return nullptr;
}

// Reads record file 1 or 2 with `read`, which applies the line formats to
// the open file and sets what they reach in the run state it is given.  The
// read goes into a copy of the run state, which becomes the run state only
// when the whole read went without an error: a read error midway (a failing
// disk) changes nothing.  A file that cannot be opened for reading (no read
// permission, an I/O error, a directory, a pipe or a device, a symbolic
// link that leads nowhere) or that fails while it is read is reported by
// one line and left alone, as the Delta-T table is: the record it may hold
// is the user's, and the run's saves do not replace it with the values in
// memory until a read of it succeeds.
template <typename Read>
bool read_record(RunState& rs, int file, Read read) {
  const char* name = file == 1 ? kRecordFile1 : kRecordFile2;
  bool& unreadable = rs.record_unreadable[file - 1];
  bool missing = false;
  FILE* f = open_record(name, &missing);
  if (missing) {
    unreadable = false;
    return false;
  }
  bool failed = f == nullptr;
  if (f != nullptr) {
    RunState r = rs;
    read(f, r);
    failed = std::ferror(f) != 0;
    std::fclose(f);
    if (!failed) rs = r;
  }
  unreadable = failed;
  if (failed) std::fprintf(con_out(), " !!! file %s could not be read\n", name);
  return true;
}

}  // namespace

bool read_R1(RunState& rs) {
  return read_record(rs, 1, [](FILE* f, RunState& r) {
    (void)(read_record_lines(f, r.work) &&
           scan<kIcEyeLine>(f, &r.shared.Ic, &r.shared.eye) &&
           scan<kInterceptLine>(f, &r.calc.intercept, &r.calc.Az,
                                &r.shared.spare) &&
           scan<kWeatherOrRunLine>(f, &r.shared.temp, &r.shared.press) &&
           scan<kLunarDistanceLine>(f, &r.ld.LD_limb, &r.ld.side));
    r.obs1 = r.work;
  });
}

bool read_R2(RunState& rs) {
  return read_record(rs, 2, [](FILE* f, RunState& r) {
    double unused1 = 0,
           unused2 = 0;  // line 7: Ic and eye come from the first file
    (void)(read_record_lines(f, r.work) &&
           scan<kIcEyeLine>(f, &unused1, &unused2) &&
           scan<kInterceptLine>(f, &r.calc.intercept, &r.calc.Az,
                                &r.shared.spare) &&
           scan<kWeatherOrRunLine>(f, &r.fix.course, &r.fix.velocity));
    r.obs2 = r.work;
  });
}

namespace {

// The writers of a record file: W3 writes as W1 does, W4 adds the first
// file's line 10.
enum class Writer { kW1, kW2, kW3, kW4 };

// Writes the first or the second record file: lines 1 to 6 from the record
// r, line 7 and line 8 from the shared values with the azimuth Az, line 9
// with the first file's weather or the second file's run between the sights,
// and the first file's line 10 at the final save.
void write_record(const RunState& rs, bool first, const obsrec& r, double Az,
                  Writer writer) {
  const char* name = first ? kRecordFile1 : kRecordFile2;
  if (rs.record_unreadable[first ? 0 : 1]) {
    // It could not be read when it was last read: what it holds may be the
    // user's record, which the values in hand must not replace.
    report_not_written(name);
    return;
  }
  RecordText t(writer == Writer::kW2);
  t.line<kDateLine>(r.year, r.month, r.day);
  t.line<kTimeLine>(r.hour, r.minute, r.second);
  t.line<kLatitudeLine>(r.lat_deg, r.lat_min);
  t.line<kLongitudeLine>(r.lon_deg, r.lon_min);
  t.line<kBodyLine>(r.bodycode, r.starno);
  t.line<kAltitudeLine>(r.hs_deg, r.hs_min, 0);
  t.line<kIcEyeLine>(rs.shared.Ic, rs.shared.eye);
  t.line<kInterceptLine>(rs.calc.intercept, Az, rs.shared.spare);
  if (first)
    t.line<kWeatherOrRunLine>(rs.shared.temp, rs.shared.press);
  else
    t.line<kWeatherOrRunLine>(rs.fix.course, rs.fix.velocity);
  if (first && writer == Writer::kW4)
    t.line<kLunarDistanceLine>(rs.ld.LD_limb, rs.ld.side);
  save_record(name, t.text);
}

}  // namespace

void write_W1(RunState& rs) {
  write_record(rs, true, rs.obs1, rs.calc.Az, Writer::kW1);
}

void write_W2(RunState& rs) {
  write_record(rs, false, rs.obs2, rs.calc.Az, Writer::kW2);
}

void write_W3(RunState& rs) {
  const bool first = (rs.flow.obsno == 1);
  write_record(rs, first, rs.work, rs.calc.Az, Writer::kW3);
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
  // The date of the sights, and the star number of the last observation
  // computed (observation 2), stand in both files.
  obsrec r = first ? rs.obs1 : rs.obs2;
  r.year = rs.work.year;
  r.month = rs.work.month;
  r.day = rs.work.day;
  r.starno = rs.work.starno;
  write_record(rs, first, r, first ? rs.sight1.Az : rs.sight2.Az, Writer::kW4);
}
