// Placeholder: replaced by the real implementation.
#include "engine/automaton.h"
