// Placeholder: replaced by the real implementation.
#include "engine/affine_map_set.h"
