#include "tools/ui/CDlgDevInfo.h"

#include "skin/CListCtrlEx.h"
#include "skin/ViewKeys.h"
#include "tools/DeviceCapabilities.h"


CDlgDevInfo::CDlgDevInfo(QWidget* parent) : QWidget(parent), list_(new CListCtrlEx(this))
{
    setObjectName(QStringLiteral("deviceInfoView"));
    if (parent)
        setGeometry(parent->rect());
    list_->setObjectName(QStringLiteral("deviceInfoList"));
    list_->setGeometry(rect());
    list_->DeleteAllColumns();
    int index = 0;
    for (const DeviceCapabilities::Column& column : DeviceCapabilities::kColumns)
        list_->InsertColumn(index++, column.header, column.width);
}

void CDlgDevInfo::ShowDeviceInfo(CDevCmdROM* drive)
{
    list_->DeleteAllRows();
    if (!drive)
        return;
    for (const CapabilityRow& row : DeviceCapabilities::ReadDeviceCapabilities(*drive)) {
        const int at = list_->InsertItem(list_->GetRowCount(), row.support);
        list_->SetItemText(at, 1, row.label);
    }
}

void CDlgDevInfo::resizeEvent(QResizeEvent* event)
{
    list_->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void CDlgDevInfo::keyPressEvent(QKeyEvent* event)
{
    if (IsDialogCloseKey(event))
        return event->accept();
    QWidget::keyPressEvent(event);
}
