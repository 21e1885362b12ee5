// The built template in LibreOffice: it opens, the location chosen on the Input sheet resolves to
// the county and station keys, and the lookups that the Input sheet's tables make with those keys
// find the chosen county's and station's values from the source tables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tools/make_template/csv.h"
#include "tools/make_template/template_builder.h"
#include "workbook/ooxml/package.h"
#include "workbook/testing/libreoffice.h"

namespace fs = std::filesystem;
using kavro::tpl::CsvRecord;
using kavro::tpl::readCsv;

namespace {

const fs::path kSources = fs::path(KAVRO_SOURCE_DIR) / "support" / "template";
const fs::path kOut = fs::path(KAVRO_TEST_TMP) / "libreoffice";

std::optional<double> number(const std::string& s) {
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (s.empty() || *end != '\0') return std::nullopt;
    return v;
}

// Rows of a source table, by the "State|Name" key the template builds.
std::map<std::string, std::map<std::string, std::string>> sourceRows(const std::string& file,
                                                                     const std::string& nameCol) {
    std::vector<CsvRecord> recs = readCsv(kSources / file);
    std::vector<std::string> cols;
    for (const std::string& h : recs.front().fields) cols.push_back(h.substr(0, h.find(':')));
    std::map<std::string, std::map<std::string, std::string>> out;
    for (size_t i = 1; i < recs.size(); ++i) {
        std::map<std::string, std::string> row;
        for (size_t f = 0; f < cols.size(); ++f) row[cols[f]] = recs[i].fields[f];
        out[row["A"] + "|" + row[nameCol]] = row;
    }
    return out;
}

// The distinct values of `column` of a source table in file order, for the rows of `state`
// (all rows when empty).
std::vector<std::string> namesOf(const std::string& file, const std::string& column,
                                 const std::string& state) {
    std::vector<CsvRecord> recs = readCsv(kSources / file);
    int f = -1, a = -1;
    for (size_t i = 0; i < recs.front().fields.size(); ++i) {
        std::string c = recs.front().fields[i].substr(0, recs.front().fields[i].find(':'));
        if (c == column) f = static_cast<int>(i);
        if (c == "A") a = static_cast<int>(i);
    }
    std::vector<std::string> out;
    for (size_t i = 1; i < recs.size(); ++i) {
        if (!state.empty() && recs[i].fields[a] != state) continue;
        if (out.empty() || out.back() != recs[i].fields[f]) out.push_back(recs[i].fields[f]);
    }
    return out;
}

// The list source of the in-cell list of `cell`, as the template stores it.
std::string listSource(wb::Worksheet& ws, const std::string& cell) {
    wb::Range r = ws.range(cell);
    for (const wb::DataValidation& dv : ws.validations)
        for (const wb::RangeRef& ref : dv.ranges)
            if (ref.contains(r.row(), r.column()) && dv.type == "list") return dv.formula1;
    return "";
}

// Probe cells on the Input sheet (row 3, from column AC on): the lookups that the Input sheet's
// table 1 and table 4 make with the station and county keys.
struct Probe {
    int col;
    std::string formula;
    std::string sourceColumn;  // column of the source table the value comes from
    bool county;
};
const std::vector<Probe>& probes() {
    static const std::vector<Probe> p = [] {
        std::vector<Probe> v;
        int col = 29;  // AC
        for (const char* c : {"W", "X", "Y", "AA"})
            v.push_back({col++,
                         std::string("=INDEX(WeatherData!") + c + "$2:" + c +
                             "$8220,MATCH(WeatherData!$M$5,WeatherData!$V$2:$V$8220,0))",
                         c, false});
        for (const char* c : {"O", "P", "Q", "R", "S"})
            v.push_back({col++,
                         std::string("=LOOKUP(I13,'CountyData'!F2:F3217,'CountyData'!") + c +
                             "2:" + c + "3217)",
                         c, true});
        return v;
    }();
    return p;
}

struct Choice {
    const char* name;
    const char* state;
    const char* county;
    const char* station;
    bool countyOfState;  // false: the county belongs to another state
};

}  // namespace

TEST(TemplateInLibreOffice, OpensAndComputesTheKeysOfItsDefaultChoice) {
    ASSERT_TRUE(fs::exists(KAVRO_TEMPLATE_FILE)) << KAVRO_TEMPLATE_FILE;
    std::string error;
    EXPECT_TRUE(kavro::testing::openpyxlReads(KAVRO_TEMPLATE_FILE, &error)) << error;

    auto sheets = kavro::testing::recalculate(KAVRO_TEMPLATE_FILE, kOut.string());
    for (std::string_view name : kavro::tpl::kRequiredSheets)
        EXPECT_TRUE(sheets.count(std::string(name))) << name;
    EXPECT_EQ(sheets["WeatherData"].text("M5"), "Maryland|Frederick");
    EXPECT_EQ(sheets["Input"].text("I13"), "24021");
    EXPECT_EQ(sheets["Input"].text("F10"), "FALSE");
    EXPECT_EQ(sheets["Input"].text("K10"), "FALSE");
}

// Choices typed into copies of the template, with probe cells on the Input sheet that make the
// lookups of the Input sheet's tables 1 and 4 with the resulting keys.
TEST(TemplateInLibreOffice, LocationChoiceFindsTheCountyAndStation) {
    const Choice choices[] = {
        {"first_key", "Delaware", "Kent County", "Dover", true},
        {"last_key", "Vermont", "Windsor County", "St. Johnsbury", true},
        {"apostrophe", "Maryland", "Prince George's County", "Salisbury", true},
        {"same_name_other_state", "Rhode Island", "Kent County", "Kingston", true},
        {"county_of_another_state", "Vermont", "Frederick County", "Burlington", false},
    };
    auto counties = sourceRows("county_data.csv", "C");
    auto stations = sourceRows("weather_stations.csv", "B");
    fs::create_directories(kOut);
    for (const Choice& c : choices) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<wb::Workbook> book = wb::ooxml::openWorkbook(KAVRO_TEMPLATE_FILE);
        wb::Worksheet& input = book->sheet("Input");
        input.range("B13").setText(c.state);
        input.range("D13").setText(c.county);
        input.range("F13").setText(c.station);
        for (const Probe& p : probes()) input.cells(3, p.col).setFormula(p.formula);
        // Row 4: size, first and last entry of the in-cell lists of B13, D13 and F13.
        int col = 29;
        for (const char* cell : {"B13", "D13", "F13"}) {
            std::string source = listSource(input, cell);
            ASSERT_FALSE(source.empty()) << cell;
            input.cells(4, col++).setFormula("=ROWS(" + source + ")");
            input.cells(4, col++).setFormula("=INDEX(" + source + ",1)");
            input.cells(4, col++).setFormula("=INDEX(" + source + ",ROWS(" + source + "))");
        }
        fs::path path = kOut / (std::string(c.name) + ".xlsm");
        wb::ooxml::saveWorkbook(*book, path.string());

        auto sheets = kavro::testing::recalculate(path.string(), kOut.string());
        const kavro::testing::SheetValues& in = sheets["Input"];
        std::string stationKey = std::string(c.state) + "|" + c.station;
        std::string countyKey = std::string(c.state) + "|" + c.county;
        ASSERT_TRUE(stations.count(stationKey));
        EXPECT_EQ(sheets["WeatherData"].text("M5"), stationKey);
        if (c.countyOfState) {
            ASSERT_TRUE(counties.count(countyKey));
            EXPECT_EQ(number(in.text("I13")), number(counties[countyKey]["F"]));
        } else {
            // Not a county of the chosen state: there is no key, so the factors show an error
            // instead of the values of whichever county sorts nearest.
            EXPECT_EQ(in.text("I13"), "#N/A");
        }
        const std::vector<std::string> lists[] = {namesOf("county_data.csv", "A", ""),
                                                  namesOf("county_data.csv", "C", c.state),
                                                  namesOf("weather_stations.csv", "B", c.state)};
        for (int l = 0; l < 3; ++l) {
            SCOPED_TRACE("in-cell list " + std::to_string(l + 1));
            EXPECT_EQ(number(in.text(4, 29 + 3 * l)), static_cast<double>(lists[l].size()));
            EXPECT_EQ(in.text(4, 30 + 3 * l), lists[l].front());
            EXPECT_EQ(in.text(4, 31 + 3 * l), lists[l].back());
        }
        for (const Probe& p : probes()) {
            SCOPED_TRACE(p.formula);
            std::string got = in.text(3, p.col);
            if (p.county && !c.countyOfState) {
                EXPECT_EQ(got, "#N/A");
                continue;
            }
            const std::string& want = p.county ? counties[countyKey][p.sourceColumn]
                                               : stations[stationKey][p.sourceColumn];
            ASSERT_TRUE(number(got)) << got;
            EXPECT_NEAR(*number(got), *number(want), 1e-9);
        }
    }
}
