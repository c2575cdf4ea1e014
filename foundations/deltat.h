// Delta-T (TT minus UT, seconds): the built-in model for the years -700 to
// 3500, the three-point parabola it interpolates with, and the editable
// Delta-T table file "dodarivi0r0.txt" for the years after 2020.
#pragma once

#include <cstdio>

// Delta-T of the model for a whole year, in seconds: up to 2499 the parabola
// through three consecutive rows of the built-in table (the row at or below
// the year and the two after it; for 2300 to 2499 the last three rows, 2300,
// 2400 and 2500), from 2500 to 3500 a parabola in the year.  Outside the
// years -700 to 3500 it prints two lines on the console and gives 0.
double deltatime(int year);

// Value at x of the parabola through (x1, y1), (x2, y2), (x3, y3).
double quadipola(double x1, double y1, double x2, double y2, double x3,
                 double y3, double x);

// quadipola over elements 1 to 3 of two arrays (element 0 unused).
void quadipolb(const double* xs, const double* ys, double x, double* y);

// The name of the Delta-T table file: "dodarivi0r0.txt".
extern const char kDeltaTFile[];

// Delta-T for a year from the Delta-T table file "dodarivi0r0.txt" in the
// directory of the program's files (con_dir()), in seconds.
//  - After 3000: 0, and the file is neither read nor created.
//  - A missing file is created with its default content (21 rows from 2020 to
//    3000 computed by deltatime, then an explanatory text); an existing file
//    is never changed.
//  - The rows are read again on every call (at most 40, up to the first year
//    of 3000 or more), each as fscanf reads the format "%d %lf \n", after the
//    fixed nodes (2010, 66.1) and (2020, 69.36), which take the place of the
//    file's first row; the value is the parabola
//    through the interval's two rows and the row before it.  0 for a year
//    before 2020 or beyond the last row read, and for a value that is not
//    finite.
//  - Rows whose years decrease: prints "??? dodarivi0r0.txt:" and
//    "? wrong sequence:" with the last year found in order, waits for one
//    character from the console and gives 0.  At end of input the wait throws
//    EndOfInput, which propagates out of delta0x to the dialogue, as every
//    other read of the console does.
//  - A file that can be neither read nor created: prints one line beginning
//    "??? dodarivi0r0.txt can be neither read nor created" and gives the
//    model's deltatime(year) (0 before -700, without the model's own lines).
double delta0x(int year);

// The nodes of the table as delta0x reads them from the open file f: node 0
// is (2010, 66.1), node 1 (2020, 69.36), nodes 2 onwards the rows from the
// file's second row on, read with fscanf and the format "%d %lf \n" (a row
// that cannot be read whole leaves what it does not reach as the row before
// gave it).  Reading stops after the first row whose year is 3000 or more,
// or after 40 rows.  yrs and vals hold 41 elements each; returns the count
// of nodes after node 0.
int deltat_read_nodes(FILE* f, int* yrs, double* vals);
