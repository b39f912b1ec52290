#include "core/text_archive.h"
#include "engine/affine_map_set.h"
#include "tests/engine/recording_surface.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

AffineMapSet Read(std::stringstream& s)
{
    CTextArchive ar(s);
    return AffineMapSet(ar);
}

TEST(AffineFile, WritesOneLinePerMapAndReadsBackRounded)
{
    const AffineMap maps[] = {{0.5, 0, 0, 0.5, 1.0 / 3.0, 1}, kIdentityMap};
    std::stringstream s;
    CTextArchive ar(s);
    EXPECT_TRUE(AffineMapSet(2, maps).Save(ar));
    EXPECT_EQ(s.str(), "[affine] 2\n( 0.5,0,0,0.5 ) ( 0.333333,1 )\n( 1,0,0,1 ) ( 0,0 )\n");
    const AffineMapSet back = Read(s);
    EXPECT_EQ(back.Maps(), (std::vector<AffineMap>{{0.5, 0, 0, 0.5, 0.333333, 1}, kIdentityMap}));
}

TEST(AffineFile, DamagedSectionsKeepTheCompleteMaps)
{
    const struct
    {
        const char* text;
        std::size_t maps;
    } cases[] = {
        {"[affine]\n1 (1 ,0,\n0, 1)(0 , 0 )", 1}, // laid out by hand
        {"[affine] 3\n( 1,0,0,1 ) ( 0,0 )\n( 1,0,0,1 ) ( 0,0 )\n", 2},
        {"[affine] 2\n( 1,0,0,1 ) ( 0,0 )\n( 1,0,0,1 ) ( 0,0 \n", 1},
        {"[affine] 2\n( 1,0,0,1 ) ( 0,0 )\n( 1,0,x,1 ) ( 0,0 )\n", 1},
        {"[affine] 1\n( 1,0,0,1 ( 0,0 )\n", 0},
        {"[generator] 1\n", 0},
    };
    for (const auto& c : cases) {
        std::stringstream s(c.text);
        EXPECT_EQ(Read(s).size(), c.maps) << c.text;
    }

    // A count of 0 or below reads nothing after it.
    for (const char* text : {"[affine] 0 ( 1,0,0,1 ) ( 0,0 )", "[affine] -1 ( 1,0,0,1 )"}) {
        std::stringstream s(text);
        EXPECT_TRUE(Read(s).empty());
        std::string next;
        s >> next;
        EXPECT_EQ(next, "(");
    }
}

TEST(TransformSegments, MapsACopyIntoTheOutput)
{
    const SegmentList in = {{{0, 0}, {1, 0}}, {{1, 0}, {1, 2}}};
    SegmentList out;
    TransformSegments(kIdentityMap, out, in);
    EXPECT_EQ(out, in);

    const AffineMap m{0, -1, 1, 0, 10, 20}; // quarter turn, then moved
    TransformSegments(m, out, in);
    EXPECT_EQ(in.back(), (Segment{{1, 0}, {1, 2}}));
    EXPECT_EQ(out.back(), (Segment{{10, 21}, {8, 21}}));
    TransformSegments(m, out, out);
    EXPECT_EQ(out.back(), (Segment{{-11, 30}, {-11, 28}}));
}

TEST(DrawSegmentArrow, PutsASizedArrowOnTheFirstThird)
{
    RecordingSurface surface;
    DrawSegmentArrow(surface, {{0, 0}, {0, -60}}, Color{0xff});
    DrawSegmentArrow(surface, {{0, 0}, {59.99, 0}}, 4);
    DrawSegmentArrow(surface, {{5, 5}, {5, 5}}, Color{0xff});
    ASSERT_EQ(surface.calls.size(), 6u);

    const SurfaceCall& arrow = surface.calls[0];
    EXPECT_EQ(arrow.op, SurfaceOp::Arrow);
    EXPECT_DOUBLE_EQ(arrow.v.angle, -pi / 2);
    EXPECT_DOUBLE_EQ(arrow.v.length, 20);
    EXPECT_EQ(arrow.size, 3);
    EXPECT_EQ(arrow.color, Color{0xff});
    EXPECT_EQ(surface.calls[1].color, Color{0xff});
    EXPECT_EQ(surface.calls[1].b, (Point{0, -60}));

    // Flags colour the arrow only; the size is truncated.
    EXPECT_EQ(surface.calls[2].size, 2);
    EXPECT_EQ(surface.calls[2].color, surface.table[1]);
    EXPECT_FALSE(surface.calls[3].color.has_value());
    EXPECT_EQ(surface.calls[4].size, 0);
}

} // namespace
