#pragma once

// The kind factory: a fractal file's "[type]" keyword picks one of the five
// kinds, which then reads the rest of the file. Kept apart from the base
// class, which knows none of its kinds.

#include "engine/fractal.h"

#include <string>

class CTextArchive;

// Reads "[type]" and its keyword and constructs that kind from the rest of
// the archive. An unknown keyword returns false and leaves `out` alone; a
// known one replaces `out` with the new fractal, which may be unusable
// (m_bad). True when `out` then holds a usable fractal. Never throws.
bool CreateFractal(FractalPtr& out, CTextArchive& ar);

// How reading a whole fractal file went. A file read completely may still
// describe a fractal that cannot be drawn (no initiators, say); one that
// was not read completely is damaged, and `line` says where it broke off.
struct FractalReadReport
{
    bool complete = true;
    // 1-based line of the first value that could not be read; 0 when the
    // file was read completely.
    int line = 0;
    // The line is past the last value: the file ends too early.
    bool endOfFile = false;
};

// CreateFractal over the whole text of a file, telling whether every value
// it asked for was there and, if not, where the text stopped making sense.
bool ReadFractalText(const std::string& text, FractalPtr& out, FractalReadReport& report);
