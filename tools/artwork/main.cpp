// kaleidra_artwork OUTPUT_DIR TOOLBARS_JSON [PREVIEW_PNG]
//
// Paints every bitmap strip and icon of the language bundles into
// OUTPUT_DIR/bitmaps/<number>.png and OUTPUT_DIR/icons/<number>.png. The
// tool bar strips follow the button order of TOOLBARS_JSON, so a button moved
// there gets its image moved with it. PREVIEW_PNG, when given, receives all
// strips enlarged on one sheet for looking at them together.
#include "ids/resource_ids.h"
#include "tools/artwork/art.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <map>

namespace {

bool Save(const QImage& image, const QString& path)
{
    if (image.isNull() || !image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QImage Preview(const std::map<int, QImage>& strips)
{
    constexpr int zoom = 4;
    int width = 0;
    int height = 0;
    for (const auto& [id, strip] : strips) {
        width = std::max(width, strip.width() * zoom);
        height += strip.height() * zoom + 8;
    }
    QImage sheet(width + 16, height + 8, QImage::Format_RGB32);
    sheet.fill(QColor(0xf0, 0xf0, 0xf0));
    QPainter painter(&sheet);
    int y = 8;
    for (const auto& [id, strip] : strips) {
        QImage shown = strip.convertToFormat(QImage::Format_ARGB32);
        for (int row = 0; row < shown.height(); ++row) {
            auto* line = reinterpret_cast<QRgb*>(shown.scanLine(row));
            for (int x = 0; x < shown.width(); ++x) {
                if (line[x] == Art::kKeyGreen) {
                    line[x] = 0;
                }
            }
        }
        painter.drawImage(QRect(8, y, strip.width() * zoom, strip.height() * zoom), shown);
        y += strip.height() * zoom + 8;
    }
    return sheet;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: kaleidra_artwork OUTPUT_DIR TOOLBARS_JSON [PREVIEW_PNG]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("bitmaps")) || !out.mkpath(QStringLiteral("icons"))) {
        std::fprintf(stderr, "cannot create the output folders\n");
        return 1;
    }
    QFile toolbarFile(QString::fromLocal8Bit(argv[2]));
    if (!toolbarFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 1;
    }
    const QJsonObject toolbars = QJsonDocument::fromJson(toolbarFile.readAll()).object();

    std::map<int, QImage> strips;
    for (auto it = toolbars.begin(); it != toolbars.end(); ++it) {
        const QJsonObject bar = it.value().toObject();
        QVector<QImage> buttons;
        for (const QJsonValue& value : bar.value(QLatin1String("buttons")).toArray()) {
            const int command = value.toInt();
            if (command == 0) {
                continue;
            }
            QImage canvas = Art::Canvas(Res::kToolButtonSize, Res::kToolButtonSize);
            QPainter painter;
            Art::Begin(painter, canvas);
            const bool painted = Art::PaintCommand(painter, command);
            painter.end();
            if (!painted) {
                std::fprintf(stderr, "no image for command 0x%X\n", command);
                return 1;
            }
            buttons.append(Art::KeyOnGreen(canvas));
        }
        strips[bar.value(QLatin1String("bitmap")).toInt()] = Art::Strip(buttons);
    }
    for (const Res::StripSpec& spec : Res::kStrips) {
        strips[spec.id] = Art::PaintStrip(spec.id);
    }
    bool ok = true;
    for (const auto& [id, strip] : strips) {
        ok = Save(strip, out.filePath(QStringLiteral("bitmaps/%1.png").arg(id))) && ok;
    }
    std::map<int, QImage> icons;
    for (int id : Res::kIcons) {
        icons[id] = Art::PaintIcon(id, 64);
        ok = Save(icons[id], out.filePath(QStringLiteral("icons/%1.png").arg(id))) && ok;
    }
    if (argc > 3) {
        QImage iconRow(64 * static_cast<int>(icons.size()) + 8 * static_cast<int>(icons.size()), 64,
                       QImage::Format_ARGB32);
        iconRow.fill(Qt::transparent);
        QPainter painter(&iconRow);
        int x = 0;
        for (const auto& [id, icon] : icons) {
            painter.drawImage(x, 0, icon);
            x += 72;
        }
        painter.end();
        QImage sheet = Preview(strips);
        QImage full(std::max(sheet.width(), iconRow.width() + 16), sheet.height() + 80,
                    QImage::Format_RGB32);
        full.fill(QColor(0xf0, 0xf0, 0xf0));
        QPainter joined(&full);
        joined.drawImage(0, 0, sheet);
        joined.drawImage(8, sheet.height() + 8, iconRow);
        joined.end();
        ok = Save(full, QString::fromLocal8Bit(argv[3])) && ok;
    }
    return ok ? 0 : 1;
}
