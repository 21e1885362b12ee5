// combra-calc, run as a program: output, standard error and exit codes.
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "test_support.h"

namespace combra {
namespace {

using test::ReadAll;
using test::TempDir;

struct CalcRun {
    int code;
    std::string out;
    std::string err;
};

CalcRun Calc(const TempDir& dir, const std::string& args) {
    const auto out = dir.path() / "stdout.txt";
    const auto err = dir.path() / "stderr.txt";
    std::string cmd = "'";
    cmd.append(COMBRA_CALC_PATH).append("' ").append(args);
    cmd.append(" >'").append(out.string()).append("' 2>'").append(err.string()).append("'");
    const int status = std::system(cmd.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
}

// A path as one shell word.
std::string Quoted(const std::filesystem::path& p) {
    std::string q = "'";
    q.append(p.string()).append("'");
    return q;
}

constexpr const char* kParallel =
    "0\t2\t-1\t70\t60\t10.0\t1.0\t0.2\t0\t0\t0\n"
    "1\t2\t-1\t210\t60\t30.0\t0\t0.2\t0\t0\t0\n"
    "2\t-1\t-1\t140\t180\t0\t0\t0\t0\t0\t0\n"
    "3\t-1\t-1\t300\t180\t5\t0.1\t0.2\t0.3\t0.4\t0.5\n";

TEST(CombraCalc, PrintsOneRecordPerOutletInListOrder) {
    TempDir dir;
    const auto file = dir.File("p.inp", kParallel).string();
    CalcRun csv = Calc(dir, "--format csv '" + file + "'");
    EXPECT_EQ(csv.code, 0);
    EXPECT_EQ(csv.err, "");
    EXPECT_EQ(csv.out,
              "id,total,N,P,BOD,Sediment,EColi\n"
              "2,40.000000,0.250000,0.200000,0.000000,0.000000,0.000000\n"
              "3,5.000000,0.100000,0.200000,0.300000,0.400000,0.500000\n");

    CalcRun all = Calc(dir, "--all --format=csv '" + file + "'");
    EXPECT_EQ(all.code, 0);
    EXPECT_EQ(all.out.substr(all.out.find('\n') + 1, 2), "0,");

    CalcRun json = Calc(dir, "--format json '" + file + "'");
    EXPECT_EQ(json.out,
              "[\n"
              "  {\"id\": 2, \"total\": 40.000000, \"N\": 0.250000, \"P\": 0.200000, \"BOD\": "
              "0.000000, \"Sediment\": 0.000000, \"EColi\": 0.000000},\n"
              "  {\"id\": 3, \"total\": 5.000000, \"N\": 0.100000, \"P\": 0.200000, \"BOD\": "
              "0.300000, \"Sediment\": 0.400000, \"EColi\": 0.500000}\n"
              "]\n");

    CalcRun text = Calc(dir, "'" + file + "'");
    EXPECT_EQ(text.code, 0);
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')),
              "Node 2: Total Load or Area=40.000000 N Eff=0.250000 P Eff=0.200000 "
              "BOD Eff=0.000000 Sediment Eff=0.000000 EColi Eff=0.000000");
}

TEST(CombraCalc, LoopGivesExitCodeThreeAndTheOtherResults) {
    TempDir dir;
    const auto file = dir.File("loop.inp",
                               "0 1 -1 0 0 1 0.5 0 0 0 0\n"
                               "1 0 -1 0 0 1 0.5 0 0 0 0\n"
                               "2 -1 -1 0 0 8 0.5 0 0 0 0\n")
                          .string();
    CalcRun r = Calc(dir, "--all --format csv '" + file + "'");
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, "CIRCLE!\n");
    EXPECT_EQ(r.out, "id,total,N,P,BOD,Sediment,EColi\n"
                     "2,8.000000,0.500000,0.000000,0.000000,0.000000,0.000000\n");
    CalcRun empty = Calc(dir, "--format json '" + file + "'");  // no outlet but node 2
    EXPECT_EQ(empty.code, 3);
}

TEST(CombraCalc, UnreadableFilesAndUsageErrors) {
    TempDir dir;
    const auto ten = dir.File("ten.inp", "0 -1 -1 0 0 1 0 0 0 0 0\n0 -1 -1 0 0 1 0 0 0 0\n");
    const auto empty = dir.File("empty.inp", "");
    struct Case {
        std::string args;
        int code;
        std::string errStart;
    } cases[] = {
        {Quoted(dir.path() / "none.inp"), 1, "Cannot open file "},
        {Quoted(ten), 1, "Line reading error: 0 -1 -1 0 0 1 0 0 0 0\n"},
        {"--format xml '" + empty.string() + "'", 2, ""},
        {"", 2, ""},
        {"--bogus '" + empty.string() + "'", 2, ""},
        {Quoted(empty) + " extra", 2, ""},
    };
    for (const auto& c : cases) {
        CalcRun r = Calc(dir, c.args);
        EXPECT_EQ(r.code, c.code) << c.args;
        EXPECT_EQ(r.err.substr(0, c.errStart.size()), c.errStart) << c.args;
        if (c.code != 0) {
            EXPECT_EQ(r.out, "") << c.args;
        }
    }
    CalcRun ok = Calc(dir, "--format json '" + empty.string() + "'");
    EXPECT_EQ(ok.code, 0);
    EXPECT_EQ(ok.out, "[]\n");
    EXPECT_EQ(Calc(dir, "--help").code, 0);
}

}  // namespace
}  // namespace combra
