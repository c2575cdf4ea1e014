// The two observation record files, "dodarivi0r1.txt" (observation 1, the
// Moon) and "dodarivi0r2.txt" (observation 2, the second body), in the
// directory of the program's files (con_dir()): their reads R1 and R2 and
// their writes W1 to W4.
//
// Each file holds nine lines, the first file ten after a final save: the
// record of its observation on lines 1 to 6 (date, time, latitude,
// longitude, body and star, sextant altitude), the shared values on lines 7
// to 10.  The table kLayout in records.cpp gives each line, what it holds and
// the formats it is written and read with.
#pragma once

#include "runstate.h"

extern const char kRecordFile1[];  // "dodarivi0r1.txt"
extern const char kRecordFile2[];  // "dodarivi0r2.txt"

// R1 and R2: read the record file into work and the shared values, then copy
// work into obs1 (R1) or obs2 (R2).  The read format of each line (of the
// layout in records.cpp) is applied in order with fscanf to the rest of
// the file, so the file is read as one stream of numbers in the order of
// the layout; the first format that does not read all its values ends the
// read, and every field it does not reach keeps its value.  False when
// nothing stands under the file's name: nothing is changed, and the caller
// creates the file.  True otherwise: the file was read, or it stands there
// but cannot be read (no read permission, an I/O error on the open or in
// the middle of the reads, anything but a regular file under its name, a
// symbolic link that leads nowhere); then one line says so, nothing is
// changed, and the file is left as it is: the writes below do not replace
// it, each reporting so, until a read of it succeeds.
bool read_R1(RunState& rs);
bool read_R2(RunState& rs);

// W1: the first file from obs1 and the shared values.
// W2: the second file from obs2 and the shared values.
// W3: the file of the observation in hand from work, then obs1 or obs2 takes
//     the values written.
// W4: the final save of one file (1 or 2); sets intercept and spare to 0.
// A write replaces the old file only once the new one is complete, and a
// file that already holds what would be written is left as it is; a file
// that cannot be written, or that could not be read when it was last read,
// is reported by one line and the run goes on.
void write_W1(RunState& rs);
void write_W2(RunState& rs);
void write_W3(RunState& rs);
void write_W4(RunState& rs, int file);
