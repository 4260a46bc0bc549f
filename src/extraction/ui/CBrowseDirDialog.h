// Asks for the folder a file or folder is saved into, and settles a file or
// folder of the same name already there (asking before removing it).
#pragma once

#include <QString>

class QWidget;

class CBrowseDirDialog {
public:
    CBrowseDirDialog(bool isFolder, const QString& name) : isFolder_(isFolder), name_(name) {}
    virtual ~CBrowseDirDialog() = default;

    // 1 when the target is free (it did not exist, or it was removed after
    // the user agreed), 0 on cancel or failure.
    int Browse(QWidget* owner = nullptr);
    QString Path() const { return path_; }
    // The chosen folder, a separator and the name.
    QString Target() const;

private:
    QString path_;
    bool isFolder_;
    QString name_;
};
