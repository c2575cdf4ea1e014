// The answers of a complete run in a fresh directory, every value but the
// date taken from its default: no reset, observation 1 (the Moon) and
// observation 2 with the built-in values, the lunar distance, the Enter after
// the first time correction; then the automatic passes read nothing until
// the final menu, where 9 stops with the final save; the last Enter is the
// closing key.
#pragma once

#include <string>

namespace ldtest {

// date: the answer to the date prompt (empty: the default 2017 6 17).
// deltat_waits: the Delta-T table file is out of order, so its message waits
// for a key twice: at start-up and before the Earth conditions.
inline std::string complete_run(const std::string& date = "",
                                bool deltat_waits = false) {
  const std::string wait = deltat_waits ? "\n" : "";
  return wait +  // Delta-T table message at start-up
         "\n\n"  // reset question: none; hit ENTER
         "\n" +  // example screen
         date +
         "\n"            // date
         "\n" +          // time
         wait +          // Delta-T table message
         "\n"            // Earth conditions: as offered
         "\n\n\n\n\n\n"  // latitude, longitude, body, Ic, eye, Hs
         "\n"            // result screen
         "\n"            // menu after observation 1
         "\n\n"          // body, Hs of observation 2
         "\n"            // result screen
         "\n"            // menu after observation 2
         "\n\n\n"        // lunar distance: limb, side, distance
         "\n"            // after the first time correction
         "9\n"           // final menu: stop
         "\n";           // closing key
}

inline const std::string kCompleteRun = complete_run();

// A complete run with typed answers: Mars as second body in the southern
// hemisphere, the lunar distance typed negative (the run of the golden case
// run_mars_south_east).  Cut inside it, input ends within a number or on a
// line without its line end.
inline const std::string kTypedRun =
    "\n\n\n"       // reset question, ENTER, example screen
    "2018 8 1\n"   // date
    "16 18 30\n"   // time
    "\n"           // Earth conditions: as offered
    "-34 20\n"     // latitude
    "151 50\n"     // longitude
    "3\n\n\n"      // Moon upper limb, Ic, eye
    "54 24.39\n"   // sextant altitude of the Moon
    "\n\n"         // result screen, menu
    "5\n"          // Mars
    "54 6.16\n"    // sextant altitude of Mars
    "\n\n"         // result screen, menu
    "1\n2\n"       // near limb, west
    "-60 -1.35\n"  // lunar distance
    "\n"           // after the first time correction
    "9\n"          // final menu: stop
    "\n";          // closing key

}  // namespace ldtest
