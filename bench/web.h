#pragma once

#include "measure.h"

#include <vector>

// The page in headless Chromium against a page that does the same visible
// work by hand (web/floor.html): its code's size, navigation to the credits
// box, OK to the board shown, a move from click to both cells repainted, and
// time and memory per move at 1,000 and at `longRun` moves.
std::vector<Row> measureWeb(int runs, int longRun);
