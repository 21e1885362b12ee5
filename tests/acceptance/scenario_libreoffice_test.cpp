// A planner's watershed end to end: three subwatersheds with every kind of source (urban,
// cropland, pastureland, forest and user-defined land, livestock, septic systems and direct
// discharges, feedlots, a gully, a streambank, cropland irrigation, groundwater), BMPs on
// cropland and feedlots. kavro-generate makes the workbook; the planner's entries are typed into
// the saved file (Input, BMPs, and the gully and streambank rows of Gully&Streambank); LibreOffice
// recalculates it. Table 1 of "Total Load" must give, to 0.1 %, the loads that the model's
// equations give when worked through here by hand, source by source.
//
// The hand computation takes its data where the workbook takes it: the typed entries, the
// defaults the sheets start with (runoff curve numbers, concentrations, animal weights, ...),
// the weather station, county, soil and recession tables of the template's sources and the
// efficiencies of the shipped BMP list.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "sheets/summary/bmp_list_file.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"
#include "workbook/testing/libreoffice.h"

namespace fs = std::filesystem;

namespace {

constexpr int N = 3;
const std::string kSupport = std::string(KAVRO_BINARY_DIR) + "/support";
const std::string kTemplateData = std::string(KAVRO_SOURCE_DIR) + "/support/template";

// ---------------------------------------------------------------------------------------------
// The data tables the template is built from: "# ..." comment lines, then a header whose fields
// name their target column ("Y:Annual rainfall (in)"), then one record a line.

struct DataTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;

    // The field `name` (the header text after the column letter) of the row whose first fields
    // are `key`.
    std::string field(const std::vector<std::string>& key, const std::string& name) const {
        size_t col = header.size();
        for (size_t k = 0; k < header.size(); ++k) {
            const size_t colon = header[k].find(':');
            if (header[k].substr(colon + 1) == name) col = k;
        }
        if (col == header.size()) throw std::runtime_error("no column " + name);
        for (const auto& row : rows)
            if (std::equal(key.begin(), key.end(), row.begin()) && col < row.size())
                return row[col];
        throw std::runtime_error("no row " + key.front() + " with " + name);
    }
    double number(const std::vector<std::string>& key, const std::string& name) const {
        return std::stod(field(key, name));
    }
};

DataTable readDataTable(const std::string& file) {
    std::ifstream in(kTemplateData + "/" + file);
    if (!in) throw std::runtime_error("cannot read " + file);
    DataTable t;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::stringstream ss(line);
        for (std::string f; std::getline(ss, f, ',');) fields.push_back(f);
        (t.header.empty() ? t.header : t.rows.emplace_back()) = fields;
    }
    return t;
}

// ---------------------------------------------------------------------------------------------
// The model's fixed coefficients, as the sheets are built with them.

constexpr double kLbPerAcFtMgL = 4047 * 0.3048 / 454;        // acre-feet x mg/l -> lb
constexpr double kMpnPerAcFt = kLbPerAcFtMgL * 10 * 453592;  // acre-feet x MPN/100 ml -> MPN

enum Land { kUrban, kCrop, kPasture, kForest, kUser };

// Reference runoff curve numbers by land use and soil group A..D (Input table 6).
constexpr double kCurveNumber[5][4] = {
    {83, 89, 92, 93}, {67, 78, 85, 89}, {49, 69, 79, 84}, {39, 60, 73, 79}, {50, 70, 80, 85}};
// Urban types: commercial, industrial, institutional, transportation, multi-family,
// single-family, urban-cultivated, vacant (developed), open space.
constexpr double kUrbanCurveNumber[9][4] = {{89, 92, 94, 95}, {81, 88, 91, 93}, {81, 88, 91, 93},
                                            {98, 98, 98, 98}, {77, 85, 90, 92}, {57, 72, 81, 86},
                                            {67, 78, 85, 89}, {77, 85, 90, 92}, {49, 69, 79, 84}};
constexpr double kImpervious[9] = {0.85, 0.7, 0.5, 0.95, 0.75, 0.3, 0.01, 0.7, 0.01};
constexpr double kDefaultUrbanMix[9] = {15, 10, 10, 10, 10, 30, 5, 5, 5};
// Urban runoff concentrations by type: TN, TP, BOD, TSS (mg/l); E. coli 0.
constexpr double kUrbanConc[4][9] = {{2.0, 2.5, 1.8, 3.0, 2.2, 2.2, 1.9, 1.5, 1.5},
                                     {0.2, 0.4, 0.3, 0.5, 0.4, 0.4, 0.3, 0.15, 0.15},
                                     {9.3, 9.0, 7.8, 9.3, 10.0, 10.0, 4.0, 4.0, 4.0},
                                     {75, 120, 67, 150, 100, 100, 150, 70, 70}};
// Infiltration fractions towards groundwater by soil group A..D: urban, then the rural uses.
constexpr double kInfiltration[2][4] = {{0.36, 0.24, 0.12, 0.06}, {0.45, 0.3, 0.15, 0.075}};
// Animal masses (lb): beef cattle, dairy cattle, swine, sheep, horse, chicken, turkey, duck.
constexpr double kAnimalMass[8] = {1000, 1400, 200, 100, 1000, 4, 10, 4};
// N, P, BOD produced by each of those animals relative to a 1000 lb slaughter steer.
constexpr double kFeedlotRatio[8][3] = {{1, 1, 1},
                                        {1.853, 0.92, 1.4},
                                        {0.306, 0.27, 0.388},
                                        {0.124, 0.06, 0.075},
                                        {0.882, 0.42, 1.063},
                                        {0.01, 0.01, 0.008},
                                        {0.018, 0.03, 0.013},
                                        {0.018, 0.01, 0.011}};
constexpr double kFeedlotCeiling[3] = {1500, 300, 2000};  // mg/l at full animal density
// Septic overcharge and raw wastewater: N, P, BOD (mg/l), flow (gal/day/person).
constexpr double kSepticConc[3] = {60, 23.5, 245}, kWastewaterConc[3] = {40, 8, 220};
constexpr double kSepticFlow = 70, kWastewaterFlow = 75;

// ---------------------------------------------------------------------------------------------
// The watershed.

struct Subwatershed {
    std::array<double, 5> area;  // urban, cropland, pastureland, forest, user defined (ac)
    double feedlot;              // ac
    const char* paved;
    std::array<double, 8> animals;  // heads, in the order of kAnimalMass
    double monthsCropland, monthsPasture;
    double systems, persons, failure, directPeople, directReduction;
    int soilGroup;                   // 0..3 for A..D
    double soilN, soilP, soilEcoli;  // %, %, MPN per 100 mg
    std::array<double, 9> urbanMix;  // % of the urban area by type
    double irrigated, depthBefore, depthAfter, irrigations;
    const char* cropBmp;
    double cropShare;
    const char* feedlotBmp;
    double feedlotShare;
    bool ownCroplandUsle;
    std::array<double, 5> croplandUsle;  // R, K, LS, C, P typed over the county's
};

const std::array<Subwatershed, N> kWatershed = {{
    {{120, 300, 150, 200, 40},
     5,
     "25-49%",
     {200, 100, 300, 50, 10, 1000, 0, 0},
     4,
     6,
     400,
     2.43,
     5,
     20,
     50,
     1,
     0.1,
     0.04,
     5,
     {15, 10, 10, 10, 10, 30, 5, 5, 5},
     0,
     0,
     0,
     0,
     "Cover crop",
     50,
     "Vegetated treatment area",
     100,
     false,
     {}},
    {{60, 500, 250, 100, 0},
     0,
     "0-24%",
     {50, 600, 0, 0, 0, 0, 0, 0},
     3,
     2,
     250,
     2.6,
     10,
     0,
     0,
     2,
     0.08,
     0.0308,
     0,
     {15, 10, 10, 10, 10, 30, 5, 5, 5},
     100,
     3,
     1.5,
     6,
     "No till",
     80,
     "0 No BMP",
     0,
     false,
     {}},
    {{200, 150, 80, 400, 60},
     2,
     "75-100%",
     {300, 0, 500, 0, 0, 0, 200, 100},
     6,
     0,
     100,
     2.2,
     2,
     40,
     100,
     3,
     0.6,
     0.05,
     10,
     {30, 20, 10, 10, 10, 10, 5, 5, 0},
     0,
     0,
     0,
     0,
     "0 No BMP",
     0,
     "Settling basin",
     60,
     true,
     {180, 0.3, 2.0, 0.25, 0.6}},
}};

const char* const kState = "Vermont";
const char* const kCounty = "Caledonia County";  // its C factor is below the cropland floor 0.2
const char* const kStation = "Burlington";

// Runoff concentrations typed over the defaults: E. coli of the cropland classes (L, L with
// manure, M, M manured, H, H manured), forest E. coli, the user-defined row, pastureland E. coli
// of the six classes, and groundwater BOD and E. coli of every land use.
constexpr double kCropEcoli[6] = {100, 1000, 150, 1500, 200, 2000};
constexpr double kForestEcoli = 50;
constexpr double kUserConc[4] = {3, 0.4, 6, 80};
constexpr double kPastureEcoli[6] = {200, 2000, 300, 3000, 400, 4000};
constexpr double kGroundwaterBod = 0.5, kGroundwaterEcoli = 1;

// Defaults of the runoff concentration tables (N, P, BOD) that stay.
constexpr double kCropConc[6][3] = {{1.9, 0.3, 4},   {8.1, 2, 12.3},  {2.9, 0.4, 6.1},
                                    {12.2, 3, 18.5}, {4.4, 0.5, 9.2}, {18.3, 4, 24.6}};
constexpr double kForestConc[3] = {0.2, 0.1, 0.5};
constexpr double kPastureConc[3] = {4, 0.3, 13};
// Groundwater N and P: urban, cropland, pastureland, forest, feedlot, user defined.
constexpr double kGroundwaterNP[6][2] = {{1.5, 0.063},  {1.44, 0.063}, {1.44, 0.063},
                                         {0.11, 0.009}, {6, 0.07},     {0, 0}};

struct Gully {
    int subwatershed;
    double top, bottom, depth, length, years, efficiency;
    const char* soil;
} const kGully{2, 6, 2, 4, 300, 10, 0.7, "Silt Loam"};
struct Streambank {
    int subwatershed;
    double length, height;
    const char* recession;
    double efficiency;
    const char* soil;
} const kStreambank{3, 500, 6, "3. Severe", 0.5, "Loam"};

// ---------------------------------------------------------------------------------------------
// Typing it in, cell by cell where the planner would (N = 3, one gully, one streambank).

void typeWatershed(wb::Workbook& book) {
    wb::Worksheet& in = book.sheet("Input");
    in.range("B13").setValue(kState);
    in.range("D13").setValue(kCounty);
    in.range("F13").setValue(kStation);
    in.range("K10").setValue(true);  // groundwater infiltration on
    for (int i = 1; i <= N; ++i) {
        const Subwatershed& w = kWatershed[i - 1];
        for (int t = 0; t < 5; ++t) in.cells(17 + i, 3 + t).setValue(w.area[t]);
        in.cells(17 + i, 8).setValue(w.feedlot);
        in.cells(17 + i, 9).setValue(w.paved);
        for (int k = 0; k < 8; ++k) in.cells(N + 21 + i, 3 + k).setValue(w.animals[k]);
        in.cells(N + 21 + i, 11).setValue(w.monthsCropland);
        in.cells(N + 21 + i, 12).setValue(w.monthsPasture);
        const double septic[5] = {w.systems, w.persons, w.failure, w.directPeople,
                                  w.directReduction};
        for (int k = 0; k < 5; ++k) in.cells(2 * N + 26 + i, 3 + k).setValue(septic[k]);
        if (w.ownCroplandUsle)
            for (int k = 0; k < 5; ++k) in.cells(3 * N + 31 + i, 3 + k).setValue(w.croplandUsle[k]);
        const int soils = 4 * N + 36 + i;
        for (int g = 0; g < 4; ++g) in.cells(soils, 3 + g).setValue(g == w.soilGroup);
        in.cells(soils, 8).setValue(w.soilN);
        in.cells(soils, 9).setValue(w.soilP);
        in.cells(soils, 11).setValue(w.soilEcoli);
        for (int u = 0; u < 9; ++u) in.cells(5 * N + 62 + i, 4 + u).setValue(w.urbanMix[u]);
        const double irrigation[4] = {w.irrigated, w.depthBefore, w.depthAfter, w.irrigations};
        for (int k = 0; k < 4; ++k) in.cells(6 * N + 66 + i, 4 + k).setValue(irrigation[k]);
    }
    for (int r = 0; r < 6; ++r) in.cells(5 * N + 50 + r, 6).setValue(kCropEcoli[r]);
    in.cells(5 * N + 57, 6).setValue(kForestEcoli);
    for (int p = 0; p < 4; ++p) in.cells(5 * N + 58, 3 + p).setValue(kUserConc[p]);
    for (int r = 0; r < 6; ++r) {
        in.cells(7 * N + 71 + r, 6).setValue(kPastureEcoli[r]);
        in.cells(5 * N + 53 + r, 11).setValue(kGroundwaterBod);
        in.cells(5 * N + 53 + r, 12).setValue(kGroundwaterEcoli);
    }

    wb::Worksheet& bmps = book.sheet("BMPs");
    for (int i = 1; i <= N; ++i) {
        const Subwatershed& w = kWatershed[i - 1];
        bmps.cells(7 + i, 8).setValue(w.cropBmp);
        bmps.cells(7 + i, 9).setValue(w.cropShare);
        bmps.cells(4 * N + 23 + i, 8).setValue(w.feedlotBmp);
        bmps.cells(4 * N + 23 + i, 9).setValue(w.feedlotShare);
    }

    wb::Worksheet& gs = book.sheet("Gully&Streambank");
    const std::string gullyIn = "W" + std::to_string(kGully.subwatershed);
    gs.range("B12").setValue(gullyIn);
    const double gully[6] = {kGully.top,    kGully.bottom, kGully.depth,
                             kGully.length, kGully.years,  kGully.efficiency};
    for (int k = 0; k < 6; ++k) gs.cells(12, 4 + k).setValue(gully[k]);
    gs.range("J12").setValue(kGully.soil);
    gs.range("B17").setValue("W" + std::to_string(kStreambank.subwatershed));
    gs.range("D17").setValue(kStreambank.length);
    gs.range("E17").setValue(kStreambank.height);
    gs.range("F17").setValue(kStreambank.recession);
    gs.range("I17").setValue(kStreambank.efficiency);
    gs.range("J17").setValue(kStreambank.soil);
}

// ---------------------------------------------------------------------------------------------
// The same watershed worked through by hand. Pollutant index p: 0 N, 1 P, 2 BOD, 3 E. coli.

// Runoff depth per event by the curve-number method (no initial abstraction, the default).
double runoff(double rain, double cn) {
    const double s = 1000 / cn - 10;
    return rain > 0 ? rain * rain / (rain + s) : 0;
}

// Delivery ratio from the subwatershed's area (ac).
double deliveryRatio(double acres) {
    if (acres == 0) return 0;
    const double mi2 = acres / 640;
    return acres > 200 ? 0.417662 * std::pow(mi2, -0.134958) - 0.127097
                       : 0.42 * std::pow(mi2, -0.125);
}

double listEfficiency(const std::vector<kavro::BmpRecord>& list, const char* group,
                      const std::string& bmp, int field) {
    for (const kavro::BmpRecord& r : list)
        if (r[0] == group && r[1] == bmp)
            return r[static_cast<size_t>(field)] == "ND" ? 0
                                                         : std::stod(r[static_cast<size_t>(field)]);
    throw std::runtime_error("no BMP " + bmp + " in " + group);
}

// One row of table 1: C..G without BMP, H..L reductions (lb, t, billion MPN).
struct Row {
    std::array<double, 5> load{}, reduction{};
};

// What each source gives a subwatershed: N, P, BOD (lb), sediment (t), E. coli (MPN).
struct Sources {
    std::map<std::string, std::array<double, 5>> load, reduction;
};

Sources handComputed(int i) {
    const Subwatershed& w = kWatershed[i - 1];
    const DataTable weather = readDataTable("weather_stations.csv");
    const DataTable counties = readDataTable("county_data.csv");
    const DataTable soils = readDataTable("soil_texture.csv");
    const DataTable recession = readDataTable("lateral_recession.csv");
    const kavro::BmpListContents bmpList = kavro::readBmpListFile(kSupport + "/allBMPkavro.csv");
    if (!bmpList.ok()) throw std::runtime_error(bmpList.error);
    Sources out;

    // Rain: the station's annual rainfall over its rain days, each corrected.
    const double annual = weather.number({kState, kStation}, "Annual rainfall (in)");
    const double rainDays = weather.number({kState, kStation}, "Rain days");
    const double rainCorrection = weather.number({kState, kStation}, "Rain correction factor");
    const double dayCorrection = weather.number({kState, kStation}, "Rain days correction factor");
    const double event = annual * rainCorrection / (rainDays * dayCorrection);
    const double events = rainDays * dayCorrection;  // runoff-producing events a year

    // Annual runoff by land use (ac-ft); cropland adds the runoff of its irrigation.
    std::array<double, 5> volume{};
    for (int t = 0; t < 5; ++t)
        volume[t] = runoff(event, kCurveNumber[t][w.soilGroup]) / 12 * w.area[t] * events;
    const double irrigationBefore = runoff(w.depthBefore, kCurveNumber[kCrop][w.soilGroup]);
    const double irrigationAfter = runoff(w.depthAfter, kCurveNumber[kCrop][w.soilGroup]);
    volume[kCrop] += irrigationBefore / 12 * w.irrigated * w.irrigations;
    const double irrigationSaved =
        (irrigationBefore - irrigationAfter) / 12 * w.irrigated * w.irrigations;

    // Livestock density (AEU per acre of cropland) and its class A, B or C.
    double mass = 0;
    for (int k = 0; k < 8; ++k) mass += w.animals[k] * kAnimalMass[k];
    const double aeu = w.area[kCrop] == 0 ? 0 : mass / 1000 / w.area[kCrop];
    const int density = aeu >= 2.5 ? 2 : aeu > 1.5 ? 1 : 0;
    auto cropConc = [&](bool manured, int p) {
        return p == 3 ? kCropEcoli[2 * density + manured] : kCropConc[2 * density + manured][p];
    };
    auto pastureConc = [&](bool manured, int p) {
        return p == 3 ? kPastureEcoli[2 * density + manured] : kPastureConc[p];
    };
    auto toLoad = [](double acreFeet, double conc, int p) {
        return acreFeet * conc * (p == 3 ? kMpnPerAcFt : kLbPerAcFtMgL);
    };

    // BMP efficiencies as the BMPs sheet shows them: the list's figure times the share of area.
    std::array<double, 5> cropEff{}, feedlotEff{};  // N, P, BOD, sediment, E. coli
    for (int q = 0; q < 5; ++q) {
        cropEff[q] =
            listEfficiency(bmpList.records, "Cropland", w.cropBmp, 2 + q) * w.cropShare / 100;
        feedlotEff[q] =
            listEfficiency(bmpList.records, "Feedlots", w.feedlotBmp, 2 + q) * w.feedlotShare / 100;
    }
    auto pollutant = [](int p) {
        return p == 3 ? 4 : p;
    };  // p -> index among N, P, BOD, sed, E. coli

    // Runoff from rural land: cropland and pastureland mix agricultural and manured runoff by
    // the months of manure application; cropland BMPs act on the runoff that irrigation BMPs
    // leave, and the runoff they save carries the agricultural concentration.
    std::array<double, 5> rural{}, ruralReduction{};
    for (int p = 0; p < 4; ++p) {
        const double mc = w.monthsCropland / 12, mp = w.monthsPasture / 12;
        const double crop =
            toLoad(volume[kCrop], (1 - mc) * cropConc(false, p) + mc * cropConc(true, p), p);
        const double pasture = toLoad(
            volume[kPasture], (1 - mp) * pastureConc(false, p) + mp * pastureConc(true, p), p);
        const double forest = toLoad(volume[kForest], p == 3 ? kForestEcoli : kForestConc[p], p);
        const double user = toLoad(volume[kUser], kUserConc[p], p);
        const double saved = toLoad(irrigationSaved, cropConc(false, p), p);
        rural[pollutant(p)] = crop + pasture + forest + user;
        ruralReduction[pollutant(p)] = (crop - saved) * cropEff[pollutant(p)] + saved;
    }
    out.load["rural runoff"] = rural;
    out.reduction["rural runoff"] = ruralReduction;

    // Urban runoff by urban type, with its own curve numbers; no urban BMPs.
    std::array<double, 5> urban{};
    double urbanImpervious = 0;
    for (int u = 0; u < 9; ++u) {
        const double acres = w.area[kUrban] * w.urbanMix[u] / 100;
        urbanImpervious += acres * kImpervious[u];
        const double acreFeet =
            runoff(event, kUrbanCurveNumber[u][w.soilGroup]) / 12 * acres * events;
        for (int q = 0; q < 4; ++q)
            urban[q] += 4047 * 0.3048 * acreFeet * kUrbanConc[q][u] / 1000 * 2.203;
    }
    urban[3] /= 2000;  // TSS in tons
    out.load["urban"] = urban;

    // Feedlot: curve number and pervious share by paved class; the animals as steer equivalents
    // per acre, capped at 100, set the concentrations.
    const char* classes[4] = {"0-24%", "25-49%", "50-74%", "75-100%"};
    int paved = -1;
    for (int c = 0; c < 4; ++c)
        if (std::string(w.paved) == classes[c]) paved = c;
    const double feedlotCn = 91 + paved, pervious = w.feedlot * (0.875 - 0.25 * paved);
    const double feedlotRunoff = runoff(event, feedlotCn) * w.feedlot;  // acre-inches per event
    std::array<double, 5> feedlot{}, feedlotReduction{};
    for (int p = 0; p < 3 && w.feedlot != 0; ++p) {
        double units = 0;
        for (int k = 0; k < 8; ++k) units += w.animals[k] * kFeedlotRatio[k][p];
        const double conc = std::min(units / w.feedlot, 100.0) / 100 * kFeedlotCeiling[p];
        feedlot[p] = rainDays * dayCorrection * conc * feedlotRunoff * 0.227;
        feedlotReduction[p] = feedlot[p] * feedlotEff[p];
    }
    out.load["feedlot"] = feedlot;
    out.reduction["feedlot"] = feedlotReduction;

    // Septic systems and direct discharges (lb/yr); only the direct part is reduced.
    const double litresPerHour = 3.785412 / 24;
    const double septicFlow = w.systems * w.persons * w.failure / 100 * kSepticFlow * litresPerHour;
    const double directFlow = w.directPeople * kWastewaterFlow * litresPerHour;
    std::array<double, 5> septic{}, septicReduction{};
    for (int p = 0; p < 3; ++p) {
        septic[p] =
            (septicFlow * kSepticConc[p] + directFlow * kWastewaterConc[p]) / 453592.4 * 24 * 365;
        septicReduction[p] =
            directFlow * w.directReduction / 100 * kWastewaterConc[p] / 453592.4 * 24 * 365;
    }
    out.load["septic"] = septic;
    out.reduction["septic"] = septicReduction;

    // Sheet and rill erosion by the USLE with the county's factors (cropland C at least 0.2,
    // pastureland and forest with their own C and P), delivered by the area's ratio; cropland
    // BMPs reduce the cropland erosion by their sediment efficiency.
    auto county = [&](const char* factor) {
        return counties.number({kState, "VT", kCounty}, factor);
    };
    const double R = county("R"), K = county("K"), LS = county("LS"), C = county("C"),
                 P = county("P");
    std::array<double, 4> usle = {R * K * LS * std::max(C, 0.2) * P, R * K * LS * 0.04 * 1,
                                  R * K * LS * 0.003 * 1, R * K * LS * C * 1};
    if (w.ownCroplandUsle) {
        usle[0] = 1;
        for (double f : w.croplandUsle) usle[0] *= f;
    }
    double erosion = 0, erosionAfter = 0;
    for (int u = 0; u < 4; ++u) {
        const double e = usle[u] * w.area[kCrop + u];
        erosion += e;
        erosionAfter += u == 0 ? e * (1 - cropEff[3]) : e;
    }
    double total = w.feedlot;
    for (double a : w.area) total += a;
    const double dr = deliveryRatio(total);
    const double sediment = erosion * dr, sedimentSaved = sediment - erosionAfter * dr;
    const double savedShare = sediment == 0 ? 0 : sedimentSaved / sediment;
    const double soilBod = std::min(2 * w.soilN, 1.0);
    const double soil[3] = {w.soilN, w.soilP, soilBod};
    std::array<double, 5> eroded{}, erodedReduction{};
    for (int p = 0; p < 3; ++p) {
        eroded[p] = 2 * soil[p] * sediment / 100 * 2000;  // enrichment ratio 2, tons to lb
        erodedReduction[p] = eroded[p] * savedShare;
    }
    eroded[3] = sediment;
    erodedReduction[3] = sedimentSaved;
    eroded[4] = w.soilEcoli * sediment / 100 * 2000 * 453592;
    erodedReduction[4] = eroded[4] * savedShare;
    out.load["erosion"] = eroded;
    out.reduction["erosion"] = erodedReduction;

    // Groundwater: the rain that infiltrates (by soil group), over the pervious urban area, the
    // rural areas and the feedlot's pervious part (at the urban rate), times the groundwater
    // concentrations of each use.
    const double urbanPervious = w.area[kUrban] - urbanImpervious;
    const double gwAcres[6] = {urbanPervious,   w.area[kCrop], w.area[kPasture],
                               w.area[kForest], pervious,      w.area[kUser]};
    std::array<double, 5> groundwater{};
    for (int k = 0; k < 6; ++k) {
        const bool urbanRate = k == 0 || k == 4;
        const double acreFeet =
            kInfiltration[urbanRate ? 0 : 1][w.soilGroup] * event / 12 * events * gwAcres[k];
        const double conc[4] = {kGroundwaterNP[k][0], kGroundwaterNP[k][1], kGroundwaterBod,
                                kGroundwaterEcoli};
        for (int p = 0; p < 4; ++p) groundwater[pollutant(p)] += toLoad(acreFeet, conc[p], p);
    }
    out.load["groundwater"] = groundwater;

    // The gully and the streambank of this subwatershed: sediment (t/yr) = volume x dry weight
    // (per year of formation for the gully); nutrients ride on the sediment adjusted by the soil's
    // correction factor.
    auto attached = [&](double tons, double correction, double efficiency, const char* name) {
        std::array<double, 5> load{}, reduction{};
        const double lb = 2000 * tons, ncf = lb * correction;
        for (int p = 0; p < 3; ++p) load[p] = ncf * soil[p] / 100;
        load[3] = lb;
        load[4] = ncf * w.soilEcoli / 100 * 453592;
        for (int q = 0; q < 5; ++q) reduction[q] = efficiency * load[q];
        out.load[name] = load;
        out.reduction[name] = reduction;
    };
    if (kGully.subwatershed == i) {
        const double dry = soils.number({kGully.soil}, "Dry Weight (ton/ft3)");
        attached(
            (kGully.top + kGully.bottom) / 2 * kGully.depth * kGully.length * dry / kGully.years,
            soils.number({kGully.soil}, "Nutrient Correction Factor"), kGully.efficiency, "gully");
    }
    if (kStreambank.subwatershed == i) {
        const double rate = recession.number({kStreambank.recession}, "Rate (ft/yr)");
        attached(kStreambank.length * kStreambank.height * rate *
                     soils.number({kStreambank.soil}, "Dry Weight (ton/ft3)"),
                 soils.number({kStreambank.soil}, "Nutrient Correction Factor"),
                 kStreambank.efficiency, "streambank");
    }
    return out;
}

// Table 1's row: every source added up; sediment in tons (the gully and streambank figures and
// the urban TSS come in pounds), E. coli in billions.
Row tableRow(const Sources& s) {
    Row r;
    for (const auto* part : {&s.load, &s.reduction})
        for (const auto& [name, v] : *part) {
            std::array<double, 5>& into = part == &s.load ? r.load : r.reduction;
            for (int q = 0; q < 5; ++q) {
                double x = v[q];
                if (q == 3 && (name == "gully" || name == "streambank")) x /= 2000;
                if (q == 4) x /= 1e9;
                into[q] += x;
            }
        }
    return r;
}

std::string generate(const fs::path& dir) {
    const std::string out = (dir / "generated.xlsm").string(),
                      log = (dir / "generate.log").string();
    const std::string cmd = std::string("'") + KAVRO_GENERATE_EXE +
                            "' -n 3 -g 1 -s 1 --template '" + kSupport +
                            "/NutrTplt.xlsm' --bmp-list '" + kSupport + "/allBMPkavro.csv' -o '" +
                            out + "' >'" + log + "' 2>&1";
    if (std::system(cmd.c_str()) != 0)
        throw std::runtime_error("kavro-generate failed, see " + log);
    return out;
}

TEST(Scenario, ThreeSubwatershedsWithEverySourceGiveTheHandComputedLoads) {
    const fs::path dir = fs::path(KAVRO_TEST_TMP) / ("scenario-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::unique_ptr<wb::Workbook> book = wb::ooxml::openWorkbook(generate(dir));
    typeWatershed(*book);
    const std::string typed = (dir / "typed.xlsm").string();
    wb::ooxml::saveWorkbook(*book, typed);
    const auto sheets = kavro::testing::recalculate(typed, (dir / "lo").string());
    const kavro::testing::SheetValues& t = sheets.at("Total Load");

    std::array<Sources, N> sources;
    for (int i = 1; i <= N; ++i) sources[i - 1] = handComputed(i);
    // Every kind of source takes part somewhere, or the comparison below proves less.
    for (const char* name : {"rural runoff", "urban", "feedlot", "septic", "erosion", "groundwater",
                             "gully", "streambank"}) {
        double n = 0;
        for (const Sources& s : sources)
            if (s.load.count(name)) n += s.load.at(name)[name == std::string("erosion") ? 3 : 0];
        EXPECT_GT(n, 0) << name;
    }

    const char* const columns[5] = {"N", "P", "BOD", "sediment", "E. coli"};
    Row total;
    auto check = [&](int row, const Row& expected) {
        for (int q = 0; q < 5; ++q) {
            const double with = expected.load[q] - expected.reduction[q];
            const std::pair<int, double> cells[3] = {
                {3 + q, expected.load[q]}, {8 + q, expected.reduction[q]}, {13 + q, with}};
            for (auto [col, want] : cells) {
                const double got = t.number(row, col);
                EXPECT_NEAR(got, want, 1e-3 * std::fabs(want) + 1e-9)
                    << t.text(row, 2) << " " << columns[q] << ", column " << col;
            }
        }
    };
    for (int i = 1; i <= N; ++i) {
        const Row r = tableRow(sources[i - 1]);
        check(2 * N + 16 + i, r);
        for (int q = 0; q < 5; ++q) {
            total.load[q] += r.load[q];
            total.reduction[q] += r.reduction[q];
        }
    }
    check(3 * N + 17, total);
}

}  // namespace
