// The headless renderer. For now it lists the preset library.
#include "engine/presets.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--list-presets") == 0) {
        for (int kind = 0; kind < kKindCount; ++kind) {
            for (int index = 0; index < PresetCount(kind); ++index) {
                FractalPtr fractal = CreatePreset(kind, index);
                std::printf("%d\t%d\t%d\t%s\n", kind, index, fractal ? fractal->m_days : 0,
                            PresetName(kind, index));
            }
        }
        return 0;
    }
    std::fprintf(stderr, "usage: kaleidra-render --list-presets\n");
    return 2;
}
