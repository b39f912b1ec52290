#include "render/aa_raster_surface.h"

#include "engine/fractal_kind.h"
#include "render/gdi_surface.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using drawing::Cover;
using drawing::Div255;
using drawing::FixedPoint;
using drawing::LimitDevice;

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
    const FixedPoint p = ToFixed(x, y);
    return {drawing::FromFixed(p.x), drawing::FromFixed(p.y)};
}

FixedPoint AaRasterSurface::ToFixed(double x, double y) const
{
    const drawing::CoverageMapping map{m_scale, m_offsetX, m_offsetY};
    if (m_transform != nullptr) {
        const AffineMap& m = *m_transform;
        return map(m.a * x + m.b * y + m.e, m.c * x + m.d * y + m.f);
    }
    return map(x, y);
}

void AaRasterSurface::Finish()
{
    if (m_cover.empty() && !m_pieces.empty()) {
        m_cover.swap(m_pieces.back());
        m_pieces.pop_back();
    }
    if (m_cover.empty() || m_image == nullptr) {
        m_cover.clear();
        m_pieces.clear();
        return;
    }
    // A large picture's rows are laid by every thread, each its own rows.
    constexpr int kPixelsAThread = 1 << 18;
    const int threads =
        std::clamp(m_width * m_height / kPixelsAThread, 1, std::max(drawing::DrawingThreads(), 1));
    // The image's rows are reached through its bits, taken once here: its
    // scanLine() may not be called on several threads at once.
    uchar* const bits = m_image->bits();
    const qsizetype stride = m_image->bytesPerLine();
    drawing::RunOnThreads(threads, [&](int k) {
        Composite(bits, stride, m_height * k / threads, m_height * (k + 1) / threads);
    });
    m_cover.clear();
    m_pieces.clear();
}

void AaRasterSurface::Composite(uchar* bits, qsizetype stride, int from, int to)
{
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
    const auto lay = [&](QRgb& pixel, Coverage coverage) {
        const auto c = static_cast<int>(coverage);
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
    const auto width = static_cast<std::size_t>(m_width);
    std::vector<const Coverage*> rows(m_pieces.size() + 1);
    for (int y = from; y < to; ++y) {
        const std::size_t start = static_cast<std::size_t>(y) * width;
        rows[0] = m_cover.data() + start;
        for (std::size_t p = 0; p < m_pieces.size(); ++p) {
            rows[p + 1] = m_pieces[p].data() + start;
        }
        // The pieces drawn on other threads laid over this one's, as one
        // thread would have laid them.
        const auto covered = [&rows](std::size_t x) {
            Coverage c = rows[0][x];
            for (std::size_t p = 1; p < rows.size(); ++p) {
                Cover(c, static_cast<int>(rows[p][x]));
            }
            return c;
        };
        auto* line = reinterpret_cast<QRgb*>(bits + static_cast<qsizetype>(y) * stride);
        std::size_t x = 0;
        // Most of a picture is bare: eight pixels are passed over at a time.
        for (; x + 8 <= width; x += 8) {
            std::uint64_t own = 0;
            std::memcpy(&own, rows[0] + x, sizeof own);
            std::uint64_t others = 0;
            for (std::size_t p = 1; p < rows.size(); ++p) {
                std::uint64_t eight = 0;
                std::memcpy(&eight, rows[p] + x, sizeof eight);
                others |= eight;
            }
            if (others != 0) {
                for (std::size_t k = x; k < x + 8; ++k) {
                    lay(line[k], covered(k));
                }
            } else if (own != 0) {
                // Where no other piece drew, as most pixels are.
                for (std::size_t k = x; k < x + 8; ++k) {
                    lay(line[k], rows[0][k]);
                }
            }
        }
        for (; x < width; ++x) {
            lay(line[x], covered(x));
        }
    }
}

void AaRasterSurface::Segment(FixedPoint a, FixedPoint b)
{
    if (m_width == 0) {
        return;
    }
    Allocate();
    drawing::CoverLine(Image(), a.x, a.y, b.x, b.y);
}

void AaRasterSurface::Segment(QPointF a, QPointF b)
{
    using drawing::ToFixed;
    Segment(FixedPoint{ToFixed(LimitDevice(a.x())), ToFixed(LimitDevice(a.y()))},
            FixedPoint{ToFixed(LimitDevice(b.x())), ToFixed(LimitDevice(b.y()))});
}

void AaRasterSurface::Dot(FixedPoint p)
{
    if (m_width == 0) {
        return;
    }
    Allocate();
    drawing::CoverDot(Image(), p.x, p.y);
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
    WithColor(color, [&] { Dot(ToFixed(x, y)); });
    Count(m_pixels);
}

void AaRasterSurface::SetPixel(double x, double y)
{
    Dot(ToFixed(x, y));
    Count(m_pixels);
}

void AaRasterSurface::Line(double x1, double y1, double x2, double y2, Color color)
{
    const FixedPoint a = ToFixed(x1, y1);
    SetCurrent(x2, y2);
    WithColor(color, [&] { Segment(a, m_current); });
    Count(m_lines);
}

void AaRasterSurface::Line(double x1, double y1, double x2, double y2)
{
    // Chains start each line where the last one ended.
    const FixedPoint a = x1 == m_lastX && y1 == m_lastY ? m_current : ToFixed(x1, y1);
    SetCurrent(x2, y2);
    Segment(a, m_current);
    Count(m_lines);
}

void AaRasterSurface::LineTo(double x, double y, Color color)
{
    const FixedPoint a = m_current;
    SetCurrent(x, y);
    WithColor(color, [&] { Segment(a, m_current); });
    Count(m_lines);
}

void AaRasterSurface::LineTo(double x, double y)
{
    const FixedPoint a = m_current;
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
    for (const DrawElement* e = elements; e != elements + count; ++e) {
        switch (e->op) {
        case DrawElement::Move:
            MoveTo(e->x2, e->y2);
            break;
        case DrawElement::Pixel:
            SetPixel(e->x2, e->y2);
            break;
        case DrawElement::Line:
            Line(e->x1, e->y1, e->x2, e->y2);
            break;
        }
    }
}

bool AaRasterSurface::OpenCoverage(CoverageTarget& target)
{
    if (m_transform != nullptr || m_width == 0) {
        return false;
    }
    Allocate();
    target.cover = m_cover.data();
    target.width = m_width;
    target.height = m_height;
    target.scale = m_scale;
    target.offsetX = m_offsetX;
    target.offsetY = m_offsetY;
    target.currentX = m_current.x;
    target.currentY = m_current.y;
    target.lastEndX = m_lastX;
    target.lastEndY = m_lastY;
    return true;
}

void AaRasterSurface::CoverageDrawn(CoverageTarget& target, const RasterCounts& counts)
{
    m_current = {target.currentX, target.currentY};
    m_lastX = target.lastEndX;
    m_lastY = target.lastEndY;
    if (counts.AddTo(m_lines, m_pixels, m_moves, m_elements, m_progressMask) &&
        m_progress != nullptr) {
        m_progress(m_progressArg);
    }
    // A progress call may have drawn in a colour, which starts the coverage
    // afresh.
    Allocate();
    target.cover = m_cover.data();
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
    // Laid over this surface's coverage when the picture is finished,
    // where the rows are shared between threads.
    m_pieces.push_back(std::move(other->m_cover));
    other->m_cover.clear();
}
