#include "shell/Messages.h"

#include "common/StringTable.h"
#include "drive/CDevCmdROM.h"

#include <QMessageBox>

static const QString kCaption = QStringLiteral("Morvik");

void ShowInformation(QWidget* owner, int stringId)
{
    QMessageBox::information(owner, kCaption, QString::fromUtf8(StringTable::Text(stringId)));
}

bool AskOkCancel(QWidget* owner, int stringId)
{
    return QMessageBox::question(owner, kCaption, QString::fromUtf8(StringTable::Text(stringId)),
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) == QMessageBox::Ok;
}

bool IsDeviceReady(CDevCmdROM* drive, QWidget* owner)
{
    if (!drive)
        return false;
    if (drive->TestUnitReady() == 0)
        return true;
    ShowInformation(owner, StringTable::DeviceNotReady);
    return false;
}
