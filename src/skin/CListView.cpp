#include "skin/CListView.h"

#include "skin/CListCtrlEx.h"
#include "skin/ViewKeys.h"

CListView::CListView(QWidget* parent, const QString& viewName, const QString& listName)
    : QWidget(parent), list_(new CListCtrlEx(this))
{
    setObjectName(viewName);
    if (parent)
        setGeometry(parent->rect());
    list_->setObjectName(listName);
    list_->setGeometry(rect());
}

void CListView::resizeEvent(QResizeEvent* event)
{
    list_->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void CListView::keyPressEvent(QKeyEvent* event)
{
    if (IsDialogCloseKey(event))
        return event->accept();
    QWidget::keyPressEvent(event);
}
