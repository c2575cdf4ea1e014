// Fixed-column text tables: rows of plain text in slots of W characters,
// NUL-padded, read field by field (columns first..last, 0-based, inclusive)
// with atoi or atof.  A field that holds no number reads as 0.
#pragma once

int iarr35(const char (*table)[35], int row, int first, int last);
double farr35(const char (*table)[35], int row, int first, int last);
double yarr35(const char (*table)[35], int row, int first, int last);
double farr60(const char (*table)[60], int row, int first, int last);

// One row of a table in the nutation series' layout (34 columns, then NUL):
// its nine fields as the readers take them through the windows 0-2, 2-4,
// 4-6, 6-8, 8-10, 10-17 (iarr35), 17-23 (farr35), 23-29 (iarr35) and 29-35
// (farr35), the integers into ints[0..6] in that order (five multiples, A,
// B) and the reals into reals[0..1] (A', B').  A row that stands exactly in
// the layout is read at its columns directly; any other row through the
// readers themselves, so the values are always theirs.
void nutrow35(const char (*table)[35], int row, int ints[7], double reals[2]);
