#include "engine/automaton.h"

#include "core/text_archive.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using Lists = std::vector<std::vector<int>>;

Automaton Make(std::vector<int> axioms, const Lists& productions)
{
    Automaton automaton;
    automaton.m_axioms.Values() = std::move(axioms);
    for (const std::vector<int>& production : productions) {
        automaton.m_productions.emplace_back(static_cast<int>(production.size()),
                                             production.data());
    }
    return automaton;
}

Automaton Read(const std::string& text)
{
    std::stringstream stream(text);
    CTextArchive ar(stream);
    return Automaton(ar);
}

Lists ProductionsOf(const Automaton& automaton)
{
    Lists lists;
    for (const SymbolList& production : automaton.m_productions) {
        lists.push_back(production.Values());
    }
    return lists;
}

} // namespace

TEST(SymbolList, Text)
{
    using V = std::vector<int>;
    EXPECT_EQ(SymbolList::FromText("1, 2,,3").Values(), (V{1, 2, 3}));
    EXPECT_EQ(SymbolList::FromText(" \t4\n5 ,").Values(), (V{4, 5}));
    EXPECT_TRUE(SymbolList::FromText("").empty());
    EXPECT_EQ(SymbolList::FromText("a 12b -3").Values(), (V{0, 12, -3}));
    EXPECT_EQ(SymbolList::FromText("99999999999").Values(), (V{2147483647}));
    EXPECT_EQ(SymbolList::FromText("1 2 3").ToText(), "1 2 3 ");
    EXPECT_EQ(SymbolList().ToText(), "");
}

TEST(SymbolList, ProductionKeepsOnlyTheValuesRead)
{
    std::stringstream stream("2( 0 1 )\n3( 4 5 )\n");
    CTextArchive ar(stream);
    SymbolList list;
    EXPECT_TRUE(list.Read(ar));
    EXPECT_EQ(list.Values(), (std::vector<int>{0, 1}));
    EXPECT_FALSE(list.Read(ar));
    EXPECT_EQ(list.Values(), (std::vector<int>{4, 5}));
}

TEST(Automaton, WellFormedness)
{
    EXPECT_TRUE(Make({0, 1}, {{0, 1}, {}}).IsValid());
    EXPECT_FALSE(Make({0}, {{0, 1}, {2}}).IsValid());
    EXPECT_FALSE(Make({}, {{0}}).IsValid());
    EXPECT_FALSE(Make({0}, {}).IsValid());
    EXPECT_FALSE(Make({-1}, {{0}}).IsValid());
    EXPECT_FALSE(Make({0}, {{0, -1}}).IsValid());
}

TEST(Automaton, SectionsRoundTrip)
{
    const Automaton automaton = Make({0, 4, 2}, {{0, 1}, {}, {2, 2, 3}, {3}, {4}});
    std::stringstream out;
    CTextArchive ar(out);
    EXPECT_TRUE(automaton.Save(ar));
    EXPECT_EQ(out.str(), "[axioms] 3\n0 4 2 \n[productions] 5\n2( 0 1 )\n0( )\n3( 2 2 3 )\n"
                         "1( 3 )\n1( 4 )\n");
    EXPECT_EQ(Read(out.str()), automaton);
}

TEST(Automaton, DamagedSectionsKeepOnlyWhatWasRead)
{
    const Automaton shortAxioms = Read("[axioms] 3\n0 1 \n[productions] 1\n1( 0 )\n");
    EXPECT_EQ(shortAxioms.m_axioms.Values(), (std::vector<int>{0, 1}));
    EXPECT_TRUE(shortAxioms.m_productions.empty());

    EXPECT_TRUE(Read("[axiom] 1\n0 \n[productions] 1\n1( 0 )\n").m_axioms.empty());

    // A wrong closing character: kept as read, and the section goes on.
    EXPECT_EQ(ProductionsOf(Read("[axioms] 1\n0 \n[productions] 2\n1( 0 ]\n1( 1 )\n")),
              (Lists{{0}, {1}}));
    // A value missing: what was read stays, nothing is made up after it.
    EXPECT_EQ(ProductionsOf(Read("[axioms] 1\n0 \n[productions] 3\n2( 0 1 )\n2( 0 )\n1( 1 )\n")),
              (Lists{{0, 1}, {0}}));
    // A count far beyond the file ends with the file.
    EXPECT_EQ(ProductionsOf(Read("[axioms] 1\n0 \n[productions] 2000000000\n1( 0 )\n")),
              (Lists{{0}}));
}
