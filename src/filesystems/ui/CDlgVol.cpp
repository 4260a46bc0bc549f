#include "filesystems/ui/CDlgVol.h"

#include "filesystems/VolumeInfo.h"
#include "skin/CListCtrlEx.h"
#include "skin/ViewKeys.h"


CDlgVol::CDlgVol(QWidget* parent) : QWidget(parent), list_(new CListCtrlEx(this))
{
    setObjectName(QStringLiteral("volumeView"));
    if (parent)
        setGeometry(parent->rect());
    list_->setObjectName(QStringLiteral("volumeList"));
    list_->SetFullRowSel(true);
    list_->setGeometry(rect());
    VolumeInfo::InsertColumns(*list_);
}

void CDlgVol::Show(const uint8_t* descriptor, size_t length, int fileSystemCode)
{
    VolumeInfo::Show(*list_, descriptor, length, fileSystemCode);
}

void CDlgVol::resizeEvent(QResizeEvent* event)
{
    list_->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void CDlgVol::keyPressEvent(QKeyEvent* event)
{
    if (IsDialogCloseKey(event))
        return event->accept();
    QWidget::keyPressEvent(event);
}
