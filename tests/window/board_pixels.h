#pragma once

#include "frmmain.h"

#include <QColor>
#include <QString>
#include <map>
#include <utility>

// What the board should show: the white squares' colour and the bitmap file
// on each square that has a picture.
struct ExpectedBoard {
    QColor white;
    std::map<std::pair<int, int>, QString> pictures;
};

// Reads what the window has painted, device pixel by device pixel, from its
// backing store: one frame-line width across and down, the first line on the
// board's edge, the right edge framed, cells even within a pixel, every line
// black, every square its colour, and each picture at its natural size on its
// own square's colour. Returns what is wrong, or "" when nothing is.
QString boardFaults(const frmMain& window, const ExpectedBoard& expected);
