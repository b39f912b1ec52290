#include "engine/lsystem.h"

#include "core/geometry.h"
#include "core/text_archive.h"

#include <istream>

namespace {

bool HasEquals(const std::string& text)
{
    return text.find('=') != std::string::npos;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// True when nothing but blanks is left on the current line. Used right after
// a rule's '=': the writer puts the replacement directly behind it, so a line
// end there means the replacement is empty.
bool RestOfLineIsBlank(std::istream& in)
{
    for (;;) {
        const int c = in.peek();
        if (c == std::char_traits<char>::eof() || c == '\n' || c == '\r') {
            return true;
        }
        if (c != ' ' && c != '\t') {
            return false;
        }
        in.get();
    }
}

} // namespace

// ---------------------------------------------------------------- Axiom

Axiom::Axiom(const std::string& text)
{
    if (!HasEquals(text)) {
        m_text = text;
    }
}

Axiom::Axiom(CTextArchive& ar)
{
    try {
        ar.Expect("[axioms]");
        std::istream& in = ar.Stream();
        const std::istream::pos_type afterHeader = in.tellg();
        std::string word;
        ar >> word;
        if (word == "[rules]") {
            // The empty axiom line was skipped as white space: give the
            // header back to the rules reader.
            if (afterHeader != std::istream::pos_type(-1)) {
                in.clear();
                in.seekg(afterHeader);
            }
            return;
        }
        m_text = word;
    } catch (...) {
    }
}

bool Axiom::Save(CTextArchive& ar) const
{
    ar << "[axioms]" << '\n' << m_text << '\n';
    return true;
}

bool Axiom::IsWellFormed() const
{
    return !HasEquals(m_text);
}

// ---------------------------------------------------------------- Rule, RuleSet

bool Rule::IsWellFormed() const
{
    return IsAsciiLetter(symbol) && !HasEquals(replacement);
}

RuleSet::RuleSet(int count, const RulePreset* rules)
{
    if (count < 1 || rules == nullptr) {
        return;
    }
    m_rules.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const char* text = rules[i].replacement;
        m_rules.push_back(Rule{rules[i].symbol, text != nullptr ? text : ""});
    }
}

RuleSet::RuleSet(CTextArchive& ar)
{
    try {
        ar.Expect("[rules]");
        int count = 0;
        ar >> count;
        std::istream& in = ar.Stream();
        for (int i = 0; i < count && in; ++i) {
            Rule rule;
            ar >> rule.symbol;
            ar.Expect('=');
            if (!RestOfLineIsBlank(in)) {
                ar >> rule.replacement;
            }
            if (!in) {
                break;
            }
            m_rules.push_back(std::move(rule));
        }
    } catch (...) {
    }
}

const Rule* RuleSet::Find(char symbol) const
{
    for (const Rule& rule : m_rules) {
        if (rule.symbol == symbol) {
            return &rule;
        }
    }
    return nullptr;
}

bool RuleSet::Save(CTextArchive& ar) const
{
    ar << "[rules] " << static_cast<int>(m_rules.size()) << '\n';
    for (const Rule& rule : m_rules) {
        ar << rule.symbol << '=' << rule.replacement << '\n';
    }
    return true;
}

bool RuleSet::IsWellFormed() const
{
    for (const Rule& rule : m_rules) {
        if (!rule.IsWellFormed()) {
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------- Directions

Directions::Directions(int count) : m_count(count < 1 ? 0 : count) {}

Directions::Directions(CTextArchive& ar)
{
    try {
        ar.Expect("[directions]");
        int count = 0;
        ar >> count;
        if (ar.Stream().fail()) {
            return;
        }
        *this = Directions(count);
    } catch (...) {
    }
}

double Directions::Angle(int i) const
{
    if (i < 0 || i >= m_count) {
        return kNoAngle;
    }
    return -2.0 * pi * i / m_count;
}

bool Directions::Save(CTextArchive& ar) const
{
    ar << "[directions] " << Count() << '\n';
    return true;
}
