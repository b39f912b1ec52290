#include "app/color_bar.h"

#include "framework/menu_builder.h"
#include "ids/command_ids.h"
#include "render/gdi_surface.h"

#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>
#include <qdrawutil.h>

namespace {

constexpr int kSwatchSize = 24;
constexpr int kEdgeWidth = 2;

} // namespace

CColorSwatch::CColorSwatch(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CColorSwatch::SetColor(Color color)
{
    m_color = color;
    update();
}

QSize CColorSwatch::sizeHint() const
{
    return {kSwatchSize, kSwatchSize};
}

void CColorSwatch::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, ToQColor(m_color));
    // Raised while up, sunken while the mouse holds it down.
    qDrawWinPanel(&painter, area, palette(), isDown(), nullptr);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect =
            area.adjusted(kEdgeWidth + 1, kEdgeWidth + 1, -kEdgeWidth - 1, -kEdgeWidth - 1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

CColorBar::CColorBar(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    for (int k = 0; k < kSwatchCount; ++k) {
        auto* swatch = new CColorSwatch(this);
        swatch->setObjectName(QString::number(Cmd::Color(k)));
        const CommandStrings strings = CommandStringsFor(Cmd::Color(k));
        swatch->setToolTip(strings.toolTip);
        swatch->setStatusTip(strings.statusTip);
        swatch->setAccessibleName(strings.toolTip);
        layout->addWidget(swatch, 0, Qt::AlignHCenter);
        m_swatches[static_cast<std::size_t>(k)] = swatch;
    }
    layout->addStretch(1);
}

void CColorBar::SetColors(const ColorSet& colors)
{
    for (int k = 0; k < kSwatchCount; ++k) {
        SetColor(k, colors[static_cast<std::size_t>(k)]);
    }
}

void CColorBar::SetColor(int k, Color color)
{
    if (CColorSwatch* swatch = Swatch(k)) {
        swatch->SetColor(color);
    }
}

Color CColorBar::GetColor(int k) const
{
    const CColorSwatch* swatch = Swatch(k);
    return swatch ? swatch->GetColor() : Color{0xFFFFFF};
}

ColorSet CColorBar::Colors() const
{
    ColorSet colors{};
    for (int k = 0; k < kSwatchCount; ++k) {
        colors[static_cast<std::size_t>(k)] = GetColor(k);
    }
    return colors;
}

CColorSwatch* CColorBar::Swatch(int k) const
{
    if (k < 0 || k >= kSwatchCount) {
        return nullptr;
    }
    return m_swatches[static_cast<std::size_t>(k)];
}
