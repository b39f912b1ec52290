// Placeholder: replaced by the real preset tables.
#include "engine/presets.h"

FractalPtr CreatePreset(int, int) { return {}; }
int PresetCount(int) { return 0; }
const char* PresetName(int, int) { return ""; }
