// The start window and the options form under the offscreen platform: the scroll bars, the
// initialisation rule, Cancel, and OK runs with scripted dialogs, one of them compared cell by
// cell with the workbook kavro-generate writes for the same choices.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>
#include <functional>
#include <map>

#include "generator/app/frm_input.h"
#include "generator/app/main_frm.h"
#include "generator/app/user_dialogs.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"

namespace {

const QString kBuiltSupport = QStringLiteral(KAVRO_BINARY_DIR "/support/");
const char* const kSuccessText =
    "KAVRO model was created successfully. Please save it and set your EXCEL security level to "
    "enable macros. \nTo set the security level in EXCEL: Click on File menu > Excel Options > "
    "Trust Center > Trust Center Settings > Macro Settings.";

// Answers the windows' questions from a script and records what was asked.
struct ScriptedDialogs : UserDialogs {
    struct Asked {
        QString caption, text;
    };
    std::vector<Asked> messages, questions;
    std::deque<bool> answers;                           // to the questions; none left: No
    std::deque<QString> saveAnswers;                    // "" is Cancel
    std::vector<std::pair<QString, QString>> saveAsks;  // initial path, filter
    QStringList opened;
    std::function<void(const QString&)> onMessage;
    std::function<void()> onSave;

    void message(QWidget*, const QString& caption, const QString& text) override {
        messages.push_back({caption, text});
        if (onMessage) onMessage(text);
    }
    bool question(QWidget*, const QString& caption, const QString& text) override {
        questions.push_back({caption, text});
        if (answers.empty()) return false;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    QString saveFileName(QWidget*, const QString& initial, const QString& filter) override {
        saveAsks.emplace_back(initial, filter);
        if (onSave) onSave();
        if (saveAnswers.empty()) qFatal("the save dialog was asked for more often than scripted");
        QString a = saveAnswers.front();
        saveAnswers.pop_front();
        return a;
    }
    void openFile(QWidget*, const QString& path) override { opened << path; }
};

const std::vector<std::string> kSheets = {"General Input Data",
                                          "Input",
                                          "Land&Rain",
                                          "Animal",
                                          "Urban",
                                          "Feedlots",
                                          "Septic",
                                          "Sediment",
                                          "Gully&Streambank",
                                          "Total Load",
                                          "Graphs",
                                          "Reference",
                                          "BMPList",
                                          "BMPs",
                                          "CountyData",
                                          "WeatherData"};

// Opens a workbook holding every sheet the run names; counts opens and saves.
struct FakeIO : WorkbookIO {
    int opens = 0, saves = 0;
    std::unique_ptr<wb::Workbook> open(const std::string&) override {
        ++opens;
        auto book = std::make_unique<wb::Workbook>();
        for (const std::string& name : kSheets) book->addSheet(name);
        return book;
    }
    void saveAs(wb::Workbook&, const std::string&, SaveFormat) override { ++saves; }
};

template <class W>
W* child(QWidget& parent, const char* name) {
    W* w = parent.findChild<W*>(name);
    if (!w) qFatal("no %s", name);
    return w;
}

std::vector<QCheckBox*> boxes(QWidget& form, const char* name) {
    std::vector<QCheckBox*> v;
    for (QCheckBox* b : form.findChildren<QCheckBox*>(name)) v.push_back(b);
    std::sort(v.begin(), v.end(), [](QCheckBox* a, QCheckBox* b) {
        return a->property("index").toInt() < b->property("index").toInt();
    });
    return v;
}

// The centre of one part of a scroll bar (arrow, trough above or below the thumb).
QPoint partOf(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = bar->invertedAppearance();
    const QRect r = bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar);
    if (r.isEmpty()) qFatal("the scroll bar has no room for the part asked for");
    return r.center();
}

// Every cell of a workbook as text: sheet!row,col -> kind, formula or constant, format index.
std::map<std::string, std::string> cellsOf(wb::Workbook& book, std::string* sheetsOut) {
    std::map<std::string, std::string> cells;
    for (int i = 0; i < book.sheetCount(); ++i) {
        wb::Worksheet& ws = book.sheet(book.sheet(i).name());  // by name: read if not yet read
        *sheetsOut += ws.name() +
                      (ws.visibility() == wb::Worksheet::Visibility::Visible ? "+" : "-") +
                      " merges " + std::to_string(ws.merges.size()) + " controls";
        for (const wb::Control& c : ws.controls) *sheetsOut += " " + c.name;
        *sheetsOut += " charts " + std::to_string(ws.charts.size()) + "; ";
        std::vector<std::pair<int, int>> at;
        ws.forEachCell([&](int row, const wb::Cell& c) { at.emplace_back(row, c.col); });
        for (auto [row, col] : at) {
            const wb::Cell* c = ws.find(row, col);
            cells[ws.name() + "!" + std::to_string(row) + "," + std::to_string(col)] =
                std::to_string(static_cast<int>(c->type)) + " " + ws.cells(row, col).formula() +
                " #" + std::to_string(c->style);
        }
    }
    *sheetsOut += "active " + std::to_string(book.activeSheetIndex());
    return cells;
}

}  // namespace

class KavroAppTest : public QObject {
    Q_OBJECT

  private slots:
    void startWindow();
    void startWindowButtons();
    void optionsFormAtLoad();
    void scrollBars_data();
    void scrollBars();
    void initialisationMode();
    void cancelEndsWithoutGenerating();
    void okBuildsWhatKavroGenerateBuilds_data();
    void okBuildsWhatKavroGenerateBuilds();
    void windowRepaintsWhileTheRunWorks();
    void buildFailureEndsTheProgram();
    void failedSaveIsOfferedAgain_data();
    void failedSaveIsOfferedAgain();
};

void KavroAppTest::startWindow() {
    ScriptedDialogs d;
    MainFrm m(d);
    QCOMPARE(m.windowTitle(), QString("Main"));
    QCOMPARE(m.minimumSize(), QSize(533, 301));  // 7995 x 4515 twips
    QCOMPARE(m.maximumSize(), m.minimumSize());
    QVERIFY(!(m.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    QLabel* title = child<QLabel>(m, "lbTitle");
    QCOMPARE(title->text(), QString("KAVRO: Pellavon"));
    QCOMPARE(title->font().pointSizeF(), 20.25);
    QVERIFY(title->font().bold());
    QVERIFY(title->alignment() & Qt::AlignHCenter);
    QCOMPARE(child<QPushButton>(m, "btnStart")->toolTip(),
             QString("Start creating a Excel spreadsheet based on user's input"));
    for (const char* name : {"btnStart", "btnExit"}) {
        QCOMPARE(child<QPushButton>(m, name)->font().pointSizeF(), 12.0);
        QVERIFY(child<QPushButton>(m, name)->font().bold());
    }
    QVERIFY(!child<QLabel>(m, "authorLbl")->font().bold());

    m.show();
    QTest::mouseClick(child<QPushButton>(m, "amdAbout"), Qt::LeftButton);
    QCOMPARE(d.messages.size(), size_t(1));
    QCOMPARE(d.messages[0].caption, QString("KAVRO"));
    QVERIFY(d.messages[0].text.contains("KAVRO"));
    QVERIFY(m.isVisible());  // About leaves the window as it was
}

void KavroAppTest::startWindowButtons() {
    ScriptedDialogs d;
    for (auto [button, result] :
         {std::pair{"btnStart", QDialog::Accepted}, std::pair{"btnExit", QDialog::Rejected}}) {
        MainFrm m(d);
        m.show();
        QTest::mouseClick(child<QPushButton>(m, button), Qt::LeftButton);
        QVERIFY2(!m.isVisible(), button);
        QCOMPARE(m.result(), int(result));
    }
}

void KavroAppTest::optionsFormAtLoad() {
    ScriptedDialogs d;
    FrmInput f(d, RunSetup{});
    f.show();
    QCOMPARE(f.windowTitle(), QString("Input"));
    QCOMPARE(f.minimumSize(), QSize(587, 366));  // 8805 x 5490 twips
    QCOMPARE(f.maximumSize(), f.minimumSize());
    QVERIFY(!(f.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    QScrollBar* v1 = child<QScrollBar>(f, "VScroll1");
    QCOMPARE(std::tuple(v1->minimum(), v1->maximum(), v1->value()), std::tuple(1, 200, 200));
    QCOMPARE(child<QLineEdit>(f, "Text1")->text(), QString("1"));
    QCOMPARE(child<QLineEdit>(f, "Text2")->text(), QString("0"));
    QCOMPARE(child<QLineEdit>(f, "Text3")->text(), QString("0"));
    for (const char* name : {"Text1", "Text2", "Text3"})
        QVERIFY(child<QLineEdit>(f, name)->isReadOnly());
    QVERIFY(child<QRadioButton>(f, "OptZero")->isChecked());

    QStatusBar* status = child<QStatusBar>(f, "StatusBar1");
    QCOMPARE(status->currentMessage(),
             QString("Click OK to create the spreadsheet tool in MS Excel"));
    QVERIFY(status->font().bold());
    QCOMPARE(status->font().pointSizeF(), 12.0);
    QCOMPARE(status->toolTip(), QString("loading"));
    QProgressBar* bar = child<QProgressBar>(f, "ProgressBar1");
    QCOMPARE(std::tuple(bar->minimum(), bar->maximum(), bar->value()), std::tuple(0, 100, 0));
    QVERIFY(bar->isVisible());

    // The captions of the frames are bold, what they hold is not.
    QVERIFY(child<QGroupBox>(f, "Frame4")->font().bold());
    QVERIFY(!child<QLabel>(f, "lblWSN")->font().bold());
    QVERIFY(!child<QRadioButton>(f, "OptZero")->font().bold());

    // The check-box groups cannot be seen (the form looks the same without them), nor can the
    // keyboard reach their boxes.
    const QImage withGroups = f.grab().toImage();
    for (const char* name : {"Frame1", "Frame2", "Frame3"}) child<QGroupBox>(f, name)->hide();
    QVERIFY(f.grab().toImage() == withGroups);
    for (const char* name : {"Frame1", "Frame2", "Frame3"}) child<QGroupBox>(f, name)->show();
    QVERIFY(!child<QGroupBox>(f, "Frame3")->isEnabled());
    for (const char* name : {"cbLU", "CkAgAnimal", "cbPollutant"})
        for (QCheckBox* b : boxes(f, name)) {
            QVERIFY(!b->isChecked());
            QCOMPARE(b->focusPolicy(), Qt::NoFocus);
        }
    QCOMPARE(boxes(f, "cbLU").size(), size_t(5));
    QCOMPARE(boxes(f, "CkAgAnimal").size(), size_t(8));
    QCOMPARE(boxes(f, "cbPollutant").size(), size_t(4));
    QCOMPARE(boxes(f, "cbLU")[4]->text(), QString("User Defined"));
}

// A click on a scroll bar's arrow or in its trough, or a drag of it to one end. The trough clicks
// need room for a trough, so the bar is made taller first (a height the form does not give it).
void KavroAppTest::scrollBars_data() {
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QString>("shown");
    const QString s1 = "VScroll1", s2 = "VScroll2", s3 = "VScroll3";
    QTest::newRow("subwatersheds: top is 200") << s1 << "Text1" << QStringList{"top"} << "200";
    QTest::newRow("subwatersheds: bottom is 1")
        << s1 << "Text1" << QStringList{"top", "bottom"} << "1";
    QTest::newRow("subwatersheds: up arrow counts up")
        << s1 << "Text1" << QStringList{"up", "up"} << "3";
    QTest::newRow("subwatersheds: not below 1") << s1 << "Text1" << QStringList{"down"} << "1";
    QTest::newRow("subwatersheds: not above 200")
        << s1 << "Text1" << QStringList{"top", "up"} << "200";
    QTest::newRow("gullies: up arrow") << s2 << "Text2" << QStringList{"up"} << "1";
    QTest::newRow("gullies: trough moves by 1")
        << s2 << "Text2" << QStringList{"troughAbove"} << "1";
    QTest::newRow("gullies: top is 100") << s2 << "Text2" << QStringList{"top"} << "100";
    QTest::newRow("streambanks: up arrow") << s3 << "Text3" << QStringList{"up"} << "1";
    QTest::newRow("streambanks: trough jumps to 100")
        << s3 << "Text3" << QStringList{"troughAbove"} << "100";
    QTest::newRow("streambanks: and back to 0")
        << s3 << "Text3" << QStringList{"troughAbove", "troughBelow"} << "0";
    QTest::newRow("streambanks: from 1 the trough reaches 100")
        << s3 << "Text3" << QStringList{"up", "troughAbove"} << "100";
}

void KavroAppTest::scrollBars() {
    QFETCH(QString, bar);
    QFETCH(QString, text);
    QFETCH(QStringList, actions);
    QFETCH(QString, shown);
    ScriptedDialogs d;
    FrmInput f(d, RunSetup{});
    f.show();
    QScrollBar* s = child<QScrollBar>(f, bar.toLatin1());
    for (const QString& a : actions) {
        if (a == "top") {
            s->setValue(s->minimum());
        } else if (a == "bottom") {
            s->setValue(s->maximum());
        } else if (a == "up" || a == "down") {
            QTest::mouseClick(
                s, Qt::LeftButton, {},
                partOf(s, a == "up" ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine));
        } else {
            s->resize(s->width(), 200);
            QTest::mouseClick(s, Qt::LeftButton, {},
                              partOf(s, a == "troughAbove" ? QStyle::SC_ScrollBarSubPage
                                                           : QStyle::SC_ScrollBarAddPage));
        }
    }
    QCOMPARE(child<QLineEdit>(f, text.toLatin1())->text(), shown);
}

void KavroAppTest::initialisationMode() {
    ScriptedDialogs d;
    FrmInput f(d, RunSetup{});
    f.show();
    auto flags = [&] {
        const GenerationOptions o = f.readOptions();
        return std::tuple(
            o.NonZeroStart,
            std::vector<int>(o.LandUseSelected.begin() + 1, o.LandUseSelected.end()),
            std::vector<int>(o.AnimalSelected.begin() + 1, o.AnimalSelected.end()),
            std::vector<int>(o.PollutantSelected.begin() + 1, o.PollutantSelected.end()));
    };
    const std::vector<int> none5(5, 0), none8(8, 0), none4(4, 0);
    QCOMPARE(flags(), std::tuple(false, none5, none8, none4));

    QTest::mouseClick(child<QRadioButton>(f, "OptNonZero"), Qt::LeftButton);
    QCOMPARE(flags(),
             std::tuple(true, std::vector<int>{1, 1, 1, 1, 0}, std::vector<int>(8, 1), none4));
    QVERIFY(boxes(f, "cbLU")[3]->isChecked() && !boxes(f, "cbLU")[4]->isChecked());

    QTest::mouseClick(child<QRadioButton>(f, "OptZero"), Qt::LeftButton);
    QCOMPARE(flags(), std::tuple(false, none5, none8, none4));
}

void KavroAppTest::cancelEndsWithoutGenerating() {
    ScriptedDialogs d;
    FakeIO io;
    RunSetup setup;
    setup.io = &io;
    FrmInput f(d, setup);
    f.show();
    QTest::mouseClick(child<QRadioButton>(f, "OptNonZero"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(f, "btnCancel"), Qt::LeftButton);
    QVERIFY(!f.isVisible());
    QCOMPARE(f.result(), int(QDialog::Rejected));
    QCOMPARE(f.exitCode(), 0);
    QCOMPARE(io.opens, 0);
    QCOMPARE(io.saves, 0);
    QVERIFY(d.messages.empty() && d.saveAsks.empty() && d.opened.isEmpty());
}

void KavroAppTest::okBuildsWhatKavroGenerateBuilds_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("gullies");
    QTest::addColumn<int>("streambanks");
    QTest::addColumn<bool>("nonZero");
    QTest::newRow("N=3, gullies and streambanks, non-zero") << 3 << 2 << 1 << true;
    QTest::newRow("N=1, zero mode") << 1 << 0 << 0 << false;
}

void KavroAppTest::okBuildsWhatKavroGenerateBuilds() {
    QFETCH(int, n);
    QFETCH(int, gullies);
    QFETCH(int, streambanks);
    QFETCH(bool, nonZero);
    const QString tpl = kBuiltSupport + "NutrTplt.xlsm", bmps = kBuiltSupport + "allBMPkavro.csv";
    if (!QFileInfo::exists(tpl) || !QFileInfo::exists(bmps))
        QSKIP("the build has no template workbook and BMP list (tools/ not built)");

    QVERIFY(QDir().mkpath(KAVRO_TEST_TMP));
    QTemporaryDir tmp(QStringLiteral(KAVRO_TEST_TMP "/ok-XXXXXX"));
    QVERIFY(tmp.isValid());
    const QString mine = tmp.filePath("mine.xlsm"), theirs = tmp.filePath("theirs.xlsm");

    ScriptedDialogs d;
    d.saveAnswers = {QString(), QString(), mine};  // cancelled twice, then a name
    RunSetup setup;
    setup.templatePath = tpl.toStdString();
    setup.bmpListPath = bmps.toStdString();
    setup.workingFolder = tmp.path().toStdString();
    FrmInput f(d, setup);
    f.show();

    child<QScrollBar>(f, "VScroll1")->setValue(201 - n);
    child<QScrollBar>(f, "VScroll2")->setValue(-gullies);
    child<QScrollBar>(f, "VScroll3")->setValue(-streambanks);
    if (nonZero) QTest::mouseClick(child<QRadioButton>(f, "OptNonZero"), Qt::LeftButton);

    QList<int> progress;
    QStringList statuses;
    connect(child<QProgressBar>(f, "ProgressBar1"), &QProgressBar::valueChanged, this,
            [&](int v) { progress << v; });
    QStatusBar* status = child<QStatusBar>(f, "StatusBar1");
    connect(status, &QStatusBar::messageChanged, this, [&](const QString& s) {
        statuses << s;
        QVERIFY(status->font().bold() && status->font().pointSizeF() == 12.0);
    });
    bool busyAtSuccess = false, shownAtSuccess = false, hiddenAtSave = true;
    d.onMessage = [&](const QString&) {
        busyAtSuccess = f.cursor().shape() == Qt::WaitCursor;
        shownAtSuccess = f.isVisible();
    };
    d.onSave = [&] { hiddenAtSave = hiddenAtSave && !f.isVisible(); };

    QTest::mouseClick(child<QPushButton>(f, "btnOK"), Qt::LeftButton);

    QCOMPARE(f.exitCode(), 0);
    QVERIFY(!f.isVisible());
    QCOMPARE(progress, (QList<int>{10, 16, 24, 32, 40, 48, 56, 64, 68, 72, 80, 88, 96, 98, 100}));
    QCOMPARE(statuses.size(), 15);
    QCOMPARE(statuses[0], QString("Creating the spreadsheet tool, please wait ..."));
    QCOMPARE(statuses[9],
             QString("Creating the gully and streambank sheet (9/14), please wait ..."));
    QCOMPARE(statuses[14], QString("Creating the BMP selection sheet (14/14), please wait ..."));
    QCOMPARE(d.messages.size(), size_t(1));
    QCOMPARE(d.messages[0].caption, QString("KAVRO"));
    QCOMPARE(d.messages[0].text, QString(kSuccessText));
    QVERIFY(busyAtSuccess && shownAtSuccess && hiddenAtSave);
    QCOMPARE(d.saveAsks.size(), size_t(3));
    for (const auto& [initial, filter] : d.saveAsks) {
        QCOMPARE(initial, tmp.filePath("KAVRO.xlsm"));
        QCOMPARE(filter, QString("Excel Macro-Enabled Workbook (*.xlsm)"));
    }
    QCOMPARE(d.opened, QStringList{mine});
    const GenerationOptions& o = f.options();
    QCOMPARE(std::tuple(o.SubwatershedCount, o.GullyCount, o.StreambankCount, o.NonZeroStart),
             std::tuple(n, gullies, streambanks, nonZero));

    QStringList args{"-n",         QString::number(n),
                     "-g",         QString::number(gullies),
                     "-s",         QString::number(streambanks),
                     "--template", tpl,
                     "--bmp-list", bmps,
                     "-o",         theirs};
    if (nonZero) args << "--nonzero";
    QProcess cli;
    cli.setWorkingDirectory(tmp.path());
    cli.start(KAVRO_GENERATE, args);
    QVERIFY(cli.waitForFinished(300000));
    QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());

    auto a = wb::ooxml::openWorkbook(mine.toStdString());
    auto b = wb::ooxml::openWorkbook(theirs.toStdString());
    std::string sheetsA, sheetsB;
    std::map<std::string, std::string> cellsA = cellsOf(*a, &sheetsA),
                                       cellsB = cellsOf(*b, &sheetsB);
    QCOMPARE(sheetsA, sheetsB);
    // The time stamp of the information sheet differs; its place is the same.
    const std::string stamp = "General Input Data!1,2";
    QVERIFY2(cellsA.count(stamp) && cellsB.count(stamp), sheetsA.c_str());
    cellsA.erase(stamp);
    cellsB.erase(stamp);
    QVERIFY(cellsA.size() > 100);
    QCOMPARE(cellsA.size(), cellsB.size());
    for (auto ia = cellsA.begin(), ib = cellsB.begin(); ia != cellsA.end(); ++ia, ++ib) {
        QCOMPARE(ia->first, ib->first);
        QCOMPARE(ia->second, ib->second);
    }
}

// The run stays on the user-interface thread; between two builders the window repaints (the bar
// shows its new value) and a close request is refused until the run is over.
void KavroAppTest::windowRepaintsWhileTheRunWorks() {
    ScriptedDialogs d;
    d.saveAnswers = {"/tmp/unused.xlsm"};
    FakeIO io;
    RunSetup setup;
    setup.io = &io;
    FrmInput* form = nullptr;
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            paints += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    std::vector<int> paintsSeen;
    bool stillShown = true;
    auto builder = [&](wb::Workbook&, GenerationOptions&) {
        paintsSeen.push_back(counter.paints);
        form->close();  // the close button while the run works
        stillShown = stillShown && form->isVisible();
    };
    setup.builders = std::vector<NamedBuilder>{
        {"GeneralInputData", builder}, {"LandusePage", builder}, {"BMPPage", builder}};
    FrmInput f(d, setup);
    form = &f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    child<QProgressBar>(f, "ProgressBar1")->installEventFilter(&counter);

    QTest::mouseClick(child<QPushButton>(f, "btnOK"), Qt::LeftButton);
    QCOMPARE(paintsSeen.size(), size_t(3));
    QVERIFY(paintsSeen[0] > 0);
    QVERIFY(paintsSeen[1] > paintsSeen[0] && paintsSeen[2] > paintsSeen[1]);
    QVERIFY(stillShown);
    QCOMPARE(io.saves, 2);
    QCOMPARE(f.exitCode(), 0);
}

void KavroAppTest::buildFailureEndsTheProgram() {
    QTemporaryDir tmp;
    ScriptedDialogs d;
    RunSetup setup;
    setup.templatePath = tmp.filePath("support/NutrTplt.xlsm").toStdString();
    setup.builders = std::vector<NamedBuilder>{};
    FrmInput f(d, setup);
    f.show();
    QTest::mouseClick(child<QPushButton>(f, "btnOK"), Qt::LeftButton);
    QCOMPARE(d.messages.size(), size_t(1));
    QCOMPARE(d.messages[0].caption, QString("KAVRO"));
    QVERIFY2(d.messages[0].text.endsWith("-Could not create the spreadsheet tool!"),
             qPrintable(d.messages[0].text));
    QVERIFY(d.messages[0].text.contains("NutrTplt.xlsm"));
    QVERIFY(d.saveAsks.empty() && d.opened.isEmpty());
    QVERIFY(!f.isVisible());
    QCOMPARE(f.exitCode(), 1);
}

// A save that fails (here: into a folder that does not exist) leaves the built workbook in this
// program only, so it is offered again; the user may also let it go.
void KavroAppTest::failedSaveIsOfferedAgain_data() {
    QTest::addColumn<bool>("again");
    QTest::newRow("saved under another name") << true;
    QTest::newRow("let go") << false;
}

void KavroAppTest::failedSaveIsOfferedAgain() {
    QFETCH(bool, again);
    QTemporaryDir tmp;
    const QString tpl = tmp.filePath("template.xlsm");
    {
        wb::Workbook book;
        for (const std::string& name : kSheets) book.addSheet(name);
        wb::ooxml::saveWorkbook(book, tpl.toStdString());
    }
    const QString bad = tmp.filePath("no such folder/KAVRO.xlsm"),
                  good = tmp.filePath("KAVRO.xlsm");
    ScriptedDialogs d;
    d.saveAnswers = {bad, good};
    d.answers = {again};
    RunSetup setup;
    setup.templatePath = tpl.toStdString();
    setup.builders = std::vector<NamedBuilder>{};
    FrmInput f(d, setup);
    f.show();
    QTest::mouseClick(child<QPushButton>(f, "btnOK"), Qt::LeftButton);

    QCOMPARE(d.messages.size(), size_t(2));
    QVERIFY2(d.messages[1].text.endsWith("-Please save your file with a different name!"),
             qPrintable(d.messages[1].text));
    QCOMPARE(d.questions.size(), size_t(1));
    QCOMPARE(d.questions[0].caption, QString("KAVRO"));
    QCOMPARE(QFileInfo::exists(good), again);
    QCOMPARE(d.opened, again ? QStringList{good} : QStringList{});
    QCOMPARE(f.exitCode(), again ? 0 : 1);
    if (again) {
        auto saved = wb::ooxml::openWorkbook(good.toStdString());
        QCOMPARE(saved->sheet("Input").range("A1").text(), std::string(" "));
    }
}

QTEST_MAIN(KavroAppTest)
#include "kavro_app_test.moc"
