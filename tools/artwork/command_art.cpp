// The 16x16 images of the tool buttons, one per command.
#include "framework/standard_ids.h"
#include "ids/command_ids.h"
#include "tools/artwork/art.h"

#include <QtMath>

namespace Art {

namespace {

void Magnifier(QPainter& p, int sign)
{
    p.setPen(Pen(kInk, 2.5));
    p.drawLine(QPointF(10.5, 10.5), QPointF(14.2, 14.2));
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(kLightBlue);
    p.drawEllipse(QPointF(6.5, 6.5), 4.8, 4.8);
    p.setPen(Pen(kInk, 1.6));
    if (sign == 0) { // actual size: a "1"
        p.drawLine(QPointF(7.0, 3.8), QPointF(7.0, 9.4));
        p.drawLine(QPointF(5.4, 5.0), QPointF(7.0, 3.8));
        return;
    }
    p.drawLine(QPointF(4.0, 6.5), QPointF(9.0, 6.5));
    if (sign > 0) {
        p.drawLine(QPointF(6.5, 4.0), QPointF(6.5, 9.0));
    }
}

void Badge(QPainter& p, const QColor& colour, QChar mark)
{
    p.setPen(Pen(colour.darker(140), 1.0));
    p.setBrush(colour);
    p.drawEllipse(QPointF(8.0, 8.0), 7.0, 7.0);
    p.setPen(Pen(kPaper, 2.0));
    if (mark == u'i') {
        p.setPen(Qt::NoPen);
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(8.0, 4.6), 1.4, 1.4);
        p.drawRect(QRectF(7.0, 7.0, 2.0, 5.6));
        return;
    }
    // A question mark: a hook and a dot.
    QPainterPath hook;
    hook.moveTo(5.4, 6.0);
    hook.cubicTo(5.4, 2.6, 10.8, 2.6, 10.6, 6.0);
    hook.cubicTo(10.5, 7.6, 8.0, 7.8, 8.0, 10.0);
    p.setBrush(Qt::NoBrush);
    QPen pen = Pen(kPaper, 1.9);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(8.0, 12.4), 1.2, 1.2);
}

void Parallelogram(QPainter& p, const QColor& colour)
{
    p.setPen(Pen(kGrey, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 5.5, 8.0, 8.0));
    QPolygonF image;
    image << QPointF(3.5, 13.5) << QPointF(10.5, 11.5) << QPointF(12.5, 5.5) << QPointF(5.5, 7.5);
    p.setPen(Pen(colour.darker(130), 1.0));
    p.setBrush(colour);
    p.drawPolygon(image);
}

void Chain(QPainter& p, const QVector<QPointF>& points, const QColor& colour, double width)
{
    QPen pen = Pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF(points));
}

void Cross(QPainter& p, QPointF centre, double half, const QColor& colour, double width)
{
    QPen pen = Pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(centre + QPointF(-half, -half), centre + QPointF(half, half));
    p.drawLine(centre + QPointF(-half, half), centre + QPointF(half, -half));
}

void PlusMinus(QPainter& p, QPointF centre, bool plus, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(centre.x() - 3.0, centre.y() - 1.0, 6.0, 2.0));
    if (plus) {
        p.drawRect(QRectF(centre.x() - 1.0, centre.y() - 3.0, 2.0, 6.0));
    }
}

} // namespace

bool PaintCommand(QPainter& p, int command)
{
    switch (command) {
    case Cmd::FileNew: {
        Page(p, QRectF(3.5, 1.5, 10.0, 13.0), 3.5);
        // A four-pointed spark: something new.
        QPolygonF spark;
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4.0;
            const double r = i % 2 == 0 ? 4.2 : 1.4;
            spark << QPointF(4.5 + r * std::cos(a), 11.5 + r * std::sin(a));
        }
        p.setPen(Pen(kDarkYellow, 1.0));
        p.setBrush(kYellow);
        p.drawPolygon(spark);
        return true;
    }
    case Cmd::FileOpen: {
        QPolygonF back;
        back << QPointF(1.5, 3.5) << QPointF(6.0, 3.5) << QPointF(7.5, 5.0) << QPointF(13.5, 5.0)
             << QPointF(13.5, 13.5) << QPointF(1.5, 13.5);
        p.setPen(Pen(kDarkYellow, 1.0));
        p.setBrush(kYellow.darker(110));
        p.drawPolygon(back);
        QPolygonF front;
        front << QPointF(3.5, 7.5) << QPointF(15.5, 7.5) << QPointF(13.5, 13.5)
              << QPointF(1.5, 13.5);
        p.setBrush(kYellow);
        p.drawPolygon(front);
        return true;
    }
    case Cmd::FileSave:
        p.setPen(Pen(kInk, 1.0));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13.0, 13.0), 1.5, 1.5);
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 1.5, 7.0, 5.0));
        p.setBrush(kLightGrey);
        p.drawRect(QRectF(4.5, 9.5, 7.0, 5.0));
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawRect(QRectF(9.0, 10.5, 1.5, 3.0));
        return true;
    case Cmd::FilePrint:
        p.setPen(Pen(kInk, 1.0));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 1.5, 7.0, 5.0));
        p.setBrush(kGrey);
        p.drawRoundedRect(QRectF(1.5, 6.5, 13.0, 6.0), 1.0, 1.0);
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 10.5, 7.0, 4.0));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawRect(QRectF(11.5, 8.0, 2.0, 1.5));
        return true;
    case Cmd::NewFromPreset:
        Page(p, QRectF(1.5, 1.5, 12.0, 13.0), 3.5);
        p.setPen(Pen(kPurple.darker(120), 1.0));
        p.setBrush(kLavender);
        p.drawPath(Snowflake(QPointF(7.5, 9.0), 4.6, 1));
        return true;
    case Cmd::RandomOneOfEach:
        p.setPen(Pen(kInk, 1.0));
        p.setBrush(kPaper);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13.0, 13.0), 2.5, 2.5);
        p.setPen(Qt::NoPen);
        p.setBrush(kPurple);
        for (const QPointF& pip : {QPointF(4.8, 4.8), QPointF(11.2, 4.8), QPointF(8.0, 8.0),
                                   QPointF(4.8, 11.2), QPointF(11.2, 11.2)}) {
            p.drawEllipse(pip, 1.5, 1.5);
        }
        return true;
    case Cmd::DesignSheet: {
        QPainterPath square;
        square.moveTo(1.5, 14.5);
        square.lineTo(14.5, 14.5);
        square.lineTo(1.5, 1.5);
        square.closeSubpath();
        square.moveTo(4.5, 11.5);
        square.lineTo(4.5, 8.0);
        square.lineTo(8.0, 11.5);
        square.closeSubpath();
        p.setPen(Pen(kTeal.darker(140), 1.0));
        p.setBrush(kLightTeal);
        p.drawPath(square);
        p.setPen(Pen(kTeal.darker(140), 1.0));
        for (int i = 0; i < 4; ++i) {
            const double x = 3.5 + 3.0 * i;
            p.drawLine(QPointF(x, 14.5), QPointF(x, 13.0));
        }
        return true;
    }
    case Cmd::Help:
        Badge(p, kBlue, u'?');
        return true;
    case Cmd::AppAbout:
        p.setPen(Pen(kPurple.darker(150), 1.0));
        p.setBrush(kPurple);
        p.drawPath(Snowflake(QPointF(8.0, 8.6), 7.4, 2));
        return true;
    case Cmd::FractalInfo:
        Badge(p, kBlue, u'i');
        return true;
    case Cmd::Refresh: {
        QPen pen = Pen(kGreen, 2.2);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2.5, 2.5, 11.0, 11.0), 60 * 16, 280 * 16);
        ArrowHead(p, QPointF(13.2, 1.8), -40.0, 5.0, kGreen);
        return true;
    }
    case Cmd::Stop: {
        QPolygonF octagon;
        for (int i = 0; i < 8; ++i) {
            const double a = M_PI / 8.0 + i * M_PI / 4.0;
            octagon << QPointF(8.0 + 7.2 * std::cos(a), 8.0 + 7.2 * std::sin(a));
        }
        p.setPen(Pen(kRed.darker(140), 1.0));
        p.setBrush(kRed);
        p.drawPolygon(octagon);
        p.setPen(Qt::NoPen);
        p.setBrush(kPaper);
        p.drawRect(QRectF(3.5, 6.8, 9.0, 2.4));
        return true;
    }
    case Cmd::ZoomIn:
        Magnifier(p, 1);
        return true;
    case Cmd::ZoomOut:
        Magnifier(p, -1);
        return true;
    case Cmd::ZoomReset:
        Magnifier(p, 0);
        return true;
    case Cmd::ShowFractal:
        p.setPen(Pen(kPurple.darker(120), 1.0));
        p.setBrush(kLavender);
        p.drawPath(Snowflake(QPointF(8.0, 8.6), 7.4, 2));
        return true;
    case Cmd::ShowInitiator: {
        const QPointF a(2.5, 13.0), b(13.5, 13.0), c(8.0, 3.0);
        p.setPen(Pen(kBlue, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(QPolygonF({a, b, c}));
        p.setPen(Pen(kRed, 1.4));
        p.setBrush(kPaper);
        for (const QPointF& corner : {a, b, c}) {
            p.drawEllipse(corner, 2.0, 2.0);
        }
        return true;
    }
    case Cmd::ShowGenerator: {
        const QVector<QPointF> points = {QPointF(1.0, 11.5), QPointF(5.3, 11.5), QPointF(8.0, 5.5),
                                         QPointF(10.7, 11.5), QPointF(15.0, 11.5)};
        Chain(p, points, kTeal, 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        for (const QPointF& point : points) {
            p.drawRect(QRectF(point.x() - 1.2, point.y() - 1.2, 2.4, 2.4));
        }
        return true;
    }
    case Cmd::ChoosePreset:
        p.setPen(Pen(kInk, 1.0));
        p.setBrush(kPaperShade);
        p.drawRect(QRectF(4.5, 1.5, 10.0, 10.0));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 4.5, 10.0, 10.0));
        p.setPen(Pen(kPurple.darker(120), 1.0));
        p.setBrush(kPurple);
        p.drawPath(Snowflake(QPointF(6.5, 10.0), 4.0, 1));
        return true;
    case Cmd::OpenComponents:
        Page(p, QRectF(5.5, 1.5, 9.0, 10.0), 2.5);
        Chain(p, {QPointF(7.0, 8.5), QPointF(10.0, 4.5), QPointF(13.0, 8.5)}, kBlue, 1.2);
        Page(p, QRectF(1.5, 5.5, 9.0, 9.5), 2.5);
        Chain(p,
              {QPointF(2.8, 12.0), QPointF(4.8, 12.0), QPointF(6.0, 9.0), QPointF(7.2, 12.0),
               QPointF(9.2, 12.0)},
              kTeal, 1.2);
        return true;
    case Cmd::SquareGrid:
        p.setPen(Pen(kBlue, 1.0));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 1.5, 13.0, 13.0));
        for (double v : {5.5, 9.5}) {
            p.drawLine(QPointF(v, 1.5), QPointF(v, 14.5));
            p.drawLine(QPointF(1.5, v), QPointF(14.5, v));
        }
        return true;
    case Cmd::CircleGrid:
        p.setPen(Pen(kBlue, 1.0));
        p.setBrush(Qt::NoBrush);
        for (double r : {2.5, 4.7, 7.0}) {
            p.drawEllipse(QPointF(8.0, 8.0), r, r);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(QPointF(8.0, 8.0), 1.0, 1.0);
        return true;
    case Cmd::RayGrid:
        p.setPen(Pen(kBlue, 1.0));
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4.0;
            p.drawLine(QPointF(8.0, 8.0),
                       QPointF(8.0 + 7.0 * std::cos(a), 8.0 + 7.0 * std::sin(a)));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(QPointF(8.0, 8.0), 1.5, 1.5);
        return true;
    case Cmd::SaveMotif:
        Chain(p,
              {QPointF(1.5, 5.5), QPointF(4.5, 2.0), QPointF(7.5, 5.5), QPointF(10.5, 2.0),
               QPointF(13.5, 5.5)},
              kTeal, 1.5);
        Arrow(p, QPointF(8.0, 6.5), QPointF(8.0, 13.0), kBlue, 2.0, 4.5);
        Chain(p, {QPointF(2.0, 10.5), QPointF(2.0, 14.5), QPointF(14.0, 14.5), QPointF(14.0, 10.5)},
              kInk, 1.0);
        return true;
    case Cmd::InsertMotif:
        Arrow(p, QPointF(8.0, 1.0), QPointF(8.0, 6.5), kBlue, 2.0, 4.0);
        Chain(p, {QPointF(1.0, 13.5), QPointF(5.0, 13.5)}, kInk, 1.5);
        Chain(p, {QPointF(5.0, 13.5), QPointF(8.0, 8.5), QPointF(11.0, 13.5), QPointF(15.0, 13.5)},
              kTeal, 1.5);
        return true;
    case Cmd::DeleteLastStep:
        Chain(p, {QPointF(1.5, 13.0), QPointF(5.0, 5.0), QPointF(9.0, 11.0)}, kInk, 1.5);
        Chain(p, {QPointF(9.0, 11.0), QPointF(14.5, 3.0)}, kLightGrey, 1.5);
        Cross(p, QPointF(11.8, 7.0), 2.8, kRed, 2.0);
        return true;
    case Cmd::DeleteAllSteps:
        Chain(p, {QPointF(1.5, 13.0), QPointF(5.0, 5.0), QPointF(9.0, 11.0), QPointF(14.5, 3.0)},
              kGrey, 1.5);
        Cross(p, QPointF(8.0, 8.0), 5.5, kRed, 2.2);
        return true;
    case Cmd::FanMode:
        for (const QPointF& end :
             {QPointF(14.5, 13.5), QPointF(13.5, 7.0), QPointF(10.0, 2.5), QPointF(4.0, 1.5)}) {
            Arrow(p, QPointF(2.5, 13.5), end, kTeal, 1.2, 3.5);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(QPointF(2.5, 13.5), 1.8, 1.8);
        return true;
    case Cmd::Counterclockwise: {
        p.setPen(Pen(kGrey, 1.0));
        p.setBrush(kLightTeal);
        p.drawPolygon(RegularPolygon(QPointF(8.0, 8.5), 3.6, 3));
        QPen pen = Pen(kBlue, 1.8);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        // Counterclockwise on screen: from the right, over the top, to the left.
        p.drawArc(QRectF(1.5, 1.5, 13.0, 13.0), -30 * 16, 240 * 16);
        ArrowHead(p, QPointF(2.2, 11.8), 70.0, 4.5, kBlue);
        return true;
    }
    case Cmd::PatternInfoBox:
        p.setPen(Pen(kInk, 1.0));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 2.5, 13.0, 11.0));
        p.setBrush(kBlue);
        p.drawRect(QRectF(1.5, 2.5, 13.0, 3.0));
        Chain(p, {QPointF(10.5, 7.5), QPointF(4.0, 11.5), QPointF(12.0, 11.5)}, kPurple, 1.2);
        return true;
    case Cmd::AddMap:
        Parallelogram(p, kLightBlue);
        PlusMinus(p, QPointF(12.5, 3.5), true, kGreen);
        return true;
    case Cmd::DeleteMap:
        Parallelogram(p, kLightBlue);
        PlusMinus(p, QPointF(12.5, 3.5), false, kRed);
        return true;
    case Cmd::MirrorConstraint: {
        QPen dashed = Pen(kGrey, 1.0);
        dashed.setDashPattern({2.0, 2.0});
        p.setPen(dashed);
        p.drawLine(QPointF(1.0, 1.0), QPointF(15.0, 15.0));
        p.setPen(Pen(kBlue.darker(130), 1.0));
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF({QPointF(5.5, 1.5), QPointF(14.5, 1.5), QPointF(14.5, 7.5)}));
        p.setBrush(kLightBlue);
        p.drawPolygon(QPolygonF({QPointF(1.5, 5.5), QPointF(1.5, 14.5), QPointF(7.5, 14.5)}));
        return true;
    }
    case Cmd::QuarterTurnConstraint: {
        Arrow(p, QPointF(2.5, 13.5), QPointF(15.0, 13.5), kRed, 1.6, 4.0);
        Arrow(p, QPointF(2.5, 13.5), QPointF(2.5, 1.0), kGreen, 1.6, 4.0);
        QPen pen = Pen(kBlue, 1.4);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(-4.5, 6.5, 14.0, 14.0), 5 * 16, 70 * 16);
        ArrowHead(p, QPointF(4.6, 6.8), 190.0, 3.5, kBlue);
        return true;
    }
    case Cmd::AffineMapBox:
        Chain(p, {QPointF(4.5, 2.0), QPointF(2.0, 2.0), QPointF(2.0, 14.0), QPointF(4.5, 14.0)},
              kInk, 1.3);
        Chain(p, {QPointF(11.5, 2.0), QPointF(14.0, 2.0), QPointF(14.0, 14.0), QPointF(11.5, 14.0)},
              kInk, 1.3);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        for (const QPointF& dot :
             {QPointF(5.0, 4.5), QPointF(9.0, 4.5), QPointF(5.0, 9.5), QPointF(9.0, 9.5)}) {
            p.drawRect(QRectF(dot, QSizeF(2.5, 2.5)));
        }
        return true;
    case Cmd::MoreGenerations:
    case Cmd::FewerGenerations: {
        const bool up = command == Cmd::MoreGenerations;
        QPolygonF triangle;
        if (up) {
            triangle << QPointF(8.0, 3.0) << QPointF(14.0, 12.0) << QPointF(2.0, 12.0);
        } else {
            triangle << QPointF(8.0, 13.0) << QPointF(14.0, 4.0) << QPointF(2.0, 4.0);
        }
        p.setPen(Pen(kBlue.darker(150), 1.0));
        p.setBrush(up ? kBlue : kPurple);
        p.drawPolygon(triangle);
        return true;
    }
    default:
        return false;
    }
}

} // namespace Art
