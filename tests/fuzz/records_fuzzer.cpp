// Fuzzer of the two record files written and read back: the input bytes
// choose a run state (every value that a record file carries: integers of
// any value, reals of any bits, multiples of 1/64 and values at the edges of
// six decimals) and one of the writes W1 to W4.  The file written is read
// back by R1 or R2 into a run state of other values, which must then hold
// the values written, line by line as the layout gives them to the file of
// that write, and its own values wherever the file carries nothing:
//   record   lines 1-6; for W4 the date and star number of work, the rest
//            of the record of the file's observation
//   Ic, eye  line 7 of the first file (the second file's line 7 is not read)
//   line 8   intercept, Az, spare; for W4 0, the azimuth kept for the file's
//            observation, 0
//   line 9   temp and press (first file), course and velocity (second)
//   line 10  LD_limb and side, only in the first file of W4
// An integer must come back as written.  A real is written with six
// decimals: it must come back within half a unit of the sixth decimal (and
// of its own rounding), exactly when it has no more decimals than six, NaN
// as NaN and an infinity as itself.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include "choices.h"
#include "differential.h"
#include "records.h"

namespace {

using fuzzchoice::Choices;

int any_int(Choices& pick) {
  if (pick(2)) return static_cast<int>(pick(201)) - 100;
  return static_cast<int>(static_cast<uint32_t>(pick.word()));
}

double any_real(Choices& pick) {
  switch (pick(4)) {
    case 0: return pick.bits_of_double();
    case 1: {  // a multiple of 1/64 below 2^42: "%f" writes it exactly
      const int64_t k = static_cast<int64_t>(pick.word() >> 16) - (1LL << 47);
      return static_cast<double>(k) / 64;
    }
    case 2: return (static_cast<double>(pick(64 * 720)) - 64 * 360) / 64;
    default: {
      const double edges[] = {0.0,       -0.0,   5e-7,   -5e-7,   4.9e-7,
                              2.5e-6,    1e-300, -1e300, 1.7e308, INFINITY,
                              -INFINITY, NAN,    -NAN,   0.1,     1e15 + 0.3};
      return edges[pick(sizeof edges / sizeof edges[0])];
    }
  }
}

void any_record(Choices& pick, obsrec& r) {
  for (int* p : {&r.year, &r.month, &r.day, &r.hour, &r.minute, &r.second,
                 &r.lat_deg, &r.lon_deg, &r.bodycode, &r.starno, &r.hs_deg})
    *p = any_int(pick);
  for (double* p : {&r.lat_min, &r.lon_min, &r.hs_min}) *p = any_real(pick);
}

// Every value of the run state that a record file carries, chosen.
RunState any_state(Choices& pick) {
  RunState rs;
  any_record(pick, rs.obs1);
  any_record(pick, rs.obs2);
  any_record(pick, rs.work);
  for (double* p :
       {&rs.shared.Ic, &rs.shared.eye, &rs.shared.temp, &rs.shared.press,
        &rs.shared.spare, &rs.calc.intercept, &rs.calc.Az, &rs.sight1.Az,
        &rs.sight2.Az, &rs.fix.course, &rs.fix.velocity, &rs.ld.LD_limb})
    *p = any_real(pick);
  rs.ld.side = any_int(pick);
  return rs;
}

// Values before the read that no write above is likely to give, each its
// own.
RunState before_read() {
  RunState rs;
  int k = 0;
  for (obsrec* r : {&rs.obs1, &rs.obs2, &rs.work}) {
    for (int* p :
         {&r->year, &r->month, &r->day, &r->hour, &r->minute, &r->second,
          &r->lat_deg, &r->lon_deg, &r->bodycode, &r->starno, &r->hs_deg})
      *p = -1000 - k++;
    for (double* p : {&r->lat_min, &r->lon_min, &r->hs_min}) *p = -0.5 - k++;
  }
  for (double* p :
       {&rs.shared.Ic, &rs.shared.eye, &rs.shared.temp, &rs.shared.press,
        &rs.shared.spare, &rs.calc.intercept, &rs.calc.Az, &rs.fix.course,
        &rs.fix.velocity, &rs.ld.LD_limb})
    *p = -0.5 - k++;
  rs.ld.side = -1000 - k;
  return rs;
}

// The real read back from a real written with "%f".
bool as_written(double read, double x) {
  if (std::isnan(x)) return std::isnan(read);
  if (std::isinf(x)) return read == x;
  if (std::fabs(x) < 0x1p42 && x * 64 == std::trunc(x * 64))
    return diff::same(read, x);  // six decimals hold every multiple of 1/64
  return std::fabs(read - x) <= 5.000000001e-7 + std::fabs(x) * 0x1p-52;
}

class Check {
 public:
  explicit Check(std::string write) : write_(std::move(write)) {}
  void integer(const std::string& f, long read, long want) {
    if (read != want)
      fail(f + ": read " + std::to_string(read) + ", want " +
           std::to_string(want));
  }
  void written(const std::string& f, double read, double x) {
    if (!as_written(read, x))
      fail(f + ": read " + diff::show(read) + ", written " + diff::show(x));
  }
  void kept(const std::string& f, double read, double before) {
    if (!diff::same(read, before))
      fail(f + ": read " + diff::show(read) + ", before the read " +
           diff::show(before) + " (the file carries no value for it)");
  }
  // The record read against the one written (or kept, `kept`).
  void record(const std::string& w, const obsrec& p, const obsrec& want,
              bool was_written) {
    integer(w + ".year", p.year, want.year);
    integer(w + ".month", p.month, want.month);
    integer(w + ".day", p.day, want.day);
    integer(w + ".hour", p.hour, want.hour);
    integer(w + ".minute", p.minute, want.minute);
    integer(w + ".second", p.second, want.second);
    integer(w + ".lat_deg", p.lat_deg, want.lat_deg);
    integer(w + ".lon_deg", p.lon_deg, want.lon_deg);
    integer(w + ".bodycode", p.bodycode, want.bodycode);
    integer(w + ".starno", p.starno, want.starno);
    integer(w + ".hs_deg", p.hs_deg, want.hs_deg);
    real(w + ".lat_min", p.lat_min, want.lat_min, was_written);
    real(w + ".lon_min", p.lon_min, want.lon_min, was_written);
    real(w + ".hs_min", p.hs_min, want.hs_min, was_written);
  }
  void real(const std::string& f, double read, double want, bool was_written) {
    if (was_written)
      written(f, read, want);
    else
      kept(f, read, want);
  }

 private:
  [[noreturn]] void fail(const std::string& what) {
    diff::fail("a record file does not give back what was written",
               write_ + ", " + what);
  }
  std::string write_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const diff::FileDir dir;
  Choices pick(data, size);
  RunState w = any_state(pick);
  const RunState chosen = w;  // the writes change the state they write
  const int kind = static_cast<int>(pick(6));
  const int file = kind % 2 + 1;
  const char* const names[] = {"W1",
                               "W2",
                               "W3 of observation 1",
                               "W3 of observation 2",
                               "W4 of the first file",
                               "W4 of the second file"};

  // The record and line 8 that the write gives the file.
  obsrec rec = file == 1 ? chosen.obs1 : chosen.obs2;
  double intercept = chosen.calc.intercept, Az = chosen.calc.Az,
         spare = chosen.shared.spare;
  switch (kind) {
    case 0: write_W1(w); break;
    case 1: write_W2(w); break;
    case 2:
    case 3:
      w.flow.obsno = file;
      write_W3(w);
      rec = chosen.work;
      break;
    default:
      write_W4(w, file);
      rec.year = chosen.work.year;
      rec.month = chosen.work.month;
      rec.day = chosen.work.day;
      rec.starno = chosen.work.starno;
      intercept = 0;
      Az = file == 1 ? chosen.sight1.Az : chosen.sight2.Az;
      spare = 0;
  }

  const RunState b = before_read();
  RunState r = b;
  (void)(file == 1 ? read_R1(r) : read_R2(r));

  Check c(names[kind]);
  c.record("work", r.work, rec, true);
  c.record(file == 1 ? "obs1" : "obs2", file == 1 ? r.obs1 : r.obs2, rec, true);
  c.record(file == 1 ? "obs2" : "obs1", file == 1 ? r.obs2 : r.obs1,
           file == 1 ? b.obs2 : b.obs1, false);
  c.real("Ic", r.shared.Ic, file == 1 ? chosen.shared.Ic : b.shared.Ic,
         file == 1);
  c.real("eye", r.shared.eye, file == 1 ? chosen.shared.eye : b.shared.eye,
         file == 1);
  c.written("intercept", r.calc.intercept, intercept);
  c.written("Az", r.calc.Az, Az);
  c.written("spare", r.shared.spare, spare);
  c.real("temp", r.shared.temp, file == 1 ? chosen.shared.temp : b.shared.temp,
         file == 1);
  c.real("press", r.shared.press,
         file == 1 ? chosen.shared.press : b.shared.press, file == 1);
  c.real("course", r.fix.course, file == 2 ? chosen.fix.course : b.fix.course,
         file == 2);
  c.real("velocity", r.fix.velocity,
         file == 2 ? chosen.fix.velocity : b.fix.velocity, file == 2);
  const bool tenth = kind == 4;
  c.real("LD_limb", r.ld.LD_limb, tenth ? chosen.ld.LD_limb : b.ld.LD_limb,
         tenth);
  c.integer("side", r.ld.side, tenth ? chosen.ld.side : b.ld.side);
  return 0;
}
