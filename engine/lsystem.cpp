// Placeholder: replaced by the real implementation.
#include "engine/lsystem.h"
