#include "shell/qt/DialogFont.h"

#include <QStringList>

namespace vantrell {

QFont dialogFont() {
    QFont font;
    font.setFamilies({"Liberation Sans", "Arimo", "Arial"});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

}  // namespace vantrell
