#include "extraction/ui/CBrowseDirDialog.h"

#include "common/StringTable.h"
#include "extraction/TargetSettling.h"
#include "shell/Messages.h"

#include <QDir>
#include <QFileDialog>

int CBrowseDirDialog::Browse(QWidget* owner)
{
    QFileDialog chooser(owner);
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setDirectory(QDir::homePath());
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return 0;
    path_ = chooser.selectedFiles().front();
    if (path_.isEmpty())
        return 0;
    const bool settled = SettleExistingTarget(Target().toLocal8Bit().toStdString(), [owner] {
        return AskOkCancel(owner, StringTable::AlreadyExists);
    });
    return settled ? 1 : 0;
}

QString CBrowseDirDialog::Target() const
{
    return path_.endsWith('/') ? path_ + name_ : path_ + '/' + name_;
}
