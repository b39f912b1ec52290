#pragma once

// The random-preset commands: which presets a command opens. One of each
// kind opens five windows, kinds 0 to 4 in order; a command of one kind
// opens four windows with four different presets of that kind.

#include "app/start_options.h"

#include <QVector>

#include <functional>

// The kind of a four-of-a-kind command, kRandomEachKind for the command of
// one of each kind, kNotRandom for any other command.
inline constexpr int kRandomEachKind = -1;
inline constexpr int kNotRandom = -2;
int RandomCommandKind(int command);

// How many windows the command opens (0 for no random command).
int RandomCommandWindows(int command);

// The presets of the command, one per window in window order, drawn with
// `random` (the standard generator by default) in that order.
QVector<PresetChoice> DrawRandomPresets(int command, const std::function<unsigned()>& random = {});
