#include "text_export.h"

#include <QIODevice>

#include <charconv>

namespace {

constexpr std::size_t kFlushSize = 1 << 16;

void AppendNumber(std::string& out, double value)
{
    if (value == 0.0) {
        value = 0.0; // -0 prints as 0
    }
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 9);
    out.append(text, result.ptr);
}

} // namespace

std::string FormatModelNumber(double value)
{
    std::string s;
    AppendNumber(s, value);
    return s;
}

TextExportSurface::TextExportSurface(QIODevice& out, double scale)
    : m_out(out), m_scale(scale > 0.0 ? scale : 1.0)
{
    m_buffer.reserve(kFlushSize + 256);
}

TextExportSurface::~TextExportSurface() = default;

bool TextExportSurface::Finish()
{
    if (!m_buffer.empty() && !m_failed) {
        m_failed = m_out.write(m_buffer.data(), static_cast<qint64>(m_buffer.size())) !=
                   static_cast<qint64>(m_buffer.size());
    }
    m_buffer.clear();
    return !m_failed;
}

void TextExportSurface::Number(double drawingUnits)
{
    m_buffer.push_back(' ');
    AppendNumber(m_buffer, drawingUnits / m_scale);
}

void TextExportSurface::EndRecord()
{
    m_buffer.push_back('\n');
    if (m_buffer.size() >= kFlushSize) {
        Finish();
    }
}

void TextExportSurface::MoveTo(double x, double y)
{
    m_currentX = x;
    m_currentY = y;
    m_buffer.push_back('M');
    Number(x);
    Number(y);
    EndRecord();
    ++m_moves;
}

void TextExportSurface::SetPixel(double x, double y)
{
    m_buffer.push_back('P');
    Number(x);
    Number(y);
    EndRecord();
    ++m_pixels;
}

void TextExportSurface::Line(double x1, double y1, double x2, double y2)
{
    m_buffer.push_back('L');
    Number(x1);
    Number(y1);
    Number(x2);
    Number(y2);
    EndRecord();
    m_currentX = x2;
    m_currentY = y2;
    ++m_lines;
}

void TextExportSurface::LineTo(double x, double y)
{
    Line(m_currentX, m_currentY, x, y);
}
