#include <cmath>
#include "core/geometry.h"
#include <gtest/gtest.h>

TEST(Geometry, PiIsFourArctanOne) { EXPECT_EQ(pi, 4.0 * std::atan(1.0)); }
