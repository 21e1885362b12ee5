// Workbook layer benchmark: builds and saves a workbook of 1,000,000 cells (half numbers, half
// R1C1 formulas with references, some hundreds of distinct formats) and, in the same run, has
// libxlsxwriter write the same cells and formats. Every measurement runs in a child process of
// its own so that its peak memory (ru_maxrss) is its own. Prints the median of the runs.
//
//   workbook_bench [--runs N] [--rows R] [--out DIR]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "workbook/formula/formula.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"

#ifdef KAVRO_HAVE_XLSXWRITER
#include <xlsxwriter.h>
#endif

namespace {

constexpr int kCols = 20;        // 10 number columns, then 10 formula columns
constexpr int kFormats = 300;    // distinct cell formats

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// The formats: fills from the palette, bold or not, and a handful of number formats.
wb::CellFormat formatOf(int k) {
    static const char* numFmts[] = {"General", "0.00", "#,##0", "0.0%", "0.000E+00", "#,##0.0"};
    wb::CellFormat f;
    f.fill.pattern = wb::xl::Solid;
    f.fill.color = wb::Color::indexed(1 + k % 56);
    f.font.bold = (k / 56) % 2 == 1;
    f.numberFormat = numFmts[(k / 112) % 6];
    if (k % 3 == 0) f.bottom = wb::Border{wb::xl::Continuous, wb::xl::Thin, wb::Color::automatic()};
    return f;
}

// The formula of column c (11..20): references to the number columns of its row and the row above.
std::string r1c1Formula(int c) {
    int k = c - 10;
    return "=RC[-10]*" + std::to_string(k) + "+R[-1]C[-" + std::to_string(10 - (k % 5)) +
           "]-SUM(RC1:RC3)";
}

double numberAt(int r, int c) { return r * 0.5 + c; }

struct Result {
    double build = 0, save = 0, total = 0;
    long maxRssKb = 0;
};

Result runOurs(int rows, const std::string& path) {
    Result res;
    auto t0 = Clock::now();
    wb::Workbook book;
    wb::Worksheet& ws = book.addSheet("Data");
    wb::CellFormat formats[kFormats];
    for (int k = 0; k < kFormats; ++k) formats[k] = formatOf(k);
    std::string formulas[kCols + 1];
    for (int c = 11; c <= kCols; ++c) formulas[c] = r1c1Formula(c);
    for (int r = 2; r <= rows + 1; ++r) {
        for (int c = 1; c <= 10; ++c) ws.cells(r, c).setValue(numberAt(r, c));
        for (int c = 11; c <= kCols; ++c) ws.cells(r, c).setFormulaR1C1(formulas[c]);
        for (int c = 1; c <= kCols; ++c) ws.cells(r, c).setFormat(formats[(r + c) % kFormats]);
    }
    auto t1 = Clock::now();
    wb::ooxml::saveWorkbook(book, path);
    auto t2 = Clock::now();
    res.build = seconds(t0, t1);
    res.save = seconds(t1, t2);
    res.total = seconds(t0, t2);
    return res;
}

#ifdef KAVRO_HAVE_XLSXWRITER
Result runXlsxwriter(int rows, const std::string& path) {
    // The A1 texts are prepared beforehand: libxlsxwriter takes formulas as A1 text.
    std::vector<std::string> a1;
    a1.reserve(static_cast<size_t>(rows) * 10);
    struct NoSheets : wb::formula::SheetResolver {
        int findSheet(std::string_view) const override { return -1; }
        std::string sheetName(int) const override { return {}; }
    } noSheets;
    for (int r = 2; r <= rows + 1; ++r)
        for (int c = 11; c <= kCols; ++c)
            a1.push_back("=" + wb::formula::toA1(wb::formula::parseR1C1(r1c1Formula(c), r, c, noSheets),
                                                 noSheets));
    Result res;
    auto t0 = Clock::now();
    lxw_workbook* book = workbook_new(path.c_str());
    lxw_worksheet* ws = workbook_add_worksheet(book, "Data");
    lxw_format* formats[kFormats];
    static const uint8_t lxwBorder = LXW_BORDER_THIN;
    for (int k = 0; k < kFormats; ++k) {
        wb::CellFormat f = formatOf(k);
        lxw_format* fmt = workbook_add_format(book);
        format_set_pattern(fmt, LXW_PATTERN_SOLID);
        format_set_bg_color(fmt, static_cast<lxw_color_t>(f.fill.color.toRgb()));
        if (f.font.bold) format_set_bold(fmt);
        if (f.numberFormat != "General") format_set_num_format(fmt, f.numberFormat.c_str());
        if (k % 3 == 0) format_set_bottom(fmt, lxwBorder);
        formats[k] = fmt;
    }
    size_t fi = 0;
    for (int r = 2; r <= rows + 1; ++r) {
        for (int c = 1; c <= 10; ++c)
            worksheet_write_number(ws, r - 1, c - 1, numberAt(r, c), formats[(r + c) % kFormats]);
        for (int c = 11; c <= kCols; ++c)
            worksheet_write_formula(ws, r - 1, c - 1, a1[fi++].c_str(), formats[(r + c) % kFormats]);
    }
    lxw_error err = workbook_close(book);
    auto t1 = Clock::now();
    if (err != LXW_NO_ERROR) {
        std::fprintf(stderr, "libxlsxwriter: %s\n", lxw_strerror(err));
        std::exit(1);
    }
    res.save = res.total = seconds(t0, t1);
    return res;
}
#endif

// Runs f in a child process; returns its result with the child's own peak memory.
template <class F>
Result inChild(F f) {
    int fds[2];
    if (pipe(fds) != 0) std::exit(1);
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        Result r = f();
        rusage ru;
        getrusage(RUSAGE_SELF, &ru);
        r.maxRssKb = ru.ru_maxrss;
        if (write(fds[1], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    Result r;
    ssize_t n = read(fds[0], &r, sizeof r);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (n != static_cast<ssize_t>(sizeof r) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "a benchmark run failed\n");
        std::exit(1);
    }
    return r;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 5, rows = 50000;
    std::string dir = std::filesystem::temp_directory_path().string();
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) runs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--rows") && i + 1 < argc) rows = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--out") && i + 1 < argc) dir = argv[++i];
        else {
            std::fprintf(stderr, "usage: workbook_bench [--runs N] [--rows R] [--out DIR]\n");
            return 2;
        }
    }
    const long cells = static_cast<long>(rows) * kCols;
    const std::string ours = dir + "/workbook_bench_ours.xlsm";
    const std::string theirs = dir + "/workbook_bench_libxlsxwriter.xlsx";
    std::printf("%ld cells (%d rows x %d columns: half numbers, half formulas), %d formats, %d runs\n",
                cells, rows, kCols, kFormats, runs);

    std::vector<double> build, save, total, lxw, ratio;
    std::vector<double> rssOurs, rssLxw;
    for (int i = 0; i < runs; ++i) {
        // Alternate the order so that neither side always runs on a warmer machine.
        Result o, x;
        bool oursFirst = i % 2 == 0;
        if (oursFirst) o = inChild([&] { return runOurs(rows, ours); });
#ifdef KAVRO_HAVE_XLSXWRITER
        x = inChild([&] { return runXlsxwriter(rows, theirs); });
#endif
        if (!oursFirst) o = inChild([&] { return runOurs(rows, ours); });
        build.push_back(o.build);
        save.push_back(o.save);
        total.push_back(o.total);
        rssOurs.push_back(o.maxRssKb / 1024.0);
        std::printf("run %d: ours %.3f s (build %.3f, save %.3f), peak %.0f MiB", i + 1, o.total,
                    o.build, o.save, o.maxRssKb / 1024.0);
#ifdef KAVRO_HAVE_XLSXWRITER
        lxw.push_back(x.total);
        rssLxw.push_back(x.maxRssKb / 1024.0);
        ratio.push_back(o.total / x.total);
        std::printf("; libxlsxwriter %.3f s, peak %.0f MiB; ratio %.2f", x.total,
                    x.maxRssKb / 1024.0, o.total / x.total);
#endif
        std::printf("\n");
    }
    std::printf("median: ours %.3f s (build %.3f s, save %.3f s) = %.0f cells/s, peak memory %.0f MiB\n",
                median(total), median(build), median(save), cells / median(total), median(rssOurs));
#ifdef KAVRO_HAVE_XLSXWRITER
    std::printf("median: libxlsxwriter %.3f s = %.0f cells/s, peak memory %.0f MiB\n", median(lxw),
                cells / median(lxw), median(rssLxw));
    std::printf("median ratio ours / libxlsxwriter: %.2f (target <= 1.00); peak memory target < 1024 MiB\n",
                median(ratio));
#endif
    std::printf("files: %s (%ju bytes)", ours.c_str(),
                static_cast<uintmax_t>(std::filesystem::file_size(ours)));
#ifdef KAVRO_HAVE_XLSXWRITER
    std::printf(", %s (%ju bytes)", theirs.c_str(),
                static_cast<uintmax_t>(std::filesystem::file_size(theirs)));
#endif
    std::printf("\n");
    return 0;
}
