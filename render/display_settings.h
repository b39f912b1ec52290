#pragma once

// What a fractal view paints with: its seven colours, which parts of the
// construction it shows, and the roles the colours play. Views own one each
// and never store it; the worker that paints reads it.

#include "surface/drawing_surface.h"

#include <QRgb>
#include <QVector>

#include <array>
#include <cstddef>

// Entry 0 is the background, entries 1 to 6 are drawing colours. Entries 3
// to 6 are also the four colours a marker surface picks from by step flags.
using ColorSet = std::array<Color, 7>;

inline constexpr ColorSet kDefaultColorSet = {0xd2e0e1, 0x808080, 0x9e21d3, 0xcc0066,
                                              0x808040, 0x003399, 0x66ccff};

// A colour set as the framework passes colours (Qt's 0xAARRGGBB, opaque),
// and back; entries the list lacks keep the defaults.
inline QVector<QRgb> ToRgbList(const ColorSet& colors)
{
    QVector<QRgb> list;
    list.reserve(static_cast<int>(colors.size()));
    for (Color c : colors) {
        list.append(qRgb(RedOf(c), GreenOf(c), BlueOf(c)));
    }
    return list;
}

inline ColorSet FromRgbList(const QVector<QRgb>& list)
{
    ColorSet colors = kDefaultColorSet;
    for (std::size_t i = 0; i < colors.size() && i < static_cast<std::size_t>(list.size()); ++i) {
        const QRgb rgb = list[static_cast<int>(i)];
        colors[i] = MakeColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
    }
    return colors;
}

// Display flags: which parts of a fractal a view paints.
inline constexpr int kShowFractal = 1;
inline constexpr int kShowInitiator = 2;
inline constexpr int kShowGenerator = 4;

// The background and fractal colours a new view picks one pair of, at random.
inline constexpr std::array<ColorPair, 18> kBackgroundFractalPairs = {{
    {0xA6A6D2, 0x8000FF},
    {0x804000, 0xA3C7DE},
    {0xBAE1ED, 0x698639},
    {0x6AB5FF, 0x808000},
    {0xFFBBBB, 0x800040},
    {0xACACD5, 0x4D2064},
    {0xC0D8FE, 0xAE5E5E},
    {0x66CCFF, 0x000080},
    {0xB9D0F0, 0x000080},
    {0xE4C9C9, 0xB818FC},
    {0xB97373, 0xBCF5FE},
    {0xFFCEE7, 0x800080},
    {0xAEBAC8, 0x0080FF},
    {0x7BAAC4, 0xFF0000},
    {0x51D1F7, 0x629F2F},
    {0x80BFFF, 0xFF8080},
    {0x808000, 0xA8DAF2},
    {0x99A95A, 0x8BD0FE},
}};

struct DisplaySettings
{
    ColorSet colors = kDefaultColorSet;
    int flags = kShowFractal;

    // The colour roles: each names one entry of `colors`, so changing the
    // entry changes the role.
    Color& Background() { return colors[0]; }
    Color& FractalColor() { return colors[1]; }
    Color& InitiatorColor() { return colors[2]; }
    Color& GeneratorColor() { return colors[3]; }
    Color Background() const { return colors[0]; }
    Color FractalColor() const { return colors[1]; }
    Color InitiatorColor() const { return colors[2]; }
    Color GeneratorColor() const { return colors[3]; }
    // The four colours a marker surface selects from (entries 3 to 6).
    const Color* MarkerColors() const { return &colors[3]; }

    // Background and fractal colour from pair `random` modulo 18, as a new
    // view does with a pseudo-random number.
    void ChoosePair(unsigned random)
    {
        const ColorPair pair = kBackgroundFractalPairs[random % kBackgroundFractalPairs.size()];
        colors[0] = pair.first;
        colors[1] = pair.second;
    }
};
