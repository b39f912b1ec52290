#include "core/text_archive.h"
#include <gtest/gtest.h>
