// kavro: the desktop generator. The start window leads to the options form; OK there builds the
// workbook, saves it where the user chooses and opens it in the desktop's spreadsheet
// application, and the program ends.
#include <QApplication>

#include "generator/app/frm_input.h"
#include "generator/app/main_frm.h"
#include "generator/app/user_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("KAVRO");
    // The windows come and go one after another; none of them ends the program by closing.
    QApplication::setQuitOnLastWindowClosed(false);

    QtUserDialogs dialogs;
    {
        MainFrm start(dialogs);
        if (start.exec() != QDialog::Accepted) return 0;  // Exit
    }
    FrmInput options(dialogs, RunSetup::forProcess());
    options.exec();
    return options.exitCode();
}
