#pragma once

// Shared pieces of the artwork painter: the palette, the canvas helpers and a
// few figures (snowflake, page, arrows) that several images reuse.
//
// Images of the bitmap strips are painted antialiased on a transparent cell
// and then keyed onto pure green: a pixel at least half covered takes the
// figure's own colour, every other pixel becomes green. A blended edge would
// be neither figure nor green and would show as a green fringe.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QVector>

namespace Art {

// The palette every image draws from.
inline const QColor kInk{0x26, 0x2a, 0x3a};
inline const QColor kPaper{0xff, 0xff, 0xff};
inline const QColor kPaperShade{0xdc, 0xe0, 0xea};
inline const QColor kGrey{0x80, 0x84, 0x90};
inline const QColor kLightGrey{0xc4, 0xc8, 0xd4};
inline const QColor kBlue{0x2f, 0x6f, 0xd0};
inline const QColor kLightBlue{0x9c, 0xc2, 0xf2};
inline const QColor kRed{0xd0, 0x30, 0x30};
inline const QColor kYellow{0xf0, 0xc0, 0x40};
inline const QColor kDarkYellow{0xb0, 0x80, 0x18};
inline const QColor kPurple{0x7a, 0x3f, 0xc0};
inline const QColor kLavender{0xcf, 0xb8, 0xf0};
inline const QColor kTeal{0x1f, 0x94, 0x8a};
inline const QColor kLightTeal{0xa8, 0xe0, 0xd8};
inline const QColor kGreen{0x2e, 0x9a, 0x3e};
inline const QColor kOrange{0xe8, 0x80, 0x20};

inline constexpr QRgb kKeyGreen = 0xff00ff00;

// A transparent canvas and a painter on it with antialiasing on.
QImage Canvas(int width, int height);
void Begin(QPainter& painter, QImage& canvas);
// Keys a canvas onto pure green (see above).
QImage KeyOnGreen(const QImage& canvas);
// Lays equal images side by side.
QImage Strip(const QVector<QImage>& images);

QPen Pen(const QColor& colour, double width = 1.0);
// A Koch snowflake about `centre`, its corners on a circle of `radius`.
QPainterPath Snowflake(QPointF centre, double radius, int depth);
// A regular polygon with a flat bottom edge.
QPolygonF RegularPolygon(QPointF centre, double radius, int sides);
// A sheet of paper with a folded top-right corner inside `rect`.
void Page(QPainter& painter, const QRectF& rect, double fold, double penWidth = 1.0);
// A straight arrow from `from` to `to` with a filled head of `head` pixels.
void Arrow(QPainter& painter, QPointF from, QPointF to, const QColor& colour, double width,
           double head);
// A filled arrow head at `tip` pointing along `angleDegrees` (y down).
void ArrowHead(QPainter& painter, QPointF tip, double angleDegrees, double size,
               const QColor& colour);

// The 16x16 image of a tool button; false when the command has none.
bool PaintCommand(QPainter& painter, int command);
// The other strips, by bitmap number (see resource_ids.h).
QImage PaintStrip(int bitmap);
// An icon (application or document type), `size` pixels square, with alpha.
QImage PaintIcon(int id, int size);

} // namespace Art
