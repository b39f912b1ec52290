#include "engine/automaton.h"

#include "core/text_archive.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

SymbolList List(std::vector<int> values)
{
    SymbolList list;
    list.Values() = std::move(values);
    return list;
}

Automaton Make(std::vector<int> axioms, std::vector<std::vector<int>> productions)
{
    Automaton automaton;
    automaton.m_axioms = List(std::move(axioms));
    for (std::vector<int>& production : productions) {
        automaton.m_productions.push_back(List(std::move(production)));
    }
    return automaton;
}

Automaton Read(const std::string& text)
{
    std::stringstream stream(text);
    CTextArchive ar(stream);
    return Automaton(ar);
}

} // namespace

TEST(SymbolList, FromTextSplitsAtSeparatorsAndConvertsLeadingDigits)
{
    EXPECT_EQ(SymbolList::FromText("1, 2,,3").Values(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(SymbolList::FromText(" \t4\n5 ,").Values(), (std::vector<int>{4, 5}));
    EXPECT_TRUE(SymbolList::FromText("").empty());
    EXPECT_TRUE(SymbolList::FromText(" ,\t").empty());
    EXPECT_EQ(SymbolList::FromText("a 12b -3").Values(), (std::vector<int>{0, 12, -3}));
    EXPECT_EQ(SymbolList::FromText("99999999999").Values(), (std::vector<int>{2147483647}));
}

TEST(SymbolList, ToTextPutsABlankAfterEveryValue)
{
    EXPECT_EQ(List({1, 2, 3}).ToText(), "1 2 3 ");
    EXPECT_EQ(List({}).ToText(), "");
    EXPECT_EQ(SymbolList::FromText(List({7, 0, 11}).ToText()), List({7, 0, 11}));
}

TEST(SymbolList, ProductionFormatAndBrokenProductions)
{
    std::stringstream out;
    CTextArchive writer(out);
    List({0, 1}).Save(writer);
    List({}).Save(writer);
    EXPECT_EQ(out.str(), "2( 0 1 )\n0( )\n");

    CTextArchive reader(out);
    SymbolList first;
    SymbolList second;
    EXPECT_TRUE(first.Read(reader));
    EXPECT_TRUE(second.Read(reader));
    EXPECT_EQ(first, List({0, 1}));
    EXPECT_TRUE(second.empty());

    // Only the values present are kept: none is left unset.
    std::stringstream shortList("3( 4 5 )\n");
    CTextArchive shortReader(shortList);
    SymbolList broken = List({9, 9, 9, 9});
    EXPECT_FALSE(broken.Read(shortReader));
    EXPECT_EQ(broken, List({4, 5}));
}

TEST(Automaton, WellFormedness)
{
    EXPECT_TRUE(Make({0}, {{0, 1}, {1}}).IsValid());
    // Symbol 2 has no production.
    EXPECT_FALSE(Make({0}, {{0, 1}, {2}}).IsValid());
    EXPECT_FALSE(Make({}, {{0}}).IsValid());
    EXPECT_FALSE(Make({0}, {}).IsValid());
    EXPECT_FALSE(Make({-1}, {{0}}).IsValid());
    EXPECT_FALSE(Make({0}, {{0, -1}}).IsValid());
    // An empty production is allowed.
    EXPECT_TRUE(Make({0, 1}, {{0, 1}, {}}).IsValid());
}

TEST(Automaton, SectionFormatAndRoundTrip)
{
    const Automaton automaton = Make({0, 4, 2}, {{0, 1}, {}, {2, 2, 3}, {3}, {4}});
    std::stringstream out;
    CTextArchive ar(out);
    EXPECT_TRUE(automaton.Save(ar));
    EXPECT_EQ(out.str(), "[axioms] 3\n0 4 2 \n[productions] 5\n2( 0 1 )\n0( )\n3( 2 2 3 )\n"
                         "1( 3 )\n1( 4 )\n");
    EXPECT_EQ(Read(out.str()), automaton);
}

TEST(Automaton, PresetData)
{
    const int axioms[] = {0, 1};
    const int zero[] = {0, 1};
    const int one[] = {1};
    const ProductionPreset productions[] = {{2, zero}, {1, one}, {0, nullptr}};
    const Automaton automaton(2, axioms, 3, productions);
    EXPECT_EQ(automaton, Make({0, 1}, {{0, 1}, {1}, {}}));
    EXPECT_EQ(Automaton(0, axioms, -1, productions), Automaton());
}

TEST(Automaton, DamagedSectionsKeepOnlyWhatWasRead)
{
    // Axioms broken inside their values: the two read stay, and the failed
    // stream leaves the productions empty.
    const Automaton shortAxioms = Read("[axioms] 3\n0 1 \n[productions] 1\n1( 0 )\n");
    EXPECT_EQ(shortAxioms.m_axioms, List({0, 1}));
    EXPECT_TRUE(shortAxioms.m_productions.empty());
    EXPECT_FALSE(shortAxioms.IsValid());

    // A missing axioms header leaves them empty.
    EXPECT_TRUE(Read("[axiom] 1\n0 \n[productions] 1\n1( 0 )\n").m_axioms.empty());

    // A production with a wrong closing character is kept as read, and the
    // section goes on.
    const Automaton wrongClose = Read("[axioms] 1\n0 \n[productions] 2\n1( 0 ]\n1( 1 )\n");
    EXPECT_EQ(wrongClose.m_productions, (std::vector<SymbolList>{List({0}), List({1})}));

    // Values missing inside a production: those read stay, none is made up
    // for the count, and nothing beyond the damage is invented.
    const Automaton shortProduction =
        Read("[axioms] 1\n0 \n[productions] 3\n2( 0 1 )\n2( 0 )\n1( 1 )\n");
    EXPECT_EQ(shortProduction.m_productions, (std::vector<SymbolList>{List({0, 1}), List({0})}));

    // A count far beyond the file ends with the file.
    const Automaton huge = Read("[axioms] 1\n0 \n[productions] 2000000000\n1( 0 )\n");
    EXPECT_EQ(huge.m_productions, (std::vector<SymbolList>{List({0})}));
    EXPECT_TRUE(huge.IsValid());

    EXPECT_EQ(Read(""), Automaton());
}
