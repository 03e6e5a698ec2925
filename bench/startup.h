#pragma once

#include "measure.h"

#include <vector>

// The child's side: build either the board window (answering the credits box
// at once) or a bare window of the same size, and on its first paint print
// "painted PEAK_BYTES" and end.
int runStartupChild(int argc, char* argv[], bool bare);

// The parent's side: start both children in turn, `runs` times each, and
// return the rows for time to first paint and peak memory.
std::vector<Row> measureStartup(const QString& self, int runs);
