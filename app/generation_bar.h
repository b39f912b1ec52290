#pragma once

// The generation bar: the generation box (item 0x8046), which the fractal
// view fills with the generation counts already drawn and whose confirmed
// selection the fractal document handles, and the buttons of one generation
// more (0x800B, bitmap 920) and one less (0x800A, bitmap 921).

#include <QWidget>

class CImageButton;
class CommandRouter;
class QComboBox;

class CGenerationBar : public QWidget
{
    Q_OBJECT
public:
    explicit CGenerationBar(QWidget* parent = nullptr);

    // Makes the three controls issue their commands through `router`.
    void Bind(CommandRouter& router);

    QComboBox* GenerationBox() const { return m_box; }
    CImageButton* MoreButton() const { return m_more; }
    CImageButton* FewerButton() const { return m_fewer; }

private:
    QComboBox* m_box = nullptr;
    CImageButton* m_more = nullptr;
    CImageButton* m_fewer = nullptr;
};
