#pragma once

#include <QRect>
#include <QWidget>

namespace vantrell {

// Positions and sizes of the windows are given in twips (1/1440 inch); they are turned into
// pixels at the screen's logical resolution.
int twipsToPixels(int twips, double dotsPerInch);
int twipsToPixels(int twips, const QWidget& widget);
QRect twipsRect(int left, int top, int width, int height, const QWidget& widget);

}  // namespace vantrell
