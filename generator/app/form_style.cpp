#include "generator/app/form_style.h"

#include <QStringList>

namespace form {

namespace {
void installSubstitutes() {
    static bool done = false;
    if (done) return;
    done = true;
    // Where the bitmap face is missing, its TrueType successor, then Arial-metric faces.
    QFont::insertSubstitutions("MS Sans Serif",
                               {"Microsoft Sans Serif", "Liberation Sans", "Arial", "Nimbus Sans"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "Nimbus Sans"});
}
}  // namespace

QFont msSansSerif(double pointSize, bool bold) {
    installSubstitutes();
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(pointSize);
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    f.setItalic(false);
    return f;
}

QFont defaultFont() { return msSansSerif(8.25); }

void makeFixedDialog(QWidget* window, int width, int height) {
    window->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window->setFixedSize(px(width), px(height));
    window->setFont(defaultFont());
}

}  // namespace form
