#pragma once

class QPainter;

// The knight of our bitmaps and icons, drawn in a 55 x 55 square; scale the
// painter to draw it at another size.
void drawKnight(QPainter& painter);
