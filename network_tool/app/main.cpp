// Combra: draws a network of BMPs and computes the combined removal efficiencies.
#include <QApplication>
#include <QStringList>

#include "main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Combra"));
    QApplication::setOrganizationName(
        QString::fromLatin1(combra::app::CMainFrame::kSettingsKey));

    combra::app::CMainFrame frame;
    frame.LoadCatalog();

    // A model input file named on the command line is opened at start; if it cannot be
    // opened (the message says why) the program ends.
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && !frame.OpenDocumentFile(args.at(1))) return 1;

    frame.show();
    return app.exec();
}
