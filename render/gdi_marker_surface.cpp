#include "render/gdi_marker_surface.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QString>

namespace {

QString ToQString(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Puts the painter's composition mode back when the scope ends.
class ScopedComposition
{
public:
    ScopedComposition(QPainter* painter, QPainter::CompositionMode mode)
        : m_painter(painter), m_previous(painter->compositionMode())
    {
        painter->setCompositionMode(mode);
    }
    ~ScopedComposition() { m_painter->setCompositionMode(m_previous); }
    ScopedComposition(const ScopedComposition&) = delete;
    ScopedComposition& operator=(const ScopedComposition&) = delete;

private:
    QPainter* m_painter;
    QPainter::CompositionMode m_previous;
};

} // namespace

GdiMarkerSurface::GdiMarkerSurface(QPainter* painter, const Color* colorTable,
                                   const ImageList* images)
    : GdiSurface(painter), m_colorTable(colorTable), m_images(images)
{
}

void GdiMarkerSurface::DrawImage(double x, double y, int width, int height, int index)
{
    Flush();
    if (m_images == nullptr) {
        return;
    }
    const QRect source = m_images->SourceRect(index, width, height);
    if (source.isEmpty()) {
        return;
    }
    double X = x;
    double Y = y;
    if (const AffineMap* m = GetTransform(); m != nullptr) {
        X = m->a * x + m->b * y + m->e;
        Y = m->c * x + m->d * y + m->f;
    }
    const QPoint topLeft(TruncateToDevice(X - width * 0.5), TruncateToDevice(Y - height * 0.5));
    QPainter* painter = Painter();
    const QPaintEngine* engine = painter->paintEngine();
    // Only the raster engine of images (and windows) combines pixels; vector
    // engines claim raster operations and drop them.
    const bool canXor = engine != nullptr && engine->type() == QPaintEngine::Raster;
    if (!canXor) {
        // Vector devices draw images plainly, and some ignore a source
        // rectangle: hand them the one image alone.
        painter->drawImage(topLeft, m_images->Strip().copy(source));
        return;
    }
    ScopedComposition mode(painter, QPainter::RasterOp_SourceXorDestination);
    painter->drawImage(topLeft, m_images->Strip(), source);
}

void GdiMarkerSurface::DrawText(const std::string& text, double x, double y, Color color)
{
    m_textColor = color;
    DrawText(text, x, y);
}

void GdiMarkerSurface::DrawText(const std::string& text, double x, double y)
{
    Flush();
    QPainter* painter = Painter();
    const QFontMetricsF metrics(painter->font(), painter->device());
    ScopedPen pen(painter, m_textColor);
    // The point is the text's top-left corner; the painter wants the baseline.
    painter->drawText(QPointF(TruncateToDevice(x), TruncateToDevice(y) + metrics.ascent()),
                      ToQString(text));
}

double GdiMarkerSurface::TextWidth(const std::string& text)
{
    QPainter* painter = Painter();
    return QFontMetricsF(painter->font(), painter->device()).horizontalAdvance(ToQString(text));
}

double GdiMarkerSurface::TextHeight(const std::string&)
{
    // The extent's height is the font's, whatever the text.
    QPainter* painter = Painter();
    return QFontMetricsF(painter->font(), painter->device()).height();
}

Color GdiMarkerSurface::SelectColor(int flags)
{
    if (m_colorTable == nullptr) {
        return 0;
    }
    const int upper = (flags & 2) != 0 ? 2 : 0;
    const int odd = (flags & (4 | 8)) != 0 ? 1 : 0;
    return m_colorTable[upper + odd];
}
