// Placeholder: replaced by the real implementation.
#include "engine/pattern.h"
