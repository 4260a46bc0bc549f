// Shapes from one-bit masks: a white pixel lies outside, every other pixel
// inside. Windows and buttons take their outline from here.
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>

class QWidget;

// The shape that mask gives inside bounds' width × height. Pixels from 0 to
// the width and height inclusive are read; outside the mask nothing is white,
// so a bound larger than the mask keeps the part beyond it.
QRegion MaskRegion(const QImage& mask, const QRect& bounds);

// Gives widget the shape of mask maskId over bounds (the widget's own
// rectangle): its input region, and on X11 also its outline.
void ApplyMaskRegion(QWidget* widget, int maskId, const QRect& bounds);
// The bounding box of the shape of mask maskId over bounds.
QRect MaskBoundingBox(int maskId, const QRect& bounds);
