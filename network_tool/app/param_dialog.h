// "Set BMP Parameter Values": edits the load and the five efficiencies of one node,
// optionally taken from the catalogue.
#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <map>
#include <vector>

#include "bmp_node.h"

class QComboBox;
class QLineEdit;

namespace combra::app {

class CBMPParamDlg : public QDialog {
    Q_OBJECT
public:
    // Control ids of the fields.
    enum Control {
        kLoad = 1000,
        kEffN = 1001,
        kEffP = 1002,
        kEffBOD = 1003,
        kEffSediment = 1004,
        kCatalogList = 1005,
        kEffEColi = 1006,
    };

    struct Values {
        double load = 1.0;
        std::array<double, kPollutantCount> eff{0.1, 0.1, 0.1, 0.1, 0.0};
        int catalogIndex = -1;
    };

    CBMPParamDlg(const std::vector<BmpCatalogEntry>& catalog, QWidget* parent = nullptr);

    // Fills the fields; selects the catalogue entry when the index names one.
    void SetValues(const Values& values);
    // The values accepted by OK.
    const Values& GetValues() const { return values_; }

    QComboBox* CatalogList() const { return list_; }
    QLineEdit* Edit(Control id) const;

    // Chooses catalogue entry `index` as the user would in the list.
    void ChooseCatalogEntry(int index);

    // Range messages go here; a message box by default.
    void SetMessageHandler(std::function<void(const QString&)> handler) {
        messageHandler_ = std::move(handler);
    }

    void accept() override;

private:
    // Reads one field and checks its range; on failure tells the user and focuses it.
    bool ReadField(Control id, double low, double high, double& out);
    void SetField(Control id, double value);

    const std::vector<BmpCatalogEntry>& catalog_;
    QComboBox* list_ = nullptr;
    std::map<int, QLineEdit*> edits_;
    Values values_;
    int chosenIndex_ = -1;
    std::function<void(const QString&)> messageHandler_;
};

}  // namespace combra::app
