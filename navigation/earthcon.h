// The Earth-conditions dialog: the screen on which the navigator confirms or
// overrides Delta-T, the air temperature and the air pressure of the sights.
#pragma once

// Offers the Delta-T of the year (the model up to 2020, the Delta-T table
// file after 2020; the remembered Delta-T instead once one has been confirmed
// or set to 0 in this run) with the temperature (degrees Celsius) and the
// pressure (hPa) passed in, and returns the three values to use: Delta-T in
// seconds, temperature and pressure.
void earthcon(int year, double temp, double press, double* deltaT,
              double* temp_out, double* press_out);

// Forgets the remembered Delta-T of the current session (session.h), as at
// the start of a run.
void earthcon_reset();
