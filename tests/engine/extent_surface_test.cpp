#include "render/extent_surface.h"
#include <gtest/gtest.h>
