#pragma once

// Seven colour swatches, swatch 0 for the background and 1 to 6 for the
// drawing colours; a click on swatch k issues colour command 0x80E8 + k
// (the main frame binds each swatch to its command).

#include "render/display_settings.h"

#include <QAbstractButton>
#include <QWidget>

#include <array>

// A button that is all colour: filled with its colour inside a raised edge.
class CColorSwatch : public QAbstractButton
{
    Q_OBJECT
public:
    explicit CColorSwatch(QWidget* parent = nullptr);

    // White after construction.
    Color GetColor() const { return m_color; }
    void SetColor(Color color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Color m_color = 0xFFFFFF;
};

class CColorBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kSwatchCount = static_cast<int>(std::tuple_size_v<ColorSet>);

    explicit CColorBar(QWidget* parent = nullptr);

    // Swatch k takes entry k; each is repainted.
    void SetColors(const ColorSet& colors);
    // Ignores k outside 0 to 6.
    void SetColor(int k, Color color);
    // White for k outside 0 to 6.
    Color GetColor(int k) const;
    ColorSet Colors() const;

    CColorSwatch* Swatch(int k) const;

private:
    std::array<CColorSwatch*, kSwatchCount> m_swatches{};
};
