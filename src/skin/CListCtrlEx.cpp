#include "skin/CListCtrlEx.h"

#include <QHeaderView>

#include <algorithm>
#include <numeric>

namespace {
enum Role { DataRole = Qt::UserRole, ImageRole };
}

CListCtrlEx::CListCtrlEx(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    setColumnCount(0);
}

void CListCtrlEx::SetFullRowSel(bool fullRow)
{
    setSelectionBehavior(fullRow ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    setAllColumnsShowFocus(fullRow);
}

void CListCtrlEx::ApplyColumns()
{
    setColumnCount(int(headers_.size()));
    setHeaderLabels(QStringList(headers_.begin(), headers_.end()));
    for (int i = 0; i < int(widths_.size()); ++i) {
        setColumnHidden(i, widths_[size_t(i)] == 0);
        setColumnWidth(i, widths_[size_t(i)]);
    }
}

void CListCtrlEx::InsertColumn(int index, const std::string& header, int width)
{
    index = std::clamp(index, 0, GetColumnCount());
    headers_.insert(headers_.begin() + index, QString::fromUtf8(header.c_str()));
    widths_.insert(widths_.begin() + index, width);
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        for (int column = GetColumnCount() - 1; column > index; --column)
            item->setText(column, item->text(column - 1));
        item->setText(index, QString());
    }
    ApplyColumns();
}

void CListCtrlEx::DeleteColumn(int index)
{
    if (index < 0 || index >= GetColumnCount())
        return;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        for (int column = index; column + 1 < GetColumnCount(); ++column)
            item->setText(column, item->text(column + 1));
    }
    headers_.erase(headers_.begin() + index);
    widths_.erase(widths_.begin() + index);
    ApplyColumns();
}

void CListCtrlEx::DeleteAllColumns()
{
    clear();
    headers_.clear();
    widths_.clear();
    ApplyColumns();
}

std::string CListCtrlEx::GetColumnHeader(int index) const
{
    return index >= 0 && index < GetColumnCount() ? headers_[size_t(index)].toUtf8().toStdString() : std::string();
}

int CListCtrlEx::GetColumnWidth(int index) const
{
    return index >= 0 && index < GetColumnCount() ? widths_[size_t(index)] : 0;
}

int CListCtrlEx::InsertItem(int index, const std::string& firstColumnText, int image, uint64_t itemData)
{
    index = std::clamp(index, 0, topLevelItemCount());
    auto* item = new QTreeWidgetItem;
    item->setText(0, QString::fromUtf8(firstColumnText.c_str()));
    if (image >= 0 && size_t(image) < icons_.size())
        item->setIcon(0, icons_[size_t(image)]);
    item->setData(0, DataRole, QVariant::fromValue<qulonglong>(itemData));
    item->setData(0, ImageRole, image);
    insertTopLevelItem(index, item);
    return index;
}

int CListCtrlEx::InsertRow(const std::string& firstColumnText, int image, uint64_t itemData)
{
    int at = topLevelItemCount();
    if (sortedInsert_) {
        // After every row that does not sort behind the new one; the rows
        // are in that order already, so a binary search finds the place.
        int low = 0;
        while (low < at) {
            const int middle = low + (at - low) / 2;
            const std::string text = topLevelItem(middle)->text(0).toUtf8().toStdString();
            if (ListOrder::CompareFirstColumn(text, firstColumnText) <= 0)
                low = middle + 1;
            else
                at = middle;
        }
    }
    return InsertItem(at, firstColumnText, image, itemData);
}

void CListCtrlEx::SetItemText(int row, int column, const std::string& text)
{
    if (QTreeWidgetItem* item = topLevelItem(row); item && column >= 0 && column < GetColumnCount())
        item->setText(column, QString::fromUtf8(text.c_str()));
}

std::string CListCtrlEx::GetItemText(int row, int column) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item && column >= 0 ? item->text(column).toUtf8().toStdString() : std::string();
}

uint64_t CListCtrlEx::GetItemData(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->data(0, DataRole).toULongLong() : 0;
}

int CListCtrlEx::GetItemImage(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->data(0, ImageRole).toInt() : 0;
}

void CListCtrlEx::SortRows(const std::function<bool(int rowA, int rowB)>& less)
{
    std::vector<int> order(static_cast<size_t>(topLevelItemCount()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), less);
    std::vector<QTreeWidgetItem*> items;
    for (int row : order)
        items.push_back(topLevelItem(row));
    while (topLevelItemCount() > 0)
        takeTopLevelItem(0);
    for (QTreeWidgetItem* item : items)
        addTopLevelItem(item);
}

std::vector<int> CListCtrlEx::GetSelectedRows() const
{
    std::vector<int> rows;
    for (int row = 0; row < topLevelItemCount(); ++row)
        if (topLevelItem(row)->isSelected())
            rows.push_back(row);
    return rows;
}

void CListCtrlEx::SetSelectedRows(const std::vector<int>& rows)
{
    clearSelection();
    for (int row : rows)
        if (QTreeWidgetItem* item = topLevelItem(row))
            item->setSelected(true);
    if (!rows.empty())
        setCurrentItem(topLevelItem(rows.front()), 0, QItemSelectionModel::NoUpdate);
}
