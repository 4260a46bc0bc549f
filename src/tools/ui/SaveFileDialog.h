// The save-file dialog of the analysis views. It is Qt's own dialog rather
// than the desktop's, so it looks the same everywhere and tests can drive it.
#pragma once

#include <QString>

class QWidget;

// filter: Qt name filters separated by ";;". defaultSuffix is appended to a
// name typed without one ("" appends nothing). Asks before overwriting.
// Returns the chosen path, or an empty text on Cancel.
QString AskSaveFileName(QWidget* parent, const QString& fileName, const QString& filter,
                        const QString& defaultSuffix);
