#pragma once

// A push button that shows one 16 by 16 image, centred: left = (width - 16)
// / 2, top = (height - 16) / 2, by integer division, so a button narrower
// than its image clips it evenly on both sides.

#include <QAbstractButton>
#include <QPixmap>

class CImageButton : public QAbstractButton
{
    Q_OBJECT
public:
    static constexpr int kImageSize = 16;

    explicit CImageButton(QWidget* parent = nullptr);

    // Image 0 of `images` (none when the list is empty).
    void SetImages(const QVector<QPixmap>& images);
    QPixmap Image() const { return m_image; }

    // Where the image's top-left corner goes in a button of `size`.
    static QPoint ImageOrigin(QSize size);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_image;
};
