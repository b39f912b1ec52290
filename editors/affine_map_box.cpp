#include "editors/affine_map_box.h"

#include "editors/pattern_info_box.h"
#include "framework/ui_resources.h"
#include "ids/resource_ids.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

QString Text(int id, const char* english)
{
    const QString text = UiResources::Current().String(id);
    return text.isEmpty() ? QString::fromUtf8(english) : text;
}

QString Fixed4(double v)
{
    return QString::asprintf("%.4lf", v);
}

QString Fixed2(double v)
{
    return QString::asprintf("%.2lf", v);
}

} // namespace

double CAffineMapBox::AngleDegrees(double x, double y)
{
    return ToPolar({x, y}).angle * 180.0 / pi;
}

CAffineMapBox::CAffineMapBox(QWidget* parent) : QFrame(parent)
{
    namespace C = Res::Control;
    setObjectName(QString::number(Res::Dialog::AffineMap));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 4);
    outer->setSpacing(2);

    auto* head = new QHBoxLayout;
    m_title = new QLabel(this);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_toggle = new QPushButton(QStringLiteral("<<"), this);
    m_toggle->setObjectName(QString::number(C::MapBoxToggle));
    m_toggle->setToolTip(Text(Res::Text::MapBoxToggleTip, "Show or hide the derived values"));
    m_toggle->setFocusPolicy(Qt::NoFocus);
    m_toggle->setFixedWidth(m_toggle->fontMetrics().horizontalAdvance(QStringLiteral(">>")) + 16);
    head->addWidget(m_title);
    head->addStretch();
    head->addWidget(m_toggle);
    outer->addLayout(head);

    const auto value = [this](int id, QWidget* owner) {
        auto* label = new QLabel(owner);
        label->setObjectName(QString::number(id));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_values.insert(id, label);
        return label;
    };
    // The matrix as it acts on a column vector, then the translation.
    auto* matrix = new QGridLayout;
    matrix->setHorizontalSpacing(8);
    matrix->setVerticalSpacing(0);
    matrix->addWidget(value(C::MapA, this), 0, 0);
    matrix->addWidget(value(C::MapB, this), 0, 1);
    matrix->addWidget(value(C::MapE, this), 0, 2);
    matrix->addWidget(value(C::MapC, this), 1, 0);
    matrix->addWidget(value(C::MapD, this), 1, 1);
    matrix->addWidget(value(C::MapF, this), 1, 2);
    outer->addLayout(matrix);

    m_derived = new QWidget(this);
    auto* derived = new QGridLayout(m_derived);
    derived->setContentsMargins(0, 4, 0, 0);
    derived->setVerticalSpacing(0);
    const struct
    {
        int label;
        const char* english;
        int id;
    } rows[] = {
        {Res::Text::MapBoxScaleX, "x scale:", C::MapScaleX},
        {Res::Text::MapBoxAngleX, "x angle:", C::MapAngleX},
        {Res::Text::MapBoxScaleY, "y scale:", C::MapScaleY},
        {Res::Text::MapBoxAngleY, "y angle:", C::MapAngleY},
        {Res::Text::MapBoxDistance, "Distance:", C::MapDistance},
        {Res::Text::MapBoxDirection, "Direction:", C::MapDirection},
    };
    int row = 0;
    for (const auto& entry : rows) {
        derived->addWidget(new QLabel(Text(entry.label, entry.english), m_derived), row, 0);
        derived->addWidget(value(entry.id, m_derived), row, 1);
        ++row;
    }
    outer->addWidget(m_derived);
    m_derived->hide();
    connect(m_toggle, &QPushButton::clicked, this, [this] { SetExpanded(!m_expanded); });
    ShowMap(0, kIdentityMap);
}

void CAffineMapBox::SetExpanded(bool expanded)
{
    m_expanded = expanded;
    m_derived->setVisible(expanded);
    m_toggle->setText(expanded ? QStringLiteral(">>") : QStringLiteral("<<"));
    adjustSize();
}

void CAffineMapBox::ShowMap(int index, const AffineMap& m)
{
    namespace C = Res::Control;
    m_title->setText(FormatCount(Text(Res::Str::MapTitle, "Map %d"), index));
    m_values[C::MapA]->setText(Fixed4(m.a));
    m_values[C::MapB]->setText(Fixed4(m.b));
    m_values[C::MapC]->setText(Fixed4(m.c));
    m_values[C::MapD]->setText(Fixed4(m.d));
    m_values[C::MapE]->setText(Fixed4(m.e));
    m_values[C::MapF]->setText(Fixed4(m.f));
    m_values[C::MapScaleX]->setText(Fixed4(std::hypot(m.a, m.c)));
    m_values[C::MapScaleY]->setText(Fixed4(std::hypot(m.d, -m.b)));
    m_values[C::MapAngleX]->setText(Fixed2(AngleDegrees(m.a, m.c)));
    m_values[C::MapAngleY]->setText(Fixed2(AngleDegrees(m.d, -m.b)));
    m_values[C::MapDistance]->setText(Fixed4(std::hypot(m.e, m.f)));
    m_values[C::MapDirection]->setText(Fixed2(AngleDegrees(m.e, m.f)));
    adjustSize();
}

QString CAffineMapBox::Title() const
{
    return m_title->text();
}

QString CAffineMapBox::ValueText(int id) const
{
    const QLabel* label = m_values.value(id);
    return label ? label->text() : QString();
}
