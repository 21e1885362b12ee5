// kavro-generate end to end: exit codes, its output streams, no file left behind on failure,
// and generated workbooks recalculated by LibreOffice.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "generator/generation_run.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"
#include "workbook/testing/libreoffice.h"

namespace fs = std::filesystem;

namespace {

// Each test works in a folder of its own: ctest runs the tests of this program in parallel.
fs::path tmpDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "shared";
    fs::path dir = fs::path(KAVRO_TEST_TMP) / "kavro_generate" / name;
    fs::create_directories(dir);
    return dir;
}

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Cli {
    int code = -1;
    std::string out, err;
};

// Runs kavro-generate with `args` in the folder `cwd`.
Cli generate(const std::string& args, const fs::path& cwd = tmpDir()) {
    fs::create_directories(cwd);
    std::string cmd = "cd '" + cwd.string() + "' && '" KAVRO_GENERATE "' " + args + " > '" +
                      (tmpDir() / "stdout.txt").string() + "' 2> '" + (tmpDir() / "stderr.txt").string() +
                      "'";
    int status = std::system(cmd.c_str());
    Cli r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = slurp(tmpDir() / "stdout.txt");
    r.err = slurp(tmpDir() / "stderr.txt");
    return r;
}

// The template and BMP list of the build when they were built (beside the programs, where
// kavro-generate finds them); otherwise a template holding every sheet the run and the builders
// name, written with the layer, and a two-record BMP list (test data, not a catalogue).
const fs::path kBuiltTemplate = fs::path(KAVRO_BINARY_DIR) / "support/NutrTplt.xlsm";
const fs::path kBuiltBmpList = fs::path(KAVRO_BINARY_DIR) / "support/allBMPkavro.csv";

struct Fixture {
    std::string templatePath, bmpList;
    Fixture() {
        fs::create_directories(tmpDir());
        if (fs::is_regular_file(kBuiltTemplate) && fs::is_regular_file(kBuiltBmpList)) {
            templatePath = kBuiltTemplate.string();
            bmpList = kBuiltBmpList.string();
            return;
        }
        templatePath = (tmpDir() / "template.xlsm").string();
        wb::Workbook book;
        for (const char* name :
             {"General Input Data", "Input", "Land&Rain", "Animal", "Urban", "Feedlots", "Septic",
              "Sediment", "Gully&Streambank", "Total Load", "Graphs", "Reference", "BMPList",
              "BMPs", "CountyData", "WeatherData"})
            book.addSheet(name);
        wb::ooxml::saveWorkbook(book, templatePath);
        bmpList = (tmpDir() / "bmps.csv").string();
        std::ofstream(bmpList) << "Group,BMP,N,P,BOD,Sediment,E. coli,,\n"
                                  "Cropland,Test BMP,0.1,0.2,0.3,0.4,0.5,,\n";
    }
    std::string paths() const {
        return "--template '" + templatePath + "' --bmp-list '" + bmpList + "'";
    }
};

const Fixture& fixture() {
    static const Fixture f;
    return f;
}

TEST(KavroGenerate, WritesTheWorkbookAndReportsAsItGoes) {
    fs::path out = tmpDir() / "ok.xlsm";
    fs::remove(out);
    Cli r = generate("-n 4 -g 1 " + fixture().paths() + " -o '" + out.string() + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, out.string() + "\n");
    EXPECT_TRUE(fs::is_regular_file(out));
    // Status texts in order, each with its progress value; the success message.
    size_t at = 0;
    for (const std::string& line : std::vector<std::string>{
             "[  0%] Creating the spreadsheet tool, please wait ...",
          "[ 10%] Creating the info sheet (1/14), please wait ...",
          "[ 68%] Creating the gully and streambank sheet (9/14), please wait ...",
          "[ 98%] Creating the BMP selection sheet (14/14), please wait ...", "[100%]",
          "KAVRO: KAVRO model was created successfully. Please save it and set your EXCEL "
          "security level to enable macros. \nTo set the security level in EXCEL:"}) {
        size_t p = r.err.find(line, at);
        ASSERT_NE(p, std::string::npos) << line << "\n" << r.err;
        at = p + line.size();
    }
    EXPECT_EQ(r.err.find('\r'), std::string::npos);

    // The file reads back with the run's finishing touches.
    auto book = wb::ooxml::openWorkbook(out.string());
    EXPECT_EQ(book->sheet("General Input Data").range("C6").value(), wb::CellValue(4.0));
    EXPECT_EQ(book->sheet("Input").range("A1").text(), " ");
    EXPECT_EQ(book->sheet("Gully&Streambank").visibility(), wb::Worksheet::Visibility::Hidden);
    EXPECT_EQ(book->sheet("BMPs").visibility(), wb::Worksheet::Visibility::Visible);
}

TEST(KavroGenerate, TheNamedBmpListReachesTheSheet) {
    fs::path list = tmpDir() / "own-list.csv";
    std::ofstream(list) << "Group,BMP,N,P,BOD,Sediment,E. coli,,\n"
                           "Cropland,Own list BMP,0.1,0.2,0.3,0.4,0.5,,\n";
    fs::path out = tmpDir() / "own-list.xlsm";
    Cli r = generate("--template '" + fixture().templatePath + "' --bmp-list '" + list.string() +
                     "' -o '" + out.string() + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    auto book = wb::ooxml::openWorkbook(out.string());
    EXPECT_EQ(book->sheet("BMPList").range("B2").text(), "Own list BMP") << r.err;
}

TEST(KavroGenerate, UsageErrorsExitWithTwoAndWriteNothing) {
    fs::path out = tmpDir() / "usage.xlsm";
    const std::string paths = fixture().paths();
    for (const std::string& args : std::vector<std::string>{
             "-n 0", "-n 201", "-g 101", "-s -1", "-n x", "--frobnicate", "-n 3 " + paths,
          "--template /no/such/template.xlsm --bmp-list '" + fixture().bmpList + "'",
          "--template '" + fixture().templatePath + "' --bmp-list /no/such.csv"}) {
        SCOPED_TRACE(args);
        fs::remove(out);
        bool hasOutput = args.find("-n 3 ") == std::string::npos;  // that case lacks -o
        Cli r = generate(args + (hasOutput ? " " + paths + " -o '" + out.string() + "'" : ""));
        EXPECT_EQ(r.code, 2) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_EQ(generate("--help").code, 0);
}

TEST(KavroGenerate, GenerationFailuresExitWithOneAndLeaveNoFile) {
    // A template that is not a workbook.
    fs::path bad = tmpDir() / "not-a-workbook.xlsm";
    std::ofstream(bad) << "plain text";
    fs::path out = tmpDir() / "fail.xlsm";
    fs::remove(out);
    Cli r = generate("--template '" + bad.string() + "' --bmp-list '" + fixture().bmpList +
                     "' -o '" + out.string() + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("-Could not create the spreadsheet tool!\n"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_TRUE(r.out.empty());
    // A file already there is left as it was.
    std::ofstream(out) << "previous";
    r = generate("--template '" + bad.string() + "' --bmp-list '" + fixture().bmpList +
                 "' -o '" + out.string() + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(slurp(out), "previous");

    // An output folder that does not exist.
    r = generate(fixture().paths() + " -o '" + (tmpDir() / "no/such/folder/x.xlsm").string() + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("-Please save your file with a different name!\n"), std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(tmpDir() / "no"));

    // Without --template and --bmp-list, from a working folder with no support/ in it: the
    // files built beside the program are found, or, when there are none, the message names
    // the place the template was expected.
    fs::path empty = tmpDir() / "empty-cwd";
    fs::create_directories(empty);
    fs::remove(empty / "out.xlsm");
    r = generate("-o out.xlsm", empty);
    if (fs::is_regular_file(kBuiltTemplate) && fs::is_regular_file(kBuiltBmpList)) {
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_TRUE(fs::is_regular_file(empty / "out.xlsm"));
    } else if (fs::is_regular_file(kBuiltBmpList)) {
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find((empty / "support/NutrTplt.xlsm").string() + "\""),
                  std::string::npos) << r.err;
        EXPECT_NE(r.err.find("-Could not create the spreadsheet tool!"), std::string::npos);
        EXPECT_FALSE(fs::exists(empty / "out.xlsm"));
    } else {
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find("allBMPkavro.csv was not found"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(empty / "out.xlsm"));
    }
}

// Every mode and size opens in LibreOffice, which computes the information sheet's sums.
TEST(KavroGenerateLibreOffice, InformationSheetAsComputed) {
    struct Case {
        int n;
        bool nonZero;
    } cases[] = {{1, false}, {1, true}, {3, false}, {3, true}, {200, false}, {200, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.n) + (c.nonZero ? " non-zero" : " zero"));
        fs::path out = tmpDir() / ("lo-" + std::to_string(c.n) + (c.nonZero ? "-nz" : "-z") + ".xlsm");
        Cli r = generate("-n " + std::to_string(c.n) + (c.nonZero ? " --nonzero " : " ") +
                         fixture().paths() + " -o '" + out.string() + "'");
        ASSERT_EQ(r.code, 0) << r.err;
        auto sheets = kavro::testing::recalculate(out.string(), (tmpDir() / "lo").string());
        ASSERT_TRUE(sheets.count("General Input Data"));
        const auto& info = sheets.at("General Input Data");
        EXPECT_EQ(info.number("C6"), c.n);
        EXPECT_EQ(info.number("C16"), c.nonZero ? 4 : 0);
        EXPECT_EQ(info.number("E16"), c.nonZero ? 8 : 0);
        EXPECT_EQ(info.number("G16"), 0);
        EXPECT_EQ(info.text("B12"), "User Defined");
    }
}

}  // namespace
