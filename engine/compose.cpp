#include "engine/compose.h"

#include "engine/automaton_fractal.h"
#include "engine/ifs_fractal.h"
#include "engine/lsys_fractal.h"
#include "engine/mcrm_fractal.h"
#include "engine/standard_fractal.h"

#include <algorithm>
#include <cctype>

std::optional<ComposeKind> ComposeKindFromName(std::string_view name)
{
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    if (lower == "std" || lower == "standard") {
        return ComposeKind::Standard;
    }
    if (lower == "ifs") {
        return ComposeKind::Ifs;
    }
    if (lower == "mcrm") {
        return ComposeKind::Mcrm;
    }
    if (lower == "lsys" || lower == "lsystem") {
        return ComposeKind::Lsys;
    }
    if (lower == "automaton") {
        return ComposeKind::Automaton;
    }
    return std::nullopt;
}

const char* ComposedName(ComposeKind kind)
{
    switch (kind) {
    case ComposeKind::Standard:
        return "standard";
    case ComposeKind::Ifs:
        return "ifs";
    case ComposeKind::Mcrm:
        return "mcrm";
    case ComposeKind::Lsys:
        return "lsys";
    case ComposeKind::Automaton:
        return "automate";
    }
    return "";
}

int ComposedDays(ComposeKind kind)
{
    switch (kind) {
    case ComposeKind::Standard:
        return 4;
    case ComposeKind::Ifs:
        return 8;
    case ComposeKind::Mcrm:
    case ComposeKind::Automaton:
        return 5;
    case ComposeKind::Lsys:
        return 6;
    }
    return 1;
}

std::vector<ComponentType> ComponentsOf(ComposeKind kind)
{
    switch (kind) {
    case ComposeKind::Standard:
        return {ComponentType::Generator, ComponentType::Initiator};
    case ComposeKind::Ifs:
        return {ComponentType::Maps};
    case ComposeKind::Mcrm:
        return {ComponentType::Maps, ComponentType::Generator};
    case ComposeKind::Lsys:
        return {ComponentType::Lsystem, ComponentType::Directions};
    case ComposeKind::Automaton:
        return {ComponentType::Automaton, ComponentType::Generator};
    }
    return {};
}

const char* ComponentTypeName(ComponentType type)
{
    switch (type) {
    case ComponentType::Generator:
        return "generator";
    case ComponentType::Initiator:
        return "initiator";
    case ComponentType::Maps:
        return "affine maps";
    case ComponentType::Lsystem:
        return "L-system";
    case ComponentType::Directions:
        return "directions";
    case ComponentType::Automaton:
        return "automaton";
    }
    return "";
}

const char* ComponentHeader(ComponentType type)
{
    switch (type) {
    case ComponentType::Generator:
        return "[generator]";
    case ComponentType::Initiator:
        return "[initiators]";
    case ComponentType::Maps:
        return "[affine]";
    case ComponentType::Lsystem:
    case ComponentType::Automaton:
        return "[axioms]";
    case ComponentType::Directions:
        return "[directions]";
    }
    return "";
}

bool Components::Has(ComponentType type) const
{
    switch (type) {
    case ComponentType::Generator:
        return generator.has_value();
    case ComponentType::Initiator:
        return initiator.has_value();
    case ComponentType::Maps:
        return maps.has_value();
    case ComponentType::Lsystem:
        return lsystem.has_value();
    case ComponentType::Directions:
        return directions.has_value();
    case ComponentType::Automaton:
        return automaton.has_value();
    }
    return false;
}

void ReadComponent(ComponentType type, CTextArchive& ar, Components& parts)
{
    switch (type) {
    case ComponentType::Generator:
        parts.generator = Pattern(ar);
        break;
    case ComponentType::Initiator:
        parts.initiator = Pattern(InitiatorSet(ar));
        break;
    case ComponentType::Maps:
        parts.maps = AffineMapSet(ar);
        break;
    case ComponentType::Lsystem: {
        LSystem lsystem;
        lsystem.axiom = Axiom(ar);
        lsystem.rules = RuleSet(ar);
        parts.lsystem = lsystem;
        break;
    }
    case ComponentType::Directions:
        parts.directions = Directions(ar);
        break;
    case ComponentType::Automaton:
        parts.automaton = Automaton(ar);
        break;
    }
}

FractalPtr ComposeFractal(ComposeKind kind, const std::string& name, int days,
                          const Components& parts)
{
    for (ComponentType type : ComponentsOf(kind)) {
        if (!parts.Has(type)) {
            return {};
        }
    }
    switch (kind) {
    case ComposeKind::Standard:
        return new CStandardFractal(name, days, *parts.generator, InitiatorSet(*parts.initiator));
    case ComposeKind::Ifs:
        return new CIfsFractal(name, days, *parts.maps);
    case ComposeKind::Mcrm:
        return new CMcrmFractal(name, days, *parts.maps, *parts.generator);
    case ComposeKind::Lsys:
        return new CLsysFractal(name, days, *parts.lsystem, *parts.directions);
    case ComposeKind::Automaton:
        return new CAutomatonFractal(name, days, *parts.automaton, *parts.generator);
    }
    return {};
}
