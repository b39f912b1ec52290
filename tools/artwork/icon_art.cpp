// The application icon and one icon per document type: a sheet of paper with
// the emblem of its content and a band with the file extension.
#include "ids/resource_ids.h"
#include "tools/artwork/art.h"

#include <QFont>
#include <QLinearGradient>
#include <QtMath>

namespace Art {

namespace {

void Branch(QPainter& p, QPointF from, double angle, double length, int depth)
{
    const QPointF to = from + QPointF(length * std::cos(angle), length * std::sin(angle));
    p.setPen(Pen(kGreen.darker(100 + 12 * (4 - depth)), 0.8 + depth * 0.7));
    p.drawLine(from, to);
    if (depth == 0) {
        return;
    }
    Branch(p, to, angle - 0.45, length * 0.7, depth - 1);
    Branch(p, to, angle + 0.45, length * 0.7, depth - 1);
}

QVector<QPointF> Dragon(int depth)
{
    // Turn sequence of the paper-folding curve.
    QVector<int> turns;
    for (int i = 0; i < depth; ++i) {
        QVector<int> next = turns;
        next.append(1);
        for (int k = static_cast<int>(turns.size()) - 1; k >= 0; --k) {
            next.append(-turns[k]);
        }
        turns = next;
    }
    QVector<QPointF> points = {QPointF(0, 0), QPointF(1, 0)};
    int heading = 0;
    const QPointF steps[4] = {QPointF(1, 0), QPointF(0, 1), QPointF(-1, 0), QPointF(0, -1)};
    for (int turn : turns) {
        heading = (heading + turn + 4) % 4;
        points.append(points.back() + steps[heading]);
    }
    return points;
}

void Emblem(QPainter& p, int id, const QRectF& area)
{
    const QPointF c = area.center();
    const double r = std::min(area.width(), area.height()) / 2.0;
    switch (id) {
    case Res::DocType::Fractal:
        p.setPen(Pen(kPurple.darker(130), 1.5));
        p.setBrush(kLavender);
        p.drawPath(Snowflake(c + QPointF(0, r * 0.12), r * 0.95, 2));
        return;
    case Res::DocType::Generator: {
        const QVector<QPointF> points = {c + QPointF(-r, r * 0.35), c + QPointF(-r / 3, r * 0.35),
                                         c + QPointF(0, -r * 0.6), c + QPointF(r / 3, r * 0.35),
                                         c + QPointF(r, r * 0.35)};
        QPen pen = Pen(kTeal, 3.0);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF(points));
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        for (const QPointF& point : points) {
            p.drawEllipse(point, 2.6, 2.6);
        }
        return;
    }
    case Res::DocType::Initiator: {
        const QPolygonF triangle = RegularPolygon(c + QPointF(0, r * 0.15), r * 0.95, 3);
        p.setPen(Pen(kBlue, 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(triangle);
        p.setPen(Pen(kRed, 2.0));
        p.setBrush(kPaper);
        for (const QPointF& corner : triangle) {
            p.drawEllipse(corner, 3.5, 3.5);
        }
        return;
    }
    case Res::DocType::Ifs: {
        QPen dashed = Pen(kGrey, 1.2);
        dashed.setDashPattern({3.0, 2.0});
        p.setPen(dashed);
        p.setBrush(Qt::NoBrush);
        const QRectF unit(c.x() - r * 0.85, c.y() - r * 0.7, r * 1.2, r * 1.2);
        p.drawRect(unit);
        const QPointF w = unit.bottomLeft() + QPointF(r * 0.35, 0);
        const QPointF u = w + QPointF(r * 1.1, -r * 0.3);
        const QPointF v = w + QPointF(r * 0.3, -r * 0.95);
        p.setPen(Pen(kBlue.darker(130), 1.5));
        p.setBrush(kLightBlue);
        p.drawPolygon(QPolygonF({w, u, u + v - w, v}));
        p.setPen(Pen(kInk, 1.0));
        p.setBrush(kRed);
        p.drawEllipse(u, 3.2, 3.2);
        p.setBrush(kGreen);
        p.drawEllipse(v, 3.2, 3.2);
        p.setBrush(kBlue);
        p.drawRect(QRectF(w - QPointF(3, 3), QSizeF(6, 6)));
        return;
    }
    case Res::DocType::Lsys:
        Branch(p, c + QPointF(0, r * 0.95), -M_PI / 2.0, r * 0.62, 4);
        return;
    case Res::DocType::Automaton: {
        const QVector<QPointF> points = Dragon(8);
        QRectF box = QPolygonF(points).boundingRect();
        const double scale = std::min(area.width() / box.width(), area.height() / box.height());
        QPolygonF curve;
        for (const QPointF& point : points) {
            curve << c + (point - box.center()) * scale * 0.95;
        }
        QPen pen = Pen(kOrange.darker(120), 1.2);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(curve);
        return;
    }
    default: { // directions: a compass of eight headings
        p.setPen(Pen(kInk, 1.5));
        p.setBrush(kPaperShade);
        p.drawEllipse(c, r * 0.8, r * 0.8);
        for (int k = 0; k < 8; ++k) {
            const double a = -2.0 * M_PI * k / 8.0;
            const QPointF end = c + QPointF(r * 0.8 * std::cos(a), r * 0.8 * std::sin(a));
            p.setPen(Pen(k == 0 ? kRed : kInk, k == 0 ? 2.5 : 1.3));
            p.drawLine(c, end);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(c, 2.5, 2.5);
        return;
    }
    }
}

QColor BandColour(int id)
{
    switch (id) {
    case Res::DocType::Fractal:
        return kPurple;
    case Res::DocType::Generator:
        return kTeal;
    case Res::DocType::Initiator:
        return kBlue;
    case Res::DocType::Ifs:
        return kBlue.darker(140);
    case Res::DocType::Lsys:
        return kGreen;
    case Res::DocType::Automaton:
        return kOrange.darker(110);
    default:
        return kRed;
    }
}

const char* Extension(int id)
{
    switch (id) {
    case Res::DocType::Fractal:
        return "FRAC";
    case Res::DocType::Generator:
        return "GEN";
    case Res::DocType::Initiator:
        return "INIT";
    case Res::DocType::Ifs:
        return "MAPS";
    case Res::DocType::Lsys:
        return "LSYS";
    case Res::DocType::Automaton:
        return "AUTO";
    default:
        return "DIRS";
    }
}

} // namespace

QImage PaintIcon(int id, int size)
{
    QImage canvas = Canvas(64, 64);
    QPainter p;
    Begin(p, canvas);
    if (id == Res::MainFrame) {
        QLinearGradient gradient(QPointF(4, 4), QPointF(60, 60));
        gradient.setColorAt(0.0, kPurple);
        gradient.setColorAt(1.0, kBlue);
        p.setPen(Pen(kInk, 1.5));
        p.setBrush(gradient);
        p.drawRoundedRect(QRectF(4.5, 4.5, 55.0, 55.0), 12.0, 12.0);
        p.setPen(Pen(kLavender, 1.2));
        p.setBrush(kPaper);
        p.drawPath(Snowflake(QPointF(32.0, 34.5), 23.0, 3));
    } else {
        const QRectF sheet(10.5, 3.5, 43.0, 57.0);
        Page(p, sheet, 12.0, 2.0);
        Emblem(p, id, QRectF(15.0, 12.0, 34.0, 30.0));
        const QRectF band(12.0, 46.0, 40.0, 12.0);
        p.setPen(Qt::NoPen);
        p.setBrush(BandColour(id));
        p.drawRect(band);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.setPen(kPaper);
        p.drawText(band, Qt::AlignCenter, QString::fromLatin1(Extension(id)));
    }
    p.end();
    if (size == 64) {
        return canvas;
    }
    return canvas.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace Art
