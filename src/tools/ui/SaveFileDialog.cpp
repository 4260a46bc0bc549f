#include "tools/ui/SaveFileDialog.h"

#include <QFileDialog>

QString AskSaveFileName(QWidget* parent, const QString& fileName, const QString& filter,
                        const QString& defaultSuffix)
{
    QFileDialog dialog(parent, QStringLiteral("Save As"), QString(), filter);
    dialog.setObjectName(QStringLiteral("saveFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
