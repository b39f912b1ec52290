#pragma once

// Composing a fractal of any of the five kinds from its components, as the
// design sheet does from open documents and the renderer from component
// files. The components are copied: later changes to them do not reach the
// fractal.
//
// Component files hold one section each: a generator "[generator]", an
// initiator "[initiators]", affine maps "[affine]", an L-system "[axioms]"
// and "[rules]", directions "[directions]", an automaton "[axioms]" and
// "[productions]".

#include "engine/affine_map_set.h"
#include "engine/automaton.h"
#include "engine/fractal.h"
#include "engine/lsystem.h"
#include "engine/pattern.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CTextArchive;

// In the order of the kind indices (0 standard ... 4 automaton).
enum class ComposeKind
{
    Standard,
    Ifs,
    Mcrm,
    Lsys,
    Automaton
};

// What one component file or document holds.
enum class ComponentType
{
    Generator,
    Initiator,
    Maps,
    Lsystem,
    Directions,
    Automaton
};

// The kind for a keyword: "std" (also "standard"), "ifs", "mcrm", "lsys"
// (also "lsystem"), "automaton"; letter case ignored.
std::optional<ComposeKind> ComposeKindFromName(std::string_view name);
// The name word a composed fractal gets: "standard", "ifs", "mcrm", "lsys",
// "automate".
const char* ComposedName(ComposeKind kind);
// The day count the design sheet proposes: 4, 8, 5, 6, 5.
int ComposedDays(ComposeKind kind);
// The components a kind is made of, in the order they are given.
std::vector<ComponentType> ComponentsOf(ComposeKind kind);
// "generator", "initiator", "affine maps", "L-system", "directions",
// "automaton": for messages.
const char* ComponentTypeName(ComponentType type);
// The header a file of that type starts with: "[generator]", "[initiators]",
// "[affine]", "[axioms]" (L-system and automaton), "[directions]".
const char* ComponentHeader(ComponentType type);

// The components at hand; the initiator in pattern form (absolute angles,
// chained from the origin with a unit first step).
struct Components
{
    std::optional<Pattern> generator;
    std::optional<Pattern> initiator;
    std::optional<AffineMapSet> maps;
    std::optional<LSystem> lsystem;
    std::optional<Directions> directions;
    std::optional<Automaton> automaton;

    bool Has(ComponentType type) const;
};

// Reads a component of `type` from a component file's content into `parts`.
// Reading never fails outright, as for the documents: a damaged section
// gives what its reader kept. Never throws.
void ReadComponent(ComponentType type, CTextArchive& ar, Components& parts);

// The fractal of `kind` named `name` with `days` days, made from copies of
// the components. Null when a component the kind needs is missing; the
// fractal's own validity (m_bad) says whether it can be drawn.
FractalPtr ComposeFractal(ComposeKind kind, const std::string& name, int days,
                          const Components& parts);
