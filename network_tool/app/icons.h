// Toolbar and window icons of Combra, drawn in code.
#pragma once

#include <QIcon>

namespace combra::app {

enum class IconKind { kNew, kOpen, kSave, kCut, kCopy, kPaste, kPrint, kAddBmp, kCalculate, kAbout, kProgram };

QIcon MakeIcon(IconKind kind);

}  // namespace combra::app
