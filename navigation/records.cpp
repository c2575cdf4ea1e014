// The observation record files: reading them line format by line format as
// fscanf reads them, and saving them so that a file is never left half
// written.
#include "records.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

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

// Lines 1 to 6 of a record file into the record, each line's format applied
// in order to the rest of the file; false at the first format that does not
// read all its values.  The third value of line 6 is read and discarded.
bool read_record_lines(FILE* f, obsrec& r) {
  int unused = 0;
  return std::fscanf(f, "%d %d %d \n", &r.year, &r.month, &r.day) == 3 &&
         std::fscanf(f, "%d %d %d \n", &r.hour, &r.minute, &r.second) == 3 &&
         std::fscanf(f, "%d %lf \n", &r.lat_deg, &r.lat_min) == 2 &&
         std::fscanf(f, "%d %lf \n", &r.lon_deg, &r.lon_min) == 2 &&
         std::fscanf(f, "%d %d \n", &r.bodycode, &r.starno) == 2 &&
         std::fscanf(f, "%d %lf %d \n", &r.hs_deg, &r.hs_min, &unused) == 3;
}

// Lines 1 to 6 as written: the date from one record, the rest from another,
// with the body code and star number given separately.
void write_record_lines(TextBuffer& t, const obsrec& date, const obsrec& r,
                        int bodycode, int starno) {
  t.printf("%d %d %d \n", date.year, date.month, date.day);
  t.printf("%d %d %d \n", r.hour, r.minute, r.second);
  t.printf("%d %f \n", r.lat_deg, r.lat_min);
  t.printf("%d %f \n", r.lon_deg, r.lon_min);
  t.printf("%d %d \n", bodycode, starno);
  t.printf("%d %f %d \n", r.hs_deg, r.hs_min, 0);
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
    std::fprintf(con_out(), " !!! file %s could not be written\n", name);
}

// Opens a record file for reading.  nullptr when it cannot be: *missing
// then tells whether nothing at all stands under its name.  Anything else
// that cannot be read (a file without read permission, an I/O error, a
// directory, a pipe or a device, a symbolic link that leads nowhere) is
// reported by one line and left alone, as the Delta-T table is: the record
// it may hold is the user's, not to be replaced by the values in memory.
FILE* open_record(const char* name, bool* missing) {
  FILE* f = open_for_reading(con_dir(), name);
  *missing = false;
  if (f != nullptr) return f;
  struct stat st;
  *missing = errno == ENOENT &&
             fstatat(con_dir(), name, &st, AT_SYMLINK_NOFOLLOW) != 0 &&
             errno == ENOENT;
  if (!*missing)
    std::fprintf(con_out(), " !!! file %s could not be read\n", name);
  return nullptr;
}

}  // namespace

bool read_R1(RunState& rs) {
  bool missing = false;
  FILE* f = open_record(kRecordFile1, &missing);
  if (f == nullptr) return !missing;
  (void)(read_record_lines(f, rs.work) &&
         std::fscanf(f, "%lf %lf \n", &rs.shared.Ic, &rs.shared.eye) == 2 &&
         std::fscanf(f, "%lf %lf %lf \n", &rs.calc.intercept, &rs.calc.Az,
                     &rs.shared.spare) == 3 &&
         std::fscanf(f, "%lf %lf \n", &rs.shared.temp, &rs.shared.press) == 2 &&
         std::fscanf(f, "%lf %d \n", &rs.ld.LD_limb, &rs.ld.side) == 2);
  std::fclose(f);
  rs.obs1 = rs.work;
  return true;
}

bool read_R2(RunState& rs) {
  bool missing = false;
  FILE* f = open_record(kRecordFile2, &missing);
  if (f == nullptr) return !missing;
  double unused1 = 0,
         unused2 = 0;  // line 7: Ic and eye come from the first file
  (void)(read_record_lines(f, rs.work) &&
         std::fscanf(f, "%lf %lf \n", &unused1, &unused2) == 2 &&
         std::fscanf(f, "%lf %lf %lf \n", &rs.calc.intercept, &rs.calc.Az,
                     &rs.shared.spare) == 3 &&
         std::fscanf(f, "%lf %lf \n", &rs.fix.course, &rs.fix.velocity) == 2);
  std::fclose(f);
  rs.obs2 = rs.work;
  return true;
}

void write_W1(RunState& rs) {
  TextBuffer t;
  const obsrec& r = rs.obs1;
  write_record_lines(t, r, r, r.bodycode, r.starno);
  t.printf("%f %f \n", rs.shared.Ic, rs.shared.eye);
  t.printf("%f %f %f \n", rs.calc.intercept, rs.calc.Az, rs.shared.spare);
  t.printf("%f %f \n", rs.shared.temp, rs.shared.press);
  save_record(kRecordFile1, t);
}

void write_W2(RunState& rs) {
  TextBuffer t;
  const obsrec& r = rs.obs2;
  write_record_lines(t, r, r, r.bodycode, r.starno);
  t.printf("%f %f \n", rs.shared.Ic, rs.shared.eye);
  t.printf("%f %f %f\n", rs.calc.intercept, rs.calc.Az, rs.shared.spare);
  t.printf("%f %f\n", rs.fix.course, rs.fix.velocity);
  save_record(kRecordFile2, t);
}

void write_W3(RunState& rs) {
  const bool first = (rs.flow.obsno == 1);
  TextBuffer t;
  const obsrec& r = rs.work;
  write_record_lines(t, r, r, r.bodycode, r.starno);
  t.printf("%f %f \n", rs.shared.Ic, rs.shared.eye);
  t.printf("%f %f %f \n", rs.calc.intercept, rs.calc.Az, rs.shared.spare);
  if (first)
    t.printf("%f %f \n", rs.shared.temp, rs.shared.press);
  else
    t.printf("%f %f \n", rs.fix.course, rs.fix.velocity);
  save_record(first ? kRecordFile1 : kRecordFile2, t);
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
  TextBuffer t;
  const obsrec& r = first ? rs.obs1 : rs.obs2;
  // The date of the sights, and the star number of the last observation
  // computed (observation 2), stand in both files.
  write_record_lines(t, rs.work, r, r.bodycode, rs.work.starno);
  t.printf("%f %f \n", rs.shared.Ic, rs.shared.eye);
  t.printf("%f %f %f \n", rs.calc.intercept,
           first ? rs.sight1.Az : rs.sight2.Az, rs.shared.spare);
  if (first) {
    t.printf("%f %f \n", rs.shared.temp, rs.shared.press);
    t.printf("%f %d \n", rs.ld.LD_limb, rs.ld.side);
  } else {
    t.printf("%f %f \n", rs.fix.course, rs.fix.velocity);
  }
  save_record(first ? kRecordFile1 : kRecordFile2, t);
}
