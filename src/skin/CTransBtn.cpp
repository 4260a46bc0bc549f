#include "skin/CTransBtn.h"

#include "skin/SkinGeometry.h"

#include <QPainter>

namespace {
constexpr int kBoxSize = 13;
constexpr int kBoxGap = 6;
} // namespace

CTransBtn::CTransBtn(const QString& text, QWidget* parent, bool withBox) : QAbstractButton(parent), withBox_(withBox)
{
    setText(text);
    setCheckable(true);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(withBox ? Qt::StrongFocus : Qt::NoFocus);
}

QSize CTransBtn::sizeHint() const
{
    const int textWidth = fontMetrics().horizontalAdvance(text());
    return {(withBox_ ? kBoxSize + kBoxGap : 0) + textWidth + 4, std::max(kBoxSize, fontMetrics().height()) + 4};
}

void CTransBtn::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = isEnabled() ? QColor(Qt::white) : QColor(190, 200, 210);
    int textLeft = 0;
    if (withBox_) {
        const QRectF box(0.5, (height() - kBoxSize) / 2 + 0.5, kBoxSize - 1, kBoxSize - 1);
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor::fromRgb(SkinColors::Background).darker(isDown() ? 140 : 120));
        p.drawRoundedRect(box, 2, 2);
        if (isChecked()) {
            p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            const QPolygonF tick{box.topLeft() + QPointF(3, 6.5), box.topLeft() + QPointF(5.5, 9),
                                 box.topLeft() + QPointF(9.5, 3.5)};
            p.drawPolyline(tick);
        }
        if (hasFocus()) {
            p.setPen(QPen(ink, 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(box.adjusted(-2, -2, 2, 2));
        }
        textLeft = kBoxSize + kBoxGap;
    }
    p.setPen(ink);
    p.drawText(rect().adjusted(textLeft, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text());
}
