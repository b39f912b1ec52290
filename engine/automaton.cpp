#include "engine/automaton.h"

#include "core/text_archive.h"

#include <climits>
#include <cstdlib>
#include <istream>
#include <utility>

namespace {

bool IsSeparator(char c)
{
    return c == ' ' || c == ',' || c == '\t' || c == '\n';
}

// Decimal conversion as far as the digits go; 0 when the piece does not
// start with a number, clamped to the int range when it is too long.
int ToInt(const std::string& piece)
{
    const long value = std::strtol(piece.c_str(), nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

// Reads up to `count` ints into `values`, stopping at the first one that
// cannot be read, so that only values actually present are kept.
void ReadValues(CTextArchive& ar, int count, std::vector<int>& values)
{
    std::istream& in = ar.Stream();
    for (int i = 0; i < count; ++i) {
        int value = 0;
        ar >> value;
        if (in.fail()) {
            return;
        }
        values.push_back(value);
    }
}

enum class Outcome
{
    Nothing,
    Partial,
    Complete
};

// One production: count, "(", the values, ")". Nothing when not even the
// count could be read, so that a production absent from the file is not
// made up; Partial keeps the values read before the break.
Outcome ReadProduction(CTextArchive& ar, std::vector<int>& values)
{
    values.clear();
    int count = 0;
    ar >> count;
    if (ar.Stream().fail()) {
        return Outcome::Nothing;
    }
    try {
        ar.Expect('(');
        ReadValues(ar, count, values);
        ar.Expect(')');
        return Outcome::Complete;
    } catch (...) {
        return Outcome::Partial;
    }
}

} // namespace

// ---------------------------------------------------------------- SymbolList

SymbolList::SymbolList(int count, const int* values)
{
    if (count < 1 || values == nullptr) {
        return;
    }
    m_values.assign(values, values + count);
}

SymbolList SymbolList::FromText(const std::string& text)
{
    SymbolList list;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSeparator(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !IsSeparator(text[i])) {
            ++i;
        }
        if (i > start) {
            list.m_values.push_back(ToInt(text.substr(start, i - start)));
        }
    }
    return list;
}

std::string SymbolList::ToText() const
{
    std::string text;
    for (const int value : m_values) {
        text += std::to_string(value);
        text += ' ';
    }
    return text;
}

bool SymbolList::Read(CTextArchive& ar)
{
    return ReadProduction(ar, m_values) == Outcome::Complete;
}

void SymbolList::Save(CTextArchive& ar) const
{
    ar << Count() << "( ";
    for (const int value : m_values) {
        ar << value << " ";
    }
    ar << ")\n";
}

// ---------------------------------------------------------------- Automaton

Automaton::Automaton(int axiomCount, const int* axioms, int productionCount,
                     const ProductionPreset* productions)
    : m_axioms(axiomCount, axioms)
{
    if (productionCount < 1 || productions == nullptr) {
        return;
    }
    m_productions.reserve(static_cast<std::size_t>(productionCount));
    for (int i = 0; i < productionCount; ++i) {
        m_productions.emplace_back(productions[i].count, productions[i].symbols);
    }
}

Automaton::Automaton(CTextArchive& ar)
{
    try {
        ar.Expect("[axioms]");
        int count = 0;
        ar >> count;
        if (!ar.Stream().fail()) {
            ReadValues(ar, count, m_axioms.Values());
        }
    } catch (...) {
    }
    try {
        ar.Expect("[productions]");
        int count = 0;
        ar >> count;
        std::istream& in = ar.Stream();
        // A failed stream yields nothing more: stop rather than pad the list
        // with productions the file does not hold.
        for (int i = 0; i < count && !in.fail(); ++i) {
            SymbolList production;
            if (ReadProduction(ar, production.Values()) == Outcome::Nothing) {
                break;
            }
            m_productions.push_back(std::move(production));
        }
    } catch (...) {
    }
}

bool Automaton::Save(CTextArchive& ar) const
{
    ar << "[axioms] " << m_axioms.Count() << '\n';
    for (const int value : m_axioms) {
        ar << value << " ";
    }
    ar << '\n';
    ar << "[productions] " << static_cast<int>(m_productions.size()) << '\n';
    for (const SymbolList& production : m_productions) {
        production.Save(ar);
    }
    return true;
}

bool Automaton::IsValid() const
{
    if (m_axioms.empty()) {
        return false;
    }
    const auto names = [symbols = m_productions.size()](int value) {
        return value >= 0 && static_cast<std::size_t>(value) < symbols;
    };
    for (const int value : m_axioms) {
        if (!names(value)) {
            return false;
        }
    }
    for (const SymbolList& production : m_productions) {
        for (const int value : production) {
            if (!names(value)) {
                return false;
            }
        }
    }
    return true;
}
