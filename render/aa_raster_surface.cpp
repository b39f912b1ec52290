#include "render/aa_raster_surface.h"

#include "render/gdi_surface.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// floor() without a library call, for the coordinates a picture can have.
inline int Floor(double v)
{
    const int i = static_cast<int>(v);
    return v < static_cast<double>(i) ? i - 1 : i;
}

// Device coordinates far outside any picture are held here, so that the
// integer arithmetic below never overflows; lines are still cut exactly at
// the picture's edge by their own loops.
constexpr double kFar = 1 << 28;

inline double Limit(double v)
{
    return v < -kFar ? -kFar : (v > kFar ? kFar : v);
}

// v / 255 rounded to the nearest, for v in 0 .. 255 * 255.
constexpr int Div255(int v)
{
    v += 128;
    return (v + (v >> 8)) >> 8;
}

// What a pixel's coverage becomes with another laid over it, for every
// pair: a look-up instead of a multiplication and a division. Built by the
// compiler, so it is there before anything draws.
struct OverTable
{
    std::uint8_t over[256][256] = {};
    constexpr OverTable()
    {
        for (int p = 0; p < 256; ++p) {
            for (int a = 0; a < 256; ++a) {
                over[p][a] = static_cast<std::uint8_t>(p + Div255((255 - p) * a));
            }
        }
    }
};
constexpr OverTable kOver;

// Lays a coverage `a` (0 .. 255) over a pixel's, as source-over lays an
// alpha: what showed through keeps showing through 1 - a of it. The
// coverage is taken as a byte, so the look-up never leaves the table.
inline void Cover(std::uint8_t& pixel, int a)
{
    pixel = kOver.over[pixel][static_cast<std::uint8_t>(a)];
}

// A fraction of a pixel (0 .. 1) in 255ths.
inline int Levels(double fraction)
{
    return static_cast<int>(fraction * 255.0 + 0.5);
}

} // namespace

AaRasterSurface::AaRasterSurface(QImage& image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        if (!image.isNull()) {
            m_image = &image;
            m_width = image.width();
            m_height = image.height();
        }
        break;
    default:
        break;
    }
}

AaRasterSurface::AaRasterSurface(const AaRasterSurface& parent, int)
    : m_width(parent.m_width), m_height(parent.m_height), m_scale(parent.m_scale),
      m_offsetX(parent.m_offsetX), m_offsetY(parent.m_offsetY), m_transform(parent.m_transform),
      m_color(parent.m_color)
{
}

void AaRasterSurface::SetMapping(const IsotropicParams& mapping)
{
    ForgetLastEnd();
    m_scale = mapping.scale;
    m_offsetX =
        mapping.viewportOrigin.x() - mapping.windowOrigin.x() * mapping.scale + mapping.pixelOffset;
    m_offsetY =
        mapping.viewportOrigin.y() - mapping.windowOrigin.y() * mapping.scale + mapping.pixelOffset;
}

void AaRasterSurface::SetProgress(ProgressFn progress, void* arg, int shift)
{
    m_progress = progress;
    m_progressArg = arg;
    m_progressMask = (std::int64_t{1} << std::clamp(shift, 0, 40)) - 1;
}

QPointF AaRasterSurface::ToDevice(double x, double y) const
{
    double X = x;
    double Y = y;
    if (m_transform != nullptr) {
        const AffineMap& m = *m_transform;
        X = m.a * x + m.b * y + m.e;
        Y = m.c * x + m.d * y + m.f;
    }
    // Whole logical units first, exactly as the painter's surface truncates.
    return {Limit(TruncateToDevice(X) * m_scale + m_offsetX),
            Limit(TruncateToDevice(Y) * m_scale + m_offsetY)};
}

void AaRasterSurface::Finish()
{
    if (m_cover.empty() || m_image == nullptr) {
        m_cover.clear();
        return;
    }
    const int red = RedOf(m_color);
    const int green = GreenOf(m_color);
    const int blue = BlueOf(m_color);
    const bool premultiplied = m_image->format() == QImage::Format_ARGB32_Premultiplied;
    const auto blend = [&](QRgb pixel, int c) {
        // The colour over what was there, as source-over with the coverage
        // c; rounded to the nearest level.
        const QRgb under = premultiplied ? qUnpremultiply(pixel) : pixel;
        const int t = 255 - c;
        const auto mix = [c, t](int below, int over) { return Div255(over * c + below * t); };
        const QRgb out = qRgba(mix(qRed(under), red), mix(qGreen(under), green),
                               mix(qBlue(under), blue), mix(qAlpha(under), 255));
        return premultiplied ? qPremultiply(out) : out;
    };
    // A figure is mostly drawn over one background: what each coverage
    // makes of the first pixel met is worked out once.
    bool known = false;
    QRgb usual = 0;
    QRgb over[256];
    const auto lay = [&](QRgb& pixel, int c) {
        if (c == 0) {
            return;
        }
        if (!known) {
            known = true;
            usual = pixel;
            for (int k = 0; k < 256; ++k) {
                over[k] = blend(usual, k);
            }
        }
        pixel = pixel == usual ? over[c] : blend(pixel, c);
    };
    for (int y = 0; y < m_height; ++y) {
        const std::uint8_t* cover = m_cover.data() + static_cast<std::size_t>(y) * m_width;
        auto* line = reinterpret_cast<QRgb*>(m_image->scanLine(y));
        int x = 0;
        // Most of a picture is bare: eight pixels are passed over at a time.
        for (; x + 8 <= m_width; x += 8) {
            std::uint64_t eight = 0;
            std::memcpy(&eight, cover + x, sizeof eight);
            if (eight != 0) {
                for (int k = x; k < x + 8; ++k) {
                    lay(line[k], cover[k]);
                }
            }
        }
        for (; x < m_width; ++x) {
            lay(line[x], cover[x]);
        }
    }
    m_cover.clear();
}

template <bool Steep> void AaRasterSurface::Span(double a1, double b1, double a2, double b2)
{
    // `a` runs along the major axis, `b` across it.
    if (a1 > a2) {
        std::swap(a1, a2);
        std::swap(b1, b2);
    }
    const int majorSize = Steep ? m_height : m_width;
    const int minorSize = Steep ? m_width : m_height;
    const double length = a2 - a1;
    const double slope = length > 0.0 ? (b2 - b1) / length : 0.0;
    // The square cap: half a pixel beyond each end.
    const double start = a1 - 0.5;
    const double end = a2 + 0.5;
    const int from = Floor(start);
    const int to = Floor(end);
    std::uint8_t* const cover = m_cover.data();
    const std::size_t stride = static_cast<std::size_t>(m_width);
    const auto coverAt = [start, end](int i) {
        return std::min(end, i + 1.0) - std::max(start, double(i));
    };
    // The line's centre across each column is sampled half a pixel after
    // the column's centre, as the painter's stroker steps it, and split
    // between the two pixels whose centres are nearest.
    const int first = std::max(from, 0);
    const int last = std::min(to, majorSize - 1);
    double centre = b1 + slope * (first + 1.0 - a1) - 0.5;
    for (int i = first; i <= last; ++i, centre += slope) {
        double whole = 1.0;
        if (i == first || i == last) {
            whole = coverAt(i);
            if (whole <= 0.0) {
                continue;
            }
        }
        const int j = Floor(centre);
        const int below = Levels((centre - j) * whole);
        const int above = Levels(whole) - below;
        const std::size_t major = static_cast<std::size_t>(i);
        if (j >= 0 && j < minorSize) {
            Cover(cover[Steep ? major * stride + j : j * stride + major], above);
        }
        if (j + 1 >= 0 && j + 1 < minorSize) {
            const auto k = static_cast<std::size_t>(j + 1);
            Cover(cover[Steep ? major * stride + k : k * stride + major], below);
        }
    }
}

template <bool Steep> void AaRasterSurface::Straight(double level, double a1, double a2)
{
    // Along a row or a column, as all of a right-angled figure's lines
    // are: every column is split alike, only the caps cover less. The same
    // pixels as any other line's, with less work.
    const double lo = std::min(a1, a2);
    const double hi = std::max(a1, a2);
    const int majorSize = Steep ? m_height : m_width;
    const int minorSize = Steep ? m_width : m_height;
    const double start = lo - 0.5;
    const double end = hi + 0.5;
    const double entry = level - 0.5;
    // Inside the picture, truncation is the floor.
    if (!(start >= 0.0) || end >= majorSize || !(entry >= 1.0) || entry >= minorSize - 2.0) {
        Span<Steep>(lo, level, hi, level);
        return;
    }
    const auto from = static_cast<int>(start);
    const auto to = static_cast<int>(end);
    const std::size_t stride = static_cast<std::size_t>(m_width);
    const std::size_t along = Steep ? stride : 1;
    const std::size_t across = Steep ? 1 : stride;
    const auto j = static_cast<int>(entry);
    const double split = entry - j;
    std::uint8_t* p = m_cover.data() + static_cast<std::size_t>(from) * along +
                      static_cast<std::size_t>(j) * across;
    const auto cap = [&](double whole) {
        const int below = Levels(split * whole);
        Cover(p[0], Levels(whole) - below);
        Cover(p[across], below);
    };
    if (from == to) {
        cap(end - start);
        return;
    }
    cap(from + 1.0 - start);
    p += along;
    const int below = Levels(split);
    for (int i = from + 1; i < to; ++i, p += along) {
        Cover(p[0], 255 - below);
        Cover(p[across], below);
    }
    cap(end - to);
}

void AaRasterSurface::Segment(QPointF a, QPointF b)
{
    Segment(a.x(), a.y(), b.x(), b.y());
}

void AaRasterSurface::Segment(double ax, double ay, double bx, double by)
{
    if (m_width == 0) {
        return;
    }
    Allocate();
    if (ax == bx && ay == by) {
        // A line without length is a point of the pen, as a painter draws it.
        Dot(QPointF(ax, ay));
        return;
    }
    const bool steep = std::abs(by - ay) > std::abs(bx - ax);
    // `a` runs along the major axis, `b` across it, `a` growing. Chosen
    // without branches: a figure's lines turn every which way, and a
    // mispredicted branch costs what a column of pixels does.
    const double u1 = steep ? ay : ax;
    const double v1 = steep ? ax : ay;
    const double u2 = steep ? by : bx;
    const double v2 = steep ? bx : by;
    const bool reversed = u1 > u2;
    const double a1 = reversed ? u2 : u1;
    const double b1 = reversed ? v2 : v1;
    const double a2 = reversed ? u1 : u2;
    const double b2 = reversed ? v1 : v2;
    const int majorSize = steep ? m_height : m_width;
    const int minorSize = steep ? m_width : m_height;
    const double slope = (b2 - b1) / (a2 - a1);
    // The square cap: half a pixel beyond each end.
    const double start = a1 - 0.5;
    const double end = a2 + 0.5;
    const int from = Floor(start);
    const int to = Floor(end);
    // The line's centre across each column is sampled half a pixel after
    // the column's centre, as the painter's stroker steps it, and split
    // between the two pixels whose centres are nearest.
    const double entry = b1 + slope * (from + 1.0 - a1) - 0.5;
    const double exit = entry + slope * (to - from);
    if (from < 0 || to >= majorSize || std::min(entry, exit) < 1.0 ||
        std::max(entry, exit) >= minorSize - 2.0) {
        // Near or beyond an edge: every pixel tested.
        if (steep) {
            Span<true>(a1, b1, a2, b2);
        } else {
            Span<false>(a1, b1, a2, b2);
        }
        return;
    }
    const std::size_t stride = static_cast<std::size_t>(m_width);
    const std::size_t along = steep ? stride : 1;
    const std::size_t across = steep ? 1 : stride;
    std::uint8_t* const cover = m_cover.data();
    if (b1 == b2) {
        if (steep) {
            Straight<true>(b1, a1, a2);
        } else {
            Straight<false>(b1, a1, a2);
        }
        return;
    }
    double centre = entry;
    for (int i = from; i <= to; ++i, centre += slope) {
        const auto j = static_cast<int>(centre);
        // The part of the column the line covers: all of it but at the caps.
        const double whole = std::min(end, i + 1.0) - std::max(start, double(i));
        const int below = Levels((centre - j) * whole);
        std::uint8_t* const p =
            cover + static_cast<std::size_t>(i) * along + static_cast<std::size_t>(j) * across;
        Cover(p[0], Levels(whole) - below);
        Cover(p[across], below);
    }
}

void AaRasterSurface::Dot(QPointF p)
{
    // A point is one whole pixel, the nearest, as a cosmetic pen's point.
    const int x = Floor(p.x() + 0.5);
    const int y = Floor(p.y() + 0.5);
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    Allocate();
    m_cover[static_cast<std::size_t>(y) * m_width + x] = 255;
}

void AaRasterSurface::WithColor(Color color, const std::function<void()>& draw)
{
    if (color == m_color) {
        draw();
        return;
    }
    const Color saved = m_color;
    Finish();
    m_color = color;
    draw();
    Finish();
    m_color = saved;
}

void AaRasterSurface::MoveTo(double x, double y)
{
    SetCurrent(x, y);
    Count(m_moves);
}

void AaRasterSurface::SetPixel(double x, double y, Color color)
{
    WithColor(color, [&] { Dot(ToDevice(x, y)); });
    Count(m_pixels);
}

void AaRasterSurface::SetPixel(double x, double y)
{
    Dot(ToDevice(x, y));
    Count(m_pixels);
}

void AaRasterSurface::Line(double x1, double y1, double x2, double y2, Color color)
{
    const QPointF a = ToDevice(x1, y1);
    SetCurrent(x2, y2);
    WithColor(color, [&] { Segment(a, m_current); });
    Count(m_lines);
}

void AaRasterSurface::Line(double x1, double y1, double x2, double y2)
{
    // Chains start each line where the last one ended.
    const QPointF a = x1 == m_lastX && y1 == m_lastY ? m_current : ToDevice(x1, y1);
    SetCurrent(x2, y2);
    Segment(a, m_current);
    Count(m_lines);
}

void AaRasterSurface::LineTo(double x, double y, Color color)
{
    const QPointF a = m_current;
    SetCurrent(x, y);
    WithColor(color, [&] { Segment(a, m_current); });
    Count(m_lines);
}

void AaRasterSurface::LineTo(double x, double y)
{
    const QPointF a = m_current;
    SetCurrent(x, y);
    Segment(a, m_current);
    Count(m_lines);
}

void AaRasterSurface::Arrow(Point p, Polar v, int size, Color color)
{
    WithColor(color, [&] { Arrow(p, v, size); });
}

void AaRasterSurface::Arrow(Point p, Polar v, int size)
{
    const Point tip{p.x + std::cos(v.angle) * v.length, p.y + std::sin(v.angle) * v.length};
    const double angle1 = v.angle + 5.0 * pi / 6.0;
    const Point second{tip.x + std::cos(angle1) * size, tip.y + std::sin(angle1) * size};
    const double angle2 = angle1 + 2.0 * pi / 3.0;
    const Point third{second.x + std::cos(angle2) * size, second.y + std::sin(angle2) * size};
    const QPointF corners[3] = {ToDevice(tip.x, tip.y), ToDevice(second.x, second.y),
                                ToDevice(third.x, third.y)};
    for (int i = 0; i < 3; ++i) {
        Segment(corners[i], corners[(i + 1) % 3]);
    }
}

void AaRasterSurface::Circle(double cx, double cy, double r, Color color)
{
    WithColor(color, [&] { Circle(cx, cy, r); });
}

void AaRasterSurface::Circle(double cx, double cy, double r)
{
    const QPointF a = ToDevice(cx - r, cy - r);
    const QPointF b = ToDevice(cx + r, cy + r);
    const QPointF centre = (a + b) * 0.5;
    const double rx = 0.5 * std::abs(b.x() - a.x());
    const double ry = 0.5 * std::abs(b.y() - a.y());
    const int steps = static_cast<int>(std::clamp(std::max(rx, ry) * 4.0, 8.0, 65536.0));
    QPointF previous(centre.x() + rx, centre.y());
    for (int i = 1; i <= steps; ++i) {
        const double t = 2.0 * pi * i / steps;
        const QPointF next(centre.x() + rx * std::cos(t), centre.y() + ry * std::sin(t));
        Segment(previous, next);
        previous = next;
    }
}

void AaRasterSurface::Take(const DrawElement* elements, std::size_t count)
{
    const bool plain = m_transform == nullptr && m_width > 0;
    if (plain) {
        Allocate();
    }
    for (const DrawElement* e = elements; e != elements + count; ++e) {
        switch (e->op) {
        case DrawElement::Move:
            MoveTo(e->x2, e->y2);
            break;
        case DrawElement::Pixel:
            SetPixel(e->x2, e->y2);
            break;
        case DrawElement::Line:
            if (!plain) {
                Line(e->x1, e->y1, e->x2, e->y2);
                break;
            }
            // Line() without a transform, the mapping inlined:
            // each axis maps on its own, so an end that keeps a coordinate
            // of the last end keeps its device coordinate there.
            {
                const double ax = e->x1 == m_lastX
                                      ? m_current.x()
                                      : Limit(TruncateToDevice(e->x1) * m_scale + m_offsetX);
                const double ay = e->y1 == m_lastY
                                      ? m_current.y()
                                      : Limit(TruncateToDevice(e->y1) * m_scale + m_offsetY);
                const double bx =
                    e->x2 == e->x1 ? ax : Limit(TruncateToDevice(e->x2) * m_scale + m_offsetX);
                const double by =
                    e->y2 == e->y1 ? ay : Limit(TruncateToDevice(e->y2) * m_scale + m_offsetY);
                m_current = QPointF(bx, by);
                m_lastX = e->x2;
                m_lastY = e->y2;
                if (ay == by && ax != bx) {
                    Straight<false>(ay, ax, bx);
                } else if (ax == bx && ay != by) {
                    Straight<true>(ax, ay, by);
                } else {
                    Segment(ax, ay, bx, by);
                }
                Count(m_lines);
            }
            break;
        }
    }
}

std::unique_ptr<BatchSurface> AaRasterSurface::Fork()
{
    if (m_image == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<BatchSurface>(new AaRasterSurface(*this, 0));
}

void AaRasterSurface::Join(BatchSurface& piece)
{
    auto* other = dynamic_cast<AaRasterSurface*>(&piece);
    if (other == nullptr) {
        return;
    }
    m_lines += other->m_lines;
    m_pixels += other->m_pixels;
    m_moves += other->m_moves;
    if (other->m_cover.empty()) {
        return;
    }
    if (m_cover.empty()) {
        m_cover.swap(other->m_cover);
        return;
    }
    // Eight pixels at a time: a piece's coverage is mostly bare, and laying
    // no coverage leaves a pixel as it is.
    std::uint8_t* into = m_cover.data();
    const std::uint8_t* from = other->m_cover.data();
    const std::size_t size = m_cover.size();
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t eight = 0;
        std::memcpy(&eight, from + i, sizeof eight);
        if (eight != 0) {
            for (std::size_t k = i; k < i + 8; ++k) {
                Cover(into[k], from[k]);
            }
        }
    }
    for (; i < size; ++i) {
        Cover(into[i], from[i]);
    }
    other->m_cover.clear();
}
