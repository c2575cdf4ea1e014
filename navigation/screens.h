// The screens of a computed observation and of the fix (screens.cpp), and
// the figures of the equation of time that the ephemeris block shows.
//
// The screens print the run state as it stands (to con_out()) and read
// nothing: the waits for a key belong to the states that show them.
#pragma once

#include "runstate.h"

// The equation of time (hours) as the ephemeris screen shows it: whole
// minutes (signed, truncated) and seconds; the sign stands on the minutes,
// or on the seconds when the minutes are 0.
void eot_figures(double eot_hours, int* minutes, double* seconds);

// The result screen of the observation in hand, down to its pause text
// "     ... hit ENTER to continue " (no line end, no key read).
void result_screen(const RunState& rs);

// The ephemeris block printed below the result screen.
void ephemeris_block(const RunState& rs);

// The FINAL screen: observation 2 renewed at the run position.
void final_screen(const RunState& rs);

// The LUNAR RESULT screen of the fix.
void lunar_result_screen(const RunState& rs);
