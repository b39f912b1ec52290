#pragma once

// The constant records of the built-in fractals, one table per kind, in the
// order the preset chooser shows them. Private to the preset library: callers
// go through CreatePreset, PresetCount and PresetName.
//
// Every record, and everything it points to, lives for the whole run. The
// tables are built on first use (thread-safe function-local statics), so no
// table depends on the initialisation order of other translation units.

#include "engine/automaton_fractal.h"
#include "engine/ifs_fractal.h"
#include "engine/lsys_fractal.h"
#include "engine/mcrm_fractal.h"
#include "engine/standard_fractal.h"

#include <span>

namespace preset_tables {

std::span<const StandardPreset> Standard();
std::span<const IfsPreset> Ifs();
// Each record points into the IFS table, at the same index.
std::span<const McrmPreset> Mcrm();
std::span<const LsysPreset> Lsys();
std::span<const AutomatonPreset> Automaton();

} // namespace preset_tables
