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

} // namespace

TEST(Axiom, TextWithEqualsSignGivesEmptyAxiom)
{
    EXPECT_TRUE(Axiom("F=G").empty());
    EXPECT_EQ(Axiom("F+F").Text(), "F+F");
    EXPECT_EQ(Axiom("F+F").Length(), 3);
    EXPECT_TRUE(Axiom("F+F").IsWellFormed());
}

TEST(Axiom, ReadsOneWordAfterTheHeader)
{
    std::stringstream in("[axioms]\nF--F--F\n[rules] 0\n");
    CTextArchive ar(in);
    EXPECT_EQ(Axiom(ar).Text(), "F--F--F");

    std::stringstream wrong("[axiom]\nF\n");
    CTextArchive arWrong(wrong);
    EXPECT_TRUE(Axiom(arWrong).empty());

    std::stringstream cut("[axioms]");
    CTextArchive arCut(cut);
    EXPECT_TRUE(Axiom(arCut).empty());
}

TEST(Axiom, EmptyAxiomIsWrittenAsEmptyLineAndLeavesTheRulesReadable)
{
    EXPECT_EQ(Saved(Axiom("F")), "[axioms]\nF\n");
    EXPECT_EQ(Saved(Axiom()), "[axioms]\n\n");

    std::stringstream stream(Saved(Axiom()) + "[rules] 1\nF=FF\n");
    CTextArchive ar(stream);
    const Axiom axiom(ar);
    const RuleSet rules(ar);
    EXPECT_TRUE(axiom.empty());
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules[0].replacement, "FF");
}

TEST(RuleSet, FindReturnsFirstRuleForSymbolOrNull)
{
    const RulePreset presets[] = {{'F', "F+F"}, {'G', "GG"}, {'F', "FF"}};
    const RuleSet rules(3, presets);
    ASSERT_EQ(rules.size(), 3u);
    ASSERT_NE(rules.Find('F'), nullptr);
    EXPECT_EQ(rules.Find('F'), &rules[0]);
    EXPECT_EQ(rules.Find('G')->replacement, "GG");
    EXPECT_EQ(rules.Find('X'), nullptr);
    EXPECT_EQ(RuleSet().Find('F'), nullptr);
    EXPECT_TRUE(RuleSet(0, presets).empty());
    EXPECT_TRUE(RuleSet(-2, presets).empty());
}

TEST(RuleSet, WellFormednessNeedsLetterSymbolsAndNoEqualsSign)
{
    EXPECT_TRUE((Rule{'F', "F+F"}.IsWellFormed()));
    EXPECT_TRUE((Rule{'z', ""}.IsWellFormed()));
    EXPECT_FALSE((Rule{'1', "F"}.IsWellFormed()));
    EXPECT_FALSE((Rule{'+', "F"}.IsWellFormed()));
    EXPECT_FALSE((Rule{'F', "F=F"}.IsWellFormed()));

    const RulePreset good[] = {{'F', "F+F"}, {'G', "G"}};
    const RulePreset bad[] = {{'F', "F+F"}, {'1', "G"}};
    EXPECT_TRUE(RuleSet(2, good).IsWellFormed());
    EXPECT_FALSE(RuleSet(2, bad).IsWellFormed());
}

TEST(RuleSet, SectionFormatAndRoundTrip)
{
    const RulePreset presets[] = {{'F', "F+F-F"}, {'X', ""}, {'G', "GG"}};
    const RuleSet rules(3, presets);
    const std::string text = Saved(rules);
    EXPECT_EQ(text, "[rules] 3\nF=F+F-F\nX=\nG=GG\n");

    // The empty replacement must not swallow the next rule's line.
    std::stringstream stream(text + "[directions] 4\n");
    CTextArchive ar(stream);
    EXPECT_EQ(RuleSet(ar), rules);
    EXPECT_EQ(Directions(ar).Count(), 4);
}

TEST(RuleSet, DamagedSectionKeepsTheRulesReadBefore)
{
    std::stringstream shortList("[rules] 3\nF=F+F\nG=GG\n");
    CTextArchive ar(shortList);
    const RuleSet rules(ar);
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[1].symbol, 'G');

    std::stringstream missingEquals("[rules] 2\nF=F+F\nGGG\n");
    CTextArchive arEquals(missingEquals);
    EXPECT_EQ(RuleSet(arEquals).size(), 1u);

    std::stringstream noCount("[rules] x\nF=F\n");
    CTextArchive arCount(noCount);
    EXPECT_TRUE(RuleSet(arCount).empty());

    // Blanks around '=' in a hand-written file still read.
    std::stringstream spaced("[rules] 1\nF = F+F\n");
    CTextArchive arSpaced(spaced);
    const RuleSet spacedRules(arSpaced);
    ASSERT_EQ(spacedRules.size(), 1u);
    EXPECT_EQ(spacedRules[0].replacement, "F+F");
}

TEST(Directions, AnglesTurnAnNthOfATurnEach)
{
    const Directions four(4);
    ASSERT_EQ(four.Count(), 4);
    EXPECT_DOUBLE_EQ(four.Angle(0), 0.0);
    EXPECT_DOUBLE_EQ(four.Angle(1), -pi / 2);
    EXPECT_DOUBLE_EQ(four.Angle(2), -pi);
    EXPECT_DOUBLE_EQ(four.Angle(3), -3 * pi / 2);

    const Directions eight(8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(eight.Angle(i), -i * pi / 4, 1e-12);
    }
}

TEST(Directions, HeadingsOutsideTheCompassGiveTheNoAngleValue)
{
    const Directions four(4);
    EXPECT_EQ(four.Angle(4), 33.0);
    EXPECT_EQ(four.Angle(-1), 33.0);
    EXPECT_EQ(Directions().Angle(0), 33.0);
    EXPECT_EQ(Directions(0).Count(), 0);
    EXPECT_EQ(Directions(-3).Count(), 0);
    EXPECT_EQ(Directions(Directions::kMaxCount + 1).Count(), 0);
}

TEST(Directions, SectionFormatAndDamagedInput)
{
    EXPECT_EQ(Saved(Directions(6)), "[directions] 6\n");

    std::stringstream good("[directions]\n6\n");
    CTextArchive ar(good);
    EXPECT_EQ(Directions(ar), Directions(6));

    for (const char* text :
         {"[direction] 6\n", "[directions] six\n", "[directions]", "[directions] 2000000000\n"}) {
        std::stringstream stream(text);
        CTextArchive arBad(stream);
        EXPECT_EQ(Directions(arBad).Count(), 0) << text;
    }
}
