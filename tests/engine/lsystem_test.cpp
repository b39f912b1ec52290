#include "engine/lsystem.h"

#include "core/geometry.h"
#include "core/text_archive.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

template <typename T> std::string Saved(const T& value)
{
    std::stringstream stream;
    CTextArchive ar(stream);
    value.Save(ar);
    return stream.str();
}

template <typename T> T Read(const std::string& text)
{
    std::stringstream stream(text);
    CTextArchive ar(stream);
    return T(ar);
}

} // namespace

TEST(Axiom, TextAndSection)
{
    EXPECT_TRUE(Axiom("F=G").empty());
    EXPECT_EQ(Axiom("F+F").Length(), 3);
    EXPECT_EQ(Saved(Axiom("F")), "[axioms]\nF\n");
    EXPECT_EQ(Read<Axiom>("[axioms]\nF--F--F\n[rules] 0\n").Text(), "F--F--F");
    EXPECT_TRUE(Read<Axiom>("[axiom]\nF\n").empty());
    EXPECT_TRUE(Read<Axiom>("[axioms]").empty());
}

TEST(Axiom, EmptyAxiomLineLeavesTheRulesReadable)
{
    EXPECT_EQ(Saved(Axiom()), "[axioms]\n\n");
    std::stringstream stream(Saved(Axiom()) + "[rules] 1\nF=FF\n");
    CTextArchive ar(stream);
    EXPECT_TRUE(Axiom(ar).empty());
    const RuleSet rules(ar);
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules[0].replacement, "FF");
}

TEST(RuleSet, FindAndWellFormedness)
{
    const RulePreset presets[] = {{'F', "F+F"}, {'G', "GG"}, {'F', "FF"}};
    const RuleSet rules(3, presets);
    EXPECT_EQ(rules.Find('F'), &rules[0]);
    EXPECT_EQ(rules.Find('X'), nullptr);
    EXPECT_EQ(RuleSet().Find('F'), nullptr);
    EXPECT_TRUE(RuleSet(-2, presets).empty());

    EXPECT_TRUE(rules.IsWellFormed());
    EXPECT_TRUE((Rule{'z', ""}.IsWellFormed()));
    EXPECT_FALSE((Rule{'1', "F"}.IsWellFormed()));
    EXPECT_FALSE((Rule{'+', "F"}.IsWellFormed()));
    EXPECT_FALSE((Rule{'F', "F=F"}.IsWellFormed()));
    const RulePreset bad[] = {{'F', "F"}, {'1', "G"}};
    EXPECT_FALSE(RuleSet(2, bad).IsWellFormed());
}

TEST(RuleSet, SectionRoundTripAndDamage)
{
    const RulePreset presets[] = {{'F', "F+F-F"}, {'X', ""}, {'G', "GG"}};
    const RuleSet rules(3, presets);
    const std::string text = Saved(rules);
    EXPECT_EQ(text, "[rules] 3\nF=F+F-F\nX=\nG=GG\n");
    // The empty replacement must not swallow the next rule's line.
    EXPECT_EQ(Read<RuleSet>(text), rules);

    EXPECT_EQ(Read<RuleSet>("[rules] 3\nF=F+F\nG=GG\n").size(), 2u);
    EXPECT_EQ(Read<RuleSet>("[rules] 2\nF=F+F\nGGG\n").size(), 1u);
    EXPECT_TRUE(Read<RuleSet>("[rules] x\nF=F\n").empty());
    // Blanks around '=' in a hand-written file still read.
    EXPECT_EQ(Read<RuleSet>("[rules] 1\nF = F+F\n")[0].replacement, "F+F");
}

TEST(Directions, AnglesAndHeadingsOutsideTheCompass)
{
    const Directions four(4);
    EXPECT_DOUBLE_EQ(four.Angle(1), -pi / 2);
    EXPECT_DOUBLE_EQ(four.Angle(3), -3 * pi / 2);
    EXPECT_NEAR(Directions(8).Angle(5), -5 * pi / 4, 1e-12);
    EXPECT_EQ(four.Angle(4), 33.0);
    EXPECT_EQ(four.Angle(-1), 33.0);
    EXPECT_EQ(Directions(0).Angle(0), 33.0);
    EXPECT_EQ(Directions(-3).Count(), 0);
    // A compass of any size keeps its count and its angles, and costs no
    // more than a small one.
    const Directions huge(2000000000);
    EXPECT_EQ(huge.Count(), 2000000000);
    EXPECT_DOUBLE_EQ(huge.Angle(500000000), -pi / 2);
    EXPECT_EQ(huge.Angle(2000000000 - 1), -2.0 * pi * (2000000000 - 1) / 2000000000);
    EXPECT_EQ(sizeof(Directions), sizeof(int));
}

TEST(Directions, Section)
{
    EXPECT_EQ(Saved(Directions(6)), "[directions] 6\n");
    EXPECT_EQ(Read<Directions>("[directions]\n6\n"), Directions(6));
    for (const char* text :
         {"[direction] 6\n", "[directions] six\n", "[directions]", "[directions] 0\n"}) {
        EXPECT_EQ(Read<Directions>(text).Count(), 0) << text;
    }
    // Beyond a hundred thousand, up to the largest count a file holds: read
    // and written back as they stand.
    for (const char* text : {"[directions] 100001\n", "[directions] 2147483647\n"}) {
        EXPECT_EQ(Saved(Read<Directions>(text)), text);
    }
}
