// Enter and Escape close a dialog by default; the views and the player strip
// are children that must never close, so they swallow both.
#pragma once

#include <QKeyEvent>

inline bool IsDialogCloseKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape;
}
