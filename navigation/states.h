// The states of the navigation dialogue, each a function of the run state
// that returns the state to go to next.  run_dialogue (dialogue.h) runs them
// from START to END in one dispatch loop.
#pragma once

#include "runstate.h"

// Dialogue flow (dialogue.cpp).
State st_start(RunState& rs);
State st_loop_top(RunState& rs);
State st_obs2_file(RunState& rs);
State st_example(RunState& rs);
State st_obs_input(RunState& rs);
State st_post_obs_menu(RunState& rs);
State st_sail(RunState& rs);  // LD_STEP before the first correction, else
                              // the run between the sights (sail_run)
State st_final_menu(RunState& rs);
State st_iterate(RunState& rs);
State st_stop(RunState& rs);
State st_end(RunState& rs);   // prints the closing screen, reads one key

// The number of ITERATE passes in a row without a converged fix after which
// the final menu reads its answer instead of iterating on by itself.
constexpr int kMaxIteratePasses = 30;

// ---------------------------------------------------------------------------
// PLACEHOLDERS (placeholders.cpp) for the states built in a later step: they
// only make the transitions of the state table, print nothing and compute
// nothing.  Each is replaced by the real state with the same signature.
// ---------------------------------------------------------------------------

// COMPUTE: copy the date and time of work into calctime; the Sun's place and
// the body's place by body code; HcAz at the assumed position of the
// observation (position 1 or 2); BESCHICKUNG to Ho; keep SDa of observation
// 1; Ha; intercept.  Next: HCAZ.
State compute_observation(RunState& rs);

// HCAZ: HcAz again at the observation's assumed position with its Dec and
// GHA; intercept = (Ho - Hc) x 60.  Next: FINAL with renewing cleared when
// renewing is set, else RESULT.
State hcaz_intercept(RunState& rs);

// RESULT: the result screen (pause unless autorun), Ho/Ha/Az (and Hs) kept
// per observation, for observation 1 also intercept1, atresult1 and its
// parallax in altitude, for observation 2 hour2/minute2; then the record
// write write_W3 (which must stay between the result screen and the
// ephemeris block); then the ephemeris block.  Next: POST_OBS_MENU.
State result_screens(RunState& rs);

// SAIL once lddone is set: verspos of observation 1's position at its result
// over the run, work's position := the run position, renewing := 1.  Next:
// HCAZ.
State sail_run(RunState& rs);

// FINAL: the FINAL screen, the azimuth and latitude errors (next LOOP_TOP as
// the state table says), the lines of position and their intersection (fix,
// work's position, positions 1 and 2, Az2), suntime, position error, the
// LUNAR RESULT screen; badfix := 0.  Next: FINAL_MENU.
State final_fix(RunState& rs);

// LD_STEP: ldpasses + 1, ldinner := 0, the lunar-distance evaluation (END for
// a second body code above 8), the questions while ldentered is 0, the time
// correction.  First correction (lddone 0): obs1's time := calctime's,
// lddone := 1, obsno := 1, autorun := 1, pause; next OBS_INPUT.  Later
// corrections: obs1's date and time from calctime and t1, obs2 takes them,
// autorun := 1, obsno := 1; next LOOP_TOP.
State lunar_distance_step(RunState& rs);
