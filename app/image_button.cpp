#include "app/image_button.h"

#include <QPainter>
#include <QStyleOptionButton>

CImageButton::CImageButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::TabFocus);
}

void CImageButton::SetImages(const QVector<QPixmap>& images)
{
    m_image = images.isEmpty() ? QPixmap() : images.first();
    update();
}

QPoint CImageButton::ImageOrigin(QSize size)
{
    // C++ division truncates toward zero, as the centring wants.
    return {(size.width() - kImageSize) / 2, (size.height() - kImageSize) / 2};
}

QSize CImageButton::sizeHint() const
{
    return {kImageSize + 8, kImageSize + 6};
}

void CImageButton::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.features = QStyleOptionButton::None;
    if (isDown()) {
        option.state |= QStyle::State_Sunken;
    } else {
        option.state |= QStyle::State_Raised;
    }
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    if (m_image.isNull()) {
        return;
    }
    const QPixmap shown =
        isEnabled() ? m_image : style()->generatedIconPixmap(QIcon::Disabled, m_image, &option);
    painter.drawPixmap(QRect(ImageOrigin(size()), QSize(kImageSize, kImageSize)), shown);
}
