#pragma once

// The three pieces of an L-system fractal, each also stored and edited on its
// own: the axiom (start word), the rule set (one replacement per letter) and
// the directions (the turtle's compass of equally spaced headings).

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

class CTextArchive;

class Axiom
{
public:
    Axiom() = default;
    // A text containing '=' gives the empty axiom.
    explicit Axiom(const std::string& text);
    // Reads an "[axioms]" section of the L-system form: the token, then one
    // word, taken as it is (no '=' check). An empty result when it fails.
    // An empty axiom is stored as an empty line, so when the word read is
    // the "[rules]" header that follows, the axiom is empty and the stream
    // is put back before that header. Never throws.
    explicit Axiom(CTextArchive& ar);

    // Writes "[axioms]", a line end, the text (nothing when empty), a line end.
    bool Save(CTextArchive& ar) const;

    int Length() const { return static_cast<int>(m_text.size()); }
    const std::string& Text() const { return m_text; }
    bool empty() const { return m_text.empty(); }
    bool IsWellFormed() const;

    friend bool operator==(const Axiom&, const Axiom&) = default;

private:
    std::string m_text;
};

struct Rule
{
    char symbol = '0';
    std::string replacement;

    // The symbol is an ASCII letter and the replacement holds no '='.
    bool IsWellFormed() const;

    friend bool operator==(const Rule&, const Rule&) = default;
};

// One preset rule: a symbol and its replacement text.
struct RulePreset
{
    char symbol;
    const char* replacement;
};

class RuleSet
{
public:
    RuleSet() = default;
    // count < 1 gives an empty set.
    RuleSet(int count, const RulePreset* rules);
    // Reads a "[rules]" section, keeping the rules read before any format
    // error. A rule whose '=' ends its line has an empty replacement (that
    // is how one is written), rather than taking the next line's word.
    // Never throws.
    explicit RuleSet(CTextArchive& ar);

    // The first rule for `symbol` (compared as bytes), or null.
    const Rule* Find(char symbol) const;
    bool Save(CTextArchive& ar) const;
    bool IsWellFormed() const;

    std::size_t size() const { return m_rules.size(); }
    bool empty() const { return m_rules.empty(); }
    Rule& operator[](std::size_t i) { return m_rules[i]; }
    const Rule& operator[](std::size_t i) const { return m_rules[i]; }
    auto begin() const { return m_rules.begin(); }
    auto end() const { return m_rules.end(); }
    std::vector<Rule>& Rules() { return m_rules; }
    const std::vector<Rule>& Rules() const { return m_rules; }

    friend bool operator==(const RuleSet&, const RuleSet&) = default;

private:
    std::vector<Rule> m_rules;
};

// The axiom and rules together: the content of an L-system document.
struct LSystem
{
    Axiom axiom;
    RuleSet rules;

    friend bool operator==(const LSystem&, const LSystem&) = default;
};

// n headings; heading i has angle -2*pi*i/n (heading 0 along +x, each next
// one an n-th of a turn counter-clockwise on the screen, y pointing down).
// The angles are computed when asked, so a compass of any count costs the
// same few bytes.
class Directions
{
public:
    // The value a heading outside the compass gives: not an angle of it.
    static constexpr double kNoAngle = 33.0;
    // The largest compass: any count a file can hold.
    static constexpr int kMaxCount = std::numeric_limits<int>::max();

    Directions() = default;
    // A count below 1 gives an empty compass.
    explicit Directions(int count);
    // Reads a "[directions]" section; empty when it fails or when the count
    // is below 1. Never throws.
    explicit Directions(CTextArchive& ar);

    int Count() const { return m_count; }
    // Angle of heading i in radians; kNoAngle when i is outside 0..Count()-1.
    double Angle(int i) const;
    bool Save(CTextArchive& ar) const;

    friend bool operator==(const Directions&, const Directions&) = default;

private:
    int m_count = 0;
};
