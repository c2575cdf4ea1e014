// The Earth-conditions dialog.
//
// A Delta-T confirmed in the change dialog (typed, or kept with ENTER), or set
// to 0 by the answer 0, is remembered in the session of the run (session.h)
// and offered for every later observation of the run, whatever its year.
#include "earthcon.h"

#include <cmath>
#include <cstdio>

#include "angles.h"
#include "console.h"
#include "deltat.h"
#include "input.h"
#include "session.h"

namespace {

// Answer to the modify question when nothing usable is typed: a value that
// selects neither the change dialog nor a Delta-T of 0, so that RETURN leaves
// everything as offered.
constexpr double kAsOffered = 9.0;
}  // namespace

void earthcon_reset() { session().deltat = DeltaTMemory{}; }

void earthcon(int year, double temp, double press, double* deltaT,
              double* temp_out, double* press_out) {
  FILE* out = con_out();
  DeltaTMemory& memory = session().deltat;

  // The Delta-T to offer: the table file after 2020, the model up to 2020.
  // Both are called: the table file is created when it is missing.
  const double from_file = delta0x(year);
  const double from_model = deltatime(year);
  double DeltaT0 = (year > 2020) ? from_file : from_model;
  if (memory.memtime) DeltaT0 = memory.DeltaTmem;

  double temp0 = temp;
  double press0 = press;

  std::fputs(" ", out);
  for (int i = 0; i < 40; ++i) std::fputs("\n", out);
  std::fputs("  The following STANDARD CONDITIONS should only\n", out);
  std::fputs("  be modified, if alternative parameters\n", out);
  std::fputs("  are known with sufficient precision!\n\n", out);
  std::fputs("  **********> EARTH-CONDITIONS <****************\n", out);
  if (year <= 2019)
    std::fprintf(out, "    Delta_T=TT-UT1= %2.2f sec\n", DeltaT0);
  else
    std::fprintf(out, "    Delta_T=TT-UT1= %2.2f sec (extrapolated!)\n",
                 DeltaT0);
  if (year > 3000) std::fprintf(out, "    NOTE: Year>3000: year=%d\n", year);
  std::fprintf(out, "    Temperature = %.1f deg Celsius \n", temp);
  std::fprintf(out, "    Pressure    = %.1f hPa. \n", press);
  std::fputs("  **********************************************\n\n", out);
  std::fputs("       To modify, enter 1, else hit RETURN:\n", out);
  std::fputs("###> ", out);
  double answer = 0;
  lies1(kShowNone, kAsOffered, &answer);

  // The answer rounded to a whole number selects: 1 the change dialog, 0 a
  // Delta-T of 0 from now on, anything else the values as offered.  "nan" is
  // no choice at all and leaves the values as offered.
  const int j = std::isnan(answer) ? 9 : dtoi(answer + 0.5);
  if (j == 0) {
    DeltaT0 = 0.0;
    memory.DeltaTmem = 0.0;
    memory.memtime = true;
  } else if (j == 1) {
    std::fputs("Change following values or hit ENTER:\n", out);
    memory.memtime = true;

    double v = 0;
    std::fputs("###> Delta_T = ", out);
    lies1(kShowTwoDecimals, DeltaT0, &v);
    if (v > 6000) v = 5999;
    if (v < -1000) v = -999;
    DeltaT0 = v;
    memory.DeltaTmem = v;

    std::fputs("###> Temperature = ", out);
    lies1(kShowOneDecimal, temp0, &v);
    if (v > 2000) v = 1999;
    if (v < -100) v = -99;
    temp0 = v;
    std::fprintf(out, ">> temp %.1f\n", temp0);

    const double press_default = (press0 < 0) ? 0.0 : press0;
    std::fputs("###> Pressure = ", out);
    lies1(kShowOneDecimal, press_default, &v);
    if (v > 2000) v = 1999;
    if (v < 0) v = 0;
    press0 = v;
    std::fprintf(out, ">> press %.1f\n", press0);

    con_getc();  // the Enter key
  }

  *deltaT = DeltaT0;
  *temp_out = temp0;
  *press_out = press0;
}
