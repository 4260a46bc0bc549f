#include "filesystems/ui/CDlgVol.h"

#include "filesystems/VolumeInfo.h"
#include "skin/CListCtrlEx.h"

CDlgVol::CDlgVol(QWidget* parent) : CListView(parent, QStringLiteral("volumeView"), QStringLiteral("volumeList"))
{
    List()->SetFullRowSel(true);
    VolumeInfo::InsertColumns(*List());
}

void CDlgVol::Show(const uint8_t* descriptor, size_t length, int fileSystemCode)
{
    VolumeInfo::Show(*List(), descriptor, length, fileSystemCode);
}
