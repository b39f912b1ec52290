#pragma once

// The 64 built-in fractals, addressed by kind (0 standard, 1 IFS, 2 MCRM,
// 3 L-system, 4 automaton) and index within the kind.

#include "engine/fractal.h"

inline constexpr int kKindCount = 5;

// A new fractal from the record; empty for a kind outside 0..4 or an index
// outside the kind's table.
FractalPtr CreatePreset(int kind, int index);
// 13, 10, 10, 12, 19; 0 for a kind outside 0..4.
int PresetCount(int kind);
// The record's name (for MCRM the name of its IFS record); "" outside the
// tables.
const char* PresetName(int kind, int index);
