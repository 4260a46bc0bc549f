// Tree and list kept in memory: what the command line prints and what the
// core tests inspect.
#pragma once

#include "explorer/TreeListControls.h"

#include <functional>
#include <memory>

class MemoryTree : public TreeControl {
public:
    std::function<void(NodeHandle)> onSelectionChanged;

    NodeHandle InsertNode(NodeHandle parent, const std::string& text, int image, int selectedImage,
                          uint64_t itemData = 0) override;
    void DeleteAllNodes() override;
    NodeHandle GetRootNode() const override;
    NodeHandle GetParentNode(NodeHandle node) const override;
    NodeHandle GetChildNode(NodeHandle node) const override;
    NodeHandle GetNextSiblingNode(NodeHandle node) const override;
    NodeHandle GetPrevSiblingNode(NodeHandle node) const override;
    std::string GetItemText(NodeHandle node) const override;
    uint64_t GetItemData(NodeHandle node) const override;
    void SetItemData(NodeHandle node, uint64_t data) override;
    int GetItemImage(NodeHandle node) const override;
    int GetItemSelectedImage(NodeHandle node) const override;
    void Expand(NodeHandle node) override;
    bool IsExpanded(NodeHandle node) const override;
    void SelectItem(NodeHandle node) override;
    NodeHandle GetSelectedItem() const override { return selected_; }

    size_t NodeCount() const { return nodes_.size(); }

private:
    struct Node {
        std::string text;
        int image = 0;
        int selectedImage = 0;
        uint64_t itemData = 0;
        bool expanded = false;
        NodeHandle parent = kNoNode;
        std::vector<NodeHandle> children;
    };
    const Node* Find(NodeHandle node) const;
    Node* Find(NodeHandle node);
    NodeHandle Sibling(NodeHandle node, int step) const;

    std::vector<Node> nodes_; // handle = index + 1
    std::vector<NodeHandle> roots_;
    NodeHandle selected_ = kNoNode;
};

class MemoryList : public ListControl {
public:
    int GetColumnCount() const override { return int(columns_.size()); }
    void InsertColumn(int index, const std::string& header, int width) override;
    void DeleteColumn(int index) override;
    std::string GetColumnHeader(int index) const override;
    int GetColumnWidth(int index) const override;
    int InsertRow(const std::string& firstColumnText, int image, uint64_t itemData) override;
    void SetItemText(int row, int column, const std::string& text) override;
    std::string GetItemText(int row, int column) const override;
    uint64_t GetItemData(int row) const override;
    int GetItemImage(int row) const override;
    int GetRowCount() const override { return int(rows_.size()); }
    void DeleteAllRows() override;
    void SortRows(const std::function<bool(int rowA, int rowB)>& less) override;
    std::vector<int> GetSelectedRows() const override;
    void SetSelectedRows(const std::vector<int>& rows) override;

private:
    struct Column {
        std::string header;
        int width = 0;
    };
    struct Row {
        std::vector<std::string> cells;
        int image = 0;
        uint64_t itemData = 0;
        bool selected = false;
    };
    std::vector<Column> columns_;
    std::vector<Row> rows_;
};
