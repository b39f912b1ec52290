#include "engine/create_fractal.h"

#include "core/text_archive.h"
#include "engine/presets.h"

#include <gtest/gtest.h>

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

} // namespace
