#include "shell/qt/Twips.h"

#include <QScreen>
#include <cmath>

namespace vantrell {

int twipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / 1440.0));
}

int twipsToPixels(int twips, const QWidget& widget) {
    const QScreen* screen = widget.screen();
    return twipsToPixels(twips, screen != nullptr ? screen->logicalDotsPerInchX() : 96.0);
}

QRect twipsRect(int left, int top, int width, int height, const QWidget& widget) {
    return {twipsToPixels(left, widget), twipsToPixels(top, widget), twipsToPixels(width, widget),
            twipsToPixels(height, widget)};
}

}  // namespace vantrell
