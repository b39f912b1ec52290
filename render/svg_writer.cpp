#include "render/svg_writer.h"

#include "render/gdi_surface.h"

#include <QIODevice>

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Points per path: long enough that a curve is a few elements, short enough
// for any viewer.
constexpr int kMaxPathPoints = 8192;
constexpr std::size_t kFlushSize = 1 << 16;
constexpr int kProgressMask = (1 << 16) - 1;

// Picture units to a thousandth, trailing zeros dropped: "12.5", "3".
void AppendCoordinate(std::string& out, double v)
{
    char text[32];
    char* end = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 3).ptr;
    while (end > text && end[-1] == '0') {
        --end;
    }
    if (end > text && end[-1] == '.') {
        --end;
    }
    if (end - text == 2 && text[0] == '-' && text[1] == '0') {
        text[0] = '0';
        end = text + 1;
    }
    out.append(text, end);
}

QPoint Whole(double x, double y)
{
    return {TruncateToDevice(x), TruncateToDevice(y)};
}

} // namespace

std::string SvgColor(Color color)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", RedOf(color), GreenOf(color), BlueOf(color));
    return text;
}

std::string SvgBody(const std::string& document)
{
    const std::size_t root = document.find("<svg");
    const std::size_t open = root == std::string::npos ? root : document.find('>', root);
    const std::size_t close = document.rfind("</svg>");
    if (open == std::string::npos || close == std::string::npos || close < open) {
        return {};
    }
    std::string body = document.substr(open + 1, close - open - 1);
    for (const char* tag : {"title", "desc"}) {
        const std::string start = std::string("<") + tag + ">";
        const std::string end = std::string("</") + tag + ">";
        const std::size_t a = body.find(start);
        const std::size_t b = a == std::string::npos ? a : body.find(end, a);
        if (b != std::string::npos) {
            body.erase(a, b + end.size() - a);
        }
    }
    return body;
}

std::string FractalGroupStart(Color pen)
{
    return "<g fill=\"none\" stroke=\"" + SvgColor(pen) +
           "\" stroke-width=\"1\" stroke-linecap=\"square\" stroke-linejoin=\"bevel\">\n";
}

SvgPathSurface::SvgPathSurface(QIODevice& out, Color pen, const IsotropicParams& mapping)
    : m_out(out), m_mapping(mapping), m_pen(pen), m_color(pen)
{
    m_buffer.reserve(kFlushSize + 512);
}

SvgPathSurface::~SvgPathSurface() = default;

void SvgPathSurface::Flush()
{
    if (!m_buffer.empty() && !m_failed) {
        const auto size = static_cast<qint64>(m_buffer.size());
        m_failed = m_out.write(m_buffer.data(), size) != size;
    }
    m_buffer.clear();
}

bool SvgPathSurface::Finish()
{
    ClosePath();
    Flush();
    return !m_failed;
}

void SvgPathSurface::Count(std::int64_t& counter)
{
    ++counter;
    if (m_progress != nullptr && (++m_elements & kProgressMask) == 0) {
        m_progress(m_arg);
    }
}

void SvgPathSurface::OpenPath(Color color)
{
    ClosePath();
    m_buffer += "<path";
    if (color != m_pen) {
        m_buffer += " stroke=\"" + SvgColor(color) + "\"";
    }
    m_buffer += " d=\"";
    m_pathOpen = true;
    m_pathColor = color;
    m_pathPoints = 0;
}

void SvgPathSurface::ClosePath()
{
    if (m_pathOpen) {
        m_buffer += "\"/>\n";
        m_pathOpen = false;
        m_pathEndValid = false;
    }
}

void SvgPathSurface::Emit(char command, QPoint p)
{
    if (m_pathPoints > 0) {
        m_buffer.push_back(' ');
    }
    m_buffer.push_back(command);
    AppendX(p.x());
    m_buffer.push_back(',');
    AppendY(p.y());
    ++m_pathPoints;
}

void SvgPathSurface::AppendX(int x)
{
    AppendCoordinate(m_buffer, m_mapping.DeviceX(x));
}

void SvgPathSurface::AppendY(int y)
{
    AppendCoordinate(m_buffer, m_mapping.DeviceY(y));
}

void SvgPathSurface::Segment(QPoint from, QPoint to, Color color)
{
    const bool sameRun = m_pathOpen && m_pathColor == color && m_pathPoints < kMaxPathPoints;
    if (!sameRun) {
        OpenPath(color);
    }
    if (!sameRun || !m_pathEndValid || m_pathEnd != from) {
        Emit('M', from);
    }
    Emit('L', to);
    m_pathEnd = to;
    m_pathEndValid = true;
    m_current = to;
    if (m_buffer.size() >= kFlushSize) {
        Flush(); // an open path simply goes on in the next block
    }
}

void SvgPathSurface::MoveTo(double x, double y)
{
    m_current = Whole(x, y);
    Count(m_moves);
}

void SvgPathSurface::SetPixel(double x, double y, Color color)
{
    // One unit square of the picture centred on the point: a pixel.
    const QPoint p = Whole(x, y);
    ClosePath();
    m_buffer += "<rect x=\"";
    AppendCoordinate(m_buffer, m_mapping.DeviceX(p.x()) - 0.5);
    m_buffer += "\" y=\"";
    AppendCoordinate(m_buffer, m_mapping.DeviceY(p.y()) - 0.5);
    m_buffer += "\" width=\"1\" height=\"1\" stroke=\"none\" fill=\"" + SvgColor(color) + "\"/>\n";
    if (m_buffer.size() >= kFlushSize) {
        Flush();
    }
    Count(m_pixels);
}

void SvgPathSurface::Line(double x1, double y1, double x2, double y2, Color color)
{
    Segment(Whole(x1, y1), Whole(x2, y2), color);
    Count(m_lines);
}

void SvgPathSurface::LineTo(double x, double y, Color color)
{
    Segment(m_current, Whole(x, y), color);
    Count(m_lines);
}

void SvgPathSurface::Arrow(Point p, Polar v, int size, Color color)
{
    const double tipX = p.x + std::cos(v.angle) * v.length;
    const double tipY = p.y + std::sin(v.angle) * v.length;
    const double angle1 = v.angle + 5.0 * pi / 6.0;
    const double x2 = tipX + std::cos(angle1) * size;
    const double y2 = tipY + std::sin(angle1) * size;
    const double angle2 = angle1 + 2.0 * pi / 3.0;
    const QPoint corners[3] = {Whole(tipX, tipY), Whole(x2, y2),
                               Whole(x2 + std::cos(angle2) * size, y2 + std::sin(angle2) * size)};
    ClosePath();
    m_buffer +=
        "<polygon stroke=\"" + SvgColor(color) + "\" fill=\"" + SvgColor(color) + "\" points=\"";
    for (const QPoint& c : corners) {
        AppendX(c.x());
        m_buffer.push_back(',');
        AppendY(c.y());
        m_buffer.push_back(' ');
    }
    m_buffer += "\"/>\n";
}

void SvgPathSurface::Circle(double cx, double cy, double r, Color color)
{
    const QPoint a = Whole(cx - r, cy - r);
    const QPoint b = Whole(cx + r, cy + r);
    const double s = m_mapping.scale;
    ClosePath();
    m_buffer += "<ellipse stroke=\"" + SvgColor(color) + "\" cx=\"";
    AppendCoordinate(m_buffer, 0.5 * (m_mapping.DeviceX(a.x()) + m_mapping.DeviceX(b.x())));
    m_buffer += "\" cy=\"";
    AppendCoordinate(m_buffer, 0.5 * (m_mapping.DeviceY(a.y()) + m_mapping.DeviceY(b.y())));
    m_buffer += "\" rx=\"";
    AppendCoordinate(m_buffer, 0.5 * s * std::abs(b.x() - a.x()));
    m_buffer += "\" ry=\"";
    AppendCoordinate(m_buffer, 0.5 * s * std::abs(b.y() - a.y()));
    m_buffer += "\"/>\n";
}
