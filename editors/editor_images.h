#pragma once

// Image lists of the language bundle as the marker surfaces of the editors
// use them.

#include "render/marker_images.h"

// Bitmap `bitmap` cut into images `width` pixels wide; an empty list when
// the bundle has none.
ImageList LoadEditorImages(int bitmap, int width);
