#pragma once

// The command line of kaleidra-render, parsed into one value. Parsing never
// exits: it returns the options or the message to show with the usage.

#include "render/picture_writers.h"
#include "surface/drawing_surface.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

// Exit codes: what a script can tell apart.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUnusable = 1; // a fractal that cannot be drawn
inline constexpr int kExitUsage = 2;    // bad options
inline constexpr int kExitIo = 3;       // a file that cannot be read or written
inline constexpr int kExitInterrupted = 130;

enum class OutputType
{
    Png,
    Svg,
    Pdf,
    Txt
};

struct RenderOptions
{
    enum class Mode
    {
        Render,
        ListPresets,
        Gallery,
        Help
    };
    Mode mode = Mode::Render;

    // The fractal: a file, or a preset by kind and index.
    std::string file;
    bool preset = false;
    int kind = 0;
    int index = 0;
    // Or composed from component files (compose.h), with an optional name.
    bool compose = false;
    std::string composeKind;
    std::vector<std::string> composeFiles;
    std::optional<std::string> name;

    std::string output; // empty: the fractal's name made file-safe + ".png"
    std::optional<int> days;
    int width = 1024;
    int height = 1024;
    bool sizeGiven = false;
    double zoom = 1.0;
    int flags = 1;
    std::optional<Color> background;
    std::optional<Color> color;
    bool antialias = true;
    RasterPath rasterPath = RasterPath::Direct;
    std::string save;
    bool stats = false;
    bool boundsOnly = false;
    bool quiet = false;
    std::string galleryDir;
};

struct UsageError
{
    std::string message;
};

std::variant<RenderOptions, UsageError> ParseOptions(const std::vector<std::string>& args);

// The output type from a path's extension, case-insensitively.
std::optional<OutputType> OutputTypeOf(const std::string& path);

// A name reduced to letters, digits, '-', '_' and '.', other runs becoming
// one '_'; "fractal" when nothing is left.
std::string FileSafeName(const std::string& name);

// The full help text, which names every option.
const char* UsageText();
