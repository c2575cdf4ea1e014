// Fixed-column text tables: rows of plain text in slots of W characters,
// NUL-padded, read field by field (columns first..last, 0-based, inclusive)
// with atoi or atof.  A field that holds no number reads as 0.
#pragma once

int iarr35(const char (*table)[35], int row, int first, int last);
double farr35(const char (*table)[35], int row, int first, int last);
double yarr35(const char (*table)[35], int row, int first, int last);
double farr60(const char (*table)[60], int row, int first, int last);
