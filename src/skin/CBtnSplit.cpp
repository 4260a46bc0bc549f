#include "skin/CBtnSplit.h"

#include "skin/SkinEvents.h"
#include "skin/SkinGeometry.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

CBtnSplit::CBtnSplit(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::SplitHCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CBtnSplit::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), QColor::fromRgb(SkinColors::Background));
}

void CBtnSplit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragging_ = true; // Qt keeps the mouse grabbed until release
    QWidget::mousePressEvent(event);
}

void CBtnSplit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

void CBtnSplit::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && parentWidget()) {
        SplitterMovedEvent moved(mapToGlobal(event->position().toPoint()).x());
        QApplication::sendEvent(parentWidget(), &moved);
    }
    QWidget::mouseMoveEvent(event);
}
