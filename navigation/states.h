// The states of the navigation dialogue, each a function of the run state
// that returns the state to go to next.  run_dialogue (dialogue.h) runs them
// by run_state from START to END.
#pragma once

#include "runstate.h"

// Runs state s and returns the state to go to next; END returns END.
State run_state(State s, RunState& rs);

// Dialogue flow (dialogue.cpp).
State st_start(RunState& rs);
State st_loop_top(RunState& rs);   // observation 1 in hand
State st_obs2_file(RunState& rs);  // observation 2 in hand
State st_example(RunState& rs);
State st_obs_input(RunState& rs);
State st_post_obs_menu(RunState& rs);
State st_final_menu(RunState& rs);
State st_iterate(RunState& rs);
State st_stop(RunState& rs);
State st_end(RunState& rs);  // prints the closing screen, reads one key

// The number of ITERATE passes in a row without a converged fix after which
// the final menu reads its answer instead of iterating on by itself.
constexpr int kMaxIteratePasses = 30;

// The number of lunar-distance passes counted above which the final menu
// reads its answer at a converged fix (and counts again from 0) instead of
// going on to a further lunar-distance pass by itself.
constexpr int kMaxLunarPasses = 30;

// The computation of one observation (compute.cpp; its screens are in
// screens.cpp).

// COMPUTE: the date and time of work into calctime; the Sun's place (always)
// and the body's place by body code; HcAz at the observation's assumed
// position (position 1 or 2); the altitude correction to Ho (SDa of
// observation 1 kept); Ha; intercept.  Next: HCAZ.
State compute_observation(RunState& rs);

// HCAZ: HcAz again at the observation's assumed position with its Dec and
// GHA; intercept = (Ho - Hc) x 60.  Next: FINAL for observation 2 renewed
// after the run between the sights (renewing, set by SAIL, is cleared here),
// else RESULT.
State hcaz_intercept(RunState& rs);

// RESULT: the result screen (it waits for a key outside the automatic
// passes), the values
// kept per observation, the record write W3, the ephemeris block.  Next:
// POST_OBS_MENU.
State result_screens(RunState& rs);

// The run between the sights and the fix (fix.cpp).

// SAIL: before the first lunar-distance correction (lddone false) nothing is
// done and LD_STEP, the first lunar-distance step, comes next: it comes
// before any run and fix.  After it, observation 1's position at its result
// carried over the run into work's position; renewing set.  Next: HCAZ.
State sail_run(RunState& rs);

// FINAL: the FINAL screen, the azimuth and latitude errors (next LOOP_TOP,
// the automatic passes left: autorun cleared, iterpasses := 0), the lines of
// position and their intersection (the fix, work's position, positions 1
// and 2), sunrise and sunset, the position error, the LUNAR RESULT screen;
// badfix := 0.  Next: FINAL_MENU.
State final_fix(RunState& rs);

// The lunar-distance step (ldstep.cpp).

// LD_STEP: ldpasses + 1, ldinner := 0, the almanac distance (END for a second
// body code above 8), the questions while ldentered is not set, the clearing
// and the time correction.  First correction (lddone not set): the corrected
// time into obs1, lddone and autorun set, a key; next OBS_INPUT.  Later steps
// iterate the time (at most 10 evaluations); obs1 and obs2 take the date and
// the corrected time; autorun set, obsno := 1; next LOOP_TOP.
State lunar_distance_step(RunState& rs);
