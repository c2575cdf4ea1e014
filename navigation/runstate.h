// The state of one run of the navigation dialogue, in parts by owner: the
// two observation records and the working copy, the values both sights
// share, the last computation of a sight and what each observation keeps of
// it, the lunar-distance step, the run between the sights with the fix, and
// the flow of the dialogue's state machine.  One value of it is owned by
// run_dialogue and lives for the whole run; every state of the dialogue reads
// and writes it.
#pragma once

// The instant of a sight, UT, whole seconds.
struct obstime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The remembered inputs of one observation.  Angles are whole degrees and
// signed decimal minutes: the minutes carry the sign of the angle, and for an
// angle between 0 and -1 degree the degrees are 0 and only the minutes are
// negative.
struct obsrec {
  int year = 0;        // civil year of the sight
  int month = 0;       // month 1 to 12
  int day = 0;         // day of the month
  int hour = 0;        // UTC hour
  int minute = 0;      // UTC minute
  int second = 0;      // UTC second
  int lat_deg = 0;     // dead-reckoning latitude, degrees (north positive)
  double lat_min = 0;  //   and minutes
  int lon_deg = 0;     // dead-reckoning longitude, degrees (east positive)
  double lon_min = 0;  //   and minutes
  int bodycode = 0;   // 0/1 Sun lower/upper limb, 2/3 Moon, 4-7 planets, 8 star
  int starno = 0;     // catalogue number of the star (body code 8)
  int hs_deg = 0;     // sextant altitude, degrees
  double hs_min = 0;  //   and minutes
};

// The date and time of one record given to another: the two sights share
// them.
inline void copy_date_time(obsrec& to, const obsrec& from) {
  to.year = from.year;
  to.month = from.month;
  to.day = from.day;
  to.hour = from.hour;
  to.minute = from.minute;
  to.second = from.second;
}

// The built-in records, used until a record file has been read and written
// into a file that is missing.
obsrec builtin_obs1();  // the Moon's lower limb, 2017-06-17 03:57:14
obsrec builtin_obs2();  // Venus at the same date, time and position

// The states of the dialogue.
enum class State {
  START,          // initial values, Delta-T table file, title, reset dialogue
  LOOP_TOP,       // loads observation 1's record
  OBS2_FILE,      // loads observation 2's record
  EXAMPLE,        // example screen (observation 1), pending input discarded
  OBS_INPUT,      // entry screens of the observation in hand
  COMPUTE,        // ephemeris and altitude correction of the observation
  HCAZ,           // computed altitude, azimuth and intercept
  RESULT,         // result screen, record write, ephemeris screens
  POST_OBS_MENU,  // menu after an observation
  SAIL,           // first lunar-distance step, or the run between the sights
  FINAL,          // FINAL screen, fix, sunrise and sunset, LUNAR RESULT
  FINAL_MENU,     // menu after a fix
  LD_STEP,        // one lunar-distance pass
  ITERATE,        // assumed positions moved to the fix, automatic pass
  STOP,           // final save
  END             // closing screen
};

// What both sights share: the instrument, the Earth conditions and the time.
struct SharedValues {
  double Ic = 0;          // index correction of the sextant, arcminutes
  double eye = 1.83;      // height of eye, metres (0 to 40)
  double temp = 16.1;     // air temperature, degrees Celsius
  double press = 1026.4;  // air pressure, hPa
  double deltaT = 0;      // Delta-T of the sights, seconds (set by the
                          // Earth-conditions dialog of observation 1)
  double jd1 = 0;         // Julian Day (UT) of the sights: observation 1's,
                          // since the two sights share its date and time
  double spare = 3.14159265359;  // third value of line 8 of the record
                                 // files, carried through
};

// The apparent place of a body at an instant (bodyplace.h).
struct BodyPlace {
  double Dec = 0, GHA = 0, GAST = 0, RA = 0;  // degrees
  double HP = 0, SD = 0;  // horizontal parallax and semi-diameter, arcminutes
                          // (0 where the body shows none)
  double SHA = 0;         // sidereal hour angle of a star, degrees (0 for
                          // other bodies)
};

// The last computation of one sight: its time, the place of the body (its
// horizontal parallax and semi-diameter given to the altitude correction),
// the altitudes and their corrections, the azimuth and the intercept.
struct Computation : BodyPlace {
  obstime calctime;        // date and time handed to the ephemerides
  double sunRA = 0;        // the Sun's right ascension, degrees
  double JDE = 0;          // dynamical Julian Day of the Sun's place
  double Hs = 0;           // sextant altitude, decimal degrees
  double LHA = 0, Hc = 0;  // local hour angle, computed altitude, degrees
  double Ho = 0, Ha = 0;   // observed and apparent altitudes, degrees
  double parallax = 0, dip = 0, refraction = 0, SDa = 0, S_Correction = 0;
  // outputs of the altitude correction, arcmin
  double intercept = 0;  // nautical miles, towards the body
  double Az = 180.0;     // azimuth, degrees
};

// A position, degrees, north and east positive.
struct Position {
  double lat = 0;
  double lon = 0;
};

// What one observation keeps of its computation for the lunar distance and
// the fix, and the assumed position at which it is reduced (position 1 or
// position 2).
struct Sight {
  Position pos;
  double Hs = 0, Ha = 0, Ho = 0;  // sextant, apparent, observed altitude, deg
  double Az = 180.0;              // degrees
  double intercept = 0;           // nautical miles
};

// Observation 1, the Moon, keeps more for the lunar distance and the run.
struct MoonSight : Sight {
  double SDa = 0;                    // augmented semi-diameter, arcminutes
  double moonpar = 0;                // parallax in altitude, degrees
  obsrec atresult = builtin_obs1();  // the record as shown on the result
                                     // screen (day, time, dead-reckoning
                                     // position)
};

// The lunar-distance step: the measured distance, the limb and the side, and
// the almanac and cleared distances of its last evaluation, which the LUNAR
// RESULT screen shows.
struct LunarStep {
  double LD_limb = 48.11666666666667;  // measured lunar distance, degrees
  int side = +1;                   // +1 second body east of the Moon, -1 west
  double limb = 1.0;               // below 1.5 near limb, above 1.5 far limb
  double LDtrue = 0, LDclear = 0;  // degrees
};

// The run between the sights and the fix.
struct FixState {
  double course = 0;    // course of the run between the sights, degrees
  double velocity = 0;  // knots; negative: minus the distance run, nm
  double run_lat = 0, run_lon = 0;  // observation 1's position carried over
  double lat = 0, lon = 0;          // intersection of the lines of position
  double poserr = 0;                // run position to fix, nautical miles
  // Sunrise and sunset at the fix: UT hours and minutes, the azimuths of the
  // rising and the setting Sun (whole degrees) and the duration of twilight
  // (minutes).
  int rise_hour = 0, rise_minute = 0, set_hour = 0, set_minute = 0;
  int rise_az = 0, set_az = 0, twilight = 0;
};

// The flow of the dialogue: the observation in hand, the phase of the run,
// the passes counted and the menu answer.
struct Flow {
  int obsno = 1;           // observation in hand: 1 the Moon, 2 the second body
  bool autorun = false;    // the automatic passes are running: nothing is asked
  bool lddone = false;     // the first lunar-distance time correction is made
  bool ldentered = false;  // limb, side and lunar distance have been entered
  bool renewing = false;   // the next HCAZ belongs to the run and the fix
  int ldpasses = 0;        // lunar-distance passes counted
  int ldinner = 0;         // time re-evaluations within one lunar-distance pass
  int badfix = 0;          // bad intersections since the last fix
  int choice = 0;          // the answer of the menu in hand
  int iterpasses = 0;      // ITERATE passes in a row: set to 0 by a converged
                           // fix, by an answer read at the final menu and by
                           // the errors of the fix, which leave the automatic
                           // passes
  bool end_shown = false;  // the closing screen has been printed
};

struct RunState {
  // The records.
  obsrec obs1 = builtin_obs1();  // observation 1, always the Moon
  obsrec obs2 = builtin_obs2();  // observation 2, the second body
  obsrec work = obs1;            // the observation being loaded/entered/worked
  // For each record file, the first and the second: something stood under
  // its name when it was last read, but it could not be read.  The run's
  // saves leave such a file as it is until a read of it succeeds.
  bool record_unreadable[2] = {false, false};

  SharedValues shared;  // what both sights share
  Computation calc;     // the last computation of a sight
  MoonSight sight1;     // kept from observation 1, reduced at position 1
  Sight sight2;         // kept from observation 2, reduced at position 2
  LunarStep ld;         // the lunar-distance step
  FixState fix;         // the run between the sights and the fix
  Flow flow;            // states, passes and flags of the dialogue
};
