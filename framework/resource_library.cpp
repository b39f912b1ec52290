// Placeholder: replaced by the real implementation.
#include "framework/resource_library.h"
