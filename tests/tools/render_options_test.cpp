// The renderer's option parsing and the text format's numbers.
#include "render_options.h"
#include "text_export.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

RenderOptions Parse(const std::vector<std::string>& args)
{
    auto parsed = ParseOptions(args);
    EXPECT_TRUE(std::holds_alternative<RenderOptions>(parsed))
        << std::get<UsageError>(parsed).message;
    return std::holds_alternative<RenderOptions>(parsed) ? std::get<RenderOptions>(parsed)
                                                         : RenderOptions{};
}

TEST(RenderOptions, ValuesAndDefaults)
{
    const RenderOptions d = Parse({"a.frac"});
    EXPECT_EQ(d.file, "a.frac");
    EXPECT_EQ(d.width, 1024);
    EXPECT_EQ(d.flags, 1);
    EXPECT_TRUE(d.antialias);
    EXPECT_FALSE(d.days);

    const RenderOptions o = Parse({"--preset=4:10", "--overlays", "initiator,generator", "-s",
                                   "300x200", "--background", "#ff8000", "--zoom", "0.5", "-d", "0",
                                   "--no-antialias", "-o", "x.SVG"});
    EXPECT_TRUE(o.preset);
    EXPECT_EQ(o.kind, 4);
    EXPECT_EQ(o.index, 10);
    EXPECT_EQ(o.flags, 6);
    EXPECT_EQ(o.width, 300);
    EXPECT_EQ(o.height, 200);
    // #rrggbb is red first; the stored colour keeps red in the low byte.
    EXPECT_EQ(*o.background, MakeColor(0xff, 0x80, 0x00));
    EXPECT_EQ(o.zoom, 0.5);
    EXPECT_EQ(*o.days, 0);
    EXPECT_FALSE(o.antialias);
    EXPECT_EQ(OutputTypeOf(o.output), OutputType::Svg);
}

TEST(RenderOptions, OutputTypesAndFileSafeNames)
{
    EXPECT_EQ(OutputTypeOf("a/b.c/pic.Png"), OutputType::Png);
    EXPECT_EQ(OutputTypeOf("plot.txt"), OutputType::Txt);
    EXPECT_FALSE(OutputTypeOf("dir.pdf/picture"));
    EXPECT_FALSE(OutputTypeOf("picture"));
    EXPECT_EQ(FileSafeName("heighway's dragon"), "heighway_s_dragon");
    EXPECT_EQ(FileSafeName("IFS sierpinski's gasket "), "IFS_sierpinski_s_gasket");
    EXPECT_EQ(FileSafeName("../../etc/passwd"), "etc_passwd");
    EXPECT_EQ(FileSafeName("***"), "fractal");
}

TEST(TextExport, NumbersHaveNineSignificantDigitsAndNoNegativeZero)
{
    EXPECT_EQ(FormatModelNumber(1.0 / 3.0), "0.333333333");
    EXPECT_EQ(FormatModelNumber(-0.0), "0");
    EXPECT_EQ(FormatModelNumber(4778), "4778");
    EXPECT_EQ(FormatModelNumber(123456789012.0), "1.23456789e+11");

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TextExportSurface surface(buffer, 2.0);
    surface.MoveTo(2, 4);
    surface.LineTo(6, 8);
    surface.SetPixel(1, -1, 0x123456);
    surface.Line(0, 0, 2, 0, 0x0000ff);
    ASSERT_TRUE(surface.Finish());
    EXPECT_EQ(buffer.data().toStdString(), "M 1 2\nL 1 2 3 4\nP 0.5 -0.5\nL 0 0 1 0\n");
    EXPECT_EQ(surface.Lines(), 2);
    EXPECT_EQ(surface.Pixels(), 1);
    EXPECT_EQ(surface.Moves(), 1);
}

} // namespace
