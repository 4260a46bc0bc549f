#include "tools/ui/CDlgDevInfo.h"

#include "skin/CListCtrlEx.h"
#include "tools/DeviceCapabilities.h"

CDlgDevInfo::CDlgDevInfo(QWidget* parent)
    : CListView(parent, QStringLiteral("deviceInfoView"), QStringLiteral("deviceInfoList"))
{
    List()->DeleteAllColumns();
    int index = 0;
    for (const DeviceCapabilities::Column& column : DeviceCapabilities::kColumns)
        List()->InsertColumn(index++, column.header, column.width);
}

void CDlgDevInfo::ShowDeviceInfo(CDevCmdROM* drive)
{
    List()->DeleteAllRows();
    if (!drive)
        return;
    for (const CapabilityRow& row : DeviceCapabilities::ReadDeviceCapabilities(*drive)) {
        const int at = List()->InsertItem(List()->GetRowCount(), row.support);
        List()->SetItemText(at, 1, row.label);
    }
}
