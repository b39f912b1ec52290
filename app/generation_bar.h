#pragma once

// The generation bar: the generation box (item 0x8046), which the fractal
// view fills with the generation counts already drawn and whose confirmed
// selection the fractal document handles, and the buttons of one generation
// more (0x800B, bitmap 920) and one less (0x800A, bitmap 921).
//
// The box also takes a typed day count: Enter issues 0x8046 with it when it
// is a whole number of at least 1; anything else is refused with a beep and
// the box shows the current count again (`refused`, which the main frame
// answers by filling the box from the active view).

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

    // The day count typed into the box: its value when it is a whole number
    // of at least 1, otherwise 0.
    static int TypedDays(const QString& text);

signals:
    // A typed count was refused; the box should show the current one again.
    void refused();

private:
    QComboBox* m_box = nullptr;
    CImageButton* m_more = nullptr;
    CImageButton* m_fewer = nullptr;
};
