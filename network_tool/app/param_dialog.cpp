#include "param_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "view_rules.h"

namespace combra::app {

namespace {

struct FieldDef {
    CBMPParamDlg::Control id;
    const char* label;
};

constexpr FieldDef kFields[] = {
    {CBMPParamDlg::kLoad, "Total Pollutant Load or Area:"},
    {CBMPParamDlg::kEffN, "N Removal Efficiency:"},
    {CBMPParamDlg::kEffP, "P Removal Efficiency:"},
    {CBMPParamDlg::kEffBOD, "BOD Removal Efficiency:"},
    {CBMPParamDlg::kEffSediment, "Sediments Removal Efficiency:"},
    {CBMPParamDlg::kEffEColi, "E. Coli. Removal Efficiency:"},
};

// Efficiency fields in pollutant order.
constexpr CBMPParamDlg::Control kEffFields[kPollutantCount] = {
    CBMPParamDlg::kEffN, CBMPParamDlg::kEffP, CBMPParamDlg::kEffBOD, CBMPParamDlg::kEffSediment,
    CBMPParamDlg::kEffEColi};

constexpr double kMaxLoad = 1e16;

}  // namespace

CBMPParamDlg::CBMPParamDlg(const std::vector<BmpCatalogEntry>& catalog, QWidget* parent)
    : QDialog(parent), catalog_(catalog) {
    setWindowTitle(QStringLiteral("Set BMP Parameter Values"));
    setObjectName(QStringLiteral("CBMPParamDlg"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("BMP from the catalogue:"), this));
    list_ = new QComboBox(this);
    list_->setObjectName(QStringLiteral("1005"));
    list_->setMinimumContentsLength(40);
    list_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    for (const auto& entry : catalog_) list_->addItem(QString::fromStdString(entry.DisplayName()));
    list_->setCurrentIndex(-1);
    layout->addWidget(list_);
    connect(list_, &QComboBox::activated, this, &CBMPParamDlg::ChooseCatalogEntry);

    auto* form = new QFormLayout;
    for (const auto& field : kFields) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::number(field.id));
        edits_[field.id] = edit;
        form->addRow(QString::fromLatin1(field.label), edit);
    }
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CBMPParamDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CBMPParamDlg::reject);
    layout->addWidget(buttons);

    messageHandler_ = [this](const QString& text) {
        QMessageBox::warning(this, QStringLiteral("Combra"), text);
    };
    SetValues(Values{});
}

QLineEdit* CBMPParamDlg::Edit(Control id) const {
    auto it = edits_.find(id);
    return it == edits_.end() ? nullptr : it->second;
}

void CBMPParamDlg::SetField(Control id, double value) {
    // Six significant digits, as a float is shown.
    Edit(id)->setText(QString::number(value, 'g', 6));
}

void CBMPParamDlg::SetValues(const Values& values) {
    values_ = values;
    chosenIndex_ = values.catalogIndex;
    SetField(kLoad, values.load);
    for (int k = 0; k < kPollutantCount; ++k) SetField(kEffFields[k], values.eff[k]);
    list_->setCurrentIndex(view::IsCatalogIndex(values.catalogIndex, catalog_.size())
                               ? values.catalogIndex
                               : -1);
}

void CBMPParamDlg::ChooseCatalogEntry(int index) {
    if (!view::IsCatalogIndex(index, catalog_.size())) return;
    if (list_->currentIndex() != index) list_->setCurrentIndex(index);
    const BmpCatalogEntry& entry = catalog_[static_cast<std::size_t>(index)];
    for (int k = 0; k < kPollutantCount; ++k) {
        SetField(kEffFields[k], static_cast<double>(entry.eff[static_cast<std::size_t>(k)]));
    }
    chosenIndex_ = index;
}

bool CBMPParamDlg::ReadField(Control id, double low, double high, double& out) {
    QLineEdit* edit = Edit(id);
    const QString text = edit->text().trimmed();
    bool ok = false;
    double value = QLocale::c().toDouble(text, &ok);
    if (!ok) value = QLocale().toDouble(text, &ok);
    QString problem;
    if (!ok) {
        problem = QStringLiteral("Enter a number.");
    } else if (!(value >= low && value <= high)) {
        problem = QStringLiteral("Enter a number between %1 and %2.")
                      .arg(QString::number(low, 'g', 6), QString::number(high, 'g', 6));
    }
    if (!problem.isEmpty()) {
        if (messageHandler_) messageHandler_(problem);
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    out = value;
    return true;
}

void CBMPParamDlg::accept() {
    Values read;
    if (!ReadField(kLoad, 0.0, kMaxLoad, read.load)) return;
    for (int k = 0; k < kPollutantCount; ++k) {
        if (!ReadField(kEffFields[k], 0.0, 1.0, read.eff[k])) return;
    }
    read.catalogIndex = chosenIndex_;
    values_ = read;
    QDialog::accept();
}

}  // namespace combra::app
