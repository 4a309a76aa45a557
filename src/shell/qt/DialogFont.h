#pragma once

#include <QFont>

namespace vantrell {

// The font the windows' twips layout was designed for: an 8-point sans-serif dialog font with
// Arial's metrics (Liberation Sans on Linux, from fonts-liberation2; Arimo has the same
// metrics). A wider font would not fit the captions in their buttons.
QFont dialogFont();

}  // namespace vantrell
