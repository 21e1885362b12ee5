// Generation benchmark: kavro-generate run as a process for N = 1, 10, 50, 100 and 200
// subwatersheds with 100 gullies and 100 streambanks, several times each, with the wall time and
// peak memory (ru_maxrss) of every run. For N = 200 the cells and formats of the generated
// workbook are read back and written again, in child processes of their own, by libxlsxwriter
// and by our own writer, so that the run can be set against a writer that only writes.
// Prints the medians and whether the targets are met; the exit code says only whether every
// run succeeded.
//
//   generation_bench [--runs R] [--out DIR] [--generate EXE] [--template FILE] [--bmp-list FILE]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"

#ifdef KAVRO_HAVE_XLSXWRITER
#include <xlsxwriter.h>
#endif

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kGullies = 100, kStreambanks = 100;
const int kCounts[] = {1, 10, 50, 100, 200};

struct Paths {
    std::string generate = KAVRO_GENERATE_EXE;
    std::string templ = KAVRO_TEMPLATE_FILE;
    std::string bmpList = KAVRO_BMP_LIST_FILE;
    std::string out;
};

struct Sample {
    double seconds = 0;
    double peakMiB = 0;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::string outputFor(const Paths& p, int n) {
    return p.out + "/generation_bench_" + std::to_string(n) + ".xlsm";
}

// One kavro-generate run, its output and messages discarded; the time runs from the spawn to
// the child's end, the peak memory is the child's own.
Sample generate(const Paths& p, int n) {
    const std::string ns = std::to_string(n), gs = std::to_string(kGullies),
                      ss = std::to_string(kStreambanks), out = outputFor(p, n);
    std::vector<std::string> args = {p.generate,   "-n",    ns,           "-g",      gs,   "-s", ss,
                                     "--template", p.templ, "--bmp-list", p.bmpList, "-o", out};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto t0 = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, p.generate.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", p.generate.c_str());
        std::exit(1);
    }
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    const auto t1 = Clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "kavro-generate -n %d failed (run it by hand to see why)\n", n);
        std::exit(1);
    }
    return {std::chrono::duration<double>(t1 - t0).count(), ru.ru_maxrss / 1024.0};
}

// Runs f in a child process: the time f reports, and the child's peak memory.
template <class F>
Sample inChild(F f) {
    int fds[2];
    if (pipe(fds) != 0) std::exit(1);
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        Sample s;
        s.seconds = f();
        rusage ru{};
        getrusage(RUSAGE_SELF, &ru);
        s.peakMiB = ru.ru_maxrss / 1024.0;
        if (write(fds[1], &s, sizeof s) != static_cast<ssize_t>(sizeof s)) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    Sample s;
    const ssize_t got = read(fds[0], &s, sizeof s);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (got != static_cast<ssize_t>(sizeof s) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "a benchmark run failed\n");
        std::exit(1);
    }
    return s;
}

// The generated workbook with every sheet loaded.
std::unique_ptr<wb::Workbook> openLoaded(const std::string& path) {
    std::unique_ptr<wb::Workbook> book = wb::ooxml::openWorkbook(path);
    for (int i = 0; i < book->sheetCount(); ++i) book->sheet(book->sheet(i).name());
    return book;
}

// Our writer alone: the generated workbook read back, then saved again (only the save is timed).
double saveOurs(const std::string& from, const std::string& to) {
    std::unique_ptr<wb::Workbook> book = openLoaded(from);
    const auto t0 = Clock::now();
    wb::ooxml::saveWorkbook(*book, to);
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

#ifdef KAVRO_HAVE_XLSXWRITER

// What libxlsxwriter is given: the cells, formats, merges and row and column settings of every
// sheet, formulas as A1 text, prepared before the clock starts.
struct PlainCell {
    int row, col;
    wb::CellType type;
    double number;
    std::string text;  // text, or the formula without "="
    uint32_t style;
};
struct PlainSheet {
    std::string name;
    std::vector<PlainCell> cells;
    std::vector<wb::RangeRef> merges;
    std::map<int, wb::RowInfo> rows;
    std::map<int, wb::ColInfo> cols;
    bool hidden = false;
};
struct PlainBook {
    std::vector<PlainSheet> sheets;
    std::vector<wb::CellFormat> formats;
    size_t cellCount = 0;
};

PlainBook plainCopy(const std::string& path) {
    std::unique_ptr<wb::Workbook> book = openLoaded(path);
    PlainBook plain;
    for (size_t k = 0; k < book->styles().size(); ++k)
        plain.formats.push_back(book->styles().get(static_cast<uint32_t>(k)));
    for (int i = 0; i < book->sheetCount(); ++i) {
        wb::Worksheet& ws = book->sheet(i);
        PlainSheet s;
        s.name = ws.name();
        s.hidden = ws.visibility() != wb::Worksheet::Visibility::Visible;
        s.merges = ws.merges;
        s.rows = ws.rowInfo;
        s.cols = ws.colInfo;
        ws.forEachCell([&](int row, const wb::Cell& c) {
            PlainCell pc{row, c.col, c.type, 0, {}, c.style};
            switch (c.type) {
                case wb::CellType::Number:
                    pc.number = c.number;
                    break;
                case wb::CellType::Boolean:
                    pc.number = c.boolean ? 1 : 0;
                    break;
                case wb::CellType::Text:
                    pc.text = book->strings().get(c.text);
                    break;
                case wb::CellType::Formula:
                    pc.text = ws.cells(row, c.col).formula().substr(1);
                    break;
                default:
                    break;
            }
            s.cells.push_back(std::move(pc));
        });
        plain.cellCount += s.cells.size();
        plain.sheets.push_back(std::move(s));
    }
    return plain;
}

uint8_t lxwBorder(const wb::Border& b) {
    namespace xl = wb::xl;
    if (b.lineStyle == xl::None) return LXW_BORDER_NONE;
    if (b.lineStyle == xl::Dash) return LXW_BORDER_DASHED;
    if (b.lineStyle == xl::Dot) return LXW_BORDER_DOTTED;
    if (b.lineStyle == xl::Double) return LXW_BORDER_DOUBLE;
    if (b.weight == xl::Medium) return LXW_BORDER_MEDIUM;
    if (b.weight == xl::Thick) return LXW_BORDER_THICK;
    if (b.weight == xl::Hairline) return LXW_BORDER_HAIR;
    return LXW_BORDER_THIN;
}

lxw_format* lxwFormat(lxw_workbook* book, const wb::CellFormat& f) {
    namespace xl = wb::xl;
    using Kind = wb::Color::Kind;
    lxw_format* fmt = workbook_add_format(book);
    format_set_font_name(fmt, f.font.name.c_str());
    format_set_font_size(fmt, f.font.size);
    if (f.font.bold) format_set_bold(fmt);
    if (f.font.italic) format_set_italic(fmt);
    if (f.font.underline) format_set_underline(fmt, LXW_UNDERLINE_SINGLE);
    if (f.font.strike) format_set_font_strikeout(fmt);
    if (f.font.color.kind != Kind::Automatic) format_set_font_color(fmt, f.font.color.toRgb());
    if (f.fill.pattern == xl::Solid) {
        format_set_pattern(fmt, LXW_PATTERN_SOLID);
        if (f.fill.color.kind != Kind::Automatic) format_set_bg_color(fmt, f.fill.color.toRgb());
    }
    const std::pair<const wb::Border*, void (*)(lxw_format*, uint8_t)> sides[] = {
        {&f.left, format_set_left},
        {&f.right, format_set_right},
        {&f.top, format_set_top},
        {&f.bottom, format_set_bottom}};
    for (auto [b, set] : sides)
        if (b->lineStyle != xl::None) set(fmt, lxwBorder(*b));
    switch (f.align.horizontal) {
        case xl::Left:
            format_set_align(fmt, LXW_ALIGN_LEFT);
            break;
        case xl::Center:
            format_set_align(fmt, LXW_ALIGN_CENTER);
            break;
        case xl::Right:
            format_set_align(fmt, LXW_ALIGN_RIGHT);
            break;
        case xl::Justify:
            format_set_align(fmt, LXW_ALIGN_JUSTIFY);
            break;
        case xl::CenterAcrossSelection:
            format_set_align(fmt, LXW_ALIGN_CENTER_ACROSS);
            break;
        default:
            break;
    }
    if (f.align.vertical == xl::Top) format_set_align(fmt, LXW_ALIGN_VERTICAL_TOP);
    if (f.align.vertical == xl::Center) format_set_align(fmt, LXW_ALIGN_VERTICAL_CENTER);
    if (f.align.wrap) format_set_text_wrap(fmt);
    if (f.align.shrink) format_set_shrink(fmt);
    if (f.align.indent > 0) format_set_indent(fmt, static_cast<uint8_t>(f.align.indent));
    if (f.align.orientation != 0)
        format_set_rotation(fmt, static_cast<int16_t>(f.align.orientation));
    if (f.numberFormat != "General") format_set_num_format(fmt, f.numberFormat.c_str());
    if (!f.locked) format_set_unlocked(fmt);
    return fmt;
}

double writeXlsxwriter(const PlainBook& plain, const std::string& path) {
    const auto t0 = Clock::now();
    lxw_workbook* book = workbook_new(path.c_str());
    std::vector<lxw_format*> formats(plain.formats.size(), nullptr);
    auto formatOf = [&](uint32_t id) -> lxw_format* {
        if (id == 0) return nullptr;
        if (!formats[id]) formats[id] = lxwFormat(book, plain.formats[id]);
        return formats[id];
    };
    for (const PlainSheet& s : plain.sheets) {
        lxw_worksheet* ws = workbook_add_worksheet(book, s.name.c_str());
        if (s.hidden) worksheet_hide(ws);
        for (const auto& [col, ci] : s.cols) {
            lxw_row_col_options opt{};
            opt.hidden = ci.hidden;
            worksheet_set_column_opt(ws, static_cast<lxw_col_t>(col - 1),
                                     static_cast<lxw_col_t>(col - 1),
                                     ci.width < 0 ? LXW_DEF_COL_WIDTH : ci.width,
                                     ci.hasStyle ? formatOf(ci.style) : nullptr, &opt);
        }
        for (const auto& [row, ri] : s.rows) {
            lxw_row_col_options opt{};
            opt.hidden = ri.hidden;
            worksheet_set_row_opt(ws, static_cast<lxw_row_t>(row - 1),
                                  ri.height < 0 ? LXW_DEF_ROW_HEIGHT : ri.height,
                                  ri.hasStyle ? formatOf(ri.style) : nullptr, &opt);
        }
        for (const wb::RangeRef& m : s.merges)
            worksheet_merge_range(
                ws, static_cast<lxw_row_t>(m.r1 - 1), static_cast<lxw_col_t>(m.c1 - 1),
                static_cast<lxw_row_t>(m.r2 - 1), static_cast<lxw_col_t>(m.c2 - 1), "", nullptr);
        for (const PlainCell& c : s.cells) {
            const auto r = static_cast<lxw_row_t>(c.row - 1);
            const auto k = static_cast<lxw_col_t>(c.col - 1);
            lxw_format* fmt = formatOf(c.style);
            switch (c.type) {
                case wb::CellType::Number:
                    worksheet_write_number(ws, r, k, c.number, fmt);
                    break;
                case wb::CellType::Boolean:
                    worksheet_write_boolean(ws, r, k, c.number != 0, fmt);
                    break;
                case wb::CellType::Text:
                    worksheet_write_string(ws, r, k, c.text.c_str(), fmt);
                    break;
                case wb::CellType::Formula:
                    worksheet_write_formula(ws, r, k, c.text.c_str(), fmt);
                    break;
                default:
                    worksheet_write_blank(ws, r, k, fmt);
                    break;
            }
        }
    }
    const lxw_error err = workbook_close(book);
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    if (err != LXW_NO_ERROR) {
        std::fprintf(stderr, "libxlsxwriter: %s\n", lxw_strerror(err));
        std::exit(1);
    }
    return s;
}

#endif

const char* verdict(bool met) { return met ? "met" : "MISSED"; }

}  // namespace

int main(int argc, char** argv) {
    Paths p;
    int runs = 5;
    p.out = std::filesystem::temp_directory_path().string();
    for (int i = 1; i < argc; ++i) {
        const bool more = i + 1 < argc;
        if (!std::strcmp(argv[i], "--runs") && more)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--out") && more)
            p.out = argv[++i];
        else if (!std::strcmp(argv[i], "--generate") && more)
            p.generate = argv[++i];
        else if (!std::strcmp(argv[i], "--template") && more)
            p.templ = argv[++i];
        else if (!std::strcmp(argv[i], "--bmp-list") && more)
            p.bmpList = argv[++i];
        else {
            std::fprintf(stderr,
                         "usage: generation_bench [--runs R] [--out DIR] [--generate EXE] "
                         "[--template FILE] [--bmp-list FILE]\n");
            return 2;
        }
    }
    std::printf("kavro-generate -n N -g %d -s %d, %d runs each, in turns\n", kGullies, kStreambanks,
                runs);

    // In turns, so that a busy spell of the machine falls on every N alike.
    std::map<int, std::vector<double>> time, peak;
    generate(p, 200);  // warm the file cache
    for (int r = 0; r < runs; ++r)
        for (int n : kCounts) {
            Sample s = generate(p, n);
            time[n].push_back(s.seconds);
            peak[n].push_back(s.peakMiB);
        }
    // Growth: the time ratio to the previous N against the ratio of the N, and the time each
    // further subwatershed adds (constant when the run is linear in N). A ratio may exceed the
    // N ratio by 5 % before it counts as faster than linear: that is the run-to-run spread of
    // medians on this shared machine.
    std::printf("%6s %10s %11s %18s %16s %14s\n", "N", "time (s)", "peak (MiB)", "growth (N grew)",
                "ms per added N", "file (bytes)");
    int previous = 0;
    bool linear = true;
    for (int n : kCounts) {
        const double t = median(time[n]);
        char growth[32] = "", added[32] = "";
        if (previous > 0) {
            const double ratio = t / median(time[previous]);
            const double allowed = static_cast<double>(n) / previous;
            std::snprintf(growth, sizeof growth, "%.2f (N %.0fx)", ratio, allowed);
            std::snprintf(added, sizeof added, "%.2f",
                          1000 * (t - median(time[previous])) / (n - previous));
            linear = linear && ratio <= 1.05 * allowed;
        }
        std::printf("%6d %10.3f %11.0f %18s %16s %14ju\n", n, t, median(peak[n]), growth, added,
                    static_cast<uintmax_t>(std::filesystem::file_size(outputFor(p, n))));
        previous = n;
    }

    const std::string big = outputFor(p, 200);
    const double ours = median(time[200]);
    const double oursPeak = median(peak[200]);
    std::vector<double> save, lxw, lxwPeak, savePeak;
    for (int r = 0; r < runs; ++r) {
        Sample s = inChild([&] { return saveOurs(big, p.out + "/generation_bench_resaved.xlsm"); });
        save.push_back(s.seconds);
        savePeak.push_back(s.peakMiB);
#ifdef KAVRO_HAVE_XLSXWRITER
        Sample x = inChild([&] {
            const PlainBook plain = plainCopy(big);
            return writeXlsxwriter(plain, p.out + "/generation_bench_libxlsxwriter.xlsx");
        });
        lxw.push_back(x.seconds);
        lxwPeak.push_back(x.peakMiB);
#endif
    }
    std::printf("N = 200: our writer saving the generated workbook again: %.3f s, peak %.0f MiB\n",
                median(save), median(savePeak));
#ifdef KAVRO_HAVE_XLSXWRITER
    const size_t cells = plainCopy(big).cellCount;
    std::printf(
        "N = 200: libxlsxwriter writing its %zu cells and their formats: %.3f s, peak %.0f MiB\n",
        cells, median(lxw), median(lxwPeak));
    std::printf("  generation / libxlsxwriter %.2f, our writer / libxlsxwriter %.2f\n",
                ours / median(lxw), median(save) / median(lxw));
#endif
    std::printf(
        "targets: N = 200 under 1 s: %s (%.3f s); peak memory under 300 MiB: %s (%.0f MiB); "
        "growth no faster than N: %s",
        verdict(ours < 1.0), ours, verdict(oursPeak < 300), oursPeak, verdict(linear));
#ifdef KAVRO_HAVE_XLSXWRITER
    std::printf("; no slower than libxlsxwriter: %s", verdict(ours <= median(lxw)));
#endif
    std::printf("\n");
    return 0;
}
