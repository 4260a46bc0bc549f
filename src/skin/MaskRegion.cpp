#include "skin/MaskRegion.h"

#include "skin/SkinResources.h"

#include <QWidget>

#include <vector>

QRegion MaskRegion(const QImage& mask, const QRect& bounds)
{
    const int width = bounds.width(), height = bounds.height();
    QRegion shape(0, 0, width, height);
    if (mask.isNull())
        return shape;

    // Collect the white pixels as horizontal runs, then cut them out at once:
    // the same shape as removing them one by one, without the cost.
    std::vector<QRect> white;
    const int lastX = std::min(width, mask.width() - 1);
    const int lastY = std::min(height, mask.height() - 1);
    for (int y = 0; y <= lastY; ++y) {
        int runStart = -1;
        for (int x = 0; x <= lastX + 1; ++x) {
            const bool isWhite = x <= lastX && (mask.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
            if (isWhite && runStart < 0)
                runStart = x;
            else if (!isWhite && runStart >= 0) {
                white.emplace_back(runStart, y, x - runStart, 1);
                runStart = -1;
            }
        }
    }
    QRegion outside;
    outside.setRects(white.data(), int(white.size()));
    return shape.subtracted(outside);
}

void ApplyMaskRegion(QWidget* widget, int maskId, const QRect& bounds)
{
    widget->setMask(MaskRegion(Skin::Mask(maskId), bounds));
}

QRect MaskBoundingBox(int maskId, const QRect& bounds)
{
    return MaskRegion(Skin::Mask(maskId), bounds).boundingRect();
}
