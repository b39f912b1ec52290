#pragma once

// The IFS editor's coefficient box: a small panel in the editor's top-left
// corner with the selected map's six coefficients and, expanded, the
// scales, angles, translation distance and direction derived from them. Its
// button switches between the compact form ("<<") and the expanded one
// (">>").

#include "core/geometry.h"

#include <QFrame>
#include <QHash>

class QLabel;
class QPushButton;

class CAffineMapBox : public QFrame
{
    Q_OBJECT
public:
    explicit CAffineMapBox(QWidget* parent);

    // Map `index` (for the title) and its values.
    void ShowMap(int index, const AffineMap& map);
    bool IsExpanded() const { return m_expanded; }
    void SetExpanded(bool expanded);

    QString Title() const;
    // The text of control `id` (1020 to 1032).
    QString ValueText(int id) const;
    QPushButton* ToggleButton() const { return m_toggle; }

    // The polar angle of (x, y) in degrees: the arctangent of y / x, plus
    // 180 when x is negative, +-90 by the sign of y when x is 0.
    static double AngleDegrees(double x, double y);

private:
    QLabel* m_title;
    QPushButton* m_toggle;
    QWidget* m_derived;
    QHash<int, QLabel*> m_values;
    bool m_expanded = false;
};
