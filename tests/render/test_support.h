#pragma once

// Helpers shared by the rendering tests: a Gui application for the tests
// that need fonts, images to paint into, and fractals read from text.

#include "core/text_archive.h"
#include "engine/create_fractal.h"
#include "engine/fractal.h"

#include <QGuiApplication>
#include <QImage>
#include <QPoint>

#include <sstream>
#include <string>
#include <vector>

// Text needs a Gui application; one is made on first use and kept.
inline void EnsureGuiApp()
{
    if (QGuiApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "render_tests";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv); // NOLINT: lives for the whole run
    }
}

inline QImage WhiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(0xffffffff);
    return image;
}

// The pixels that are not `background`, row by row.
inline std::vector<QPoint> LitPixels(const QImage& image, QRgb background = 0xffffffff)
{
    std::vector<QPoint> lit;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) | 0xff000000) != (background | 0xff000000)) {
                lit.emplace_back(x, y);
            }
        }
    }
    return lit;
}

inline FractalPtr FractalFromText(const std::string& text)
{
    std::stringstream stream(text);
    CTextArchive archive(stream);
    FractalPtr fractal;
    if (!CreateFractal(fractal, archive)) {
        return {};
    }
    return fractal;
}

// Koch's snowflake written out, so the tests do not depend on the presets.
inline const char* const kKochText = "[type] std\n[name] koch\n[ndays] 4\n"
                                     "[initiators] 3\n0,0\n1,0\n0.5,0.866025\n0,0\n"
                                     "[generator] 4\n0,0,0.333333\n0,-1.0472,0.333333\n"
                                     "0,1.0472,0.333333\n0,0,0.333333\n";

// Heighway's dragon as an automaton on four directions.
inline const char* const kDragonText =
    "[type] automaton\n[name] dragon\n[ndays] 12\n"
    "[axioms] 1\n0 \n[productions] 4\n2( 0 1 )\n2( 2 1 )\n2( 2 3 )\n2( 0 3 )\n"
    "[generator] 4\n0,0,1\n0,-1.5708,1\n0,-3.14159,1\n0,-4.71239,1\n";

// A fern drawn as the points of an IFS.
inline const char* const kFernText = "[type] ifs\n[name] fern\n[ndays] 7\n[affine] 4\n"
                                     "( 0.849,0.037,-0.037,0.849 ) ( 0.075,0.183 )\n"
                                     "( 0.197,-0.226,0.226,0.197 ) ( 0.4,0.049 )\n"
                                     "( -0.15,0.283,0.26,0.237 ) ( 0.575,-0.084 )\n"
                                     "( 0,0,0,0.16 ) ( 0.5,0 )\n";
