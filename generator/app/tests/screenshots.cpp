// Pictures of every window of kavro, taken offscreen: the start window, the About message, the
// options form at load, set up, and while the run works, the success message, the save dialog,
// and the failure messages. Usage: kavro_screenshots [OUTPUT_FOLDER] (default /tmp/kavro-shots).
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <cstdio>

#include "generator/app/frm_input.h"
#include "generator/app/main_frm.h"
#include "generator/app/user_dialogs.h"

namespace {

QString outDir;

// The window's picture under a plain caption strip drawn here (the offscreen platform draws no
// window frames), so the caption can be checked too.
void save(QWidget* w, const QString& name) {
    const QString path = outDir + "/" + name + ".png";
    const QPixmap body = w->grab();
    const int strip = 24;
    QPixmap shot(body.width(), body.height() + strip);
    shot.fill(QColor(0x3c, 0x3c, 0x46));
    QPainter p(&shot);
    p.setPen(Qt::white);
    p.drawText(QRect(8, 0, body.width() - 16, strip), Qt::AlignVCenter | Qt::AlignLeft,
               w->windowTitle());
    p.drawPixmap(0, strip, body);
    p.end();
    if (!shot.save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

void shoot(QWidget* w, const QString& name) {
    w->show();
    QApplication::processEvents();
    save(w, name);
    w->hide();
}

// Shows each dialog, takes its picture under the next name of `names` (none: no picture) and
// answers it.
struct ShotDialogs : UserDialogs {
    QStringList names;
    QString savePath;
    QString take() { return names.isEmpty() ? QString() : names.takeFirst(); }
    void message(QWidget* parent, const QString& caption, const QString& text) override {
        const QString name = take();
        if (!name.isEmpty())
            shoot(QtUserDialogs::makeMessageBox(parent, caption, text).get(), name);
    }
    bool question(QWidget* parent, const QString& caption, const QString& text) override {
        const QString name = take();
        if (!name.isEmpty())
            shoot(QtUserDialogs::makeQuestionBox(parent, caption, text).get(), name);
        return false;
    }
    QString saveFileName(QWidget* parent, const QString& initial, const QString& filter) override {
        const QString name = take();
        if (!name.isEmpty()) {
            auto dlg = QtUserDialogs::makeSaveDialog(parent, initial, filter);
            dlg->resize(640, 420);
            shoot(dlg.get(), name);
        }
        return savePath;
    }
    void openFile(QWidget*, const QString&) override {}
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/kavro-shots");
    QDir().mkpath(outDir);
    const QString support = QStringLiteral(KAVRO_BINARY_DIR "/support/");

    ShotDialogs dialogs;
    MainFrm start(dialogs);
    shoot(&start, "01-main");
    dialogs.names = {"02-about"};
    start.show();
    start.findChild<QPushButton*>("amdAbout")->click();
    start.hide();

    RunSetup setup;
    setup.templatePath = (support + "NutrTplt.xlsm").toStdString();
    setup.bmpListPath = (support + "allBMPkavro.csv").toStdString();
    setup.workingFolder = outDir.toStdString();
    {
        FrmInput form(dialogs, setup);
        form.show();
        QApplication::processEvents();
        save(&form, "03-input-load");
        form.findChild<QScrollBar*>("VScroll1")->setValue(198);
        form.findChild<QScrollBar*>("VScroll2")->setValue(-2);
        form.findChild<QScrollBar*>("VScroll3")->triggerAction(QAbstractSlider::SliderPageStepSub);
        form.findChild<QRadioButton*>("OptNonZero")->click();
        QApplication::processEvents();
        save(&form, "04-input-set");

        QObject::connect(form.findChild<QStatusBar*>("StatusBar1"), &QStatusBar::messageChanged,
                         &form, [&form](const QString& text) {
                             if (text.contains("(7/14)")) save(&form, "05-input-running");
                         });
        dialogs.names = {"06-success", "07-save-dialog"};
        dialogs.savePath = outDir + "/KAVRO-shot.xlsm";
        form.findChild<QPushButton*>("btnOK")->click();
    }
    {
        // A save into a folder that does not exist, and the offer to save again (declined).
        RunSetup quick = setup;
        quick.builders = std::vector<NamedBuilder>{};
        FrmInput form(dialogs, quick);
        form.show();
        dialogs.names = {"", "", "09-save-failed", "10-save-again"};
        dialogs.savePath = outDir + "/no such folder/KAVRO.xlsm";
        form.findChild<QPushButton*>("btnOK")->click();
    }
    {
        RunSetup missing = setup;
        missing.templatePath = (outDir + "/missing/NutrTplt.xlsm").toStdString();
        FrmInput form(dialogs, missing);
        form.show();
        dialogs.names = {"08-build-failed"};
        form.findChild<QPushButton*>("btnOK")->click();
    }
    return 0;
}
