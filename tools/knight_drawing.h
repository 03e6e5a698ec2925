#pragma once

class QColor;
class QPainter;

// The knight of our bitmaps and icons, drawn in a 55 x 55 square with its eye
// and mane line in `detail`; scale the painter to draw it at another size.
void drawKnight(QPainter& painter, const QColor& detail);
