#include "generator/app/user_dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QUrl>

namespace {
// The extension of the filter's first pattern ("xlsm" for "... (*.xlsm)"), added to a name
// typed without one, as the spreadsheet application's own save dialog does.
QString defaultSuffix(const QString& filter) {
    QRegularExpressionMatch m = QRegularExpression(R"(\*\.([A-Za-z0-9]+))").match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}
}  // namespace

std::unique_ptr<QMessageBox> QtUserDialogs::makeMessageBox(QWidget* parent, const QString& caption,
                                                           const QString& text) {
    auto box =
        std::make_unique<QMessageBox>(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText);
    return box;
}

std::unique_ptr<QMessageBox> QtUserDialogs::makeQuestionBox(QWidget* parent, const QString& caption,
                                                            const QString& text) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, caption, text,
                                             QMessageBox::Yes | QMessageBox::No, parent);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::Yes);
    return box;
}

std::unique_ptr<QFileDialog> QtUserDialogs::makeSaveDialog(QWidget* parent,
                                                           const QString& initialPath,
                                                           const QString& filter) {
    auto dlg = std::make_unique<QFileDialog>(parent, QObject::tr("Save As"),
                                             QFileInfo(initialPath).absolutePath(), filter);
    dlg->setAcceptMode(QFileDialog::AcceptSave);
    dlg->setFileMode(QFileDialog::AnyFile);
    dlg->setDefaultSuffix(defaultSuffix(filter));
    dlg->selectFile(QFileInfo(initialPath).fileName());
    return dlg;
}

void QtUserDialogs::message(QWidget* parent, const QString& caption, const QString& text) {
    makeMessageBox(parent, caption, text)->exec();
}

bool QtUserDialogs::question(QWidget* parent, const QString& caption, const QString& text) {
    return makeQuestionBox(parent, caption, text)->exec() == QMessageBox::Yes;
}

QString QtUserDialogs::saveFileName(QWidget* parent, const QString& initialPath,
                                    const QString& filter) {
    std::unique_ptr<QFileDialog> dlg = makeSaveDialog(parent, initialPath, filter);
    if (dlg->exec() != QDialog::Accepted || dlg->selectedFiles().isEmpty()) return QString();
    return dlg->selectedFiles().first();
}

void QtUserDialogs::openFile(QWidget* parent, const QString& path) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        message(parent, QStringLiteral("KAVRO"),
                QObject::tr("The workbook was saved as %1, but no application to open it was "
                            "found.")
                    .arg(QDir::toNativeSeparators(path)));
}
