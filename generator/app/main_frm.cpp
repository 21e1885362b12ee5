#include "generator/app/main_frm.h"

#include <QLabel>
#include <QPushButton>

#include "generator/app/form_style.h"
#include "generator/app/user_dialogs.h"

const char* const MainFrm::kCredit =
    "Developed by the KAVRO project team for state and local watershed planning agencies.";
const char* const MainFrm::kAbout =
    "KAVRO was designed and developed by the KAVRO project team for the load-reduction reporting "
    "of watershed implementation plans.";

MainFrm::MainFrm(UserDialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
    setObjectName("MainFrm");
    setWindowTitle("Main");
    form::makeFixedDialog(this, 7995, 4515);

    auto* lbTitle = new QLabel("KAVRO: Pellavon", this);
    lbTitle->setObjectName("lbTitle");
    QFont title(QStringLiteral("Arial"));
    title.setStyleHint(QFont::SansSerif);
    title.setPointSizeF(20.25);
    title.setWeight(QFont::Bold);
    lbTitle->setFont(title);
    lbTitle->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lbTitle->setGeometry(form::place(600, 480, 6792, 1080));

    auto* authorLbl = new QLabel("Version 4.4 (March 2018)", this);
    authorLbl->setObjectName("authorLbl");
    authorLbl->setGeometry(form::place(1320, 2040, 2895, 375));

    auto* label1 = new QLabel(kCredit, this);
    label1->setObjectName("Label1");
    label1->setWordWrap(true);
    label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label1->setGeometry(form::place(1320, 2400, 3735, 735));

    auto* amdAbout = new QPushButton("About KAVRO", this);
    amdAbout->setObjectName("amdAbout");
    amdAbout->setGeometry(form::place(1320, 3240, 1215, 495));

    const QFont big = form::msSansSerif(12, true);
    auto* btnExit = new QPushButton("Exit", this);
    btnExit->setObjectName("btnExit");
    btnExit->setFont(big);
    btnExit->setGeometry(form::place(4320, 3240, 1095, 495));

    auto* btnStart = new QPushButton("Start", this);
    btnStart->setObjectName("btnStart");
    btnStart->setFont(big);
    btnStart->setToolTip("Start creating a Excel spreadsheet based on user's input");
    btnStart->setGeometry(form::place(6120, 3240, 975, 495));

    connect(btnStart, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnExit, &QPushButton::clicked, this, &QDialog::reject);
    connect(amdAbout, &QPushButton::clicked, this,
            [this] { dialogs_.message(this, QStringLiteral("KAVRO"), kAbout); });
}
