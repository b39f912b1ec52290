#include "app/random_presets.h"

#include "app/shuffle_bag.h"
#include "engine/presets.h"
#include "ids/command_ids.h"

#include <cstdlib>

namespace {

constexpr int kFourOfAKind = 4;

struct RandomCommand
{
    int command;
    int kind;
};

constexpr RandomCommand kRandomCommands[] = {
    {Cmd::RandomOneOfEach, kRandomEachKind},
    {Cmd::RandomStandard, 0},
    {Cmd::RandomIfs, 1},
    {Cmd::RandomMcrm, 2},
    {Cmd::RandomLsys, 3},
    {Cmd::RandomAutomaton, 4},
};

} // namespace

int RandomCommandKind(int command)
{
    for (const RandomCommand& entry : kRandomCommands) {
        if (entry.command == command) {
            return entry.kind;
        }
    }
    return kNotRandom;
}

int RandomCommandWindows(int command)
{
    switch (RandomCommandKind(command)) {
    case kNotRandom:
        return 0;
    case kRandomEachKind:
        return kKindCount;
    default:
        return kFourOfAKind;
    }
}

QVector<PresetChoice> DrawRandomPresets(int command, const std::function<unsigned()>& random)
{
    const auto next = [&random]() {
        return random ? random() : static_cast<unsigned>(std::rand());
    };
    QVector<PresetChoice> presets;
    const int kind = RandomCommandKind(command);
    if (kind == kNotRandom) {
        return presets;
    }
    if (kind == kRandomEachKind) {
        for (int k = 0; k < kKindCount; ++k) {
            presets.append({k, static_cast<int>(next() % static_cast<unsigned>(PresetCount(k)))});
        }
        return presets;
    }
    ShuffleBag bag(PresetCount(kind) - 1);
    for (int i = 0; i < kFourOfAKind && !bag.IsEmpty(); ++i) {
        presets.append({kind, bag.Draw(next())});
    }
    return presets;
}
