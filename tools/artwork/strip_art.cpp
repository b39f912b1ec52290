// The image strips other than the tool bars: busy animation, band images,
// chooser, shapes, handles, row images, markers and the generation buttons.
#include "ids/command_ids.h"
#include "ids/resource_ids.h"
#include "tools/artwork/art.h"

#include <QFont>
#include <QtMath>

#include <functional>

namespace Art {

namespace {

using CellPainter = std::function<void(QPainter&, int)>;

QImage Cells(int count, int width, int height, const CellPainter& paint)
{
    QVector<QImage> images;
    for (int i = 0; i < count; ++i) {
        QImage canvas = Canvas(width, height);
        QPainter painter;
        Begin(painter, canvas);
        paint(painter, i);
        painter.end();
        images.append(KeyOnGreen(canvas));
    }
    return Strip(images);
}

// Twelve dots on a ring; the head moves on by one dot per frame and the five
// dots behind it fade from purple to the ring's grey.
void BusyFrame(QPainter& p, int frame)
{
    const QPointF centre(16.0, 16.0);
    for (int i = 0; i < 12; ++i) {
        const int age = (frame - i + 12) % 12;
        const double a = -M_PI / 2.0 + i * M_PI / 6.0;
        QColor colour = kLightGrey;
        double radius = 2.2;
        if (age < 6) {
            const double t = age / 6.0;
            colour =
                QColor::fromRgbF(kPurple.redF() + (kLightGrey.redF() - kPurple.redF()) * t,
                                 kPurple.greenF() + (kLightGrey.greenF() - kPurple.greenF()) * t,
                                 kPurple.blueF() + (kLightGrey.blueF() - kPurple.blueF()) * t);
            radius = 3.2 - age * 0.17;
        }
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(centre + QPointF(11.5 * std::cos(a), 11.5 * std::sin(a)), radius, radius);
    }
    p.setPen(Pen(kPurple.darker(120), 1.0));
    p.setBrush(kLavender);
    p.drawPath(Snowflake(QPointF(16.0, 16.6), 5.2, 1));
}

void BandImage(QPainter& p, int index)
{
    switch (index) {
    case 0: { // editor tool bar: a pencil drawing a segment
        p.setPen(Pen(kTeal, 1.5));
        p.drawLine(QPointF(2.0, 17.5), QPointF(9.0, 17.5));
        QPolygonF pencil;
        pencil << QPointF(8.0, 16.0) << QPointF(9.0, 12.0) << QPointF(17.0, 4.0)
               << QPointF(20.0, 7.0) << QPointF(12.0, 15.0);
        p.setPen(Pen(kInk, 1.0));
        p.setBrush(kYellow);
        p.drawPolygon(pencil);
        p.setBrush(kInk);
        p.drawPolygon(QPolygonF({QPointF(8.0, 16.0), QPointF(8.6, 13.6), QPointF(10.4, 15.4)}));
        return;
    }
    case 1: // generation bar: three generations, each finer
        p.setPen(Pen(kPurple, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(2.0, 4.5), QPointF(18.0, 4.5));
        p.drawPolyline(QPolygonF({QPointF(2.0, 11.5), QPointF(7.3, 11.5), QPointF(10.0, 7.0),
                                  QPointF(12.7, 11.5), QPointF(18.0, 11.5)}));
        p.drawPolyline(QPolygonF({QPointF(2.0, 18.0), QPointF(3.8, 18.0), QPointF(4.7, 16.5),
                                  QPointF(5.6, 18.0), QPointF(7.3, 18.0), QPointF(8.2, 16.5),
                                  QPointF(10.0, 13.5), QPointF(11.8, 16.5), QPointF(12.7, 18.0),
                                  QPointF(14.4, 18.0), QPointF(15.3, 16.5), QPointF(16.2, 18.0),
                                  QPointF(18.0, 18.0)}));
        return;
    case 2: // pattern bar: shapes
        p.setPen(Pen(kInk, 1.0));
        p.setBrush(kLightTeal);
        p.drawPolygon(RegularPolygon(QPointF(6.5, 7.0), 5.0, 3));
        p.setBrush(kLavender);
        p.drawPolygon(RegularPolygon(QPointF(13.0, 13.5), 5.5, 5));
        return;
    case 3: // grid bar
        p.setPen(Pen(kBlue, 1.0));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 1.5, 17.0, 17.0));
        for (double v : {5.75, 10.0, 14.25}) {
            p.drawLine(QPointF(v, 1.5), QPointF(v, 18.5));
            p.drawLine(QPointF(1.5, v), QPointF(18.5, v));
        }
        return;
    default: // fractal tool bar
        p.setPen(Pen(kPurple.darker(130), 1.0));
        p.setBrush(kPurple);
        p.drawPath(Snowflake(QPointF(10.0, 10.8), 9.2, 2));
        return;
    }
}

void ShapeImage(QPainter& p, int index)
{
    const QPointF centre(8.0, 8.0);
    if (index == 0) { // no shape
        p.setPen(Pen(kGrey, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, 5.0, 5.0);
        p.drawLine(QPointF(4.5, 11.5), QPointF(11.5, 4.5));
        return;
    }
    if (index == 1) { // two sides: out and back
        Arrow(p, QPointF(2.0, 6.0), QPointF(14.5, 6.0), kTeal, 1.4, 4.0);
        Arrow(p, QPointF(14.0, 11.0), QPointF(1.5, 11.0), kTeal, 1.4, 4.0);
        return;
    }
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(kLightTeal);
    p.drawPolygon(RegularPolygon(centre, index < 5 ? 6.8 : 7.2, index + 1));
    if (index >= 5) {
        // Past five sides the outlines look alike at this size: say the count.
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(8);
        font.setBold(true);
        p.setFont(font);
        p.setPen(kInk);
        p.drawText(QRectF(0.0, 0.5, 16.0, 16.0), Qt::AlignCenter, QString::number(index + 1));
    }
}

void HandleImage(QPainter& p, int index)
{
    const QPointF centre(8.5, 8.5);
    const bool unit = index >= 3;
    const int role = index % 3; // 0 origin w, 1 x handle u, 2 y handle v
    const QColor colour = role == 0 ? kBlue : role == 1 ? kRed : kGreen;
    if (unit) {
        p.setPen(Pen(colour, 1.6));
        p.setBrush(Qt::NoBrush);
    } else {
        p.setPen(Pen(colour.darker(150), 1.0));
        p.setBrush(colour);
    }
    if (role == 0) {
        p.drawRect(QRectF(4.5, 4.5, 8.0, 8.0));
    } else {
        p.drawEllipse(centre, 4.3, 4.3);
    }
    if (!unit) {
        p.setPen(Qt::NoPen);
        p.setBrush(kPaper);
        p.drawRect(QRectF(8.0, 8.0, 1.0, 1.0));
    }
}

void Warning(QPainter& p)
{
    p.setPen(Pen(kDarkYellow, 1.0));
    p.setBrush(kYellow);
    p.drawPolygon(QPolygonF({QPointF(8.0, 1.5), QPointF(15.0, 14.5), QPointF(1.0, 14.5)}));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(7.1, 5.5, 1.8, 5.0));
    p.drawRect(QRectF(7.1, 11.5, 1.8, 1.8));
}

void Sigma(QPainter& p, const QColor& colour)
{
    QPen pen = Pen(colour, 1.8);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(12.5, 3.5), QPointF(3.5, 3.5), QPointF(8.5, 8.0),
                              QPointF(3.5, 12.5), QPointF(12.5, 12.5)}));
}

void RowImage(QPainter& p, int index, bool automaton)
{
    const QColor accent = automaton ? kOrange : kGreen;
    switch (index) {
    case 0: // the start word
        p.setPen(Pen(accent.darker(140), 1.0));
        p.setBrush(accent);
        p.drawPolygon(QPolygonF({QPointF(3.5, 2.5), QPointF(13.5, 8.0), QPointF(3.5, 13.5)}));
        return;
    case 1: // a rule or a production
        Arrow(p, QPointF(1.5, 8.0), QPointF(15.0, 8.0), kBlue, 2.0, 5.5);
        if (automaton) {
            p.setPen(Qt::NoPen);
            p.setBrush(kInk);
            for (double x : {2.0, 5.0}) {
                p.drawRect(QRectF(x, 11.5, 2.0, 2.0));
            }
        }
        return;
    case 2: // a summary
        if (automaton) {
            QPen pen = Pen(kGreen, 2.2);
            pen.setCapStyle(Qt::RoundCap);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6.0, 12.5), QPointF(13.5, 3.5)}));
        } else {
            Sigma(p, kPurple);
        }
        return;
    default: // a problem
        Warning(p);
        return;
    }
}

void InfoImage(QPainter& p, int index)
{
    switch (index) {
    case 0: { // the kind and the generation count: a tag
        QPolygonF tag;
        tag << QPointF(1.5, 8.0) << QPointF(6.0, 3.5) << QPointF(14.5, 3.5) << QPointF(14.5, 12.5)
            << QPointF(6.0, 12.5);
        p.setPen(Pen(kDarkYellow, 1.0));
        p.setBrush(kYellow);
        p.drawPolygon(tag);
        p.setPen(Qt::NoPen);
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(5.5, 8.0), 1.3, 1.3);
        return;
    }
    case 1: // the name: the fractal itself
        p.setPen(Pen(kPurple.darker(120), 1.0));
        p.setBrush(kLavender);
        p.drawPath(Snowflake(QPointF(8.0, 8.6), 7.0, 1));
        return;
    case 2: // a measured generation: stacked layers
        p.setPen(Pen(kInk, 1.0));
        for (int i = 2; i >= 0; --i) {
            p.setBrush(i == 0 ? kLightBlue : kPaperShade);
            p.drawPolygon(QPolygonF({QPointF(8.0, 2.5 + 3.5 * i), QPointF(14.5, 5.5 + 3.5 * i),
                                     QPointF(8.0, 8.5 + 3.5 * i), QPointF(1.5, 5.5 + 3.5 * i)}));
        }
        return;
    case 3: // a position: cross hairs
        p.setPen(Pen(kRed, 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8.0, 8.0), 4.5, 4.5);
        p.drawLine(QPointF(8.0, 1.0), QPointF(8.0, 15.0));
        p.drawLine(QPointF(1.0, 8.0), QPointF(15.0, 8.0));
        return;
    case 4: // a width
        Arrow(p, QPointF(8.0, 8.0), QPointF(15.5, 8.0), kBlue, 1.6, 4.5);
        Arrow(p, QPointF(8.0, 8.0), QPointF(0.5, 8.0), kBlue, 1.6, 4.5);
        return;
    default: // a height
        Arrow(p, QPointF(8.0, 8.0), QPointF(8.0, 15.5), kTeal, 1.6, 4.5);
        Arrow(p, QPointF(8.0, 8.0), QPointF(8.0, 0.5), kTeal, 1.6, 4.5);
        return;
    }
}

// The editor draws these 10 by 10 from the top-left corner, centred on the
// point, so the figure stays inside that square around pixel (5, 5).
void PatternMarker(QPainter& p, int index)
{
    const QPointF centre(5.5, 5.5);
    if (index == 0) { // where the next segment starts
        p.setPen(Pen(kBlue, 1.6));
        p.setBrush(kPaper);
        p.drawEllipse(centre, 3.4, 3.4);
    } else { // where the segment being drawn ends
        p.setPen(Pen(kRed.darker(140), 1.0));
        p.setBrush(kRed);
        p.drawRect(QRectF(2.5, 2.5, 6.0, 6.0));
    }
}

void FractalMarker(QPainter& p, int index)
{
    const QPointF c(8.5, 8.5);
    switch (index) {
    case 0: // a plain dot
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(c, 2.0, 2.0);
        return;
    case 1: // the image of the origin under a map
        p.setPen(Pen(kInk, 1.0));
        p.setBrush(kBlue);
        p.drawEllipse(c, 3.8, 3.8);
        return;
    case 2: // a generator point
        p.setPen(Pen(kTeal.darker(150), 1.0));
        p.setBrush(kTeal);
        p.drawPolygon(QPolygonF({c + QPointF(0, -4.5), c + QPointF(4.5, 0), c + QPointF(0, 4.5),
                                 c + QPointF(-4.5, 0)}));
        return;
    case 3:
        p.setPen(Pen(kInk, 1.0));
        p.setBrush(kOrange);
        p.drawRect(QRectF(5.0, 5.0, 7.0, 7.0));
        return;
    case 4: // an initiator point
        p.setPen(Pen(kRed, 1.7));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 3.8, 3.8);
        return;
    case 5:
        p.setPen(Pen(kInk, 1.0));
        p.setBrush(kPurple);
        p.drawPolygon(RegularPolygon(c + QPointF(0, 0.5), 5.0, 3));
        return;
    case 6:
        p.setPen(Pen(kRed, 1.8));
        p.drawLine(c + QPointF(-3.5, -3.5), c + QPointF(3.5, 3.5));
        p.drawLine(c + QPointF(-3.5, 3.5), c + QPointF(3.5, -3.5));
        return;
    case 7:
        p.setPen(Pen(kBlue, 1.8));
        p.drawLine(c + QPointF(-4.5, 0), c + QPointF(4.5, 0));
        p.drawLine(c + QPointF(0, -4.5), c + QPointF(0, 4.5));
        return;
    case 8: // the image of a point under two maps
        p.setPen(Pen(kPurple.darker(150), 1.0));
        p.setBrush(kPurple);
        p.drawRect(QRectF(6.0, 6.0, 5.0, 5.0));
        return;
    case 9: // the origin
        p.setPen(Pen(kInk, 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 4.5, 4.5);
        p.drawLine(QPointF(8.5, 1.0), QPointF(8.5, 16.0));
        p.drawLine(QPointF(1.0, 8.5), QPointF(16.0, 8.5));
        return;
    case 10: { // a star
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double a = -M_PI / 2.0 + i * M_PI / 5.0;
            const double r = i % 2 == 0 ? 6.0 : 2.6;
            star << c + QPointF(r * std::cos(a), r * std::sin(a));
        }
        p.setPen(Pen(kDarkYellow, 1.0));
        p.setBrush(kYellow);
        p.drawPolygon(star);
        return;
    }
    default:
        p.setPen(Pen(kTeal, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(RegularPolygon(c, 4.8, 6));
        return;
    }
}

void CommandImage(QPainter& p, int command)
{
    PaintCommand(p, command);
}

} // namespace

QImage PaintStrip(int bitmap)
{
    for (const Res::StripSpec& spec : Res::kStrips) {
        if (spec.id != bitmap) {
            continue;
        }
        CellPainter paint;
        switch (bitmap) {
        case Res::Bitmap::BusyAnimation:
            paint = BusyFrame;
            break;
        case Res::Bitmap::BandImages:
            paint = BandImage;
            break;
        case Res::Bitmap::PresetChooser:
            paint = [](QPainter& p, int i) {
                p.setPen(Pen(i == 0 ? kPurple : kPurple.darker(160), 1.0));
                p.setBrush(i == 0 ? kLavender : kPurple);
                p.drawPath(Snowflake(QPointF(8.0, 8.6), 7.0, 1));
            };
            break;
        case Res::Bitmap::PatternShapes:
            paint = ShapeImage;
            break;
        case Res::Bitmap::IfsHandles:
            paint = HandleImage;
            break;
        case Res::Bitmap::LsysRows:
            paint = [](QPainter& p, int i) { RowImage(p, i, false); };
            break;
        case Res::Bitmap::AutomatonRows:
            paint = [](QPainter& p, int i) { RowImage(p, i, true); };
            break;
        case Res::Bitmap::InfoRows:
            paint = InfoImage;
            break;
        case Res::Bitmap::PatternMarkers:
            paint = PatternMarker;
            break;
        case Res::Bitmap::FractalMarkers:
            paint = FractalMarker;
            break;
        case Res::Bitmap::MoreGenerations:
            paint = [](QPainter& p, int) { CommandImage(p, Cmd::MoreGenerations); };
            break;
        case Res::Bitmap::FewerGenerations:
            paint = [](QPainter& p, int) { CommandImage(p, Cmd::FewerGenerations); };
            break;
        default:
            return {};
        }
        return Cells(spec.count, spec.width, spec.height, paint);
    }
    return {};
}

} // namespace Art
