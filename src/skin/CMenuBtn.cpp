#include "skin/CMenuBtn.h"

#include "skin/SkinResources.h"

#include <QPainter>

CMenuBtn::CMenuBtn(const QString& text, QWidget* parent) : QAbstractButton(parent)
{
    setText(text);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Skin::ButtonCursor());
}

void CMenuBtn::SetFillColor(const QColor& colour)
{
    fill_ = colour;
    update();
}

void CMenuBtn::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(fill_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (isDown()) {
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
    if (text().isEmpty())
        return;
    const QFontMetrics metrics(font());
    const int x = (width() - metrics.horizontalAdvance(text())) / 2 + 1;
    const int y = (height() - metrics.height()) / 2;
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(QRect(x, y, width(), metrics.height()), Qt::AlignLeft | Qt::AlignTop, text());
}
