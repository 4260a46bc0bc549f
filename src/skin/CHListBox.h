// A list box that takes each line at a given position.
#pragma once

#include <QListWidget>

class CHListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CHListBox(QWidget* parent = nullptr);

    // Inserts text before line index (-1 or past the end: appends); returns
    // the index it took.
    int InsertString(int index, const QString& text);
    void ResetContent() { clear(); }
    int GetCount() const { return count(); }
    QString GetText(int index) const;
};
