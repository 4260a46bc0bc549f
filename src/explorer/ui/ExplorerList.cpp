#include "explorer/ui/ExplorerList.h"

#include "skin/SkinResources.h"

#include <QHeaderView>

#include <algorithm>
#include <numeric>

namespace {
enum Role { DataRole = Qt::UserRole, ImageRole };
}

ExplorerList::ExplorerList(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    setAllColumnsShowFocus(true);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    setColumnCount(0);
}

void ExplorerList::ApplyColumns()
{
    setColumnCount(int(headers_.size()));
    QStringList labels;
    for (const QString& header : headers_)
        labels << header;
    setHeaderLabels(labels);
    for (int i = 0; i < int(widths_.size()); ++i) {
        setColumnHidden(i, widths_[size_t(i)] == 0);
        setColumnWidth(i, widths_[size_t(i)]);
    }
}

void ExplorerList::InsertColumn(int index, const std::string& header, int width)
{
    index = std::clamp(index, 0, GetColumnCount());
    headers_.insert(headers_.begin() + index, QString::fromUtf8(header.c_str()));
    widths_.insert(widths_.begin() + index, width);
    // Cells right of the new column move one to the right.
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        for (int column = GetColumnCount() - 1; column > index; --column)
            item->setText(column, item->text(column - 1));
        item->setText(index, QString());
    }
    ApplyColumns();
}

void ExplorerList::DeleteColumn(int index)
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

std::string ExplorerList::GetColumnHeader(int index) const
{
    return index >= 0 && index < GetColumnCount() ? headers_[size_t(index)].toUtf8().toStdString() : std::string();
}

int ExplorerList::GetColumnWidth(int index) const
{
    return index >= 0 && index < GetColumnCount() ? widths_[size_t(index)] : 0;
}

int ExplorerList::InsertRow(const std::string& firstColumnText, int image, uint64_t itemData)
{
    // After every row that does not sort behind the new one.
    int at = 0;
    const int count = topLevelItemCount();
    while (at < count &&
           ListOrder::CompareFirstColumn(topLevelItem(at)->text(0).toUtf8().toStdString(), firstColumnText) <= 0)
        ++at;
    auto* item = new QTreeWidgetItem;
    item->setText(0, QString::fromUtf8(firstColumnText.c_str()));
    item->setIcon(0, Skin::ExplorerIcon(image));
    item->setData(0, DataRole, QVariant::fromValue<qulonglong>(itemData));
    item->setData(0, ImageRole, image);
    insertTopLevelItem(at, item);
    return at;
}

void ExplorerList::SetItemText(int row, int column, const std::string& text)
{
    if (QTreeWidgetItem* item = topLevelItem(row); item && column >= 0 && column < GetColumnCount())
        item->setText(column, QString::fromUtf8(text.c_str()));
}

std::string ExplorerList::GetItemText(int row, int column) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item && column >= 0 ? item->text(column).toUtf8().toStdString() : std::string();
}

uint64_t ExplorerList::GetItemData(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->data(0, DataRole).toULongLong() : 0;
}

int ExplorerList::GetItemImage(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->data(0, ImageRole).toInt() : 0;
}

void ExplorerList::DeleteAllRows() { clear(); }

void ExplorerList::SortRows(const std::function<bool(int rowA, int rowB)>& less)
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

std::vector<int> ExplorerList::GetSelectedRows() const
{
    std::vector<int> rows;
    for (int row = 0; row < topLevelItemCount(); ++row)
        if (topLevelItem(row)->isSelected())
            rows.push_back(row);
    return rows;
}

void ExplorerList::SetSelectedRows(const std::vector<int>& rows)
{
    clearSelection();
    for (int row : rows)
        if (QTreeWidgetItem* item = topLevelItem(row))
            item->setSelected(true);
    if (!rows.empty())
        setCurrentItem(topLevelItem(rows.front()), 0, QItemSelectionModel::NoUpdate);
}
