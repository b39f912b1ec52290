#include "engine/compose.h"

#include "core/text_archive.h"
#include "engine/create_fractal.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kKoch = "[generator] 4\n0,0,0.333333\n0,-1.0472,0.333333\n"
                          "0,1.0472,0.333333\n0,0,0.333333\n";
const char* const kTriangle = "[initiators] 3\n0,0\n1,0\n0.5,-0.866025\n0,0\n";
const char* const kMaps = "[affine] 2\n( 0.5,0,0,0.5 ) ( 0,0 )\n( 0.5,0,0,0.5 ) ( 0.5,0 )\n";
const char* const kHilbert = "[axioms]\nX\n[rules] 3\nX=-YF+XFX+FY-\nY=+XF-YFY-FX+\nF=F\n";
const char* const kSquare = "[directions] 4\n";
const char* const kDragon = "[axioms] 1\n0 \n[productions] 4\n2( 0 1 )\n2( 2 1 )\n2( 2 3 )\n"
                            "2( 0 3 )\n";
const char* const kDragonSteps = "[generator] 4\n0,0,1\n0,-1.5708,1\n0,3.14159,1\n0,1.5708,1\n";

Components Read(const std::vector<std::pair<ComponentType, std::string>>& files)
{
    Components parts;
    for (const auto& [type, text] : files) {
        std::stringstream stream(text);
        CTextArchive archive(stream);
        ReadComponent(type, archive, parts);
    }
    return parts;
}

std::string Saved(CFractal& fractal)
{
    std::stringstream stream;
    CTextArchive archive(stream);
    EXPECT_TRUE(fractal.Save(archive));
    return stream.str();
}

FractalPtr FromFile(const std::string& text)
{
    std::stringstream stream(text);
    CTextArchive archive(stream);
    FractalPtr fractal;
    (void)CreateFractal(fractal, archive);
    return fractal;
}

} // namespace

// A composed fractal is the fractal whose file holds the same sections: the
// component files' sections in the kind's order.
TEST(Compose, EachKindEqualsTheFractalFileOfItsSections)
{
    struct Case
    {
        ComposeKind kind;
        std::vector<std::pair<ComponentType, std::string>> files;
        std::string sections; // in the fractal file's order
    };
    const std::vector<Case> cases = {
        {ComposeKind::Ifs, {{ComponentType::Maps, kMaps}}, kMaps},
        {ComposeKind::Mcrm,
         {{ComponentType::Maps, kMaps}, {ComponentType::Generator, kKoch}},
         std::string(kMaps) + kKoch},
        {ComposeKind::Lsys,
         {{ComponentType::Lsystem, kHilbert}, {ComponentType::Directions, kSquare}},
         std::string(kHilbert) + kSquare},
        {ComposeKind::Automaton,
         {{ComponentType::Automaton, kDragon}, {ComponentType::Generator, kDragonSteps}},
         std::string(kDragon) + kDragonSteps},
    };
    const char* const keywords[] = {"std", "ifs", "mcrm", "lsys", "automaton"};
    for (const Case& c : cases) {
        const int kind = static_cast<int>(c.kind);
        FractalPtr composed =
            ComposeFractal(c.kind, ComposedName(c.kind), ComposedDays(c.kind), Read(c.files));
        ASSERT_TRUE(composed) << keywords[kind];
        EXPECT_FALSE(composed->m_bad) << keywords[kind];
        FractalPtr direct =
            FromFile(std::string("[type] ") + keywords[kind] + "\n[name] " + ComposedName(c.kind) +
                     "\n[ndays] " + std::to_string(ComposedDays(c.kind)) + "\n" + c.sections);
        ASSERT_TRUE(direct) << keywords[kind];
        EXPECT_EQ(Saved(*composed), Saved(*direct)) << keywords[kind];
    }
}

// The initiator arrives in pattern form and is laid again from the origin,
// so the standard fractal keeps the initiator's shape.
TEST(Compose, StandardFromGeneratorAndInitiator)
{
    FractalPtr fractal = ComposeFractal(
        ComposeKind::Standard, "standard", 4,
        Read({{ComponentType::Generator, kKoch}, {ComponentType::Initiator, kTriangle}}));
    ASSERT_TRUE(fractal);
    EXPECT_FALSE(fractal->m_bad);
    EXPECT_EQ(fractal->m_name, "standard");
    EXPECT_EQ(fractal->m_days, 4);
    const InitiatorSet* initiators = fractal->GetInitiators();
    ASSERT_NE(initiators, nullptr);
    ASSERT_EQ(initiators->size(), 3u);
    const std::vector<Segment> segments(initiators->begin(), initiators->end());
    EXPECT_NEAR(segments[1].start.x, 1.0, 1e-9);
    EXPECT_NEAR(segments[2].start.y, -0.866025, 1e-6);
}

TEST(Compose, MissingOrEmptyComponents)
{
    // A component the kind needs is missing: nothing is composed.
    EXPECT_FALSE(
        ComposeFractal(ComposeKind::Lsys, "lsys", 6, Read({{ComponentType::Lsystem, kHilbert}})));
    // A file of another type reads as an empty component: the fractal is
    // made, but cannot be drawn.
    FractalPtr wrong = ComposeFractal(
        ComposeKind::Lsys, "lsys", 6,
        Read({{ComponentType::Lsystem, kSquare}, {ComponentType::Directions, kSquare}}));
    ASSERT_TRUE(wrong);
    EXPECT_TRUE(wrong->m_bad);
}

TEST(Compose, KindNamesAndComponents)
{
    EXPECT_EQ(ComposeKindFromName("STD"), ComposeKind::Standard);
    EXPECT_EQ(ComposeKindFromName("lsystem"), ComposeKind::Lsys);
    EXPECT_EQ(ComposeKindFromName("automate"), std::nullopt);
    EXPECT_STREQ(ComposedName(ComposeKind::Automaton), "automate");
    EXPECT_EQ(ComponentsOf(ComposeKind::Mcrm),
              (std::vector{ComponentType::Maps, ComponentType::Generator}));
}
