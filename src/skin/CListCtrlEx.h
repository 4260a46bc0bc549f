// A report list: columns with headers and widths, rows with an icon and item
// data, optionally selected by the whole row. Views fill it through
// ListControl; rows go in at the end unless sorted insertion is on.
#pragma once

#include "explorer/TreeListControls.h"

#include <QIcon>
#include <QTreeWidget>

#include <vector>

class CListCtrlEx : public QTreeWidget, public ListControl {
    Q_OBJECT
public:
    explicit CListCtrlEx(QWidget* parent = nullptr);

    void SetFullRowSel(bool fullRow);
    // On: InsertRow keeps the rows in ListOrder; off: it appends.
    void SetSortedInsert(bool sorted) { sortedInsert_ = sorted; }
    // The row icons by image index (a 16 × 16 image list).
    void SetImageList(std::vector<QIcon> icons) { icons_ = std::move(icons); }

    // Inserts a row before index (past the end: appends); returns its index.
    int InsertItem(int index, const std::string& firstColumnText, int image = 0, uint64_t itemData = 0);

    int GetColumnCount() const override { return int(widths_.size()); }
    void InsertColumn(int index, const std::string& header, int width) override;
    void DeleteColumn(int index) override;
    std::string GetColumnHeader(int index) const override;
    int GetColumnWidth(int index) const override;
    int InsertRow(const std::string& firstColumnText, int image, uint64_t itemData) override;
    void SetItemText(int row, int column, const std::string& text) override;
    std::string GetItemText(int row, int column) const override;
    uint64_t GetItemData(int row) const override;
    int GetItemImage(int row) const override;
    int GetRowCount() const override { return topLevelItemCount(); }
    void DeleteAllRows() override { clear(); }
    void SortRows(const std::function<bool(int rowA, int rowB)>& less) override;
    std::vector<int> GetSelectedRows() const override;
    void SetSelectedRows(const std::vector<int>& rows) override;

    // Removes every column (and so every cell).
    void DeleteAllColumns();

private:
    void ApplyColumns();

    std::vector<QString> headers_;
    std::vector<int> widths_;
    std::vector<QIcon> icons_;
    bool sortedInsert_ = false;
};
