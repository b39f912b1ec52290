#pragma once

// The pattern editor's information box: a small panel in the editor's
// top-left corner with the step count in its title and the angle and length
// ratio of the last step (or of the segment being drawn).

#include <QFrame>

class QLabel;
struct PatternStep;

class CPatternInfoBox : public QFrame
{
    Q_OBJECT
public:
    explicit CPatternInfoBox(QWidget* parent);

    // Count `count` and, when it is not 0, the step's angle in degrees
    // ("%.6lf") and "1/%.6lf" of the inverse ratio ("0" for a ratio of 0);
    // "-" twice for a count of 0.
    void Show(int count, const PatternStep* last);

    QString Title() const;
    QString AngleText() const;
    QString RatioText() const;

private:
    QLabel* m_title;
    QLabel* m_angle;
    QLabel* m_ratio;
};

// Bundle texts are formats with one "%d"; the number replaces it without
// handing the text to printf.
QString FormatCount(const QString& format, int n);
