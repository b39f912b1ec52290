#pragma once

// Seven colour swatches, swatch 0 for the background and 1 to 6 for the
// drawing colours; a click on swatch k issues colour command 0x80E8 + k.

#include "render/display_settings.h"

#include <QWidget>

class CColorBar : public QWidget {
    Q_OBJECT
public:
    explicit CColorBar(QWidget* parent = nullptr);

    void SetColors(const ColorSet& colors);
    void SetColor(int k, Color color);
    Color GetColor(int k) const;
};
