#include "engine/presets.h"

#include "engine/preset_tables.h"

#include <cstddef>
#include <span>

namespace {

constexpr int kStandard = 0;
constexpr int kIfs = 1;
constexpr int kMcrm = 2;
constexpr int kLsys = 3;
constexpr int kAutomaton = 4;

// The record at `index`, or null when the index is outside the table. The
// callers in the program keep to the counts, but an index read from a stored
// setting or a command line must not reach past a table.
template <typename Record> const Record* At(std::span<const Record> table, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= table.size()) {
        return nullptr;
    }
    return &table[static_cast<std::size_t>(index)];
}

template <typename Kind, typename Record> FractalPtr Make(std::span<const Record> table, int index)
{
    const Record* record = At(table, index);
    if (record == nullptr) {
        return {};
    }
    return FractalPtr(new Kind(*record));
}

} // namespace

FractalPtr CreatePreset(int kind, int index)
{
    switch (kind) {
    case kStandard:
        return Make<CStandardFractal>(preset_tables::Standard(), index);
    case kIfs:
        return Make<CIfsFractal>(preset_tables::Ifs(), index);
    case kMcrm:
        return Make<CMcrmFractal>(preset_tables::Mcrm(), index);
    case kLsys:
        return Make<CLsysFractal>(preset_tables::Lsys(), index);
    case kAutomaton:
        return Make<CAutomatonFractal>(preset_tables::Automaton(), index);
    default:
        return {};
    }
}

int PresetCount(int kind)
{
    switch (kind) {
    case kStandard:
        return static_cast<int>(preset_tables::Standard().size());
    case kIfs:
        return static_cast<int>(preset_tables::Ifs().size());
    case kMcrm:
        return static_cast<int>(preset_tables::Mcrm().size());
    case kLsys:
        return static_cast<int>(preset_tables::Lsys().size());
    case kAutomaton:
        return static_cast<int>(preset_tables::Automaton().size());
    default:
        return 0;
    }
}

const char* PresetName(int kind, int index)
{
    const char* name = nullptr;
    switch (kind) {
    case kStandard:
        if (const auto* r = At(preset_tables::Standard(), index)) {
            name = r->name;
        }
        break;
    case kIfs:
        if (const auto* r = At(preset_tables::Ifs(), index)) {
            name = r->name;
        }
        break;
    case kMcrm:
        if (const auto* r = At(preset_tables::Mcrm(), index)) {
            name = r->ifs->name;
        }
        break;
    case kLsys:
        if (const auto* r = At(preset_tables::Lsys(), index)) {
            name = r->name;
        }
        break;
    case kAutomaton:
        if (const auto* r = At(preset_tables::Automaton(), index)) {
            name = r->name;
        }
        break;
    default:
        break;
    }
    return name != nullptr ? name : "";
}
