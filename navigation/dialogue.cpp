// The navigation dialogue: its entry, the state machine, and the states of
// the dialogue flow (start-up, loading the records, the menus after an
// observation and after a fix, the automatic iteration, the final save and
// the closing screen).
//
// A run goes: START, then observation 1 (the Moon) and observation 2 (the
// second body), each loaded from its record file (LOOP_TOP, OBS2_FILE),
// entered (EXAMPLE, OBS_INPUT), computed and shown (COMPUTE, HCAZ, RESULT);
// the first lunar-distance step (SAIL, LD_STEP) corrects the time of the
// sights and starts the automatic passes, which repeat the observations, the
// run between the sights and the fix (SAIL, HCAZ, FINAL) by themselves,
// moving the assumed position to the fix (ITERATE) until the fix converges,
// and refine the time by further lunar-distance passes.
#include "dialogue.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <initializer_list>

#include "angles.h"
#include "console.h"
#include "deltat.h"
#include "earthcon.h"
#include "entry.h"
#include "input.h"
#include "lop.h"
#include "records.h"
#include "sailing.h"
#include "session.h"
#include "split.h"
#include "states.h"
#include "textio.h"

namespace {

const char* const kTitle[] = {
    " LUNAR DISTANCE for Astro-Navigation. V13 \n",
    " ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~ \n",
    " Determine position of a ship at sea\n",
    " by LUNAR DISTANCE to other celestial bodies.\n",
    " Aproximate Date, Time & Position is required,\n",
    " and precise Sextant result for Lunar Distance.\n",
    " Sextant-height of Moon & second body needed,\n",
    " expected in degrees and angular minutes,\n",
    " Degrees positive for NORTH and EAST,\n",
    " negative for SOUTH and WEST.\n",
    " Three Sextant-values determine position & time.\n",
    "   WARNING: There may be more than one solution.\n",
    " The values are entered one after the other.\n",
    " The program remembers the input-values.\n",
    " PROGRAM-Details: \n",
    " a) Enter Date, Time and Position, and then\n",
    "    1. and 2. observation by sextant.\n",
    " b) Enter Lunar Distance. (Time auto-adjusted).\n",
    " c) Finally auto-iteration until convergence.\n",
    " (Delta-T prediction from file dodarivi0r0.txt).\n\n",
};

// The closing screen: the sources of the computations and a note.
const char* const kClosing[] = {
    " \n",
    " With thanks to the authors of the textbook of\n",
    " the standard methods of spherical astronomy\n",
    " and navigation on which the computations rest.\n",
    " Data and models: VSOP87D (Earth and planets),\n",
    " the FK5 catalogue (stars), IAU 1980 nutation,\n",
    " LEA-406b series (Moon), Delta-T model of 2016.\n",
    " Checked against a nautical almanac and the\n",
    " 'Apparent Places of Fundamental Stars'.\n",
    " Precision: about 1 arcsecond for the years\n",
    " 1800 to 2200, in comparison with DE441.\n",
    " \n",
    " [Lunar-distance navigation, version V13,\n",
    "  by this project, 2026.]\n",
    "\n           --- END ---\n",
};

// Removes a file of the program's directory; false when that fails, also
// when there is no such file.
bool remove_file(const char* name) { return remove_entry(con_dir(), name); }

}  // namespace

State st_start(RunState& rs) {
  FILE* out = con_out();
  rs = RunState{};
  rs.work = rs.obs1;

  // Creates the Delta-T table file when it is missing; the value is not used.
  (void)delta0x(rs.work.year);

  skip(25);
  for (const char* line : kTitle) std::fputs(line, out);

  std::fputs("  To RESET files 0x1,0x2 enter: '1' ==>", out);
  const int c = con_getc();
  if (c == 'R' || c == 'r' || c == '1') {
    std::fputs(" OK, + RESETTiNG files 0x1 and 0x2.txt\n", out);
    for (const char* name : {kRecordFile1, kRecordFile2})
      if (!remove_file(name))
        std::fprintf(out, " !!! file %s possibly PROTECTED\n", name);
    con_getc();
    std::fputs("  To RESET file 0x0 enter: '2' ) ==>", out);
    const int c2 = con_getc();
    if (c2 == 'X' || c2 == 'x' || c2 == '2') {
      std::fputs(" OK, + RESETTiNG file 0x0.txt\n", out);
      if (!remove_file(kDeltaTFile))
        std::fprintf(out, " !!! file %s is WRITE PROTECTED\n", kDeltaTFile);
      con_getc();
    } else {
      std::fputs(" OK, - No RESET of file 0x0.txt\n", out);
      con_getc();
    }
  } else {
    std::fputs(" OK, - No RESET of files 0x0,0x1,0x2.txt\n", out);
  }
  std::fputs("            ... hit ENTER to continue: \n", out);
  con_getc();
  return State::LOOP_TOP;
}

State run_state(State s, RunState& rs) {
  switch (s) {
    case State::START: return st_start(rs);
    case State::LOOP_TOP: return st_loop_top(rs);
    case State::OBS2_FILE: return st_obs2_file(rs);
    case State::EXAMPLE: return st_example(rs);
    case State::OBS_INPUT: return st_obs_input(rs);
    case State::COMPUTE: return compute_observation(rs);
    case State::HCAZ: return hcaz_intercept(rs);
    case State::RESULT: return result_screens(rs);
    case State::POST_OBS_MENU: return st_post_obs_menu(rs);
    case State::SAIL: return sail_run(rs);
    case State::FINAL: return final_fix(rs);
    case State::FINAL_MENU: return st_final_menu(rs);
    case State::LD_STEP: return lunar_distance_step(rs);
    case State::ITERATE: return st_iterate(rs);
    case State::STOP: return st_stop(rs);
    case State::END: return st_end(rs);
  }
  return State::END;
}

State st_loop_top(RunState& rs) {
  rs.work = rs.obs1;
  if (rs.flow.autorun)
    return State::EXAMPLE;         // the file is neither read nor written
  if (!read_R1(rs)) write_W1(rs);  // only a missing file is created
  return State::EXAMPLE;
}

State st_obs2_file(RunState& rs) {
  rs.work = rs.obs2;
  if (rs.flow.autorun) return State::EXAMPLE;
  if (!read_R2(rs)) write_W2(rs);
  return State::EXAMPLE;
}

State st_example(RunState& rs) {
  if (rs.flow.obsno == 1) {
    example_screen(rs);
    if (!rs.flow.autorun) con_getc();
  }
  discard_pending_input();  // nothing typed ahead reaches the entry screens
  return State::OBS_INPUT;
}

State st_obs_input(RunState& rs) {
  if (!enter_observation(rs)) return State::END;  // latitude beyond 90
  return State::COMPUTE;
}

State st_post_obs_menu(RunState& rs) {
  FILE* out = con_out();
  for (;;) {
    std::fputs(rs.flow.obsno == 1
                   ? " ### ENTER: 1=repeat 9=stop, or hit RETURN "
                   : " ### ENTER: 2=repeat[2.obs.] or hit RETURN ",
               out);
    rs.flow.choice = 999;
    if (!rs.flow.autorun)
      rs.flow.choice = parsenth(1, 999);
    else
      rs.flow.choice = (rs.flow.obsno == 1) ? 2 : 3;
    if (rs.flow.choice >= 0) break;
  }
  if (rs.flow.obsno == 1) {
    if (rs.flow.choice == 999) rs.flow.choice = 2;
    if (rs.flow.choice <= 1) return State::EXAMPLE;  // repeat observation 1
    if (rs.flow.choice == 2) {
      rs.flow.obsno = 2;
      return State::OBS2_FILE;
    }
    return State::END;  // nothing is saved
  }
  if (rs.flow.choice == 999) rs.flow.choice = 3;
  switch (rs.flow.choice) {
    case 0: return State::EXAMPLE;  // repeat without reading the file
    case 1: rs.flow.obsno = 1; return State::LOOP_TOP;
    case 2: return State::OBS2_FILE;  // repeat after reading the file again
    case 3: return State::SAIL;
    default: return State::END;  // nothing is saved
  }
}

State st_final_menu(RunState& rs) {
  FILE* out = con_out();
  for (;;) {
    rs.flow.choice = 4;
    if (!rs.flow.ldentered) rs.flow.choice = 5;
    if (fix_converged(rs.fix.poserr)) {
      // Converged: the fix's latitude becomes the dead-reckoning latitude of
      // both records; the longitudes stay.
      rs.obs1.lat_deg = rs.work.lat_deg;
      rs.obs1.lat_min = rs.work.lat_min;
      rs.obs2.lat_deg = rs.work.lat_deg;
      rs.obs2.lat_min = rs.work.lat_min;
      // 5: a further lunar-distance pass, the final check of the fix.
      std::fputs(" ## ENTER: 1=restart, 5=KESTOR, 9=stop:\n", out);
      std::fputs(" For FINAL CHECK, press again RETURN !\n", out);
      rs.flow.choice = 5;
      rs.flow.iterpasses = 0;
    } else if (rs.work.lat_deg >= -88 && rs.work.lat_deg <= 88) {
      std::fputs(" ## ENTER: 1=restart, 4=ITERATE, 9=stop:", out);
    } else {
      // The fix lies at 89 degrees of latitude or nearer a pole.
      std::fputs(" continue with RETURN, 1=start, or 9=stop\n", out);
      rs.flow.autorun = false;
      rs.flow.ldpasses = 0;
      rs.flow.ldentered = false;  // the lunar distance is asked for again
      rs.flow.choice = 5;
    }
    rs.flow.autorun = false;

    bool answered = false;
    if (rs.flow.choice == 5) {
      if (rs.flow.ldpasses <= 0) {
        rs.flow.choice = parsenth(1, 5);
        answered = true;
      } else if (rs.flow.ldpasses > kMaxLunarPasses) {
        rs.flow.choice = parsenth(1, 5);
        rs.flow.ldpasses = 0;
        answered = true;
      }
    } else if (rs.flow.iterpasses >= kMaxIteratePasses) {
      // A fix that does not converge would otherwise be iterated for ever:
      // after so many passes in a row the answer is read, as after a
      // converged fix.
      rs.flow.choice = parsenth(1, 5);
      answered = true;
    }

    switch (rs.flow.choice) {
      case 0:
      case 1:
      case 4:
      case 5:
      case 9:
        if (answered) rs.flow.iterpasses = 0;
        break;
      default: continue;  // the menu again
    }
    switch (rs.flow.choice) {
      case 0: return State::SAIL;  // the run and the fix again
      case 1:
        rs.flow.autorun = false;
        rs.flow.obsno = 1;
        rs.flow.lddone = false;
        rs.flow.ldentered = false;
        return State::LOOP_TOP;
      case 4: return State::ITERATE;
      case 5: return State::LD_STEP;
      default: return State::STOP;
    }
  }
}

State st_iterate(RunState& rs) {
  FILE* out = con_out();
  rs.flow.autorun = true;
  rs.flow.iterpasses += 1;
  skip(25);
  std::fputs(" ITERATION started:\n", out);
  std::fputs(" Just repeat all steps by hitting ENTER, \n", out);
  std::fputs(" but do not change any parameters.\n\n", out);
  std::fputs(" You may repeat the iteration several times,\n", out);
  std::fputs(" until there is no more change\n", out);
  std::fputs(" in the FINAL POSITION.\n\n", out);
  std::fputs(" ...now hit ENTER to continue:\n", out);
  if (!rs.flow.ldentered) con_getc();

  double back = rs.fix.course - 180;
  if (back < 0) back = back + 360;
  // The course, the course back and the velocity of the run between the
  // sights.
  std::fprintf(out, "kursav0 kursbak, velav %f %f %f\n", rs.fix.course, back,
               rs.fix.velocity);
  // The fix run back to the time of observation 1; both sights share that
  // time, so the fix moves only when velocity is a distance (negative).
  double lat = 0, lon = 0;
  verspos(rs.shared.jd1, rs.shared.jd1, rs.fix.velocity, back, rs.fix.lat,
          rs.fix.lon, &lat, &lon);
  rs.sight1.pos.lat = lat;
  rs.sight1.pos.lon = lon;
  set_position(rs.obs1, lat, lon);

  rs.obs2.lat_deg = rs.work.lat_deg;
  rs.obs2.lat_min = rs.work.lat_min;
  rs.obs2.lon_deg = rs.work.lon_deg;
  rs.obs2.lon_min = rs.work.lon_min;

  rs.flow.obsno = 1;
  return State::LOOP_TOP;
}

State st_stop(RunState& rs) {
  FILE* out = con_out();
  std::fputs("\n>> fixed: write dodarivi0r1.txt \n", out);
  write_W4(rs, 1);
  std::fputs(">> fixed: write dodarivi0r2.txt \n", out);
  write_W4(rs, 2);
  return State::END;
}

State st_end(RunState& rs) {
  for (const char* line : kClosing) std::fputs(line, con_out());
  rs.flow.end_shown = true;
  con_getc();
  return State::END;
}

int run_dialogue(FILE* in, FILE* out, const char* workdir) {
  const int dir = open(workdir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) {
    std::fprintf(out, " !!! directory %s cannot be entered\n", workdir);
    std::fflush(out);
    return 1;
  }
  Session own;
  own.console = Console{in, out, dir};
  const SessionScope scope(own);

  RunState rs;
  try {
    for (State s = State::START;;) {
      const State next = run_state(s, rs);
      if (s == State::END) break;
      s = next;
    }
  } catch (const EndOfInput&) {
    // Standard input has ended: the closing screen, once.
  }
  if (!rs.flow.end_shown) {
    try {
      st_end(rs);
    } catch (const EndOfInput&) {
      // its last key finds the end of input again
    }
  }
  std::fflush(out);
  close(dir);
  return 0;
}
