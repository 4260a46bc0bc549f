// The tree and the report list that the probe, the file-system readers and
// the explorer fill. The Qt window, the command line and the tests each
// provide them; the core never sees a widget.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Image list indexes shared by the tree and the list.
namespace ExplorerImage {
inline constexpr int Folder = 0;
inline constexpr int OpenFolder = 1;
inline constexpr int File = 2;
inline constexpr int AudioTrack = 3;
inline constexpr int DataTrack = 4;
} // namespace ExplorerImage

// The item data of a folder's list rows: folders counted from 0 and files
// from 5000, each in the order the folder records them.
inline constexpr uint64_t kFirstFolderRowData = 0;
inline constexpr uint64_t kFirstFileRowData = 5000;

using NodeHandle = std::intptr_t;
inline constexpr NodeHandle kNoNode = 0;

class TreeControl {
public:
    virtual ~TreeControl() = default;

    // Appends a node as the last child of parent (kNoNode: a root node).
    virtual NodeHandle InsertNode(NodeHandle parent, const std::string& text, int image, int selectedImage,
                                  uint64_t itemData = 0) = 0;
    virtual void DeleteAllNodes() = 0;

    virtual NodeHandle GetRootNode() const = 0; // the first root node
    virtual NodeHandle GetParentNode(NodeHandle node) const = 0;
    virtual NodeHandle GetChildNode(NodeHandle node) const = 0; // the first child
    virtual NodeHandle GetNextSiblingNode(NodeHandle node) const = 0;
    virtual NodeHandle GetPrevSiblingNode(NodeHandle node) const = 0;

    virtual std::string GetItemText(NodeHandle node) const = 0;
    virtual uint64_t GetItemData(NodeHandle node) const = 0;
    virtual void SetItemData(NodeHandle node, uint64_t data) = 0;
    virtual int GetItemImage(NodeHandle node) const = 0;
    virtual int GetItemSelectedImage(NodeHandle node) const = 0;

    virtual void Expand(NodeHandle node) = 0;
    virtual bool IsExpanded(NodeHandle node) const = 0;
    // Selecting a node reports the change to the selection handler, as a
    // user's click does.
    virtual void SelectItem(NodeHandle node) = 0;
    virtual NodeHandle GetSelectedItem() const = 0;
    virtual void ShowTree() {}
};

class ListControl {
public:
    virtual ~ListControl() = default;

    virtual int GetColumnCount() const = 0;
    virtual void InsertColumn(int index, const std::string& header, int width) = 0;
    virtual void DeleteColumn(int index) = 0;
    virtual std::string GetColumnHeader(int index) const = 0;
    virtual int GetColumnWidth(int index) const = 0;

    // Inserts a row in ascending order of first-column text (see
    // ListOrder) and returns the index it took.
    virtual int InsertRow(const std::string& firstColumnText, int image, uint64_t itemData) = 0;
    virtual void SetItemText(int row, int column, const std::string& text) = 0;
    virtual std::string GetItemText(int row, int column) const = 0;
    virtual uint64_t GetItemData(int row) const = 0;
    virtual int GetItemImage(int row) const = 0;
    virtual int GetRowCount() const = 0;
    virtual void DeleteAllRows() = 0;
    // Reorders the rows stably by less(rowA, rowB).
    virtual void SortRows(const std::function<bool(int rowA, int rowB)>& less) = 0;

    virtual std::vector<int> GetSelectedRows() const = 0;
    virtual void SetSelectedRows(const std::vector<int>& rows) = 0;
};

namespace ListOrder {
// The order in which the list keeps its rows as they are inserted: the
// first-column texts compared without regard to ASCII case.
int CompareFirstColumn(const std::string& a, const std::string& b);
} // namespace ListOrder

// Walks the tree depth first, in tree order.
void ForEachNode(const TreeControl& tree, NodeHandle start, const std::function<void(NodeHandle, int depth)>& visit,
                 int depth = 0);
// The path of node texts from the root, joined by '/'.
std::string NodePath(const TreeControl& tree, NodeHandle node);
