// Feeds arbitrary text to one section reader at a time, the way the component
// documents read their files. The first byte picks the reader:
//
//   0 generator ("[generator]")      3 L-system ("[axioms]" then "[rules]")
//   1 initiators ("[initiators]")    4 directions ("[directions]")
//   2 affine maps ("[affine]")       5 automaton ("[axioms]" then "[productions]")
//
// (the byte taken modulo 6, so the digits '0' to '5' select the same). What
// was read is saved, the saved text read again and saved again: the two
// saves must be equal, or the component would change each time it is stored.
// Models without doubles must also come back equal to what was first read.

#include "core/text_archive.h"
#include "engine/affine_map_set.h"
#include "engine/automaton.h"
#include "engine/lsystem.h"
#include "engine/pattern.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

struct LsystemDocument
{
    Axiom axiom;
    RuleSet rules;

    explicit LsystemDocument(CTextArchive& ar) : axiom(ar), rules(ar) {}
    bool Save(CTextArchive& ar) const { return axiom.Save(ar) && rules.Save(ar); }
    friend bool operator==(const LsystemDocument&, const LsystemDocument&) = default;
};

template <typename Model> Model Read(const std::string& text)
{
    std::stringstream in(text);
    CTextArchive ar(in);
    return Model(ar);
}

template <typename Model> std::string SaveText(const Model& model)
{
    std::stringstream out;
    CTextArchive ar(out);
    model.Save(ar);
    return out.str();
}

// Doubles are stored to 6 significant digits, so only the saved texts can be
// compared; the first reading may hold more precision than the file keeps.
template <typename Model> Model RoundTrip(const std::string& text)
{
    Model first = Read<Model>(text);
    const std::string saved = SaveText(first);
    const Model second = Read<Model>(saved);
    if (SaveText(second) != saved) {
        __builtin_trap();
    }
    return first;
}

template <typename Model> void ExactRoundTrip(const std::string& text)
{
    const Model first = Read<Model>(text);
    const std::string saved = SaveText(first);
    if (!(Read<Model>(saved) == first)) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 6) {
    case 0: {
        // Also the conversions the pattern and initiator documents make.
        const Pattern pattern = RoundTrip<Pattern>(text);
        const InitiatorSet chained(pattern);
        const Pattern back(chained);
        (void)back;
        break;
    }
    case 1: {
        const InitiatorSet initiators = RoundTrip<InitiatorSet>(text);
        const Pattern pattern(initiators);
        (void)pattern;
        break;
    }
    case 2:
        RoundTrip<AffineMapSet>(text);
        break;
    case 3:
        ExactRoundTrip<LsystemDocument>(text);
        break;
    case 4:
        ExactRoundTrip<Directions>(text);
        break;
    default: {
        ExactRoundTrip<Automaton>(text);
        (void)Read<Automaton>(text).IsValid();
        break;
    }
    }
    return 0;
}
