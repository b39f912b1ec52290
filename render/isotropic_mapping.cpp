#include "render/isotropic_mapping.h"

#include <QPainter>
#include <QRect>

#include <limits>

IsotropicParams ComputeIsotropic(QSize target, QPoint windowOrigin, QSize windowExtent)
{
    const int w = target.width();
    const int h = target.height();
    const int W = windowExtent.width();
    const int H = windowExtent.height();
    const double largest = std::numeric_limits<double>::max();
    const double s1 = W == 0 ? largest : static_cast<double>(w) / W;
    const double s2 = H == 0 ? largest : static_cast<double>(h) / H;

    IsotropicParams p;
    p.windowOrigin = windowOrigin;
    if (W == 0 && H == 0) {
        p.scale = 1.0;
    } else if (s2 < s1) {
        p.scale = s2;
        p.logicalExtent = H;
        p.deviceExtent = h;
    } else {
        p.scale = s1;
        p.logicalExtent = W;
        p.deviceExtent = w;
    }
    // Truncation toward zero, as every device coordinate of the program.
    p.viewportOrigin = QPoint(static_cast<int>((w - W * p.scale) * 0.5),
                              static_cast<int>((h - H * p.scale) * 0.5));
    if (p.logicalExtent <= 0 || p.deviceExtent <= 0) {
        // A target without area: keep the transform invertible.
        p.logicalExtent = 1;
        p.deviceExtent = 1;
        p.scale = 1.0;
    }
    return p;
}

IsotropicMapping::IsotropicMapping(QPainter& painter, QSize target, QPoint windowOrigin,
                                   QSize windowExtent)
    : IsotropicMapping(painter, ComputeIsotropic(target, windowOrigin, windowExtent))
{
}

IsotropicMapping::IsotropicMapping(QPainter& painter, const IsotropicParams& params)
    : m_painter(painter), m_params(params), m_previousWindow(painter.window()),
      m_previousViewport(painter.viewport()), m_previousEnabled(painter.viewTransformEnabled()),
      m_previousWorld(painter.worldTransform()),
      m_previousWorldEnabled(painter.worldMatrixEnabled())
{
    // The painter's window and viewport need not be the figure's rectangle:
    // any pair with the right ratio and matching origins gives the same map,
    // and whole extents whose ratio is the scale keep both axes exactly
    // equal where rounding a second viewport extent would not.
    const int logical = m_params.logicalExtent;
    const int device = m_params.deviceExtent;
    painter.setWindow(QRect(m_params.windowOrigin, QSize(logical, logical)));
    painter.setViewport(QRect(m_params.viewportOrigin, QSize(device, device)));
    if (m_params.pixelOffset != 0.0) {
        // The world transform acts in logical units, before the viewport's
        // scale: a shift of offset device pixels is offset / scale of them.
        const double shift = m_params.pixelOffset * logical / device;
        painter.setWorldTransform(QTransform::fromTranslate(shift, shift), true);
    }
}

IsotropicMapping::~IsotropicMapping()
{
    m_painter.setWorldTransform(m_previousWorld);
    m_painter.setWorldMatrixEnabled(m_previousWorldEnabled);
    m_painter.setWindow(m_previousWindow);
    m_painter.setViewport(m_previousViewport);
    m_painter.setViewTransformEnabled(m_previousEnabled);
}
