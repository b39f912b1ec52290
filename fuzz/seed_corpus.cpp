// Writes the preset seeds of the fuzz corpus: one fractal file per kind and
// one section input per section reader, all saved from built-in presets, so
// the seeds follow the file format wherever it goes. The hand-written damaged
// seeds beside them are kept as they are.
//
//   fuzz_seed_corpus fuzz/corpus

#include "core/text_archive.h"
#include "engine/affine_map_set.h"
#include "engine/automaton.h"
#include "engine/lsystem.h"
#include "engine/pattern.h"
#include "engine/presets.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

bool Write(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

template <typename Model> std::string SaveText(const Model& model)
{
    std::stringstream out;
    CTextArchive ar(out);
    model.Save(ar);
    return out.str();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    bool ok = true;

    // Small presets of each kind: koch, the IFS gasket, Cantor's maze machine,
    // the Hilbert L-system and Heighway's dragon.
    const struct
    {
        int kind;
        int index;
        const char* file;
    } fractals[] = {{0, 9, "preset-std.txt"},
                    {1, 0, "preset-ifs.txt"},
                    {2, 9, "preset-mcrm.txt"},
                    {3, 1, "preset-lsys.txt"},
                    {4, 10, "preset-automaton.txt"}};
    for (const auto& seed : fractals) {
        FractalPtr f = CreatePreset(seed.kind, seed.index);
        std::stringstream out;
        CTextArchive ar(out);
        f->Save(ar);
        ok = Write(root + "/fuzz_fractal/" + seed.file, out.str()) && ok;
    }

    // Section inputs: the selector digit, then the section as saved.
    const std::string sections = root + "/fuzz_sections/";
    FractalPtr koch = CreatePreset(0, 9);
    FractalPtr maze = CreatePreset(2, 9);
    FractalPtr hilbert = CreatePreset(3, 1);
    FractalPtr dragon = CreatePreset(4, 10);
    ok = Write(sections + "0-generator.txt", "0" + SaveText(*koch->GetGenerator())) && ok;
    ok = Write(sections + "1-initiators.txt", "1" + SaveText(*koch->GetInitiators())) && ok;
    ok = Write(sections + "2-affine.txt", "2" + SaveText(*maze->GetAffineMaps())) && ok;
    const LSystem& lsystem = *hilbert->GetLsystem();
    ok = Write(sections + "3-lsystem.txt",
               "3" + SaveText(lsystem.axiom) + SaveText(lsystem.rules)) &&
         ok;
    ok = Write(sections + "4-directions.txt", "4" + SaveText(*hilbert->GetDirections())) && ok;
    ok = Write(sections + "5-automaton.txt", "5" + SaveText(*dragon->GetAutomaton())) && ok;

    if (!ok) {
        std::fprintf(stderr, "cannot write the seeds under %s\n", root.c_str());
        return 1;
    }
    return 0;
}
