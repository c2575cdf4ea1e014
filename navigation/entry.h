// The entry of one observation: the EXAMPLE screen, the entry screens from
// the date to the sextant altitude, and the star selection screen.
#pragma once

#include "runstate.h"

// The star selection screen.  Outside the automatic passes (autorun false)
// the star number is read (the default on an empty answer) and the screen
// pauses; in them the default is taken unread.  A number outside 0..57
// selects the placeholder 58 and the screen is shown again with the default
// 58, read from then on.  Returns the star number, 0..57.
int starlist(bool autorun, int def);

// The EXAMPLE screen of observation 1, with the values of work.
void example_screen(const RunState& rs);

// The entry screens of the observation in hand (rs.flow.obsno), from filling
// work to the sextant altitude: they fill work, the shared values and the
// derived values (assumed positions, Julian Day, Hs).  During the automatic
// passes (rs.flow.autorun) nothing is read and the values stay as they are.
// False when a latitude beyond 90 degrees ends the dialogue.
bool enter_observation(RunState& rs);
