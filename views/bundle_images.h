#pragma once

// Image lists of the language bundle as the marker surfaces and the busy
// animation use them (a strip where green stands for transparent), for the
// fractal view and the editors alike.

#include "render/marker_images.h"

// Bitmap `bitmap` cut into images `width` pixels wide; an empty list when
// the bundle has none.
ImageList LoadBundleImages(int bitmap, int width);
