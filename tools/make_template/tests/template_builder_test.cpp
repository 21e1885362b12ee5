// The template builder: its source reader, the checks that stop a broken source, and the built
// template as the workbook layer reads it back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <variant>

#include "tools/make_template/template_builder.h"
#include "workbook/ooxml/package.h"

namespace fs = std::filesystem;
using namespace kavro::tpl;

namespace {

const fs::path kSources = fs::path(KAVRO_SOURCE_DIR) / "support" / "template";

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeText(const fs::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
}

// Replaces the first occurrence of `from` in the text; fails the test when it is absent, so a
// fixture never silently stops testing anything.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "fixture text not found: " << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// A copy of the real sources in a fresh folder, for a test to break one file of.
fs::path copyOfSources(const std::string& name) {
    fs::path dir = fs::path(KAVRO_TEST_TMP) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const auto& e : fs::directory_iterator(kSources))
        fs::copy(e.path(), dir / e.path().filename());
    return dir;
}

std::string textOf(const wb::CellValue& v) {
    if (auto s = std::get_if<std::string>(&v)) return *s;
    return "";
}

}  // namespace

TEST(TemplateCsv, ParsesQuotesCommentsAndLineEnds) {
    auto recs = parseCsv(
        "# comment, ignored\r\n"
        "a,\"b, with comma\",\"say \"\"hi\"\"\"\r\n"
        "\n"
        "\"two\nlines\",,last\n"
        "trailing,\n",
        "t.csv");
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[0].fields, (std::vector<std::string>{"a", "b, with comma", "say \"hi\""}));
    EXPECT_EQ(recs[0].line, 2);
    EXPECT_EQ(recs[1].fields, (std::vector<std::string>{"two\nlines", "", "last"}));
    EXPECT_EQ(recs[1].line, 4);
    EXPECT_EQ(recs[2].fields, (std::vector<std::string>{"trailing", ""}));
    EXPECT_EQ(recs[2].line, 6);
}

TEST(TemplateCsv, RejectsBrokenQuotingWithTheLine) {
    for (auto [text, what] : {std::pair{"ok\n\"open,field\n", "t.csv:2: unterminated"},
                              std::pair{"a,\"b\"c\n", "t.csv:1: text after the closing quote"}}) {
        SCOPED_TRACE(text);
        try {
            parseCsv(text, "t.csv");
            ADD_FAILURE() << "no error";
        } catch (const SourceError& e) {
            EXPECT_NE(std::string(e.what()).find(what), std::string::npos) << e.what();
        }
    }
}

TEST(TemplateLookupKeys, OrderIsCaseBlindAndBlankSortsFirst) {
    EXPECT_TRUE(lookupKeyLess("clay", "Clay Loam"));
    EXPECT_TRUE(lookupKeyLess("Silt Loam", "silty clay"));  // blank before a letter
    EXPECT_FALSE(lookupKeyLess("SAND", "sand"));
    EXPECT_TRUE(lookupKeyIsPortable("4. Very Severe"));
    EXPECT_FALSE(lookupKeyIsPortable("Clay-Loam"));  // hyphens sort differently in some programs
    EXPECT_FALSE(lookupKeyIsPortable(""));
}

// Each case breaks one source file the way an editor of the data might, and expects the build to
// stop with the file, the line and the reason.
TEST(TemplateBuilder, BrokenSourcesStopTheBuildWithFileAndLine) {
    struct Case {
        const char* name;
        const char* file;
        std::function<std::string(std::string)> edit;
        const char* expected;
    };
    const Case cases[] = {
        {"county keys out of order", "county_data.csv",
         [](std::string t) { return replaced(t, "Caroline County,24011", "Caroline County,24008"); },
         "county_data.csv:14: county key 24008 is not above the key before it"},
        {"a state's rows split", "county_data.csv",
         [](std::string t) {
             return replaced(t, "Delaware,DE,Sussex County", "Vermont,VT,Sussex County");
         },
         "county_data.csv:39: \"Vermont\" appears again after other rows"},
        {"county key not a number", "county_data.csv",
         [](std::string t) { return replaced(t, ",24021,", ",24O21,"); },
         "column F holds \"24O21\", not a number"},
        {"same county twice", "county_data.csv",
         [](std::string t) { return replaced(t, "Kent County,24029", "Howard County,24029"); },
         "\"Maryland|Howard County\" is already on line"},
        {"soil classes not ascending", "soil_texture.csv",
         [](std::string t) { return replaced(t, "Loam,0.0437", "Zeolite Loam,0.0437"); },
         "soil_texture.csv:10: key \"Loamy Sand\" is not above the key before it"},
        {"soil class with a hyphen", "soil_texture.csv",
         [](std::string t) { return replaced(t, "Sandy Loam,", "Sandy-Loam,"); },
         "may hold only letters, digits, blanks and periods"},
        {"an eleventh soil class", "soil_texture.csv",
         [](std::string t) { return t + "Silty Loam Two,0.04,1.0\n"; },
         "11 rows where the workbook reads 10"},
        {"a missing header column", "lateral_recession.csv",
         [](std::string t) { return replaced(t, ",AH:Rate (ft/yr)", ""); },
         "the header has no column AH"},
        {"a misspelt sheet in cells", "cells.csv",
         [](std::string t) { return replaced(t, "WeatherData,L5,", "WeatherDat,L5,"); },
         "no sheet \"WeatherDat\""},
        {"a formula that does not parse", "cells.csv",
         [](std::string t) { return replaced(t, "=Input!$B$13&", "=Input!$B$13&&"); },
         "cells.csv:43: "},
        {"a list naming a missing sheet", "validations.csv",
         [](std::string t) { return replaced(t, "OFFSET(WeatherData!$B$1", "OFFSET(Weather!$B$1"); },
         "validations.csv:9: list source"},
        {"a required sheet renamed", "sheets.csv",
         [](std::string t) { return replaced(t, "Gully&Streambank,visible", "Gully,visible"); },
         "the sheet \"Gully&Streambank\" is missing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::path dir = copyOfSources("broken_sources");
        writeText(dir / c.file, c.edit(readText(kSources / c.file)));
        wb::Workbook book;
        try {
            buildTemplate(book, dir);
            ADD_FAILURE() << "built without error";
        } catch (const SourceError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
    }
}

TEST(TemplateBuilder, StateWithCountiesButNoStationsIsRejected) {
    fs::path dir = copyOfSources("no_stations");
    std::string text = readText(kSources / "weather_stations.csv");
    for (const char* row : {"Delaware,Dover,0.86,0.42,45.5,113\n",
                            "Delaware,Georgetown,0.87,0.43,46.0,112\n",
                            "Delaware,Wilmington,0.85,0.41,43.5,117\n"})
        text = replaced(text, row, "");
    writeText(dir / "weather_stations.csv", text);
    wb::Workbook book;
    try {
        buildTemplate(book, dir);
        ADD_FAILURE() << "built without error";
    } catch (const SourceError& e) {
        EXPECT_NE(std::string(e.what()).find("\"delaware\" has counties but no stations"),
                  std::string::npos)
            << e.what();
    }
}

// The template as the generation run will read it: the sheets, the switches, the key columns in
// the order the lookups need, the in-cell lists.
TEST(BuiltTemplate, HoldsTheCellsTheWorkbookReads) {
    ASSERT_TRUE(fs::exists(KAVRO_TEMPLATE_FILE)) << KAVRO_TEMPLATE_FILE;
    std::unique_ptr<wb::Workbook> book = wb::ooxml::openWorkbook(KAVRO_TEMPLATE_FILE);

    ASSERT_EQ(book->sheetCount(), static_cast<int>(kRequiredSheets.size()));
    for (int i = 0; i < book->sheetCount(); ++i) EXPECT_EQ(book->sheet(i).name(), kRequiredSheets[i]);
    EXPECT_EQ(book->activeSheet().name(), "Input");

    wb::Worksheet& input = book->sheet("Input");
    for (const char* flag : {"F10", "K10"}) {
        SCOPED_TRACE(flag);
        EXPECT_TRUE(std::holds_alternative<bool>(input.range(flag).value()));
    }
    const char* classes[] = {"0-24%", "25-49%", "50-74%", "75-100%"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(textOf(input.cells(i + 1, 27).value()), classes[i]);
    EXPECT_TRUE(input.range("I13").hasFormula());
    EXPECT_TRUE(book->sheet("WeatherData").range("M5").hasFormula());
    for (const char* cell : {"B13", "D13", "F13", "F10", "K10"}) {
        SCOPED_TRACE(cell);
        wb::Range r = input.range(cell);
        bool found = false;
        for (const wb::DataValidation& dv : input.validations)
            for (const wb::RangeRef& ref : dv.ranges)
                found = found || (ref.contains(r.row(), r.column()) && dv.type == "list" &&
                                  !dv.formula1.empty());
        EXPECT_TRUE(found) << "no in-cell list";
    }

    // County keys: numbers, strictly ascending, each row with its five factors.
    wb::Worksheet& county = book->sheet("CountyData");
    int rows = 0;
    double last = 0;
    for (int r = 2; r <= kCountyRows + 1; ++r) {
        wb::CellValue key = county.cells(r, 6).value();
        if (std::holds_alternative<std::monostate>(key)) break;
        ASSERT_TRUE(std::holds_alternative<double>(key)) << "F" << r;
        EXPECT_GT(std::get<double>(key), last) << "F" << r;
        last = std::get<double>(key);
        for (int c = 15; c <= 19; ++c)
            EXPECT_TRUE(std::holds_alternative<double>(county.cells(r, c).value()))
                << "row " << r << " column " << c;
        ++rows;
    }
    EXPECT_GT(rows, 0);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(county.cells(kCountyRows + 2, 6).value()));

    wb::Worksheet& weather = book->sheet("WeatherData");
    int stations = 0;
    for (int r = 2; !textOf(weather.cells(r, 22).value()).empty(); ++r, ++stations)
        for (int c : {23, 24, 25, 27})
            EXPECT_TRUE(std::holds_alternative<double>(weather.cells(r, c).value()))
                << "row " << r << " column " << c;
    EXPECT_GT(stations, 0);

    // The gully and streambank lookup tables: first columns ascending, values beside them.
    wb::Worksheet& gully = book->sheet("Gully&Streambank");
    struct Lookup {
        int keyCol, first, last;
        std::vector<int> numberCols;
    };
    for (const Lookup& t : {Lookup{28, 2, 11, {29, 30}}, Lookup{32, 2, 5, {34}}}) {
        for (int r = t.first; r <= t.last; ++r) {
            std::string key = textOf(gully.cells(r, t.keyCol).value());
            EXPECT_FALSE(key.empty()) << "row " << r << " column " << t.keyCol;
            if (r > t.first) {
                EXPECT_TRUE(lookupKeyLess(textOf(gully.cells(r - 1, t.keyCol).value()), key))
                    << key;
            }
            for (int c : t.numberCols)
                EXPECT_TRUE(std::holds_alternative<double>(gully.cells(r, c).value()))
                    << "row " << r << " column " << c;
        }
    }
    EXPECT_FALSE(textOf(gully.range("AG2").value()).empty());
}
