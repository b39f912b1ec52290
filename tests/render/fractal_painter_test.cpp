#include "render/fractal_painter.h"

#include "engine/presets.h"
#include "render/isotropic_mapping.h"
#include "test_support.h"

#include <QLineF>
#include <QPainter>

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

namespace {

FractalBounds Bounds(double minX, double maxX, double minY, double maxY, double scale = 1.0)
{
    return {minY, maxY, minX, maxX, scale, true};
}

TEST(PaintGeometry, ZoomShowsMoreAboutTheCentre)
{
    const PaintGeometry g = ComputePaintGeometry(Bounds(0, 100, 0, 50), 1.2, QSize(240, 120));
    ASSERT_TRUE(g.paintable);
    EXPECT_DOUBLE_EQ(g.x0, -10);
    EXPECT_DOUBLE_EQ(g.y0, -5);
    EXPECT_DOUBLE_EQ(g.width, 120);
    EXPECT_DOUBLE_EQ(g.height, 60);
    // (z - 1) * 0.5 is a hair under 0.1 in doubles: truncation toward zero
    // then takes the window's origin to -9, -4.
    EXPECT_EQ(g.windowOrigin, QPoint(-9, -4));
    EXPECT_EQ(g.windowExtent, QSize(120, 60));
}

TEST(PaintGeometry, FitsBetweenTheFirstAndLastPixelCentresAndCentres)
{
    // 100 units onto 99 pixel steps (the last centre is pixel 99, not 100).
    const PaintGeometry g = ComputePaintGeometry(Bounds(0, 100, 0, 100), 1.0, QSize(400, 100));
    EXPECT_DOUBLE_EQ(g.s, 0.99);
    EXPECT_EQ(g.ox, 150); // truncate((399 - 99) / 2)
    EXPECT_EQ(g.oy, 0);
    EXPECT_EQ(g.overlayTransform, (AffineMap{0.99, 0, 0, 0.99, 150, 0}));
    EXPECT_DOUBLE_EQ(g.fractalMapping.DeviceX(100), 249);
    EXPECT_DOUBLE_EQ(g.fractalMapping.DeviceY(100), 99);
    // Scaled bounds are drawn in scaled units; the fit undoes the scale.
    const PaintGeometry h =
        ComputePaintGeometry(Bounds(-1, 1, -0.5, 0.5, 100), 1.0, QSize(101, 33));
    EXPECT_DOUBLE_EQ(h.x0, -100);
    EXPECT_DOUBLE_EQ(h.s, 0.32);
    EXPECT_EQ(h.ox, 18); // truncate((100 - 64) / 2)
    EXPECT_EQ(h.oy, 0);
}

TEST(PaintGeometry, FlatFiguresFitByTheirOtherSideAndAPointSitsInTheMiddle)
{
    const PaintGeometry across = ComputePaintGeometry(Bounds(0, 100, 7, 7), 1.0, QSize(101, 51));
    ASSERT_TRUE(across.paintable);
    EXPECT_DOUBLE_EQ(across.s, 1.0);
    EXPECT_EQ(across.oy, 25);
    EXPECT_DOUBLE_EQ(across.fractalMapping.DeviceX(0), 0);
    EXPECT_DOUBLE_EQ(across.fractalMapping.DeviceX(100), 100);
    EXPECT_DOUBLE_EQ(across.fractalMapping.DeviceY(7), 25);
    const PaintGeometry down = ComputePaintGeometry(Bounds(3, 3, 0, 10), 1.0, QSize(51, 21));
    ASSERT_TRUE(down.paintable);
    EXPECT_DOUBLE_EQ(down.s, 2.0);
    EXPECT_EQ(down.ox, 25);
    const PaintGeometry point = ComputePaintGeometry(Bounds(4, 4, 9, 9), 1.0, QSize(41, 21));
    ASSERT_TRUE(point.paintable);
    EXPECT_DOUBLE_EQ(point.fractalMapping.DeviceX(4), 20);
    EXPECT_DOUBLE_EQ(point.fractalMapping.DeviceY(9), 10);
    EXPECT_FALSE(ComputePaintGeometry(Bounds(0, INFINITY, 0, 1), 1.0, QSize(100, 100)).paintable);
}

TEST(IsotropicMapping, PutsThePaintersMappingBackAlsoWhenStopped)
{
    QImage image = WhiteImage(100, 50);
    QPainter painter(&image);
    const QTransform before = painter.combinedTransform();
    try {
        IsotropicMapping mapping(painter, image.size(), QPoint(-10, 0), QSize(20, 10));
        EXPECT_EQ(painter.combinedTransform().map(QPointF(-10, 0)), QPointF(0, 0));
        EXPECT_EQ(painter.combinedTransform().map(QPointF(10, 10)), QPointF(100, 50));
        throw -1;
    } catch (int) {
    }
    EXPECT_EQ(painter.combinedTransform(), before);
    EXPECT_FALSE(painter.viewTransformEnabled());
    // Half a pixel in, onto the pixel centres, and back out afterwards.
    {
        IsotropicParams params = ComputeIsotropic(QSize(99, 49), QPoint(-10, 0), QSize(20, 10));
        params.pixelOffset = 0.5;
        IsotropicMapping mapping(painter, params);
        EXPECT_EQ(painter.combinedTransform().map(QPointF(-10, 0)), QPointF(0.5, 0.5));
        EXPECT_EQ(painter.combinedTransform().map(QPointF(10, 10)), QPointF(98.5, 49.5));
    }
    EXPECT_EQ(painter.combinedTransform(), before);
}

TEST(ScaleColor, ScalesTruncatesAndLimitsEachChannel)
{
    EXPECT_EQ(ScaleColor(0x808080, 0.5), 0x404040u);
    EXPECT_EQ(ScaleColor(MakeColor(255, 3, 101), 0.5), MakeColor(127, 1, 50));
    EXPECT_EQ(ScaleColor(0xff123456, 1.0), 0x123456u); // nothing in the top byte
    EXPECT_EQ(ScaleColor(MakeColor(200, 100, 0), 2.0), MakeColor(255, 200, 0));
    EXPECT_EQ(ScaleColor(MakeColor(200, 100, 1), -1.0), 0u);
}

// Paints a fractal in the view's colours and reports the colours found.
class PaintFractalTest : public ::testing::Test
{
protected:
    DisplaySettings settings;
    void SetUp() override
    {
        settings.colors[0] = MakeColor(0, 0, 255);
        settings.colors[1] = MakeColor(255, 0, 0);
    }
};

TEST_F(PaintFractalTest, BackgroundWhereNothingIsDrawnAndTheFractalColourOnIt)
{
    FractalPtr koch = FractalFromText(kKochText);
    ASSERT_TRUE(koch);
    koch->m_days = 1;
    ASSERT_TRUE(koch->PrepareBounds(nullptr, nullptr, nullptr));
    for (FractalPath path : {FractalPath::Painter, FractalPath::Direct}) {
        QImage image = WhiteImage(120, 120);
        PaintCounts counts;
        PaintOptions options;
        options.path = path;
        options.counts = &counts;
        ASSERT_TRUE(PaintFractal(image, *koch, 1.0, settings, nullptr, nullptr, options));
        EXPECT_EQ(counts.lines, 12);
        EXPECT_EQ(image.pixel(0, 0), 0xff0000ffu);
        EXPECT_EQ(image.pixel(60, 60), 0xff0000ffu);
        // The star of the first day is taller than wide: it spans the whole
        // height and is centred across.
        int reds = 0;
        int top = 120, bottom = -1, left = 120, right = -1;
        for (QPoint p : LitPixels(image, 0xff0000ff)) {
            ASSERT_EQ(image.pixel(p), 0xffff0000u);
            ++reds;
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
            left = std::min(left, p.x());
            right = std::max(right, p.x());
        }
        EXPECT_GT(reds, 200);
        EXPECT_LE(top, 1);
        EXPECT_GE(bottom, 117);
        // Centred to within the truncations of the offset and of the
        // left-most points.
        EXPECT_NEAR(left, 119 - right, 3);
        EXPECT_GT(left, 5);
    }
}

TEST_F(PaintFractalTest, EndlessBoundsLeaveTheImageAlone)
{
    FractalPtr koch = FractalFromText(kKochText);
    koch->m_bounds = Bounds(0, INFINITY, 5, 6);
    QImage image = WhiteImage(20, 20);
    EXPECT_FALSE(PaintFractal(image, *koch, 1.0, settings, nullptr, nullptr));
    EXPECT_TRUE(LitPixels(image).empty());
}

// Records the lines a fractal draws, in its drawing units.
struct LineRecorder final : DrawingSurface
{
    std::vector<QLineF> lines;
    QPointF current;
    void MoveTo(double x, double y) override { current = {x, y}; }
    void SetPixel(double, double, Color) override {}
    void SetPixel(double, double) override {}
    void Line(double x1, double y1, double x2, double y2, Color) override { Line(x1, y1, x2, y2); }
    void Line(double x1, double y1, double x2, double y2) override
    {
        lines.emplace_back(x1, y1, x2, y2);
        current = {x2, y2};
    }
    void LineTo(double x, double y, Color) override { LineTo(x, y); }
    void LineTo(double x, double y) override { Line(current.x(), current.y(), x, y); }
    void Arrow(Point, Polar, int, Color) override {}
    void Arrow(Point, Polar, int) override {}
    void Circle(double, double, double, Color) override {}
    void Circle(double, double, double) override {}
    const AffineMap* GetTransform() const override { return nullptr; }
};

TEST_F(PaintFractalTest, EveryPixelOfTheOutermostStrokesIsLit)
{
    // The dragon's first days lie on the right and bottom edges of their
    // box: fitted onto the full width they fell one pixel outside.
    FractalPtr dragon = CreatePreset(4, 10);
    ASSERT_TRUE(dragon);
    for (int days : {1, 2}) {
        dragon->m_days = days;
        ASSERT_TRUE(dragon->PrepareBounds(nullptr, nullptr, nullptr));
        LineRecorder recorder;
        dragon->Draw(recorder, nullptr);
        const PaintGeometry g = ComputePaintGeometry(dragon->m_bounds, 1.0, QSize(400, 400));
        const IsotropicParams& m = g.fractalMapping;
        const auto pixel = [&m](double x, double y) {
            return QPoint(static_cast<int>(std::floor(m.DeviceX(TruncateToDevice(x)))),
                          static_cast<int>(std::floor(m.DeviceY(TruncateToDevice(y)))));
        };
        for (bool antialias : {false, true}) {
            for (FractalPath path : {FractalPath::Painter, FractalPath::Direct}) {
                if (antialias && path == FractalPath::Direct) {
                    continue;
                }
                QImage image = WhiteImage(400, 400);
                PaintOptions options;
                options.path = path;
                options.antialias = antialias;
                ASSERT_TRUE(PaintFractal(image, *dragon, 1.0, settings, nullptr, nullptr, options));
                int left = 400, right = -1, top = 400, bottom = -1;
                for (const QLineF& line : recorder.lines) {
                    const QPoint a = pixel(line.x1(), line.y1());
                    const QPoint b = pixel(line.x2(), line.y2());
                    ASSERT_TRUE(a.x() == b.x() || a.y() == b.y()) << "not axis-aligned";
                    for (QPoint p = a;; p += QPoint((b.x() > p.x()) - (b.x() < p.x()),
                                                    (b.y() > p.y()) - (b.y() < p.y()))) {
                        ASSERT_TRUE(QRect(0, 0, 400, 400).contains(p)) << days;
                        // Aliased, the fractal's colour; antialiased, a
                        // stroke between two pixel centres gives each of
                        // them half of it at the least.
                        const int least = antialias ? 120 : 255;
                        EXPECT_GE(qRed(image.pixel(p)), least)
                            << days << " " << p.x() << "," << p.y();
                        EXPECT_LE(qBlue(image.pixel(p)), 255 - least) << days << " " << p.x();
                        left = std::min(left, p.x());
                        right = std::max(right, p.x());
                        top = std::min(top, p.y());
                        bottom = std::max(bottom, p.y());
                        if (p == b) {
                            break;
                        }
                    }
                }
                // The figure spans the image from the first to the last
                // pixel on its longer axis.
                EXPECT_TRUE((left == 0 && right == 399) || (top == 0 && bottom == 399))
                    << days << ": " << left << "," << top << " " << right << "," << bottom;
            }
        }
    }
}

TEST_F(PaintFractalTest, AStraightLineIsDrawnAcrossTheMiddleAndAPointInTheCentre)
{
    FractalPtr line = FractalFromText("[type] lsys\n[name] line\n[ndays] 3\n[axioms]\nF\n"
                                      "[rules] 1\nF=FF\n[directions] 4\n");
    ASSERT_TRUE(line);
    ASSERT_TRUE(line->PrepareBounds(nullptr, nullptr, nullptr));
    FractalPtr point = FractalFromText("[type] ifs\n[name] point\n[ndays] 3\n[affine] 1\n"
                                       "( 0,0,0,0 ) ( 0,0 )\n");
    ASSERT_TRUE(point);
    ASSERT_TRUE(point->PrepareBounds(nullptr, nullptr, nullptr));
    for (FractalPath path : {FractalPath::Painter, FractalPath::Direct}) {
        PaintOptions options;
        options.path = path;
        QImage across = WhiteImage(100, 51);
        ASSERT_TRUE(PaintFractal(across, *line, 1.0, settings, nullptr, nullptr, options));
        const std::vector<QPoint> red = LitPixels(across, 0xff0000ff);
        ASSERT_EQ(red.size(), 100u);
        EXPECT_EQ(red.front(), QPoint(0, 25));
        EXPECT_EQ(red.back(), QPoint(99, 25));
        QImage dot = WhiteImage(41, 21);
        ASSERT_TRUE(PaintFractal(dot, *point, 1.0, settings, nullptr, nullptr, options));
        EXPECT_EQ(LitPixels(dot, 0xff0000ff), std::vector<QPoint>{QPoint(20, 10)});
    }
}

TEST_F(PaintFractalTest, OverlaysComeFirstAndTheFractalFlagCanBeOff)
{
    FractalPtr koch = FractalFromText(kKochText);
    koch->m_days = 2;
    ASSERT_TRUE(koch->PrepareBounds(nullptr, nullptr, nullptr));
    const ImageList markers(DefaultMarkerStrip(), kMarkerSize);
    settings.flags = kShowInitiator;
    QImage overlayOnly = WhiteImage(100, 100);
    ASSERT_TRUE(PaintFractal(overlayOnly, *koch, 1.2, settings, &markers, nullptr));
    bool initiatorColour = false;
    for (QPoint p : LitPixels(overlayOnly, 0xff0000ff)) {
        initiatorColour =
            initiatorColour || overlayOnly.pixel(p) == ToQColor(settings.InitiatorColor()).rgb();
        EXPECT_NE(overlayOnly.pixel(p), 0xffff0000u); // no fractal
    }
    EXPECT_TRUE(initiatorColour);
}

TEST_F(PaintFractalTest, AStoppedDrawingPassesTheStopAndRestoresThePainter)
{
    FractalPtr dragon = FractalFromText(kDragonText);
    ASSERT_TRUE(dragon->PrepareBounds(nullptr, nullptr, nullptr));
    const StopFlag stop{true};
    QImage image = WhiteImage(64, 64);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::green, 2));
    EXPECT_THROW(PaintFractal(painter, image.size(), *dragon, 1.0, settings, nullptr, &stop), int);
    EXPECT_EQ(painter.pen(), QPen(Qt::green, 2));
    EXPECT_FALSE(painter.viewTransformEnabled());
    painter.end();
    QImage direct = WhiteImage(64, 64);
    PaintOptions options;
    options.path = FractalPath::Direct;
    EXPECT_THROW(PaintFractal(direct, *dragon, 1.0, settings, nullptr, &stop, options), int);
}

TEST_F(PaintFractalTest, PrintFillsTheBoundsAndDrawsInBlack)
{
    FractalPtr koch = FractalFromText(kKochText);
    koch->m_days = 1;
    ASSERT_TRUE(koch->PrepareBounds(nullptr, nullptr, nullptr));
    QImage page = WhiteImage(100, 300);
    {
        QPainter painter(&page);
        PrintFractal(painter, page.size(), *koch, MakeColor(0, 0, 255));
    }
    // Wider than tall: the page's width is used and the figure centred.
    EXPECT_EQ(page.pixel(50, 2), 0xffffffffu);
    EXPECT_EQ(page.pixel(50, 298), 0xffffffffu);
    int black = 0;
    int blue = 0;
    for (QPoint p : LitPixels(page)) {
        black += page.pixel(p) == 0xff000000u ? 1 : 0;
        blue += page.pixel(p) == 0xff0000ffu ? 1 : 0;
    }
    EXPECT_GT(black, 100);
    EXPECT_GT(blue, 1000);
}

TEST_F(PaintFractalTest, PrintedPointsAreAsLargeAsAScreenPixelOnThePage)
{
    FractalPtr fern = FractalFromText(kFernText);
    ASSERT_TRUE(fern->PrepareBounds(nullptr, nullptr, nullptr));
    const auto printedDark = [&fern](int dpi) {
        QImage page = WhiteImage(600, 600);
        page.setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
        page.setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
        {
            QPainter painter(&page);
            PrintFractal(painter, page.size(), *fern, MakeColor(255, 255, 255));
        }
        int dark = 0;
        for (QPoint p : LitPixels(page)) {
            dark += qGray(page.pixel(p)) < 128 ? 1 : 0;
        }
        return dark;
    };
    // On a screen's resolution a point is a pixel; on a 300-dpi page it is
    // about three device pixels each way, so the fern is as dense as in the
    // window rather than a scatter of specks.
    const int screen = printedDark(96);
    const int printer = printedDark(300);
    EXPECT_GT(screen, 1000);
    EXPECT_GT(printer, 4 * screen);
}

} // namespace
