#include "engine/create_fractal.h"

#include "core/text_archive.h"
#include "engine/presets.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <sstream>
#include <string>

namespace {

std::string Saved(CFractal& fractal)
{
    std::stringstream stream;
    CTextArchive ar(stream);
    fractal.Save(ar);
    return stream.str();
}

TEST(ReadFractalText, EveryPresetReadsBackCompletely)
{
    for (int kind = 0; kind < kKindCount; ++kind) {
        for (int index = 0; index < PresetCount(kind); ++index) {
            FractalPtr preset = CreatePreset(kind, index);
            const std::string text = Saved(*preset);
            FractalPtr read;
            FractalReadReport report;
            EXPECT_TRUE(ReadFractalText(text, read, report)) << text;
            EXPECT_TRUE(report.complete) << text << report.line;
            EXPECT_EQ(Saved(*read), text);
        }
    }
}

TEST(ReadFractalText, TellsDamageFromAFigureThatCannotBeDrawn)
{
    const std::string header = "[type] std\n[name] x\n[ndays] 2\n";
    struct Case
    {
        std::string text;
        bool complete;
        int line;
        bool endOfFile;
    };
    const Case cases[] = {
        // Read to the end, yet nothing to draw.
        {header + "[initiators] 0\n0,0\n[generator] 1\n0,0,1\n", true, 0, false},
        // A name longer than a line may be.
        {"[type] std\n[name] " + std::string(1023, 'n') + "\n[ndays] 2\n", false, 2, false},
        {header + "[initiators] 1\n0,0\n1,x\n[generator] 1\n0,0,1\n", false, 6, false},
        {"[type] std\n[name] x\n[ndays] two\n", false, 3, false},
        // Cut short after a complete line, and in the middle of one.
        {header + "[initiators] 2\n0,0\n1,0\n", false, 7, true},
        {header + "[initiators] 1\n0,0\n1,", false, 6, true},
        {"", false, 1, true},
    };
    for (const Case& c : cases) {
        FractalPtr fractal;
        FractalReadReport report;
        EXPECT_FALSE(ReadFractalText(c.text, fractal, report)) << c.text;
        EXPECT_EQ(report.complete, c.complete) << c.text;
        EXPECT_EQ(report.line, c.line) << c.text;
        EXPECT_EQ(report.endOfFile, c.endOfFile) << c.text;
    }
}

// The files of faults users met, each read as what it is.
TEST(ReadFractalText, FilesOfFaultsReadAsWhatTheyAre)
{
    struct Case
    {
        const char* file;
        bool usable;
        bool complete;
        int line;
    };
    const Case cases[] = {
        {"flat-line.frac", true, true, 0},
        {"flat-dust.frac", true, true, 0},
        {"huge-compass.frac", true, true, 0},
        {"complete-undrawable.frac", false, true, 0},
        {"long-name.frac", false, false, 2},
        {"star.txt", true, true, 0},
        // Two maps of three: what was read is kept and drawn.
        {"truncated.frac", true, false, 6},
        {"negative-days.frac", true, true, 0},
    };
    for (const Case& c : cases) {
        std::ifstream in(std::string(KALEIDRA_TEST_DATA_DIR) + "/faults/" + c.file);
        ASSERT_TRUE(in) << c.file;
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        FractalPtr fractal;
        FractalReadReport report;
        EXPECT_EQ(ReadFractalText(text, fractal, report), c.usable) << c.file;
        EXPECT_EQ(report.complete, c.complete) << c.file;
        EXPECT_EQ(report.line, c.line) << c.file;
        if (c.complete) {
            // What was read completely is written back as it stands.
            EXPECT_EQ(Saved(*fractal), text) << c.file;
        }
        if (c.usable) {
            // Every usable one is a figure with a place to draw it, flat
            // or not.
            EXPECT_TRUE(fractal->PrepareBounds(nullptr, nullptr, nullptr)) << c.file;
        }
    }
}

} // namespace
