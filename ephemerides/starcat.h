// The text rows of the star catalogue, from which starseph builds its table
// on every call.
#pragma once

// 60 rows of 56 characters, NUL-terminated: FK5 right ascension (hours) and
// declination (degrees) for J2000.0 in columns 0-12 and 14-27, proper motions
// in right ascension (seconds of time per century) and declination
// (arcseconds per century) in 29-36 and 38-46, parallax (arcseconds) in
// 48-54, each right-aligned.  Rows 58 and 59 repeat row 43 (Polaris).
extern const char starcat_rows[60][57];
