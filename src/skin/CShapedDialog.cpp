#include "skin/CShapedDialog.h"

#include "skin/MaskRegion.h"
#include "skin/SkinResources.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

CShapedDialog::CShapedDialog(int maskId, int skinId, QWidget* parent, bool topLevelApp)
    : QDialog(parent), maskId_(maskId), skinId_(skinId)
{
    setWindowFlags((topLevelApp ? Qt::Window : Qt::Dialog) | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(QStringLiteral("Morvik"));
}

void CShapedDialog::ApplyShape(Placement placement)
{
    const QImage mask = Skin::Mask(maskId_);
    if (placement == Placement::CentreOnScreen && !mask.isNull()) {
        const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
        setFixedSize(mask.size());
        move(available.x() + available.width() / 2 - mask.width() / 2,
             available.y() + available.height() / 2 - mask.height() / 2);
    }
    shape_ = MaskRegion(mask, rect());
    setMask(shape_);
}

void CShapedDialog::resizeEvent(QResizeEvent* event)
{
    shape_ = MaskRegion(Skin::Mask(maskId_), rect());
    setMask(shape_);
    QDialog::resizeEvent(event);
}

void CShapedDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setClipRegion(shape_);
    painter.drawPixmap(0, 0, Skin::Bitmap(skinId_, devicePixelRatioF()));
}

void CShapedDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OnEnterKey();
        event->accept();
        return;
    case Qt::Key_Escape:
        OnEscapeKey();
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
