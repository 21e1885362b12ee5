#include "generator/app/frm_input.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>

#include "generator/app/form_style.h"
#include "generator/app/user_dialogs.h"
#include "generator/app/wrap_radio_button.h"
#include "generator/builders.h"
#include "generator/data_files.h"
#include "generator/ooxml_io.h"

const char* const FrmInput::kReady = "Click OK to create the spreadsheet tool in MS Excel";

namespace {

const QString kCaption = QString::fromLatin1(runtext::kCaption);

// The run's messages break lines with CR LF; a Qt message box wants LF alone.
QString messageText(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// The spreadsheet application's file filter, "Description,pattern" pairs, as a Qt name filter
// "Description (pattern)". The description already names its pattern here; a pattern is taken
// without the stray parentheses the filter text may carry.
QString qtNameFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char(','));
    QStringList filters;
    for (int i = 0; i < parts.size(); i += 2) {
        const QString desc = parts[i].trimmed();
        QString pattern = i + 1 < parts.size() ? parts[i + 1] : QString();
        pattern.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (desc.contains(QLatin1Char('(')) || pattern.trimmed().isEmpty())
            filters << desc;
        else
            filters << desc + QLatin1String(" (") + pattern.trimmed() + QLatin1Char(')');
    }
    return filters.join(QLatin1String(";;"));
}

QLabel* label(const char* name, const QString& text, QWidget* parent, const QRect& place,
              const QFont& font) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFont(font);
    l->setGeometry(place);
    return l;
}

QLineEdit* lockedText(const char* name, const QString& text, QWidget* parent, const QRect& place,
                      const QFont& font) {
    auto* t = new QLineEdit(text, parent);
    t->setObjectName(name);
    t->setReadOnly(true);
    t->setFont(font);
    t->setGeometry(place);
    return t;
}

QScrollBar* vscroll(const char* name, QWidget* parent, const QRect& place, int min, int max,
                    int value, int smallChange, int largeChange) {
    auto* s = new QScrollBar(Qt::Vertical, parent);
    s->setObjectName(name);
    s->setRange(min, max);
    s->setSingleStep(smallChange);
    s->setPageStep(largeChange);
    s->setValue(value);
    s->setGeometry(place);
    return s;
}

QGroupBox* frame(const char* name, const QString& caption, QWidget* parent, const QRect& place) {
    auto* f = new QGroupBox(caption, parent);
    f->setObjectName(name);
    f->setFont(form::msSansSerif(12, true));
    f->setGeometry(place);
    return f;
}

// A group of check boxes that lies below the visible area of the form: two columns of boxes,
// out of reach of the keyboard as of the mouse.
std::vector<QCheckBox*> hiddenGroup(QGroupBox* group, const char* name,
                                    const std::vector<const char*>& captions) {
    std::vector<QCheckBox*> boxes;
    const QFont font = form::msSansSerif(12);
    for (size_t i = 0; i < captions.size(); ++i) {
        auto* b = new QCheckBox(captions[i], group);
        b->setObjectName(name);  // a control array: one name, told apart by "index"
        b->setProperty("index", static_cast<int>(i));
        b->setFont(font);
        b->setFocusPolicy(Qt::NoFocus);
        const int column = static_cast<int>(i % 2), row = static_cast<int>(i / 2);
        b->setGeometry(form::place(240 + column * 4080, 360 + row * 375, 3735, 375));
        boxes.push_back(b);
    }
    group->setFocusPolicy(Qt::NoFocus);
    return boxes;
}

}  // namespace

// The run's reports shown on the form. The run works on the user-interface thread; after each
// report the window repaints (user input waits), so the bar moves and the window never looks
// frozen.
class FormReporter : public RunReporter {
  public:
    explicit FormReporter(FrmInput& form) : f_(form) {}

    void progress(int value) override {
        f_.ProgressBar1->setValue(value);
        repaint();
    }
    void status(const std::string& text) override {
        f_.showStatus(QString::fromStdString(text));
        repaint();
    }
    void messageBox(const std::string& caption, const std::string& text) override {
        f_.dialogs_.message(owner(), QString::fromStdString(caption), messageText(text));
    }
    std::string askSaveName(const std::string& initialName, const std::string& filter) override {
        const QString name = f_.dialogs_.saveFileName(owner(), QString::fromStdString(initialName),
                                                      qtNameFilter(filter));
        return name.isEmpty() ? std::string(runtext::kCancelled) : name.toStdString();
    }
    void buildFinished() override {
        f_.hide();
        f_.unsetCursor();
    }
    void openResult(const std::string& path) override {
        f_.dialogs_.openFile(nullptr, QString::fromStdString(path));
    }

  private:
    QWidget* owner() const { return f_.isVisible() ? &f_ : nullptr; }
    static void repaint() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

    FrmInput& f_;
};

RunSetup RunSetup::forProcess() {
    const DataFolders folders = processDataFolders();
    RunSetup s;
    s.templatePath = findDataFile(kTemplateFile, folders);
    s.bmpListPath = findDataFile(kBmpListFile, folders);
    s.workingFolder = folders.workingFolder;
    return s;
}

FrmInput::FrmInput(UserDialogs& dialogs, RunSetup setup, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), setup_(std::move(setup)) {
    setObjectName("FrmInput");
    setWindowTitle("Input");
    form::makeFixedDialog(this, 8805, 5490);
    const QFont text12 = form::msSansSerif(12);

    QGroupBox* frame4 =
        frame("Frame4", "Number of Subwatersheds", this, form::place(120, 120, 8415, 855));
    label("lblWSN", "Select the number of subwatersheds:", frame4, form::place(240, 360, 4215, 375),
          text12);
    Text1 = lockedText("Text1", QString(), frame4, form::place(4560, 360, 1575, 375), text12);
    VScroll1 = vscroll("VScroll1", frame4, form::place(6120, 360, 375, 375), 1, 200, 200, 1, 1);

    QGroupBox* frame6 = frame("Frame6", "Number of Special Sediment Sources in the Subwatersheds",
                              this, form::place(120, 1320, 8415, 1335));
    label("Label7", "Gully formations:", frame6, form::place(360, 600, 1935, 375), text12);
    Text2 = lockedText("Text2", "0", frame6, form::place(2280, 600, 615, 375), text12);
    VScroll2 = vscroll("VScroll2", frame6, form::place(2880, 600, 375, 375), -100, 0, 0, 1, 1);
    label("Label8", "Impaired streambanks:", frame6, form::place(4440, 600, 2535, 375), text12);
    Text3 = lockedText("Text3", "0", frame6, form::place(6960, 600, 615, 375), text12);
    VScroll3 = vscroll("VScroll3", frame6, form::place(7560, 600, 375, 375), -100, 0, 0, 1, 100);

    QGroupBox* frame5 =
        frame("Frame5", "Option for Initialization", this, form::place(120, 2880, 8415, 1095));
    OptZero = new WrapRadioButton("Set initial land use areas and animal numbers to zeros", frame5);
    OptZero->setObjectName("OptZero");
    OptZero->setFont(text12);
    OptZero->setGeometry(form::place(240, 360, 3735, 570));
    OptZero->setChecked(true);
    OptNonZero = new WrapRadioButton("Test KAVRO model with non-zero initial numbers", frame5);
    OptNonZero->setObjectName("OptNonZero");
    OptNonZero->setFont(text12);
    OptNonZero->setGeometry(form::place(4560, 360, 3495, 615));

    const QFont plain = form::defaultFont();
    label("Label3", "Spreadsheet tool creation progress:", this, form::place(240, 4080, 3015, 255),
          plain);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(form::place(240, 4440, 3975, 255));
    const int tickLeft[] = {240, 2040, 4080};
    const char* tickName[] = {"Label4", "Label6", "Label5"};
    const char* tickText[] = {"0", "50", "100"};
    for (int i = 0; i < 3; ++i) {
        QLabel* tick = label(tickName[i], tickText[i], this, QRect(), plain);
        tick->adjustSize();
        tick->move(form::px(tickLeft[i]), form::px(4800));
    }

    QFont boldButton = plain;
    boldButton.setWeight(QFont::Bold);
    btnOK = new QPushButton("OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setFont(boldButton);
    btnOK->setGeometry(form::place(4800, 4320, 1455, 495));
    btnCancel = new QPushButton("Cancel", this);
    btnCancel->setObjectName("btnCancel");
    btnCancel->setFont(boldButton);
    btnCancel->setGeometry(form::place(6600, 4320, 1455, 495));

    // The groups that only the initialisation option sets, below the visible area.
    QGroupBox* frame1 =
        frame("Frame1", "Select Land Uses", this, form::place(120, 5160, 8415, 1335));
    cbLU =
        hiddenGroup(frame1, "cbLU", {"Urban", "Cropland", "Pastureland", "Forest", "User Defined"});
    QGroupBox* frame2 =
        frame("Frame2", "Select Animal Types", this, form::place(120, 6720, 8415, 1335));
    CkAgAnimal = hiddenGroup(frame2, "CkAgAnimal",
                             {"Beef Cattle", "Dairy Cattle", "Swine (Hog)", "Sheep", "Horse",
                              "Chicken", "Turkey", "Duck"});
    QGroupBox* frame3 =
        frame("Frame3", "Pollutants to be Simulated", this, form::place(120, 8280, 8415, 1695));
    frame3->setToolTip("Checkboxes are disabled. All pollutants listed will be simulated.");
    cbPollutant = hiddenGroup(frame3, "cbPollutant", {"Nitrogen", "Phosphorus", "BOD", "Sediment"});
    QLabel* pollutantTitle = label("lblPollutants", "Pollutants to be Simulated", frame3,
                                   form::place(240, 1140, 3735, 255), form::msSansSerif(12, true));
    pollutantTitle->setFocusPolicy(Qt::NoFocus);
    label("lblPollutantNote", "Checkboxes are disabled. All pollutants listed will be simulated.",
          frame3, form::place(240, 1395, 8000, 255), text12);
    frame3->setEnabled(false);

    // Docked at the bottom, above the hidden groups.
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setAutoFillBackground(true);  // covers the groups below it
    StatusBar1->setToolTip("loading");
    StatusBar1->setGeometry(form::place(0, 5115, 8805, 375));
    StatusBar1->raise();

    // VScroll1 is inverted: its top (the minimum) means 200 subwatersheds.
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        Text1->setText(QString::number(VScroll1->maximum() - value + 1));
    });
    connect(VScroll2, &QScrollBar::valueChanged, this,
            [this](int value) { Text2->setText(QString::number(-value)); });
    connect(VScroll3, &QScrollBar::valueChanged, this,
            [this](int value) { Text3->setText(QString::number(-value)); });
    connect(OptZero, &QRadioButton::toggled, this, [this] { applyInitialisationRule(); });
    connect(OptNonZero, &QRadioButton::toggled, this, [this] { applyInitialisationRule(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOK_Click(); });
    connect(btnCancel, &QPushButton::clicked, this, &FrmInput::reject);

    // Load: one subwatershed, the ready text, the empty bar.
    VScroll1->setRange(1, 200);
    VScroll1->setValue(200);
    Text1->setText(QString::number(VScroll1->maximum() - VScroll1->value() + 1));
    StatusBar1->setFont(form::msSansSerif(12, true));
    showStatus(kReady);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(true);
}

FrmInput::~FrmInput() = default;

GenerationOptions FrmInput::readOptions() const {
    GenerationOptions o;
    o.SubwatershedCount = Text1->text().toInt();
    o.GullyCount = Text2->text().toInt();
    o.StreambankCount = Text3->text().toInt();
    o.NonZeroStart = OptNonZero->isChecked();
    for (size_t i = 0; i < cbLU.size(); ++i) o.LandUseSelected[i + 1] = cbLU[i]->isChecked();
    for (size_t i = 0; i < CkAgAnimal.size(); ++i)
        o.AnimalSelected[i + 1] = CkAgAnimal[i]->isChecked();
    for (size_t i = 0; i < cbPollutant.size(); ++i)
        o.PollutantSelected[i + 1] = cbPollutant[i]->isChecked();
    return o;
}

// Zero mode clears every land-use and animal box; non-zero mode ticks Urban, Cropland,
// Pastureland, Forest and every animal, and leaves User Defined as it is (cleared). The
// pollutant boxes are never changed.
void FrmInput::applyInitialisationRule() {
    const bool nonZero = OptNonZero->isChecked();
    for (size_t i = 0; i < cbLU.size(); ++i) {
        if (!nonZero)
            cbLU[i]->setChecked(false);
        else if (i <= 3)
            cbLU[i]->setChecked(true);
    }
    for (QCheckBox* b : CkAgAnimal) b->setChecked(nonZero);
}

void FrmInput::showStatus(const QString& text) { StatusBar1->showMessage(text); }

void FrmInput::reject() {
    if (running_) return;
    QDialog::reject();
}

void FrmInput::btnOK_Click() {
    if (running_) return;
    running_ = true;
    ProgressBar1->setFocus();  // not the next control in line: the run takes no input
    btnOK->setEnabled(false);
    btnCancel->setEnabled(false);
    setCursor(Qt::WaitCursor);
    ProgressBar1->setVisible(true);

    opt_ = readOptions();
    opt_.BmpListPath = setup_.bmpListPath;

    FormReporter reporter(*this);
    OoxmlWorkbookIO packageIO;
    WorkbookIO& io = setup_.io ? *setup_.io : packageIO;
    GenerationRun run(reporter, io, setup_.builders ? *setup_.builders : sheetBuilders());
    if (!setup_.templatePath.empty()) run.setTemplatePath(setup_.templatePath);
    if (!setup_.workingFolder.empty()) run.setWorkingFolder(setup_.workingFolder);
    result_ = run.run(opt_);

    // The built workbook lives only in this program: after a failed save it is offered again
    // rather than lost, until it is saved or the user lets it go.
    while (result_.outcome == GenerationRun::Outcome::SaveFailed && run.workbook() &&
           dialogs_.question(nullptr, kCaption,
                             tr("The workbook has not been saved. Save it under another name?")))
        result_ = run.saveAgain();

    unsetCursor();
    running_ = false;
    exitCode_ = result_.outcome == GenerationRun::Outcome::Succeeded ? 0 : 1;
    done(exitCode_ == 0 ? QDialog::Accepted : QDialog::Rejected);
}
