#include "render_options.h"

#include "compose.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace {

constexpr int kMaxPixels = 16384;

bool ParseInt(const std::string& text, int& out)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, out);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

bool ParseDouble(const std::string& text, double& out)
{
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

bool ParseColor(const std::string& text, Color& out)
{
    if (text.size() != 7 || text[0] != '#') {
        return false;
    }
    unsigned value = 0;
    const auto result = std::from_chars(text.data() + 1, text.data() + 7, value, 16);
    if (result.ec != std::errc() || result.ptr != text.data() + 7) {
        return false;
    }
    // #rrggbb is written red first; a stored colour keeps red in the low byte.
    out = MakeColor(static_cast<int>(value >> 16), static_cast<int>(value >> 8),
                    static_cast<int>(value));
    return true;
}

bool ParseSize(const std::string& text, int& width, int& height)
{
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos) {
        return false;
    }
    return ParseInt(text.substr(0, x), width) && ParseInt(text.substr(x + 1), height) &&
           width > 0 && height > 0 && width <= kMaxPixels && height <= kMaxPixels;
}

bool ParseOverlays(const std::string& text, int& flags)
{
    flags = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string word = text.substr(start, comma - start);
        if (word == "fractal") {
            flags |= 1;
        } else if (word == "initiator") {
            flags |= 2;
        } else if (word == "generator") {
            flags |= 4;
        } else {
            return false;
        }
        start = comma + 1;
    }
    return true;
}

bool ParsePreset(const std::string& text, int& kind, int& index)
{
    const auto colon = text.find(':');
    return colon != std::string::npos && ParseInt(text.substr(0, colon), kind) &&
           ParseInt(text.substr(colon + 1), index);
}

// One command-line argument: "--name=value" carries its value; any other
// argument is a name alone.
struct Argument
{
    std::string name;
    std::optional<std::string> inlineValue;
};

Argument SplitArgument(const std::string& arg)
{
    if (arg.rfind("--", 0) == 0) {
        if (const auto eq = arg.find('='); eq != std::string::npos) {
            return {arg.substr(0, eq), arg.substr(eq + 1)};
        }
    }
    return {arg, std::nullopt};
}

// What the arguments name to work on; exactly one is allowed.
struct Sources
{
    bool listPresets = false;
    bool gallery = false;
    std::vector<std::string> positional;
};

bool IsFlag(const std::string& name)
{
    return name == "--list-presets" || name == "--no-antialias" || name == "--stats" ||
           name == "--bounds-only" || name == "-q" || name == "--quiet";
}

void ApplyFlag(const std::string& name, RenderOptions& o, Sources& sources)
{
    if (name == "--list-presets") {
        sources.listPresets = true;
    } else if (name == "--no-antialias") {
        o.antialias = false;
    } else if (name == "--stats") {
        o.stats = true;
    } else if (name == "--bounds-only") {
        o.boundsOnly = true;
    } else {
        o.quiet = true;
    }
}

bool TakesValue(const std::string& name)
{
    static const char* const kNames[] = {"--gallery",
                                         "--preset",
                                         "-o",
                                         "--output",
                                         "-d",
                                         "--days",
                                         "-s",
                                         "--size",
                                         "--zoom",
                                         "--overlays",
                                         "--background",
                                         "--color",
                                         "--raster-path",
                                         "--save"};
    return name == "--name" || std::any_of(std::begin(kNames), std::end(kNames),
                                           [&name](const char* known) { return name == known; });
}

// Reads the value of an option that takes one; a missing or unusable value
// gives the message for that option.
std::optional<UsageError> ApplyValue(const std::string& name,
                                     const std::optional<std::string>& value, RenderOptions& o,
                                     Sources& sources)
{
    const auto bad = [&name](const std::string& why) { return UsageError{name + ": " + why}; };
    const std::string v = value.value_or(std::string());
    const bool given = value.has_value();
    if (name == "--gallery") {
        if (!given || v.empty()) {
            return bad("needs a directory");
        }
        sources.gallery = true;
        o.galleryDir = v;
    } else if (name == "--preset") {
        if (!given || !ParsePreset(v, o.kind, o.index)) {
            return bad("needs KIND:INDEX, for example 4:10");
        }
        o.preset = true;
    } else if (name == "-o" || name == "--output") {
        if (!given || v.empty()) {
            return bad("needs a path");
        }
        if (!OutputTypeOf(v)) {
            return bad("the output type is chosen by the extension: .png, .svg, .pdf or .txt");
        }
        o.output = v;
    } else if (name == "-d" || name == "--days") {
        int days = 0;
        if (!given || !ParseInt(v, days) || days < 0) {
            return bad("needs a whole number of days, 0 or more");
        }
        o.days = days;
    } else if (name == "-s" || name == "--size") {
        if (!given || !ParseSize(v, o.width, o.height)) {
            return bad("needs WxH, each from 1 to " + std::to_string(kMaxPixels));
        }
        o.sizeGiven = true;
    } else if (name == "--zoom") {
        if (!given || !ParseDouble(v, o.zoom) || !std::isfinite(o.zoom) || o.zoom <= 0.0) {
            return bad("needs a zoom factor above 0");
        }
    } else if (name == "--overlays") {
        if (!given || !ParseOverlays(v, o.flags)) {
            return bad("needs a comma list of fractal, initiator, generator");
        }
    } else if (name == "--background" || name == "--color") {
        Color c = 0;
        if (!given || !ParseColor(v, c)) {
            return bad("needs a colour written #rrggbb");
        }
        (name == "--background" ? o.background : o.color) = c;
    } else if (name == "--raster-path") {
        if (!given || (v != "direct" && v != "painter")) {
            return bad("needs direct or painter");
        }
        o.rasterPath = v == "painter" ? RasterPath::Painter : RasterPath::Direct;
    } else if (name == "--name") {
        if (!given) {
            return bad("needs a text");
        }
        o.name = v;
    } else {
        if (!given || v.empty()) {
            return bad("needs a path");
        }
        o.save = v;
    }
    return std::nullopt;
}

// The work the arguments name: the preset list, the gallery, a preset or a
// file, exactly one of them.
std::optional<UsageError> ChooseSource(const Sources& sources, RenderOptions& o)
{
    const int count = (sources.listPresets ? 1 : 0) + (sources.gallery ? 1 : 0) +
                      (o.preset ? 1 : 0) + (o.compose ? 1 : 0) +
                      static_cast<int>(sources.positional.size());
    if (count != 1) {
        return UsageError{count == 0 ? "nothing to do: give a FILE, --preset, --compose, "
                                       "--gallery or --list-presets"
                                     : "give exactly one of FILE, --preset, --compose, "
                                       "--gallery and --list-presets"};
    }
    if (sources.listPresets) {
        o.mode = RenderOptions::Mode::ListPresets;
    } else if (sources.gallery) {
        o.mode = RenderOptions::Mode::Gallery;
    } else if (!o.preset && !o.compose) {
        o.file = sources.positional.front();
    }
    return std::nullopt;
}

} // namespace

std::optional<OutputType> OutputTypeOf(const std::string& path)
{
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return std::nullopt;
    }
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "png") {
        return OutputType::Png;
    }
    if (ext == "svg") {
        return OutputType::Svg;
    }
    if (ext == "pdf") {
        return OutputType::Pdf;
    }
    if (ext == "txt") {
        return OutputType::Txt;
    }
    return std::nullopt;
}

std::string FileSafeName(const std::string& name)
{
    std::string safe;
    for (unsigned char c : name) {
        if (std::isalnum(c) != 0 || c == '-' || c == '_' || c == '.') {
            safe.push_back(static_cast<char>(c));
        } else if (safe.empty() || safe.back() != '_') {
            safe.push_back('_');
        }
    }
    // No hidden files and no dangling separators.
    const auto first = safe.find_first_not_of("._");
    if (first == std::string::npos) {
        return "fractal";
    }
    safe.erase(0, first);
    safe.erase(safe.find_last_not_of("._") + 1);
    return safe;
}

std::variant<RenderOptions, UsageError> ParseOptions(const std::vector<std::string>& args)
{
    RenderOptions o;
    Sources sources;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const Argument a = SplitArgument(args[i]);
        if (a.name == "-h" || a.name == "--help") {
            o.mode = RenderOptions::Mode::Help;
            return o;
        }
        std::optional<UsageError> error;
        if (a.name == "--compose") {
            error = TakeCompose(args, i, a.inlineValue, o);
        } else if (IsFlag(a.name)) {
            if (a.inlineValue) {
                return UsageError{a.name + ": takes no value"};
            }
            ApplyFlag(a.name, o, sources);
        } else if (TakesValue(a.name)) {
            // The value follows '=' or is the next argument.
            std::optional<std::string> value = a.inlineValue;
            if (!value && i + 1 < args.size()) {
                value = args[++i];
            }
            error = ApplyValue(a.name, value, o, sources);
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            error = UsageError{"unknown option " + args[i]};
        } else {
            sources.positional.push_back(args[i]);
        }
        if (error) {
            return *error;
        }
    }
    if (std::optional<UsageError> error = ChooseSource(sources, o)) {
        return *error;
    }
    return o;
}

const char* UsageText()
{
    return R"(usage: kaleidra-render [options] FILE
       kaleidra-render [options] --preset KIND:INDEX
       kaleidra-render [options] --compose KIND FILE... [--name TEXT]
       kaleidra-render --list-presets
       kaleidra-render [options] --gallery DIR

Draws a fractal file or a built-in fractal exactly as a fractal window shows
it, into a picture, a vector file or a list of its elements.

  --preset KIND:INDEX   a built-in fractal: KIND 0 standard, 1 IFS, 2 MCRM,
                        3 L-system, 4 automaton; INDEX below the kind's count
  --compose KIND FILE...
                        a fractal composed from component files, as the
                        design sheet does: std GEN INIT, ifs MAPS, mcrm MAPS
                        GEN, lsys LSYS DIRS, automaton AUTO GEN
  --name TEXT           the composed fractal's name (default: standard, ifs,
                        mcrm, lsys or automate)
  --list-presets        one line each: kind, index, days and name (tabs)
  --gallery DIR         every preset at its own day count: DIR/K-II.png and
                        DIR/index.html with the names (default size 512x512)
  -o, --output PATH     .png, .svg, .pdf or .txt, chosen by the extension
                        (default: the fractal's name made file-safe + .png)
  -d, --days N          draw N days (generations) instead of the fractal's own
  -s, --size WxH        pixels for PNG, points for SVG and PDF (default 1024x1024)
  --zoom Z              the window's zoom factor: above 1 shows more around the
                        fractal, below 1 less (default 1.0)
  --overlays LIST       comma list of fractal, initiator, generator (default
                        fractal)
  --background #rrggbb  the background (default: the built-in colour set's)
  --color #rrggbb       the fractal's colour
  --no-antialias        PNG only: aliased one-pixel lines, exactly the
                        window's pixels (default: antialiased)
  --raster-path P       for aliased PNG: direct (our own rasteriser, default)
                        or painter (QPainter, for comparisons)
  --save PATH           also write the fractal, with the --days change, as a
                        fractal file
  --stats               print one JSON object on stdout: name, kind, days,
                        lines, pixels, moves (the drawing's calls; 0 with
                        --bounds-only), bounds, scale, seconds_bounds,
                        seconds_draw, seconds_encode, peak_rss_mb
  --bounds-only         compute the bounds and statistics, draw nothing
  -q, --quiet           no progress bar
  -h, --help            this text

A .txt output lists the fractal's own drawing, one element a line, in model
units with 9 significant digits: "L x1 y1 x2 y2" a line, "P x y" a pixel,
"M x y" a pen move. Overlays are pictures and are left out of it.

Ctrl-C stops the drawing; nothing is written then. Output files are replaced
only once they are complete.

Exit status: 0 done, 1 not a usable fractal, 2 bad options, 3 a file could
not be read or written, 130 interrupted.
)";
}
