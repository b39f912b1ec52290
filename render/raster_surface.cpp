#include "render/raster_surface.h"

#include "render/gdi_surface.h"
#include "surface/raster_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

// The recursion's writer maps points as this surface does.
static_assert(drawing::kRasterCoordinateLimit == kDeviceCoordinateLimit);

RasterSurface::RasterSurface(QImage& image) : m_image(&image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        m_depth = 4;
        break;
    case QImage::Format_Indexed8:
        m_depth = 1;
        break;
    default:
        m_depth = 0;
        break;
    }
    if (m_depth != 0 && !image.isNull()) {
        m_bits = image.bits();
        m_stride = image.bytesPerLine();
        m_width = image.width();
        m_height = image.height();
    }
    m_colorValue = m_penValue = Encode(0);
}

void RasterSurface::SetMapping(const IsotropicParams& mapping)
{
    ForgetLastEnd();
    m_mapping = mapping;
    m_scale = mapping.scale;
    m_offsetX = mapping.viewportOrigin.x() - mapping.windowOrigin.x() * mapping.scale;
    m_offsetY = mapping.viewportOrigin.y() - mapping.windowOrigin.y() * mapping.scale;
}

void RasterSurface::SetColor(Color color)
{
    m_color = color;
    m_colorValue = Encode(color);
}

void RasterSurface::SetPenColor(Color color)
{
    m_penColor = color;
    m_penValue = Encode(color);
}

void RasterSurface::Fill(Color color)
{
    if (m_depth != 0) {
        // A 32-bit image takes the colour itself, an 8-bit one its index.
        m_image->fill(Encode(color));
        m_bits = m_image->bits();
    }
}

void RasterSurface::SetProgress(ProgressFn progress, void* arg, int shift)
{
    m_progress = progress;
    m_progressArg = arg;
    m_progressMask = (std::int64_t{1} << std::clamp(shift, 0, 40)) - 1;
}

std::uint32_t RasterSurface::Encode(Color color)
{
    const QRgb rgb = qRgb(RedOf(color), GreenOf(color), BlueOf(color));
    if (m_depth != 1) {
        return rgb;
    }
    QList<QRgb> table = m_image->colorTable();
    const auto found = std::find(table.begin(), table.end(), rgb);
    if (found != table.end()) {
        return static_cast<std::uint32_t>(found - table.begin());
    }
    if (table.size() < 256) {
        table.push_back(rgb);
        m_image->setColorTable(table);
        // Changing the table may have given the image its own copy.
        m_bits = m_image->bits();
        return static_cast<std::uint32_t>(table.size() - 1);
    }
    // A full table: the nearest colour it has.
    std::uint32_t best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < table.size(); ++i) {
        const int dr = qRed(table[i]) - qRed(rgb);
        const int dg = qGreen(table[i]) - qGreen(rgb);
        const int db = qBlue(table[i]) - qBlue(rgb);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<std::uint32_t>(i);
        }
    }
    return best;
}

RasterSurface::Pixel RasterSurface::ToPointPixel(double x, double y) const
{
    double X = x;
    double Y = y;
    if (m_transform != nullptr) {
        const AffineMap& m = *m_transform;
        X = m.a * x + m.b * y + m.e;
        Y = m.c * x + m.d * y + m.f;
    }
    const double lx = TruncateToDevice(X);
    const double ly = TruncateToDevice(Y);
    return {PixelOf(lx * m_scale + m_offsetX + 0.5), PixelOf(ly * m_scale + m_offsetY + 0.5)};
}

void RasterSurface::Plot(Pixel p, std::uint32_t value)
{
    if (p.x < 0 || p.y < 0 || p.x >= m_width || p.y >= m_height) {
        return;
    }
    uchar* row = m_bits + p.y * m_stride;
    if (m_depth == 4) {
        drawing::PutPixel(reinterpret_cast<std::uint32_t*>(row) + p.x, value);
    } else {
        drawing::PutPixel(row + p.x, static_cast<uchar>(value));
    }
}

void RasterSurface::DrawLine(Pixel a, Pixel b, std::uint32_t value)
{
    if (m_depth == 0) {
        return;
    }
    const std::int64_t w = m_width;
    const std::int64_t h = m_height;
    if (a.x < 0 || a.y < 0 || a.x >= w || a.y >= h || b.x < 0 || b.y < 0 || b.x >= w || b.y >= h) {
        if ((a.x < 0 && b.x < 0) || (a.y < 0 && b.y < 0) || (a.x >= w && b.x >= w) ||
            (a.y >= h && b.y >= h)) {
            return;
        }
        // Cut the line to the image (Liang-Barsky), then draw what is left
        // between the rounded cut points, which stay inside.
        const double x0 = static_cast<double>(a.x);
        const double y0 = static_cast<double>(a.y);
        const double dx = static_cast<double>(b.x - a.x);
        const double dy = static_cast<double>(b.y - a.y);
        double t0 = 0.0;
        double t1 = 1.0;
        const auto clip = [&](double p, double q) {
            if (p == 0.0) {
                return q >= 0.0;
            }
            const double t = q / p;
            if (p < 0.0) {
                if (t > t1) {
                    return false;
                }
                t0 = std::max(t0, t);
            } else {
                if (t < t0) {
                    return false;
                }
                t1 = std::min(t1, t);
            }
            return true;
        };
        if (!clip(-dx, x0) || !clip(dx, static_cast<double>(w - 1) - x0) || !clip(-dy, y0) ||
            !clip(dy, static_cast<double>(h - 1) - y0)) {
            return;
        }
        a = {std::clamp<std::int64_t>(std::llround(x0 + t0 * dx), 0, w - 1),
             std::clamp<std::int64_t>(std::llround(y0 + t0 * dy), 0, h - 1)};
        b = {std::clamp<std::int64_t>(std::llround(x0 + t1 * dx), 0, w - 1),
             std::clamp<std::int64_t>(std::llround(y0 + t1 * dy), 0, h - 1)};
    }
    if (m_depth == 4) {
        drawing::RasterBresenham<std::uint32_t>(m_bits, m_stride, int(a.x), int(a.y), int(b.x),
                                                int(b.y), value);
    } else {
        drawing::RasterBresenham<std::uint8_t>(m_bits, m_stride, int(a.x), int(a.y), int(b.x),
                                               int(b.y), static_cast<std::uint8_t>(value));
    }
}

void RasterSurface::MoveTo(double x, double y)
{
    SetCurrent(x, y);
    Count(m_moves);
}

void RasterSurface::SetPixel(double x, double y, Color color)
{
    if (color == m_color) {
        SetPixel(x, y);
        return;
    }
    Plot(ToPointPixel(x, y), Encode(color));
    Count(m_pixels);
}

void RasterSurface::SetPixel(double x, double y)
{
    Plot(ToPointPixel(x, y), m_colorValue);
    Count(m_pixels);
}

void RasterSurface::Line(double x1, double y1, double x2, double y2, Color color)
{
    const Pixel a = ToPixel(x1, y1);
    SetCurrent(x2, y2);
    DrawLine(a, m_current, color == m_penColor ? m_penValue : Encode(color));
    Count(m_lines);
}

void RasterSurface::Line(double x1, double y1, double x2, double y2)
{
    // Chains (every curve kind) start each line where the last one ended:
    // that end's pixel is known already. Without a transform each axis maps
    // on its own, so an end that keeps one coordinate keeps its pixel there.
    const Pixel a = (x1 == m_lastEndX && y1 == m_lastEndY) ? m_current : ToPixel(x1, y1);
    if (m_transform == nullptr) {
        m_current = {
            x2 == m_lastEndX ? m_current.x : PixelOf(TruncateToDevice(x2) * m_scale + m_offsetX),
            y2 == m_lastEndY ? m_current.y : PixelOf(TruncateToDevice(y2) * m_scale + m_offsetY)};
        m_lastEndX = x2;
        m_lastEndY = y2;
    } else {
        SetCurrent(x2, y2);
    }
    DrawLine(a, m_current, m_penValue);
    Count(m_lines);
}

void RasterSurface::LineTo(double x, double y, Color color)
{
    const Pixel a = m_current;
    SetCurrent(x, y);
    DrawLine(a, m_current, color == m_penColor ? m_penValue : Encode(color));
    Count(m_lines);
}

void RasterSurface::LineTo(double x, double y)
{
    const Pixel a = m_current;
    SetCurrent(x, y);
    DrawLine(a, m_current, m_penValue);
    Count(m_lines);
}

void RasterSurface::Arrow(Point p, Polar v, int size, Color color)
{
    const std::uint32_t saved = m_penValue;
    m_penValue = color == m_penColor ? m_penValue : Encode(color);
    Arrow(p, v, size);
    m_penValue = saved;
}

void RasterSurface::Arrow(Point p, Polar v, int size)
{
    const Point tip{p.x + std::cos(v.angle) * v.length, p.y + std::sin(v.angle) * v.length};
    const double angle1 = v.angle + 5.0 * pi / 6.0;
    const Point second{tip.x + std::cos(angle1) * size, tip.y + std::sin(angle1) * size};
    const double angle2 = angle1 + 2.0 * pi / 3.0;
    const Point third{second.x + std::cos(angle2) * size, second.y + std::sin(angle2) * size};
    const Pixel corners[3] = {ToPixel(tip.x, tip.y), ToPixel(second.x, second.y),
                              ToPixel(third.x, third.y)};
    FillTriangle(corners, m_penValue);
    for (int i = 0; i < 3; ++i) {
        DrawLine(corners[i], corners[(i + 1) % 3], m_penValue);
    }
}

void RasterSurface::FillTriangle(const Pixel (&corners)[3], std::uint32_t value)
{
    const std::int64_t top =
        std::max<std::int64_t>(0, std::min({corners[0].y, corners[1].y, corners[2].y}));
    const std::int64_t bottom =
        std::min<std::int64_t>(m_height - 1, std::max({corners[0].y, corners[1].y, corners[2].y}));
    for (std::int64_t y = top; y <= bottom; ++y) {
        double left = 1e300;
        double right = -1e300;
        for (int i = 0; i < 3; ++i) {
            const Pixel a = corners[i];
            const Pixel b = corners[(i + 1) % 3];
            if ((y < a.y && y < b.y) || (y > a.y && y > b.y)) {
                continue;
            }
            if (a.y == b.y) {
                left = std::min({left, double(a.x), double(b.x)});
                right = std::max({right, double(a.x), double(b.x)});
                continue;
            }
            const double x = a.x + double(b.x - a.x) * double(y - a.y) / double(b.y - a.y);
            left = std::min(left, x);
            right = std::max(right, x);
        }
        const auto from = std::max<std::int64_t>(0, std::llround(std::ceil(left)));
        const auto to = std::min<std::int64_t>(m_width - 1, std::llround(std::floor(right)));
        for (std::int64_t x = from; x <= to; ++x) {
            Plot({x, y}, value);
        }
    }
}

void RasterSurface::Circle(double cx, double cy, double r, Color color)
{
    const std::uint32_t saved = m_penValue;
    m_penValue = color == m_penColor ? m_penValue : Encode(color);
    Circle(cx, cy, r);
    m_penValue = saved;
}

void RasterSurface::Circle(double cx, double cy, double r)
{
    const Pixel a = ToPixel(cx - r, cy - r);
    const Pixel b = ToPixel(cx + r, cy + r);
    const double centreX = 0.5 * double(a.x + b.x);
    const double centreY = 0.5 * double(a.y + b.y);
    const double rx = 0.5 * std::abs(double(b.x - a.x));
    const double ry = 0.5 * std::abs(double(b.y - a.y));
    // A polygon fine enough that its edges are shorter than two pixels.
    const int steps = static_cast<int>(std::clamp(std::max(rx, ry) * 4.0, 8.0, 65536.0));
    Pixel previous{std::llround(centreX + rx), std::llround(centreY)};
    for (int i = 1; i <= steps; ++i) {
        const double t = 2.0 * pi * i / steps;
        const Pixel next{std::llround(centreX + rx * std::cos(t)),
                         std::llround(centreY + ry * std::sin(t))};
        DrawLine(previous, next, m_penValue);
        previous = next;
    }
}

void RasterSurface::Take(const DrawElement* elements, std::size_t count)
{
    if (m_transform == nullptr && m_depth == 4) {
        TakeLines<std::uint32_t>(elements, count);
    } else if (m_transform == nullptr && m_depth == 1) {
        TakeLines<std::uint8_t>(elements, count);
    } else {
        for (const DrawElement* e = elements; e != elements + count; ++e) {
            TakeOne(*e);
        }
    }
}

void RasterSurface::TakeOne(const DrawElement& e)
{
    switch (e.op) {
    case DrawElement::Move:
        MoveTo(e.x2, e.y2);
        break;
    case DrawElement::Pixel:
        SetPixel(e.x2, e.y2);
        break;
    case DrawElement::Line:
        Line(e.x1, e.y1, e.x2, e.y2);
        break;
    }
}

// Line() for a batch without a transform, with the chain's state in
// registers: each axis maps on its own, so an end that keeps a coordinate
// of the last end keeps its pixel there.
template <typename T> void RasterSurface::TakeLines(const DrawElement* elements, std::size_t count)
{
    const auto value = static_cast<T>(m_penValue);
    const auto pixelX = [this](double x) {
        return PixelOf(TruncateToDevice(x) * m_scale + m_offsetX);
    };
    const auto pixelY = [this](double y) {
        return PixelOf(TruncateToDevice(y) * m_scale + m_offsetY);
    };
    for (const DrawElement* e = elements; e != elements + count; ++e) {
        if (e->op != DrawElement::Line) {
            TakeOne(*e);
            continue;
        }
        const double lastX = m_lastEndX;
        const double lastY = m_lastEndY;
        const Pixel a{e->x1 == lastX ? m_current.x : pixelX(e->x1),
                      e->y1 == lastY ? m_current.y : pixelY(e->y1)};
        const Pixel b{e->x2 == lastX ? m_current.x : (e->x2 == e->x1 ? a.x : pixelX(e->x2)),
                      e->y2 == lastY ? m_current.y : (e->y2 == e->y1 ? a.y : pixelY(e->y2))};
        m_current = b;
        m_lastEndX = e->x2;
        m_lastEndY = e->y2;
        if (static_cast<std::uint64_t>(a.x) < static_cast<std::uint64_t>(m_width) &&
            static_cast<std::uint64_t>(b.x) < static_cast<std::uint64_t>(m_width) &&
            static_cast<std::uint64_t>(a.y) < static_cast<std::uint64_t>(m_height) &&
            static_cast<std::uint64_t>(b.y) < static_cast<std::uint64_t>(m_height)) {
            // Most lines of a dense figure are shorter than a pixel: their
            // two ends are all Bresenham would light.
            T* const pa = reinterpret_cast<T*>(m_bits + a.y * m_stride) + a.x;
            T* const pb = reinterpret_cast<T*>(m_bits + b.y * m_stride) + b.x;
            if (static_cast<std::uint64_t>(b.x - a.x + 1) <= 2 &&
                static_cast<std::uint64_t>(b.y - a.y + 1) <= 2) {
                drawing::PutPixel(pa, value);
                drawing::PutPixel(pb, value);
            } else {
                drawing::RasterBresenham<T>(m_bits, m_stride, int(a.x), int(a.y), int(b.x),
                                            int(b.y), value);
            }
        } else {
            DrawLine(a, b, m_penValue);
        }
        Count(m_lines);
    }
}

std::unique_ptr<BatchSurface> RasterSurface::Fork()
{
    if (m_depth == 0 || m_penValue != m_colorValue) {
        return nullptr;
    }
    auto mask = std::make_unique<QImage>(m_width, m_height, QImage::Format_Indexed8);
    if (mask->isNull()) {
        return nullptr;
    }
    mask->setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mask->fill(0);
    auto piece = std::make_unique<RasterSurface>(*mask);
    piece->m_mask = std::move(mask);
    piece->m_mapping = m_mapping;
    piece->m_scale = m_scale;
    piece->m_offsetX = m_offsetX;
    piece->m_offsetY = m_offsetY;
    piece->m_transform = m_transform;
    piece->m_colorValue = piece->m_penValue = 1;
    piece->m_parent = this;
    m_pieces.push_back(piece.get());
    return piece;
}

RasterSurface::~RasterSurface()
{
    // A piece let go without being joined is no longer shown.
    if (m_parent != nullptr) {
        std::erase(m_parent->m_pieces, this);
    }
    for (RasterSurface* piece : m_pieces) {
        piece->m_parent = nullptr;
    }
}

void RasterSurface::Progress()
{
    if (m_piecesWanted != nullptr && !m_pieces.empty() && m_piecesWanted(m_progressArg)) {
        ShowPieces();
    }
    m_progress(m_progressArg);
}

void RasterSurface::ShowPieces()
{
    for (const RasterSurface* piece : m_pieces) {
        for (int y = 0; y < m_height; ++y) {
            uchar* mask = piece->m_bits + y * piece->m_stride;
            uchar* row = m_bits + y * m_stride;
            for (int x = 0; x < m_width; ++x) {
                if (std::atomic_ref<uchar>(mask[x]).load(std::memory_order_relaxed) == 0) {
                    continue;
                }
                if (m_depth == 4) {
                    drawing::PutPixel(reinterpret_cast<std::uint32_t*>(row) + x, m_penValue);
                } else {
                    drawing::PutPixel(row + x, static_cast<uchar>(m_penValue));
                }
            }
        }
    }
}

void RasterSurface::Join(BatchSurface& piece)
{
    auto* other = dynamic_cast<RasterSurface*>(&piece);
    if (other == nullptr || other->m_mask == nullptr) {
        return;
    }
    std::erase(m_pieces, other);
    other->m_parent = nullptr;
    m_lines += other->m_lines;
    m_pixels += other->m_pixels;
    m_moves += other->m_moves;
    // Masks are mostly empty: eight bytes are skipped at a time.
    for (int y = 0; y < m_height; ++y) {
        const uchar* mask = other->m_bits + y * other->m_stride;
        uchar* row = m_bits + y * m_stride;
        for (int x = 0; x < m_width; x += 8) {
            const int end = std::min(x + 8, m_width);
            if (end - x == 8) {
                std::uint64_t word = 0;
                std::memcpy(&word, mask + x, sizeof word);
                if (word == 0) {
                    continue;
                }
            }
            for (int i = x; i < end; ++i) {
                if (mask[i] == 0) {
                    continue;
                }
                if (m_depth == 4) {
                    reinterpret_cast<std::uint32_t*>(row)[i] = m_penValue;
                } else {
                    row[i] = static_cast<uchar>(m_penValue);
                }
            }
        }
    }
}

bool RasterSurface::OpenRaster(RasterTarget& target)
{
    if (m_transform != nullptr || m_bits == nullptr || (m_depth != 1 && m_depth != 4)) {
        return false;
    }
    target.bits = m_bits;
    target.stride = m_stride;
    target.width = m_width;
    target.height = m_height;
    target.depth = m_depth;
    target.scale = m_scale;
    target.offsetX = m_offsetX;
    target.offsetY = m_offsetY;
    target.penValue = m_penValue;
    target.colorValue = m_colorValue;
    target.currentX = m_current.x;
    target.currentY = m_current.y;
    target.lastEndX = m_lastEndX;
    target.lastEndY = m_lastEndY;
    return true;
}

void RasterSurface::RasterLine(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by)
{
    DrawLine({ax, ay}, {bx, by}, m_penValue);
}

void RasterSurface::RasterDrawn(RasterTarget& target, const RasterCounts& counts)
{
    m_current = {target.currentX, target.currentY};
    m_lastEndX = target.lastEndX;
    m_lastEndY = target.lastEndY;
    if (counts.AddTo(m_lines, m_pixels, m_moves, m_elements, m_progressMask) &&
        m_progress != nullptr) {
        Progress();
    }
    target.bits = m_bits;
    target.stride = m_stride;
    target.penValue = m_penValue;
    target.colorValue = m_colorValue;
}
