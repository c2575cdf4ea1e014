// The LEA-406b lunar series as text rows (generated into leatab.cpp).
#pragma once

// 3874 slots of 160 characters, each one NUL-terminated row: slot 0 the
// title with the block counts, slots 1 to 1029 the distance terms (km,
// cosines), 1030 to 2782 the longitude terms and 2783 to 3871 the latitude
// terms (arcseconds, sines), slot 3872 a note and slot 3873 "  0  ".
extern const char leatab[3874][160];
