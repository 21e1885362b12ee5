#include "workbook/testing/libreoffice.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace kavro::testing {

namespace {

std::string quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

// Runs a shell command; returns its exit status and fills `output` with stdout and stderr.
int run(const std::string& command, std::string& output) {
    output.clear();
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return -1;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) output.append(buf.data(), n);
    int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::vector<std::string>> parseCsv(const std::string& data) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false, any = false;
    for (size_t i = 0; i < data.size(); ++i) {
        char c = data[i];
        any = true;
        if (quoted) {
            if (c == '"') {
                if (i + 1 < data.size() && data[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            any = false;
        } else {
            field += c;
        }
    }
    if (any) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

bool parseA1(const std::string& a1, int& row, int& col) {
    size_t i = 0;
    col = 0;
    while (i < a1.size() && std::isalpha(static_cast<unsigned char>(a1[i])))
        col = col * 26 + (std::toupper(static_cast<unsigned char>(a1[i++])) - 'A' + 1);
    if (col == 0 || i == a1.size()) return false;
    row = std::atoi(a1.c_str() + i);
    return row > 0;
}

std::string makeProfileDir(const std::string& workDir) {
    fs::create_directories(workDir);
    std::string tmpl = (fs::path(workDir) / "lo-profile-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a LibreOffice profile folder");
    return tmpl;
}

}  // namespace

std::string SheetValues::text(int row, int col) const {
    if (row < 1 || row > static_cast<int>(rows.size())) return {};
    const auto& r = rows[row - 1];
    if (col < 1 || col > static_cast<int>(r.size())) return {};
    return r[col - 1];
}

std::string SheetValues::text(const std::string& a1) const {
    int row, col;
    if (!parseA1(a1, row, col)) throw std::runtime_error("not a cell address: " + a1);
    return text(row, col);
}

bool SheetValues::isNumber(int row, int col) const {
    std::string t = text(row, col);
    if (t.empty()) return false;
    char* end = nullptr;
    std::strtod(t.c_str(), &end);
    return end && *end == '\0';
}

double SheetValues::number(int row, int col) const {
    std::string t = text(row, col);
    char* end = nullptr;
    double v = std::strtod(t.c_str(), &end);
    if (t.empty() || !end || *end != '\0')
        throw std::runtime_error("cell (" + std::to_string(row) + ", " + std::to_string(col) +
                                 ") is not a number: \"" + t + "\"");
    return v;
}

double SheetValues::number(const std::string& a1) const {
    int row, col;
    if (!parseA1(a1, row, col)) throw std::runtime_error("not a cell address: " + a1);
    try {
        return number(row, col);
    } catch (const std::runtime_error&) {
        throw std::runtime_error("cell " + a1 + " is not a number: \"" + text(row, col) + "\"");
    }
}

std::map<std::string, SheetValues> recalculate(const std::string& path,
                                               const std::string& workDir) {
    std::string profile = makeProfileDir(workDir);
    std::string outDir = profile + "/csv";
    fs::create_directories(outDir);
    std::string cmd = "soffice --headless --norestore -env:UserInstallation=file://" + profile +
                      " --convert-to " +
                      quote("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,"
                            "false,-1") +
                      " --outdir " + quote(outDir) + " " + quote(path);
    std::string output;
    int rc = run(cmd, output);
    std::map<std::string, SheetValues> sheets;
    std::string base = fs::path(path).stem().string() + "-";
    for (const auto& e : fs::directory_iterator(outDir)) {
        std::string name = e.path().filename().string();
        if (name.rfind(base, 0) != 0 || e.path().extension() != ".csv") continue;
        std::string sheet = name.substr(base.size(), name.size() - base.size() - 4);
        std::ifstream in(e.path(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        sheets[sheet].rows = parseCsv(ss.str());
    }
    std::error_code ec;
    fs::remove_all(profile, ec);
    if (rc != 0 || sheets.empty())
        throw std::runtime_error("LibreOffice could not open or convert " + path + ": " + output);
    return sheets;
}

std::string convertToPdf(const std::string& path, const std::string& outDir) {
    std::string profile = makeProfileDir(outDir);
    std::string cmd = "soffice --headless --norestore -env:UserInstallation=file://" + profile +
                      " --convert-to pdf --outdir " + quote(outDir) + " " + quote(path);
    std::string output;
    int rc = run(cmd, output);
    std::error_code ec;
    fs::remove_all(profile, ec);
    std::string pdf = (fs::path(outDir) / (fs::path(path).stem().string() + ".pdf")).string();
    if (rc != 0 || !fs::exists(pdf))
        throw std::runtime_error("LibreOffice could not convert " + path + " to PDF: " + output);
    return pdf;
}

bool openpyxlReads(const std::string& path, std::string* error) {
    std::string output;
    int rc = run("/usr/bin/python3 -c " +
                     quote("import sys, openpyxl; openpyxl.load_workbook(sys.argv[1], "
                           "keep_vba=True)") +
                     " " + quote(path),
                 output);
    if (error) *error = output;
    return rc == 0;
}

bool isErrorValue(const std::string& t) {
    if (t.rfind("Err:", 0) == 0) return true;
    static const char* errors[] = {"#VALUE!", "#REF!", "#NAME?", "#DIV/0!", "#N/A", "#NUM!",
                                   "#NULL!"};
    for (const char* e : errors)
        if (t == e) return true;
    return false;
}

}  // namespace kavro::testing
