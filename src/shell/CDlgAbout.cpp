#include "shell/CDlgAbout.h"

#include "skin/SkinGeometry.h"
#include "skin/SkinResources.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

CDlgAbout::CDlgAbout(QWidget* parent) : QDialog(parent)
{
    using namespace AboutLayout;
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(Window.w, Window.h);
    setWindowTitle(QStringLiteral("About Morvik"));

    auto* name = new QLabel(QStringLiteral("Morvik %1").arg(QStringLiteral(MORVIK_VERSION)), this);
    name->setObjectName(QStringLiteral("nameLine"));
    name->setGeometry(NameLine.x, NameLine.y, NameLine.w, NameLine.h);
    auto* version = new QLabel(
        QStringLiteral("Looks inside optical discs and disc images.\nClick anywhere to close."), this);
    version->setObjectName(QStringLiteral("versionLine"));
    version->setGeometry(VersionLine.x, VersionLine.y, VersionLine.w, VersionLine.h);
    for (QLabel* label : {name, version}) {
        label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
}

void CDlgAbout::paintEvent(QPaintEvent*)
{
    using namespace AboutLayout;
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(SkinColors::Background));
    painter.setPen(QColor(38, 52, 66));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawPixmap(Picture.x, Picture.y, Skin::Bitmap(216, devicePixelRatioF()));
    painter.drawPixmap(Badge.x, Badge.y, Skin::Bitmap(215, devicePixelRatioF()));
}

void CDlgAbout::mousePressEvent(QMouseEvent*) { accept(); }

void CDlgAbout::keyPressEvent(QKeyEvent* event)
{
    // Like every dialog of the program, Enter and Escape close nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}
