// kaleidra-render --compose: what a script sees when component files are
// right, missing, of another type or too few.

#include "cli_runner.h"
#include "render_options.h"

#include <gtest/gtest.h>

namespace {

std::string Component(const char* name)
{
    return std::string(KALEIDRA_TEST_DATA_DIR) + "/components/" + name;
}

} // namespace

TEST(ComposeCli, ComposesNamesAndSaves)
{
    CliRunner cli;
    const CliResult r = cli.Run({"-q", "--compose", "lsys", Component("hilbert.lsys"),
                                 Component("square.dirs"), "--days", "3", "--name", "my curve",
                                 "--save", "curve.frac", "-o", "curve.png", "--stats"});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    EXPECT_NE(r.out.find("\"name\":\"my curve\""), std::string::npos);
    // Three days of the Hilbert curve: 4^3 - 1 steps.
    EXPECT_NE(r.out.find("\"lines\":63,"), std::string::npos) << r.out;
    QFile saved(cli.Path("curve.frac"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith("[type] lsys\n[name] my curve\n[ndays] 3\n"));
    EXPECT_TRUE(QFile::exists(cli.Path("curve.png")));
}

TEST(ComposeCli, BadRequestsGiveAReasonAndACode)
{
    CliRunner cli;
    struct Case
    {
        std::vector<std::string> args;
        int exitCode;
        const char* reason;
    };
    const Case cases[] = {
        {{"--compose", "lsys", Component("missing.lsys"), Component("square.dirs")},
         kExitIo,
         "missing.lsys: cannot read"},
        {{"--compose", "lsys", Component("square.dirs"), Component("hilbert.lsys")},
         kExitUnusable,
         "square.dirs: the L-system file should start with [axioms]"},
        {{"--compose", "automaton", Component("dragon.auto"), Component("koch.gen")}, kExitOk, ""},
        {{"--compose", "std", Component("koch.gen")}, kExitUsage, "std needs 2 file(s)"},
        {{"--compose", "spiral", Component("koch.gen")}, kExitUsage, "needs a KIND"},
        {{"--compose", "ifs", Component("sierpinski.maps"), "--preset", "0:0"},
         kExitUsage,
         "give exactly one of"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"-q", "--bounds-only"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult r = cli.Run(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[1] << " " << r.err;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
    }
}
