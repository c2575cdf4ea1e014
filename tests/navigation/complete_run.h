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
  return wait +                  // Delta-T table message at start-up
         "\n\n"                  // reset question: none; hit ENTER
         "\n" +                  // example screen
         date + "\n"             // date
         "\n" +                  // time
         wait +                  // Delta-T table message
         "\n"                    // Earth conditions: as offered
         "\n\n\n\n\n\n"          // latitude, longitude, body, Ic, eye, Hs
         "\n"                    // result screen
         "\n"                    // menu after observation 1
         "\n\n"                  // body, Hs of observation 2
         "\n"                    // result screen
         "\n"                    // menu after observation 2
         "\n\n\n"                // lunar distance: limb, side, distance
         "\n"                    // after the first time correction
         "9\n"                   // final menu: stop
         "\n";                   // closing key
}

inline const std::string kCompleteRun = complete_run();

}  // namespace ldtest
