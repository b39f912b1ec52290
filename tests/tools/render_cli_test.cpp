// kaleidra-render run as a user runs it: outputs, statistics, every error
// path with its exit code, atomic output, and Ctrl-C.
#include "cli_runner.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

using namespace std::chrono_literals;

QJsonObject Json(const std::string& text)
{
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

TEST(RenderCli, TextExportOfKochAtOneDayIsTheTwelveSegmentsByHand)
{
    CliRunner cli;
    const CliResult r = cli.Run({"--preset", "0:9", "--days", "1", "-o", "koch.txt", "-q"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const double h = std::sqrt(3.0) / 2.0; // the triangle's height
    const double t = h / 3.0;
    // Each side of the triangle (y pointing down) with its bump outward.
    const double expected[12][4] = {
        {0, 0, 1. / 3, 0},         {1. / 3, 0, 0.5, -t},    {0.5, -t, 2. / 3, 0},
        {2. / 3, 0, 1, 0},         {1, 0, 5. / 6, t},       {5. / 6, t, 1, 2 * t},
        {1, 2 * t, 2. / 3, 2 * t}, {2. / 3, 2 * t, 0.5, h}, {0.5, h, 1. / 3, 2 * t},
        {1. / 3, 2 * t, 0, 2 * t}, {0, 2 * t, 1. / 6, t},   {1. / 6, t, 0, 0}};
    std::istringstream in(CliRunner::ReadAll(cli.Path("koch.txt")));
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        ASSERT_LT(n, 12) << line;
        std::istringstream fields(line);
        std::string op;
        double v[4];
        fields >> op >> v[0] >> v[1] >> v[2] >> v[3];
        EXPECT_EQ(op, "L");
        for (int k = 0; k < 4; ++k) {
            EXPECT_NEAR(v[k], expected[n][k], 1e-8) << "segment " << n << ": " << line;
        }
        ++n;
    }
    EXPECT_EQ(n, 12);
}

TEST(RenderCli, TextExportWritesPixelsAndMoves)
{
    CliRunner cli;
    // The fern is points; the carpet's jumps are pen moves.
    ASSERT_EQ(cli.Run({"--preset", "1:8", "-d", "2", "-o", "fern.txt"}).exitCode, 0);
    const std::string fern = CliRunner::ReadAll(cli.Path("fern.txt"));
    EXPECT_EQ(std::count(fern.begin(), fern.end(), '\n'), 16);
    EXPECT_EQ(fern.rfind("P 0.5 0\n"), fern.size() - 8); // the last map's image of the origin
    const CliResult r = cli.Run({"--preset", "0:12", "-d", "1", "-o", "carpet.txt", "--stats"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string carpet = CliRunner::ReadAll(cli.Path("carpet.txt"));
    EXPECT_EQ(std::count(carpet.begin(), carpet.end(), 'M'), 1);
    EXPECT_EQ(Json(r.out)["moves"].toInt(), 1);
    EXPECT_EQ(Json(r.out)["lines"].toInt(), 8);
}

TEST(RenderCli, SvgIsWellFormedWithConnectedLinesInOnePath)
{
    CliRunner cli;
    const CliResult r = cli.Run(
        {"--preset", "4:10", "-d", "8", "-o", "dragon.svg", "--stats", "--background", "#102030"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    QXmlStreamReader xml(QByteArray::fromStdString(CliRunner::ReadAll(cli.Path("dragon.svg"))));
    int paths = 0, moves = 0, lines = 0, rects = 0;
    bool background = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == QLatin1String("path")) {
            const QString d = xml.attributes().value("d").toString();
            ++paths;
            moves += d.count('M');
            lines += d.count('L');
        } else if (xml.name() == QLatin1String("rect")) {
            ++rects;
        } else if (xml.name() == QLatin1String("g")) {
            background = background || xml.attributes().value("fill") == QLatin1String("#102030");
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    // 256 steps of one chain: one move and 256 lines in one path.
    EXPECT_EQ(Json(r.out)["lines"].toInt(), 256);
    EXPECT_EQ(paths, 1);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(lines, 256);
    EXPECT_GE(rects, 1);
    EXPECT_TRUE(background);
}

TEST(RenderCli, SvgPixelsAreUnitSquaresOfThePicture)
{
    CliRunner cli;
    ASSERT_EQ(cli.Run({"--preset", "1:8", "-d", "2", "-o", "fern.svg", "-s", "100x100"}).exitCode,
              0);
    const std::string svg = CliRunner::ReadAll(cli.Path("fern.svg"));
    // Sixteen points, each one unit of the picture (a pixel, a point),
    // whatever the fit: a unit of the fractal's own would vanish.
    int squares = 0;
    for (std::size_t at = svg.find("width=\"1\" height=\"1\""); at != std::string::npos;
         at = svg.find("width=\"1\" height=\"1\"", at + 1)) {
        ++squares;
    }
    EXPECT_EQ(squares, 16);
    EXPECT_EQ(svg.find("<path"), std::string::npos);
}

TEST(RenderCli, PdfIsWritten)
{
    CliRunner cli;
    ASSERT_EQ(cli.Run({"--preset", "3:1", "-o", "hilbert.pdf", "-s", "200x100"}).exitCode, 0);
    EXPECT_EQ(CliRunner::ReadAll(cli.Path("hilbert.pdf")).rfind("%PDF", 0), 0u);
}

TEST(RenderCli, StatsHaveEveryField)
{
    CliRunner cli;
    const CliResult r = cli.Run({"--preset", "0:9", "-d", "3", "-s", "64x64", "--stats"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QJsonObject s = Json(r.out);
    EXPECT_EQ(s["name"].toString(), "koch");
    EXPECT_EQ(s["kind"].toString(), "std");
    EXPECT_EQ(s["days"].toInt(), 3);
    EXPECT_EQ(s["lines"].toInt(), 3 * 64);
    EXPECT_EQ(s["pixels"].toInt(), 0);
    EXPECT_EQ(s["moves"].toInt(), 0);
    const QJsonObject b = s["bounds"].toObject();
    EXPECT_NEAR(b["minX"].toDouble(), 0.0, 1e-9);
    EXPECT_NEAR(b["maxX"].toDouble(), 1.0, 1e-9);
    EXPECT_NEAR(b["minY"].toDouble(), -std::sqrt(3.0) / 6.0, 1e-9);
    EXPECT_NEAR(b["maxY"].toDouble(), std::sqrt(3.0) / 2.0, 1e-9);
    EXPECT_NEAR(s["scale"].toDouble(), 32767.0 / (2.0 / std::sqrt(3.0)), 1e-6);
    for (const char* key : {"seconds_bounds", "seconds_draw", "peak_rss_mb"}) {
        EXPECT_TRUE(s[key].isDouble()) << key;
    }
    // The default output: the name made file-safe.
    EXPECT_TRUE(QFile::exists(cli.Path("koch.png")));

    const CliResult bounds =
        cli.Run({"--preset", "4:10", "--bounds-only", "--stats", "-o", "x.png"});
    ASSERT_EQ(bounds.exitCode, 0);
    EXPECT_EQ(Json(bounds.out)["lines"].toInt(), 0);
    EXPECT_FALSE(QFile::exists(cli.Path("x.png")));
    EXPECT_FALSE(QFile::exists(cli.Path("heighway_s_dragon.png")));
}

// What the options ask of the picture reaches the file: its size, and its
// colours, which aliased are the only two there are.
TEST(RenderCli, PngHasTheAskedSizeAndColours)
{
    CliRunner cli;
    for (const char* aa : {"--no-antialias", "--quiet"}) {
        const CliResult r = cli.Run({"--preset", "0:9", "-d", "1", "-s", "65x64", aa, "-o", "k.png",
                                     "--background", "#0000ff", "--color", "#ff0000"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const QImage image(cli.Path("k.png"));
        ASSERT_EQ(image.size(), QSize(65, 64));
        EXPECT_EQ(image.pixel(0, 0), 0xff0000ffu);
        int red = 0;
        int other = 0;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 65; ++x) {
                const QRgb c = image.pixel(x, y);
                red += qRed(c) > 128 ? 1 : 0;
                other += c != 0xffff0000u && c != 0xff0000ffu ? 1 : 0;
            }
        }
        EXPECT_GT(red, 100) << aa;
        if (std::string(aa) == "--no-antialias") {
            EXPECT_EQ(other, 0);
        }
    }
}

TEST(RenderCli, OutermostStrokesFlatFiguresAndEmptyDrawings)
{
    const auto lit = [](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                n += image.pixel(x, y) != image.pixel(0, 0) ? 1 : 0;
            }
        }
        return n;
    };
    CliRunner cli;
    // The dragon's first day: two strokes on the edges of its box.
    CliResult r =
        cli.Run({"--preset", "4:10", "-d", "1", "-s", "400x400", "--no-antialias", "-o", "d.png"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GE(lit(QImage(cli.Path("d.png"))), 400);
    // A straight line is a figure: drawn across, without a warning.
    cli.Write("line.frac", "[type] lsys\n[name] line\n[ndays] 3\n[axioms]\nF\n[rules] 1\nF=FF\n"
                           "[directions] 4\n");
    r = cli.Run({"line.frac", "-s", "64x32", "--no-antialias", "-o", "line.png"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const QImage line(cli.Path("line.png"));
    EXPECT_EQ(lit(line), 64);
    EXPECT_NE(line.pixel(0, 15), line.pixel(0, 0));
    // Nothing drawn at all is said, not passed over.
    r = cli.Run({"line.frac", "-d", "0", "-s", "8x8", "-o", "none.png"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("line.frac: the figure at 0 days draws nothing"), std::string::npos)
        << r.err;
}

TEST(RenderCli, SavedFractalsKeepTheDaysOverride)
{
    CliRunner cli;
    ASSERT_EQ(
        cli.Run({"--preset", "2:9", "-d", "2", "--save", "maze.frac", "--bounds-only"}).exitCode,
        0);
    const CliResult r = cli.Run({"maze.frac", "--stats", "-o", "maze.png", "-s", "32x32"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Json(r.out)["days"].toInt(), 2);
    EXPECT_EQ(Json(r.out)["kind"].toString(), "mcrm");
    EXPECT_EQ(Json(r.out)["name"].toString(), "IFS Cantor's maze");
}

TEST(RenderCli, FilesThatCannotBeReadOrWrittenExitWithThree)
{
    CliRunner cli;
    CliResult r = cli.Run({"missing.frac"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("missing.frac: cannot read (No such file"), std::string::npos) << r.err;
    cli.Dir().mkdir("folder");
    r = cli.Run({"folder"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("folder: cannot read (it is a directory)"), std::string::npos) << r.err;
    r = cli.Run({"--preset", "0:9", "-o", "no/such/dir/k.png"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("no/such/dir/k.png: cannot write ("), std::string::npos) << r.err;
    r = cli.Run({"--preset", "0:9", "--save", "no/such/dir/k.frac", "--bounds-only"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("no/such/dir/k.frac: cannot write ("), std::string::npos) << r.err;
}

TEST(RenderCli, UnusableFractalsExitWithOneAndSayWhy)
{
    CliRunner cli;
    cli.Write("blob.frac", "[type] blob\n[name] x\n[ndays] 2\n");
    cli.Write("empty.frac", "");
    cli.Write("cut.frac", "[type] std\n[name] cut\n[ndays] 2\n[initiators] 1\n0,0\n1,0\n");
    cli.Write("bare.frac", "[type] std\n[name] bare\n[ndays] 2\n[initiators] 0\n0,0\n"
                           "[generator] 1\n0,0,1\n");
    cli.Write("long.frac", QByteArray("[type] std\n[name] ") + QByteArray(1023, 'n') +
                               "\n[ndays] 2\n[initiators] 1\n0,0\n1,0\n"
                               "[generator] 1\n0,0,1\n");
    cli.Write("broken.frac", "[type] ifs\n[name] broken\n[ndays] 2\n[affine] 2\n"
                             "( 0.5,0,0,0.5 ) ( 0,0 )\n( 0.5,0,0,0.5 ) ( 1,0 )\n[garbage");
    // The third application of the first map throws x beyond the doubles.
    cli.Write("endless.frac", "[type] ifs\n[name] endless\n[ndays] 3\n[affine] 2\n"
                              "( 1e200,0,0,1 ) ( 1,0 )\n( 0.5,0,0,0.5 ) ( 0,0 )\n");
    const std::pair<const char*, const char*> cases[] = {
        {"blob.frac", "blob.frac: not a usable fractal (unknown kind \"blob\")"},
        {"empty.frac", "empty.frac: not a usable fractal (it does not start with a [type]"},
        // Damage is told before what the damage left missing, with where.
        {"cut.frac", "cut.frac: not a usable fractal (the file is damaged: it ends before "
                     "line 7)"},
        {"long.frac", "long.frac: not a usable fractal (the file is damaged at line 2)"},
        {"bare.frac", "bare.frac: not a usable fractal (the std fractal lacks what it needs"},
        {"endless.frac", "endless.frac: not a usable fractal (its figure at 3 days has no "
                         "finite size)"}};
    for (const auto& [file, message] : cases) {
        cli.Write("out.png", "old");
        const CliResult r = cli.Run({file, "-o", "out.png"});
        EXPECT_EQ(r.exitCode, 1) << file;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_TRUE(CliRunner::ReadAll(cli.Path("out.png")) == "old") << file;
    }
    // A section broken after two good maps: the reading keeps them, and the
    // fractal draws.
    EXPECT_EQ(cli.Run({"broken.frac", "-o", "b.png", "-s", "16x16"}).exitCode, 0);
}

TEST(RenderCli, BadOptionsShowTheUsageAndExitWithTwo)
{
    CliRunner cli;
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--bogus", "x.frac"},
        {"--preset", "9:0"},
        {"--preset", "0:13"},
        {"--preset", "zero"},
        {"--preset", "0:1", "--days", "-1"},
        {"--preset", "0:1", "--size", "0x5"},
        {"--preset", "0:1", "--size", "100"},
        {"--preset", "0:1", "--zoom", "0"},
        {"--preset", "0:1", "--overlays", "fractal,extra"},
        {"--preset", "0:1", "--color", "red"},
        {"--preset", "0:1", "-o", "picture.jpg"},
        {"--preset", "0:1", "a.frac"},
        {"--preset"},
    };
    for (const auto& args : cases) {
        const CliResult r = cli.Run(args);
        EXPECT_EQ(r.exitCode, 2) << (args.empty() ? "" : args.front());
        EXPECT_NE(r.err.find("usage: kaleidra-render"), std::string::npos);
    }
    const CliResult help = cli.Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--gallery"), std::string::npos);
}

TEST(RenderCli, CtrlCStopsTheDrawingAndLeavesNoFile)
{
    CliRunner cli;
    cli.Write("kept.png", "old");
    // Thirty days of the dragon are a billion segments: stopped while the
    // bounds are measured. At twenty-five days the bounds take a fraction of
    // a second and the painter's aliased lines many seconds: stopped while
    // drawing.
    struct Case
    {
        std::vector<std::string> args;
        std::chrono::milliseconds after;
    };
    const Case runs[] = {
        {{"-d", "30", "-o", "new.png"}, 700ms},
        {{"-d", "30", "-o", "new.txt"}, 700ms},
        {{"-d", "25", "-o", "kept.png", "--no-antialias", "--raster-path", "painter"}, 1500ms}};
    for (const Case& c : runs) {
        std::vector<std::string> args{"--preset", "4:10"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto start = std::chrono::steady_clock::now();
        const CliResult r = cli.Run(args, c.after);
        EXPECT_EQ(r.exitCode, 130) << c.args[3] << ": " << r.err;
        EXPECT_NE(r.err.find("interrupted; nothing written"), std::string::npos) << r.err;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
    }
    EXPECT_TRUE(CliRunner::ReadAll(cli.Path("kept.png")) == "old");
    // Nothing half-written, no temporary left behind.
    EXPECT_EQ(cli.Dir().entryList(QDir::Files | QDir::Hidden), QStringList{"kept.png"});
}

TEST(RenderCli, ListAndGalleryCoverEveryPreset)
{
    CliRunner cli;
    const CliResult list = cli.Run({"--list-presets"});
    ASSERT_EQ(list.exitCode, 0);
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 64);
    EXPECT_NE(list.out.find("4\t10\t11\theighway's dragon\n"), std::string::npos);

    const CliResult gallery = cli.Run({"--gallery", "g", "-s", "24x24"});
    ASSERT_EQ(gallery.exitCode, 0) << gallery.err;
    const QDir dir(cli.Path("g"));
    EXPECT_EQ(dir.entryList({"*.png"}, QDir::Files).size(), 64);
    EXPECT_TRUE(dir.exists("4-10.png"));
    const std::string html = CliRunner::ReadAll(dir.filePath("index.html"));
    EXPECT_NE(html.find("src=\"4-10.png\""), std::string::npos);
    EXPECT_NE(html.find("heighway&#39;s dragon"), std::string::npos);
}

} // namespace
