// The start window: Start goes on to the options form, Exit leaves, About tells what KAVRO is.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class UserDialogs;

class MainFrm : public QDialog {
  public:
    // The one-line credit and the About text.
    static const char* const kCredit;
    static const char* const kAbout;

    explicit MainFrm(UserDialogs& dialogs, QWidget* parent = nullptr);

    // exec() gives Accepted for Start (the options form follows) and Rejected for Exit or close.

  private:
    UserDialogs& dialogs_;
};
