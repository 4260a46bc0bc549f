#include "skin/CBmpBtn.h"

#include "skin/MaskRegion.h"
#include "skin/SkinEvents.h"
#include "skin/SkinResources.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

CBmpBtn::CBmpBtn(QWidget* parent) : QAbstractButton(parent)
{
    setMouseTracking(true);
    setCursor(Skin::ButtonCursor());
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_NoSystemBackground);
}

void CBmpBtn::SetBitmaps(int normalId, int pressedId)
{
    normalId_ = normalId;
    pressedId_ = pressedId;
    update();
}

void CBmpBtn::paintEvent(QPaintEvent*)
{
    // The picture is loaded for each drawing, at the screen's density.
    const QPixmap face = Skin::Bitmap(isDown() ? pressedId_ : normalId_, devicePixelRatioF());
    QPainter painter(this);
    painter.setClipRegion(DrawingClip());
    painter.drawPixmap(QPoint(0, 0), face, QRect(QPoint(0, 0), size() * face.devicePixelRatio()));
}

void CBmpBtn::mouseMoveEvent(QMouseEvent* event)
{
    if (statusId_ != 0 && parentWidget()) {
        StatusTextEvent status(statusId_);
        QApplication::sendEvent(parentWidget(), &status);
    }
    QAbstractButton::mouseMoveEvent(event);
    event->accept(); // the parent would put its own text back
}

CBmpRoundBtn::CBmpRoundBtn(QWidget* parent) : CBmpBtn(parent) {}

void CBmpRoundBtn::resizeEvent(QResizeEvent* event)
{
    setMask(QRegion(rect(), QRegion::Ellipse));
    CBmpBtn::resizeEvent(event);
}

CBmpTriangleBtn::CBmpTriangleBtn(int outlineMaskId, QWidget* parent) : CBmpBtn(parent), outlineMaskId_(outlineMaskId) {}

void CBmpTriangleBtn::SetBitmaps(int normalId, int pressedId, int drawingMaskId)
{
    drawingMaskId_ = drawingMaskId;
    CBmpBtn::SetBitmaps(normalId, pressedId);
}

void CBmpTriangleBtn::resizeEvent(QResizeEvent* event)
{
    ApplyMaskRegion(this, outlineMaskId_, rect());
    CBmpBtn::resizeEvent(event);
}

QRegion CBmpTriangleBtn::DrawingClip() const
{
    return MaskRegion(Skin::Mask(drawingMaskId_), rect());
}
