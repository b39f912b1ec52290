#pragma once

// What kaleidra-render does once its options are parsed: one fractal drawn
// into one output, the gallery of every preset, the list of presets. Each
// returns the process's exit code and has written its own messages.

#include "engine/fractal.h"
#include "render_options.h"

// Everything one rendering measured, for --stats.
struct RenderStats
{
    std::string name;
    std::string kind;
    int days = 0;
    std::int64_t lines = 0;
    std::int64_t pixels = 0;
    std::int64_t moves = 0;
    FractalBounds bounds;
    double secondsBounds = 0.0;
    double secondsDraw = 0.0;
    double secondsEncode = 0.0;
};

// Draws the fractal the options name into the output they name. `stop` is
// set from outside (Ctrl-C) to abandon the work.
int RunRender(const RenderOptions& options, const StopFlag& stop, RenderStats* stats = nullptr);
int RunGallery(const RenderOptions& options, const StopFlag& stop);
int RunListPresets();

// The stats as one JSON object on one line.
std::string StatsJson(const RenderStats& stats);

// Whether the work needs a Gui application (fonts for text overlays, the
// vector writers).
bool NeedsGuiApplication(const RenderOptions& options);
