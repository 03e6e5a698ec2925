#pragma once

#include "measure.h"

#include <vector>

// Click to both cells repainted, for a Knight-move and a Tour move, against
// loading the same bitmap file(s) into plain QLabels and repainting them; then
// time and memory per move at 1,000 and at `longRun` moves.
std::vector<Row> measureMoves(int samples, int longRun);
