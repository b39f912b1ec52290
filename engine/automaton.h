#pragma once

// A substitution system over numbered symbols 0, 1, 2, ...: the axioms are
// the start word and production i is the word symbol i becomes in each
// generation.

#include <cstddef>
#include <string>
#include <vector>

class CTextArchive;

class SymbolList
{
public:
    SymbolList() = default;
    // count < 1 (or no values) gives the empty list.
    SymbolList(int count, const int* values);
    // Splits at blanks, commas, tabs and line feeds and converts each piece
    // as a decimal number (a piece not starting with a number gives 0; one
    // beyond the int range is clamped to it).
    static SymbolList FromText(const std::string& text);
    // Each value in decimal followed by one blank.
    std::string ToText() const;

    // Reads one production: count, "(", the values, ")". Keeps only the
    // values actually read when it breaks off; true when complete. Never
    // throws.
    bool Read(CTextArchive& ar);
    // Writes "k( v v )" and a line end.
    void Save(CTextArchive& ar) const;

    int Count() const { return static_cast<int>(m_values.size()); }
    bool empty() const { return m_values.empty(); }
    int operator[](std::size_t i) const { return m_values[i]; }
    auto begin() const { return m_values.begin(); }
    auto end() const { return m_values.end(); }
    std::vector<int>& Values() { return m_values; }
    const std::vector<int>& Values() const { return m_values; }

    friend bool operator==(const SymbolList&, const SymbolList&) = default;

private:
    std::vector<int> m_values;
};

// One production of a preset: its length and symbols.
struct ProductionPreset
{
    int count;
    const int* symbols;
};

class Automaton
{
public:
    Automaton() = default;
    Automaton(int axiomCount, const int* axioms, int productionCount,
              const ProductionPreset* productions);
    // Reads "[axioms]" (automaton form) then "[productions]". Never throws.
    // Lists broken off inside their values keep the values read. A broken
    // production does not end the section, but once the stream can yield
    // nothing more the section ends: no empty productions are made up for
    // the rest of the count.
    explicit Automaton(CTextArchive& ar);

    bool Save(CTextArchive& ar) const;
    // Non-empty axioms, and every axiom and production value names a
    // production.
    bool IsValid() const;

    SymbolList m_axioms;
    std::vector<SymbolList> m_productions;

    friend bool operator==(const Automaton&, const Automaton&) = default;
};
