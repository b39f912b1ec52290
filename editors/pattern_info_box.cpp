#include "editors/pattern_info_box.h"

#include "engine/pattern.h"
#include "framework/ui_resources.h"
#include "ids/resource_ids.h"

#include <QGridLayout>
#include <QLabel>

namespace {

QString Text(int id, const char* english)
{
    const QString text = UiResources::Current().String(id);
    return text.isEmpty() ? QString::fromUtf8(english) : text;
}

} // namespace

QString FormatCount(const QString& format, int n)
{
    QString text = format;
    return text.replace(QStringLiteral("%d"), QString::number(n));
}

CPatternInfoBox::CPatternInfoBox(QWidget* parent) : QFrame(parent)
{
    setObjectName(QString::number(Res::Dialog::PatternInfo));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    m_title = new QLabel(this);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_angle = new QLabel(this);
    m_angle->setObjectName(QString::number(Res::Control::InfoAngle));
    m_ratio = new QLabel(this);
    m_ratio->setObjectName(QString::number(Res::Control::InfoRatio));
    layout->addWidget(m_title, 0, 0, 1, 2);
    layout->addWidget(new QLabel(Text(Res::Text::PatternInfoAngle, "Angle (degrees):"), this), 1,
                      0);
    layout->addWidget(m_angle, 1, 1);
    layout->addWidget(new QLabel(Text(Res::Text::PatternInfoRatio, "Length ratio:"), this), 2, 0);
    layout->addWidget(m_ratio, 2, 1);
    Show(0, nullptr);
}

void CPatternInfoBox::Show(int count, const PatternStep* last)
{
    m_title->setText(FormatCount(Text(Res::Str::PatternInfoTitle, "Steps: %d"), count));
    if (count == 0 || last == nullptr) {
        m_angle->setText(QStringLiteral("-"));
        m_ratio->setText(QStringLiteral("-"));
    } else {
        m_angle->setText(QString::asprintf("%.6lf", last->angle * 180.0 / pi));
        m_ratio->setText(last->ratio == 0.0 ? QStringLiteral("0")
                                            : QString::asprintf("1/%.6lf", 1.0 / last->ratio));
    }
    adjustSize();
}

QString CPatternInfoBox::Title() const
{
    return m_title->text();
}

QString CPatternInfoBox::AngleText() const
{
    return m_angle->text();
}

QString CPatternInfoBox::RatioText() const
{
    return m_ratio->text();
}
