#pragma once

#include <QRect>
#include <QWidget>

namespace vantrell {

// Positions and sizes of the windows are given in twips (1/1440 inch); they are turned into
// pixels at the screen's logical resolution.
// The pixels of `twips` at `dotsPerInch`, rounded to the nearest.
int twipsToPixels(int twips, double dotsPerInch);
// The same at the logical resolution of the screen `widget` is on.
int twipsToPixels(int twips, const QWidget& widget);
// A rectangle given in twips, in pixels of the screen `widget` is on.
QRect twipsRect(int left, int top, int width, int height, const QWidget& widget);

}  // namespace vantrell
