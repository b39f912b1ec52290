#include "tools/artwork/art.h"

#include <QtMath>

namespace Art {

QImage Canvas(int width, int height)
{
    QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    return canvas;
}

void Begin(QPainter& painter, QImage& canvas)
{
    painter.begin(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
}

QImage KeyOnGreen(const QImage& canvas)
{
    QImage straight = canvas.convertToFormat(QImage::Format_ARGB32);
    QImage keyed(straight.size(), QImage::Format_RGB32);
    for (int y = 0; y < straight.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < straight.width(); ++x) {
            QRgb pixel = qAlpha(in[x]) >= 128 ? (in[x] | 0xff000000) : kKeyGreen;
            // A figure pixel that happens to be pure green would vanish.
            if (pixel == kKeyGreen && qAlpha(in[x]) >= 128) {
                pixel = qRgb(0, 254, 0);
            }
            out[x] = pixel;
        }
    }
    return keyed;
}

QImage Strip(const QVector<QImage>& images)
{
    if (images.isEmpty()) {
        return {};
    }
    const int w = images.front().width();
    const int h = images.front().height();
    QImage strip(w * static_cast<int>(images.size()), h, QImage::Format_RGB32);
    strip.fill(kKeyGreen);
    QPainter painter(&strip);
    for (int i = 0; i < images.size(); ++i) {
        painter.drawImage(i * w, 0, images[i]);
    }
    return strip;
}

QPen Pen(const QColor& colour, double width)
{
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::SquareCap);
    return pen;
}

namespace {

void KochEdge(QPainterPath& path, QPointF a, QPointF b, int depth)
{
    if (depth == 0) {
        path.lineTo(b);
        return;
    }
    const QPointF d = (b - a) / 3.0;
    const QPointF p1 = a + d;
    const QPointF p3 = a + 2.0 * d;
    // The bump points outwards for a clockwise outline (y down).
    const double c = std::cos(-M_PI / 3.0);
    const double s = std::sin(-M_PI / 3.0);
    const QPointF p2 = p1 + QPointF(d.x() * c - d.y() * s, d.x() * s + d.y() * c);
    KochEdge(path, a, p1, depth - 1);
    KochEdge(path, p1, p2, depth - 1);
    KochEdge(path, p2, p3, depth - 1);
    KochEdge(path, p3, b, depth - 1);
}

} // namespace

QPainterPath Snowflake(QPointF centre, double radius, int depth)
{
    QPointF corners[3];
    for (int i = 0; i < 3; ++i) {
        const double angle = -M_PI / 2.0 + i * 2.0 * M_PI / 3.0;
        corners[i] = centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    QPainterPath path(corners[0]);
    for (int i = 0; i < 3; ++i) {
        KochEdge(path, corners[i], corners[(i + 1) % 3], depth);
    }
    path.closeSubpath();
    return path;
}

QPolygonF RegularPolygon(QPointF centre, double radius, int sides)
{
    QPolygonF polygon;
    const double start = M_PI / 2.0 + M_PI / sides;
    for (int i = 0; i < sides; ++i) {
        const double angle = start + i * 2.0 * M_PI / sides;
        polygon << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    return polygon;
}

void Page(QPainter& painter, const QRectF& rect, double fold, double penWidth)
{
    QPolygonF outline;
    outline << rect.topLeft() << QPointF(rect.right() - fold, rect.top())
            << QPointF(rect.right(), rect.top() + fold) << rect.bottomRight() << rect.bottomLeft();
    painter.setPen(Pen(kInk, penWidth));
    painter.setBrush(kPaper);
    painter.drawPolygon(outline);
    QPolygonF corner;
    corner << QPointF(rect.right() - fold, rect.top())
           << QPointF(rect.right() - fold, rect.top() + fold)
           << QPointF(rect.right(), rect.top() + fold);
    painter.setBrush(kPaperShade);
    painter.drawPolygon(corner);
}

void ArrowHead(QPainter& painter, QPointF tip, double angleDegrees, double size,
               const QColor& colour)
{
    const double a = qDegreesToRadians(angleDegrees);
    const QPointF back(-std::cos(a) * size, -std::sin(a) * size);
    const QPointF side(-std::sin(a) * size * 0.6, std::cos(a) * size * 0.6);
    QPolygonF head;
    head << tip << tip + back + side << tip + back - side;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(head);
    painter.restore();
}

void Arrow(QPainter& painter, QPointF from, QPointF to, const QColor& colour, double width,
           double head)
{
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    const double angle = qRadiansToDegrees(std::atan2(d.y(), d.x()));
    const QPointF shaftEnd = to - d / length * head * 0.8;
    painter.save();
    QPen pen = Pen(colour, width);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(from, shaftEnd);
    painter.restore();
    ArrowHead(painter, to, angle, head, colour);
}

} // namespace Art
