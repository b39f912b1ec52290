#pragma once

// --compose KIND FILE... [--name TEXT]: the fractal the design sheet's page
// of that kind builds, made from component files instead of open documents.

#include "engine/fractal.h"
#include "render_options.h"

#include <optional>
#include <string>
#include <vector>

// Takes "--compose KIND FILE..." from args[i] on (KIND after '=' when
// `inlineValue` holds it), leaving `i` on the last file; the usage error of
// a malformed request.
std::optional<UsageError> TakeCompose(const std::vector<std::string>& args, std::size_t& i,
                                      const std::optional<std::string>& inlineValue,
                                      RenderOptions& o);

// The usage error of a --compose request (an unknown kind, the wrong number
// of files), or nothing when it is well formed.
std::optional<std::string> CheckCompose(const std::string& kind,
                                        const std::vector<std::string>& files);

struct ComposedFractal
{
    FractalPtr fractal;
    int exitCode = 0;
};

// Reads the component files of `o` and composes the fractal, named
// o.name (default: the design sheet's word for the kind) with o.days days
// (default: the design sheet's count). A file that cannot be read gives
// exit 3, a file of another type or a fractal that cannot be drawn exit 1,
// each with a one-line reason on stderr.
ComposedFractal ComposeFromFiles(const RenderOptions& o);
