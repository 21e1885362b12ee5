// Placement and fonts shared by the two windows. Places are given in twips (1/1440 inch) and
// converted at 15 twips per pixel (96 dpi).
#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>

namespace form {

// Twips to pixels, rounded to the nearest pixel.
constexpr int px(int twips) { return (twips * 2 + 15) / 30; }
inline QRect place(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

// "MS Sans Serif" (falling back to metric-close faces where it is not installed) in the given
// size, bold or not. Weight and size are set explicitly, so a child never inherits its parent's
// bold caption font by accident.
QFont msSansSerif(double pointSize, bool bold = false);
// The windows' own font: the classic dialog font, MS Sans Serif 8.25 pt.
QFont defaultFont();

// A fixed-size dialog window with a title and a close button, without minimise, maximise or
// context-help buttons; `width` x `height` is the client area in twips.
void makeFixedDialog(QWidget* window, int width, int height);

}  // namespace form
