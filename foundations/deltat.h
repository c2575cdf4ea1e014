// Delta-T (TT minus UT, seconds): the built-in model for the years -700 to
// 3500, the three-point parabola it interpolates with, and the editable
// Delta-T table file "dodarivi0r0.txt" for the years after 2020.
#pragma once

// Delta-T of the model for a whole year; 0 (after two message lines) outside
// the years -700 to 3500.
double deltatime(int year);

// Value at x of the parabola through (x1, y1), (x2, y2), (x3, y3).
double quadipola(double x1, double y1, double x2, double y2, double x3,
                 double y3, double x);

// quadipola over elements 1 to 3 of two arrays (element 0 unused).
void quadipolb(const double* xs, const double* ys, double x, double* y);

// Delta-T for a year from the Delta-T table file, which is created with its
// default content when it is missing; 0 when the file holds no value for it.
double delta0x(int year);
