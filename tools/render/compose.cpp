#include "compose.h"

#include "core/text_archive.h"
#include "engine/compose.h"
#include "render_options.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <sstream>

namespace {

// Larger than any component file; guards against reading a device forever.
constexpr qint64 kMaxComponentFileSize = 16 << 20;

ComposedFractal Fail(int exitCode, const std::string& message)
{
    std::fprintf(stderr, "kaleidra-render: %s\n", message.c_str());
    return {FractalPtr(), exitCode};
}

// The first word of `text`.
std::string FirstWord(const std::string& text)
{
    std::istringstream stream(text);
    std::string word;
    stream >> word;
    return word;
}

} // namespace

std::optional<std::string> CheckCompose(const std::string& kind,
                                        const std::vector<std::string>& files)
{
    const std::optional<ComposeKind> composeKind = ComposeKindFromName(kind);
    if (!composeKind) {
        return "needs a KIND: std, ifs, mcrm, lsys or automaton";
    }
    const std::vector<ComponentType> types = ComponentsOf(*composeKind);
    if (files.size() != types.size()) {
        std::string names;
        for (ComponentType type : types) {
            names += names.empty() ? "" : " and ";
            names += ComponentTypeName(type);
        }
        return kind + " needs " + std::to_string(types.size()) + " file(s): " + names;
    }
    return std::nullopt;
}

std::optional<UsageError> TakeCompose(const std::vector<std::string>& args, std::size_t& i,
                                      const std::optional<std::string>& inlineValue,
                                      RenderOptions& o)
{
    o.compose = true;
    if (inlineValue) {
        o.composeKind = *inlineValue;
    } else if (i + 1 < args.size()) {
        o.composeKind = args[++i];
    }
    // The files run up to the next option.
    while (i + 1 < args.size() && args[i + 1].rfind('-', 0) != 0) {
        o.composeFiles.push_back(args[++i]);
    }
    if (const std::optional<std::string> why = CheckCompose(o.composeKind, o.composeFiles)) {
        return UsageError{"--compose: " + *why};
    }
    return std::nullopt;
}

ComposedFractal ComposeFromFiles(const RenderOptions& o)
{
    const std::optional<ComposeKind> kind = ComposeKindFromName(o.composeKind);
    if (!kind || CheckCompose(o.composeKind, o.composeFiles)) {
        return Fail(kExitUsage,
                    "--compose: " +
                        CheckCompose(o.composeKind, o.composeFiles).value_or("bad request"));
    }
    const std::vector<ComponentType> types = ComponentsOf(*kind);
    Components parts;
    for (std::size_t i = 0; i < types.size(); ++i) {
        const std::string& path = o.composeFiles[i];
        const QString qpath = QString::fromStdString(path);
        QFile file(qpath);
        if (QFileInfo(qpath).isDir() || !file.open(QIODevice::ReadOnly)) {
            return Fail(kExitIo, path + ": cannot read (" +
                                     (QFileInfo(qpath).isDir() ? std::string("it is a directory")
                                                               : file.errorString().toStdString()) +
                                     ")");
        }
        const QByteArray bytes = file.read(kMaxComponentFileSize + 1);
        if (file.error() != QFileDevice::NoError) {
            return Fail(kExitIo, path + ": cannot read (" + file.errorString().toStdString() + ")");
        }
        const std::string text = bytes.toStdString();
        const std::string header = ComponentHeader(types[i]);
        if (bytes.size() > kMaxComponentFileSize || FirstWord(text) != header) {
            return Fail(kExitUnusable, path + ": the " + ComponentTypeName(types[i]) +
                                           " file should start with " + header);
        }
        std::stringstream stream(text);
        CTextArchive archive(stream);
        ReadComponent(types[i], archive, parts);
    }
    const std::string name = o.name.value_or(ComposedName(*kind));
    const int days = o.days.value_or(ComposedDays(*kind));
    FractalPtr fractal = ComposeFractal(*kind, name, days, parts);
    if (!fractal || fractal->m_bad) {
        return Fail(kExitUnusable, "--compose " + o.composeKind +
                                       ": not a usable fractal (the components lack what a " +
                                       o.composeKind + " fractal needs to be drawn)");
    }
    return {fractal, kExitOk};
}
