// The modal questions the windows put to the user, behind a seam: the program shows real
// message boxes and file dialogs, the tests answer from a script.
#pragma once

#include <QString>
#include <memory>

class QFileDialog;
class QMessageBox;
class QWidget;

class UserDialogs {
  public:
    virtual ~UserDialogs() = default;
    // A modal message with an OK button.
    virtual void message(QWidget* parent, const QString& caption, const QString& text) = 0;
    // A modal Yes/No question; true for Yes.
    virtual bool question(QWidget* parent, const QString& caption, const QString& text) = 0;
    // The save-as dialog: the chosen path, or an empty string when the user cancelled.
    // `filter` is a Qt name filter ("Description (*.ext)").
    virtual QString saveFileName(QWidget* parent, const QString& initialPath,
                                 const QString& filter) = 0;
    // Hands a saved file to the desktop's application for it.
    virtual void openFile(QWidget* parent, const QString& path) = 0;
};

// The real dialogs.
class QtUserDialogs : public UserDialogs {
  public:
    void message(QWidget* parent, const QString& caption, const QString& text) override;
    bool question(QWidget* parent, const QString& caption, const QString& text) override;
    QString saveFileName(QWidget* parent, const QString& initialPath,
                         const QString& filter) override;
    void openFile(QWidget* parent, const QString& path) override;

    // The dialogs themselves, unshown (also used for screenshots).
    static std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const QString& caption,
                                                       const QString& text);
    static std::unique_ptr<QMessageBox> makeQuestionBox(QWidget* parent, const QString& caption,
                                                        const QString& text);
    static std::unique_ptr<QFileDialog> makeSaveDialog(QWidget* parent, const QString& initialPath,
                                                       const QString& filter);
};
