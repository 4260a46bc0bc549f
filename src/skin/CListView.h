// A view of the main window that is one report list filling its client
// area. Like every view it swallows the keys that would close the main
// dialog.
#pragma once

#include <QWidget>

class CListCtrlEx;

class CListView : public QWidget {
    Q_OBJECT
public:
    CListCtrlEx* List() const { return list_; }

protected:
    // Fills parent's client area; the names let tests and styles find the
    // view and its list.
    CListView(QWidget* parent, const QString& viewName, const QString& listName);

    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CListCtrlEx* list_;
};
