// Differential fuzzer of the two record files: arbitrary bytes as the first
// record file, read by the program's R1, and as the second, read by R2, each
// compared with the C library's fscanf applying the line formats of the file
// in order over the same bytes, the first format that does not read all its
// values ending the read:
//   lines 1-6   "%d %d %d \n" twice, "%d %lf \n" twice, "%d %d \n",
//               "%d %lf %d \n" (the record; the third value is discarded)
//   line 7      "%lf %lf \n"      first file: Ic, eye; second: discarded
//   line 8      "%lf %lf %lf \n"  intercept, Az, spare
//   line 9      "%lf %lf \n"      first file: temp, press; second: course,
//                                 velocity
//   line 10     "%lf %d \n"       first file only: LD_limb, side
// Every field of the record and every shared value must be the same after
// the read, those that it does not reach keeping their values.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "differential.h"
#include "records.h"

namespace {

// The record and the shared values that a read may set.
struct Fields {
  obsrec r;
  double Ic, eye, intercept, Az, spare, temp, press, course, velocity, LD_limb;
  int side;
};

// Values before a read that no file line is likely to hold, each its own.
Fields before() {
  Fields f;
  int* const ints[] = {&f.r.year,     &f.r.month,  &f.r.day,     &f.r.hour,
                       &f.r.minute,   &f.r.second, &f.r.lat_deg, &f.r.lon_deg,
                       &f.r.bodycode, &f.r.starno, &f.r.hs_deg,  &f.side};
  double* const reals[] = {&f.r.lat_min, &f.r.lon_min, &f.r.hs_min, &f.Ic,
                           &f.eye,       &f.intercept, &f.Az,       &f.spare,
                           &f.temp,      &f.press,     &f.course,   &f.velocity,
                           &f.LD_limb};
  int k = 0;
  for (int* p : ints) *p = -11 - k++;
  for (double* p : reals) *p = -0.5 - k++;
  return f;
}

void load(RunState& rs, const Fields& f) {
  rs.obs1 = rs.obs2 = rs.work = f.r;
  rs.shared.Ic = f.Ic;
  rs.shared.eye = f.eye;
  rs.calc.intercept = f.intercept;
  rs.calc.Az = f.Az;
  rs.shared.spare = f.spare;
  rs.shared.temp = f.temp;
  rs.shared.press = f.press;
  rs.fix.course = f.course;
  rs.fix.velocity = f.velocity;
  rs.ld.LD_limb = f.LD_limb;
  rs.ld.side = f.side;
}

// The C library's reading of a record file (file 1 or 2) into f; returns
// the count of characters taken.
long library_read(std::string& bytes, int file, Fields& f) {
  FILE* m = diff::memory_stream(bytes);
  obsrec& r = f.r;
  int unused_int = 0;
  double unused1 = 0, unused2 = 0;
  bool go =
      std::fscanf(m, "%d %d %d \n", &r.year, &r.month, &r.day) == 3 &&
      std::fscanf(m, "%d %d %d \n", &r.hour, &r.minute, &r.second) == 3 &&
      std::fscanf(m, "%d %lf \n", &r.lat_deg, &r.lat_min) == 2 &&
      std::fscanf(m, "%d %lf \n", &r.lon_deg, &r.lon_min) == 2 &&
      std::fscanf(m, "%d %d \n", &r.bodycode, &r.starno) == 2 &&
      std::fscanf(m, "%d %lf %d \n", &r.hs_deg, &r.hs_min, &unused_int) == 3;
  if (file == 1) {
    go = go && std::fscanf(m, "%lf %lf \n", &f.Ic, &f.eye) == 2 &&
         std::fscanf(m, "%lf %lf %lf \n", &f.intercept, &f.Az, &f.spare) == 3 &&
         std::fscanf(m, "%lf %lf \n", &f.temp, &f.press) == 2 &&
         std::fscanf(m, "%lf %d \n", &f.LD_limb, &f.side) == 2;
  } else {
    go = go && std::fscanf(m, "%lf %lf \n", &unused1, &unused2) == 2 &&
         std::fscanf(m, "%lf %lf %lf \n", &f.intercept, &f.Az, &f.spare) == 3 &&
         std::fscanf(m, "%lf %lf \n", &f.course, &f.velocity) == 2;
  }
  (void)go;
  const long taken = std::ftell(m);
  std::fclose(m);
  return taken;
}

void compare_record(diff::Compare& c, const char* which, const obsrec& p,
                    const obsrec& l, const obsrec& b) {
  const std::string w = which;
  c.integer((w + ".year").c_str(), p.year, l.year, b.year);
  c.integer((w + ".month").c_str(), p.month, l.month, b.month);
  c.integer((w + ".day").c_str(), p.day, l.day, b.day);
  c.integer((w + ".hour").c_str(), p.hour, l.hour, b.hour);
  c.integer((w + ".minute").c_str(), p.minute, l.minute, b.minute);
  c.integer((w + ".second").c_str(), p.second, l.second, b.second);
  c.integer((w + ".lat_deg").c_str(), p.lat_deg, l.lat_deg, b.lat_deg);
  c.real((w + ".lat_min").c_str(), p.lat_min, l.lat_min, b.lat_min);
  c.integer((w + ".lon_deg").c_str(), p.lon_deg, l.lon_deg, b.lon_deg);
  c.real((w + ".lon_min").c_str(), p.lon_min, l.lon_min, b.lon_min);
  c.integer((w + ".bodycode").c_str(), p.bodycode, l.bodycode, b.bodycode);
  c.integer((w + ".starno").c_str(), p.starno, l.starno, b.starno);
  c.integer((w + ".hs_deg").c_str(), p.hs_deg, l.hs_deg, b.hs_deg);
  c.real((w + ".hs_min").c_str(), p.hs_min, l.hs_min, b.hs_min);
}

void check_file(const diff::FileDir& dir, std::string& bytes, int file) {
  const Fields start = before();
  RunState rs;
  load(rs, start);
  dir.put(file == 1 ? kRecordFile1 : kRecordFile2, bytes);
  const bool opened = file == 1 ? read_R1(rs) : read_R2(rs);
  diff::require(opened, "the record file cannot be opened");

  Fields lib = start;
  const long taken = library_read(bytes, file, lib);

  diff::Compare c;
  compare_record(c, "work", rs.work, lib.r, start.r);
  compare_record(c, file == 1 ? "obs1" : "obs2", file == 1 ? rs.obs1 : rs.obs2,
                 lib.r, start.r);
  compare_record(c, file == 1 ? "obs2 (untouched)" : "obs1 (untouched)",
                 file == 1 ? rs.obs2 : rs.obs1, start.r, start.r);
  c.real("Ic", rs.shared.Ic, lib.Ic, start.Ic);
  c.real("eye", rs.shared.eye, lib.eye, start.eye);
  c.real("intercept", rs.calc.intercept, lib.intercept, start.intercept);
  c.real("Az", rs.calc.Az, lib.Az, start.Az);
  c.real("spare", rs.shared.spare, lib.spare, start.spare);
  c.real("temp", rs.shared.temp, lib.temp, start.temp);
  c.real("press", rs.shared.press, lib.press, start.press);
  c.real("course", rs.fix.course, lib.course, start.course);
  c.real("velocity", rs.fix.velocity, lib.velocity, start.velocity);
  c.real("LD_limb", rs.ld.LD_limb, lib.LD_limb, start.LD_limb);
  c.integer("side", rs.ld.side, lib.side, start.side);
  c.check(file == 1 ? "R1 differs from the line formats read with fscanf"
                    : "R2 differs from the line formats read with fscanf",
          bytes, taken);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const diff::FileDir dir;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  check_file(dir, bytes, 1);
  check_file(dir, bytes, 2);
  return 0;
}
