// kaleidra-baseline: the five benchmark figures computed as plainly as C++
// allows, as the yardstick for kaleidra-render. Each construction is written
// once as a template over a sink and fused with it by the compiler: a box
// sink gives the bounding box, a raster sink one-pixel Bresenham lines into
// an 8-bit buffer through the same truncation and isotropic fit as a window.
//
//   kaleidra-baseline FIGURE [DAYS] [--raster SIZE]
//   FIGURE: koch | fern | gasket | hilbert | dragon
//
// Prints one JSON object: the figure, its elements, its box in model units,
// the seconds of the box and of the raster, and the raster's lit pixels.

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793238462643383279502884;

struct Vec
{
    double x = 0.0;
    double y = 0.0;
};

// --- Sinks -----------------------------------------------------------------

struct BoxSink
{
    double minX = std::numeric_limits<double>::max();
    double minY = std::numeric_limits<double>::max();
    double maxX = std::numeric_limits<double>::lowest();
    double maxY = std::numeric_limits<double>::lowest();
    std::int64_t elements = 0;

    void Add(double x, double y)
    {
        minX = x < minX ? x : minX;
        minY = y < minY ? y : minY;
        maxX = x > maxX ? x : maxX;
        maxY = y > maxY ? y : maxY;
    }
    void Line(double x1, double y1, double x2, double y2)
    {
        Add(x1, y1);
        Add(x2, y2);
        ++elements;
    }
    void Point(double x, double y)
    {
        Add(x, y);
        ++elements;
    }
};

// Whole logical units by truncation, then the isotropic fit: the pixel a
// window's one-pixel pen lights.
struct RasterSink
{
    std::vector<std::uint8_t> pixels;
    int width = 0;
    int height = 0;
    double scale = 1.0;
    double offsetX = 0.0;
    double offsetY = 0.0;
    std::int64_t elements = 0;

    static std::int64_t Floor(double v)
    {
        const auto i = static_cast<std::int64_t>(v);
        return v < static_cast<double>(i) ? i - 1 : i;
    }
    static double Trunc(double v)
    {
        return static_cast<double>(static_cast<std::int64_t>(std::clamp(v, -1.6e7, 1.6e7)));
    }
    void Plot(std::int64_t x, std::int64_t y)
    {
        if (x >= 0 && y >= 0 && x < width && y < height) {
            pixels[static_cast<std::size_t>(y * width + x)] = 1;
        }
    }
    void Line(double x1, double y1, double x2, double y2)
    {
        ++elements;
        std::int64_t ax = Floor(Trunc(x1) * scale + offsetX);
        std::int64_t ay = Floor(Trunc(y1) * scale + offsetY);
        const std::int64_t bx = Floor(Trunc(x2) * scale + offsetX);
        const std::int64_t by = Floor(Trunc(y2) * scale + offsetY);
        const std::int64_t dx = std::abs(bx - ax);
        const std::int64_t dy = -std::abs(by - ay);
        const std::int64_t sx = ax < bx ? 1 : -1;
        const std::int64_t sy = ay < by ? 1 : -1;
        std::int64_t err = dx + dy;
        for (std::int64_t n = std::max(dx, -dy); n > 0; --n) {
            Plot(ax, ay);
            const std::int64_t e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                ax += sx;
            }
            if (e2 <= dx) {
                err += dx;
                ay += sy;
            }
        }
        Plot(ax, ay);
    }
    void Point(double x, double y)
    {
        ++elements;
        Plot(Floor(Trunc(x) * scale + offsetX + 0.5), Floor(Trunc(y) * scale + offsetY + 0.5));
    }
};

// --- Constructions, each drawing at a scale ---------------------------------

// Standard: every segment replaced by the generator, n times. The generator
// is a list of factors r*e^(i*alpha): a sub-step is the segment's vector
// times the factor, no angle ever computed.
template <typename Sink> struct Koch
{
    Sink& sink;
    std::array<Vec, 4> factors{};

    void Substitute(Vec p, Vec q, int depth)
    {
        if (depth == 0) {
            sink.Line(p.x, p.y, q.x, q.y);
            return;
        }
        const Vec d{q.x - p.x, q.y - p.y};
        for (const Vec& f : factors) {
            const Vec next{p.x + d.x * f.x - d.y * f.y, p.y + d.x * f.y + d.y * f.x};
            Substitute(p, next, depth - 1);
            p = next;
        }
    }
    void Run(int days, double scale)
    {
        const double third = 1.0 / 3.0;
        const double angles[4] = {0.0, -kPi / 3.0, kPi / 3.0, 0.0};
        for (int i = 0; i < 4; ++i) {
            factors[static_cast<std::size_t>(i)] = {third * std::cos(angles[i]),
                                                    third * std::sin(angles[i])};
        }
        const Vec points[4] = {{0, 0}, {1, 0}, {0.5, std::sin(kPi / 3.0)}, {0, 0}};
        for (int i = 0; i < 3; ++i) {
            Substitute({points[i].x * scale, points[i].y * scale},
                       {points[i + 1].x * scale, points[i + 1].y * scale}, days);
        }
    }
};

struct Map
{
    double a, b, c, d, e, f;
};

// IFS: every sequence of maps applied to the origin, one point each.
template <typename Sink> struct Fern
{
    Sink& sink;
    std::array<Map, 4> maps{{{0.849, 0.037, -0.037, 0.849, 0.075, 0.183},
                             {0.197, -0.226, 0.226, 0.197, 0.4, 0.049},
                             {-0.15, 0.283, 0.26, 0.237, 0.575, -0.084},
                             {0, 0, 0, 0.16, 0.5, 0}}};
    double scale = 1.0;

    void Iterate(double x, double y, int depth)
    {
        if (depth == 0) {
            sink.Point(x, y);
            return;
        }
        for (const Map& m : maps) {
            Iterate(m.a * x + m.b * y + scale * m.e, m.c * x + m.d * y + scale * m.f, depth - 1);
        }
    }
    void Run(int days, double s)
    {
        scale = s;
        Iterate(0, 0, days);
    }
};

// MCRM: a triangle copied through three half-size maps, n times over; the
// leaves draw the composed map's copy of the figure.
template <typename Sink> struct Gasket
{
    Sink& sink;
    std::array<Map, 3> maps{
        {{0.5, 0, 0, 0.5, 0, 0}, {0.5, 0, 0, 0.5, 0.5, 0}, {0.5, 0, 0, 0.5, 0.25, 0.5}}};
    std::array<Vec, 4> figure{};
    double scale = 1.0;

    void Copy(const Map& m, int depth)
    {
        if (depth == 0) {
            Vec previous{m.a * figure[0].x + m.b * figure[0].y + m.e,
                         m.c * figure[0].x + m.d * figure[0].y + m.f};
            for (int i = 1; i < 4; ++i) {
                const Vec& p = figure[static_cast<std::size_t>(i)];
                const Vec next{m.a * p.x + m.b * p.y + m.e, m.c * p.x + m.d * p.y + m.f};
                sink.Line(previous.x, previous.y, next.x, next.y);
                previous = next;
            }
            return;
        }
        for (const Map& a : maps) {
            // a' o m: m first, then a with its translation scaled.
            const Map c{a.a * m.a + a.b * m.c,
                        a.a * m.b + a.b * m.d,
                        a.c * m.a + a.d * m.c,
                        a.c * m.b + a.d * m.d,
                        a.a * m.e + a.b * m.f + scale * a.e,
                        a.c * m.e + a.d * m.f + scale * a.f};
            Copy(c, depth - 1);
        }
    }
    void Run(int days, double s)
    {
        scale = s;
        Vec p{0, 0};
        figure[0] = p;
        for (int k = 0; k < 3; ++k) {
            const double angle = kPi / 2.0 + 2.0 * kPi * k / 3.0;
            p = {p.x + s * std::cos(angle), p.y + s * std::sin(angle)};
            figure[static_cast<std::size_t>(k + 1)] = p;
        }
        Copy({1, 0, 0, 1, 0, 0}, days);
    }
};

// L-system: Hilbert's curve by a turtle on four headings (X -> -YF+XFX+FY-,
// Y -> +XF-YFY-FX+, F -> F), the word never built.
template <typename Sink> struct Hilbert
{
    Sink& sink;
    std::array<Vec, 4> steps{};
    Vec position{};
    int heading = 0;

    void Interpret(char ch, int depth)
    {
        switch (ch) {
        case '+':
            heading = (heading + 1) & 3;
            return;
        case '-':
            heading = (heading + 3) & 3;
            return;
        case 'F': {
            // The preset's rule F -> F carries every F down to the last
            // generation unchanged: each one is a step.
            const Vec& s = steps[static_cast<std::size_t>(heading)];
            const Vec next{position.x + s.x, position.y + s.y};
            sink.Line(position.x, position.y, next.x, next.y);
            position = next;
            return;
        }
        case 'X':
        case 'Y':
            if (depth > 0) {
                for (const char* r = ch == 'X' ? "-YF+XFX+FY-" : "+XF-YFY-FX+"; *r != 0; ++r) {
                    Interpret(*r, depth - 1);
                }
            }
            return;
        default:
            return;
        }
    }
    void Run(int days, double s)
    {
        for (int i = 0; i < 4; ++i) {
            const double angle = -2.0 * kPi * i / 4.0;
            steps[static_cast<std::size_t>(i)] = {s * std::cos(angle), s * std::sin(angle)};
        }
        Interpret('X', days);
    }
};

// Automaton: Heighway's dragon as the chain of a four-symbol substitution.
template <typename Sink> struct Dragon
{
    Sink& sink;
    std::array<Vec, 4> steps{};
    static constexpr int kProductions[4][2] = {{0, 1}, {2, 1}, {2, 3}, {0, 3}};

    Vec Grow(int depth, Vec p, int symbol)
    {
        if (depth == 0) {
            const Vec& s = steps[static_cast<std::size_t>(symbol)];
            const Vec q{p.x + s.x, p.y + s.y};
            sink.Line(p.x, p.y, q.x, q.y);
            return q;
        }
        p = Grow(depth - 1, p, kProductions[symbol][0]);
        return Grow(depth - 1, p, kProductions[symbol][1]);
    }
    void Run(int days, double s)
    {
        for (int i = 0; i < 4; ++i) {
            const double angle = -2.0 * kPi * i / 4.0;
            steps[static_cast<std::size_t>(i)] = {s * std::cos(angle), s * std::sin(angle)};
        }
        Grow(days, {0, 0}, 0);
    }
};

template <template <typename> class Figure, typename Sink> void Draw(Sink& sink, int days, double s)
{
    Figure<Sink> figure{sink};
    figure.Run(days, s);
}

template <typename Sink> bool Dispatch(const std::string& name, Sink& sink, int days, double s)
{
    if (name == "koch") {
        Draw<Koch>(sink, days, s);
    } else if (name == "fern") {
        Draw<Fern>(sink, days, s);
    } else if (name == "gasket") {
        Draw<Gasket>(sink, days, s);
    } else if (name == "hilbert") {
        Draw<Hilbert>(sink, days, s);
    } else if (name == "dragon") {
        Draw<Dragon>(sink, days, s);
    } else {
        return false;
    }
    return true;
}

int DefaultDays(const std::string& name)
{
    return name == "koch"      ? 10
           : name == "fern"    ? 9
           : name == "gasket"  ? 8
           : name == "hilbert" ? 10
                               : 24;
}

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: kaleidra-baseline koch|fern|gasket|hilbert|dragon [DAYS] "
                             "[--raster SIZE]\n");
        return 2;
    }
    const std::string name = argv[1];
    int days = DefaultDays(name);
    int size = 0;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--raster") == 0 && i + 1 < argc) {
            size = std::atoi(argv[++i]);
        } else {
            days = std::atoi(argv[i]);
        }
    }

    BoxSink box;
    const auto boundsStart = std::chrono::steady_clock::now();
    if (!Dispatch(name, box, days, 1.0)) {
        std::fprintf(stderr, "kaleidra-baseline: unknown figure %s\n", name.c_str());
        return 2;
    }
    const double boundsSeconds = Seconds(boundsStart);

    double rasterSeconds = 0.0;
    std::int64_t lit = 0;
    if (size > 0) {
        // The window's fit: scaled to 32767 units, window truncated, one
        // scale for both axes, centred.
        const double width = box.maxX - box.minX;
        const double height = box.maxY - box.minY;
        const double scale =
            std::min(width > 0 ? 32767.0 / width : 1e308, height > 0 ? 32767.0 / height : 1e308);
        const double W = std::trunc(width * scale);
        const double H = std::trunc(height * scale);
        const double x0 = std::trunc(scale * box.minX);
        const double y0 = std::trunc(scale * box.minY);
        const double s = std::min(size / W, size / H);
        RasterSink raster;
        raster.width = raster.height = size;
        raster.pixels.assign(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), 0);
        raster.scale = s;
        raster.offsetX = std::trunc((size - W * s) * 0.5) - x0 * s;
        raster.offsetY = std::trunc((size - H * s) * 0.5) - y0 * s;
        const auto rasterStart = std::chrono::steady_clock::now();
        Dispatch(name, raster, days, scale);
        rasterSeconds = Seconds(rasterStart);
        for (std::uint8_t p : raster.pixels) {
            lit += p;
        }
    }

    std::printf("{\"figure\":\"%s\",\"days\":%d,\"elements\":%lld,\"bounds\":{\"minX\":%.17g,"
                "\"maxX\":%.17g,\"minY\":%.17g,\"maxY\":%.17g},\"seconds_bounds\":%.6f,"
                "\"seconds_raster\":%.6f,\"lit\":%lld}\n",
                name.c_str(), days, static_cast<long long>(box.elements), box.minX, box.maxX,
                box.minY, box.maxY, boundsSeconds, rasterSeconds, static_cast<long long>(lit));
    return 0;
}
