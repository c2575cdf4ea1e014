// PLACEHOLDERS for the states of the dialogue that a later step builds: the
// computation of an observation, its result and ephemeris screens, the run
// between the sights with the fix, and the lunar-distance step.  They make
// only the transitions (and the flag changes) of the state table, print
// nothing and compute nothing.  Each is replaced by the real state; see
// states.h for what the real one does.
#include "records.h"
#include "states.h"

// PLACEHOLDER for COMPUTE.
State compute_observation(RunState& rs) {
  rs.calctime.year = rs.work.year;
  rs.calctime.month = rs.work.month;
  rs.calctime.day = rs.work.day;
  rs.calctime.hour = rs.work.hour;
  rs.calctime.minute = rs.work.minute;
  rs.calctime.second = rs.work.second;
  return State::HCAZ;
}

// PLACEHOLDER for HCAZ.
State hcaz_intercept(RunState& rs) {
  if (rs.renewing) {
    rs.renewing = 0;
    return State::FINAL;
  }
  return State::RESULT;
}

// PLACEHOLDER for RESULT: only the record write.
State result_screens(RunState& rs) {
  write_W3(rs);
  return State::POST_OBS_MENU;
}

// PLACEHOLDER for the run between the sights of SAIL.
State sail_run(RunState& rs) {
  rs.renewing = 1;
  return State::HCAZ;
}

// PLACEHOLDER for FINAL: the fix and the position error stay as they are.
State final_fix(RunState& rs) {
  rs.badfix = 0;
  return State::FINAL_MENU;
}

// PLACEHOLDER for LD_STEP: no question is asked and the time stays.
State lunar_distance_step(RunState& rs) {
  rs.ldpasses += 1;
  rs.ldinner = 0;
  if (rs.obs2.bodycode > 8) return State::END;
  rs.ldentered = 1;
  rs.obsno = 1;
  rs.autorun = 1;
  if (!rs.lddone) {
    rs.obs1.hour = rs.calctime.hour;
    rs.obs1.minute = rs.calctime.minute;
    rs.obs1.second = rs.calctime.second;
    rs.lddone = 1;
    return State::OBS_INPUT;
  }
  rs.obs2.year = rs.obs1.year;
  rs.obs2.month = rs.obs1.month;
  rs.obs2.day = rs.obs1.day;
  rs.obs2.hour = rs.obs1.hour;
  rs.obs2.minute = rs.obs1.minute;
  rs.obs2.second = rs.obs1.second;
  return State::LOOP_TOP;
}
