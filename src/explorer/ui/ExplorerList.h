// The explorer's report list as a Qt widget that the explorer core fills
// through ListControl. Rows are kept in ascending first-column order as
// they are inserted; headers do not sort.
#pragma once

#include "explorer/TreeListControls.h"

#include <QTreeWidget>

#include <vector>

class ExplorerList : public QTreeWidget, public ListControl {
    Q_OBJECT
public:
    explicit ExplorerList(QWidget* parent = nullptr);

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
    void DeleteAllRows() override;
    void SortRows(const std::function<bool(int rowA, int rowB)>& less) override;
    std::vector<int> GetSelectedRows() const override;
    void SetSelectedRows(const std::vector<int>& rows) override;

private:
    void ApplyColumns();

    std::vector<QString> headers_;
    std::vector<int> widths_;
};
