#pragma once

#include "colour.h"

#include <QColor>
#include <QPalette>

// RGB values map directly; a system colour takes the matching colour of the
// toolkit's palette, so white squares follow the user's scheme.
QColor toQColor(ColourValue value, const QPalette& palette);
