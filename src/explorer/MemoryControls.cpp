#include "explorer/MemoryControls.h"

#include <algorithm>
#include <numeric>

const MemoryTree::Node* MemoryTree::Find(NodeHandle node) const
{
    return (node >= 1 && size_t(node) <= nodes_.size()) ? &nodes_[size_t(node - 1)] : nullptr;
}

MemoryTree::Node* MemoryTree::Find(NodeHandle node)
{
    return (node >= 1 && size_t(node) <= nodes_.size()) ? &nodes_[size_t(node - 1)] : nullptr;
}

NodeHandle MemoryTree::InsertNode(NodeHandle parent, const std::string& text, int image, int selectedImage,
                                  uint64_t itemData)
{
    Node* parentNode = Find(parent);
    if (parent != kNoNode && !parentNode)
        return kNoNode;
    nodes_.push_back(Node{text, image, selectedImage, itemData, false, parent, {}});
    const NodeHandle handle = NodeHandle(nodes_.size());
    if (parent == kNoNode)
        roots_.push_back(handle);
    else
        Find(parent)->children.push_back(handle); // re-found: push_back may have moved it
    return handle;
}

void MemoryTree::DeleteAllNodes()
{
    nodes_.clear();
    roots_.clear();
    selected_ = kNoNode;
}

NodeHandle MemoryTree::GetRootNode() const { return roots_.empty() ? kNoNode : roots_.front(); }

NodeHandle MemoryTree::GetParentNode(NodeHandle node) const
{
    const Node* n = Find(node);
    return n ? n->parent : kNoNode;
}

NodeHandle MemoryTree::GetChildNode(NodeHandle node) const
{
    const Node* n = Find(node);
    return (n && !n->children.empty()) ? n->children.front() : kNoNode;
}

NodeHandle MemoryTree::Sibling(NodeHandle node, int step) const
{
    const Node* n = Find(node);
    if (!n)
        return kNoNode;
    const std::vector<NodeHandle>& siblings = n->parent == kNoNode ? roots_ : Find(n->parent)->children;
    const auto it = std::find(siblings.begin(), siblings.end(), node);
    const auto index = (it - siblings.begin()) + step;
    return (index >= 0 && index < std::ptrdiff_t(siblings.size())) ? siblings[size_t(index)] : kNoNode;
}

NodeHandle MemoryTree::GetNextSiblingNode(NodeHandle node) const { return Sibling(node, 1); }
NodeHandle MemoryTree::GetPrevSiblingNode(NodeHandle node) const { return Sibling(node, -1); }

std::string MemoryTree::GetItemText(NodeHandle node) const
{
    const Node* n = Find(node);
    return n ? n->text : std::string();
}

uint64_t MemoryTree::GetItemData(NodeHandle node) const
{
    const Node* n = Find(node);
    return n ? n->itemData : 0;
}

void MemoryTree::SetItemData(NodeHandle node, uint64_t data)
{
    if (Node* n = Find(node))
        n->itemData = data;
}

int MemoryTree::GetItemImage(NodeHandle node) const
{
    const Node* n = Find(node);
    return n ? n->image : 0;
}

int MemoryTree::GetItemSelectedImage(NodeHandle node) const
{
    const Node* n = Find(node);
    return n ? n->selectedImage : 0;
}

void MemoryTree::Expand(NodeHandle node)
{
    if (Node* n = Find(node))
        n->expanded = true;
}

bool MemoryTree::IsExpanded(NodeHandle node) const
{
    const Node* n = Find(node);
    return n && n->expanded;
}

void MemoryTree::SelectItem(NodeHandle node)
{
    if (node != kNoNode && !Find(node))
        return;
    if (node == selected_)
        return;
    selected_ = node;
    if (onSelectionChanged)
        onSelectionChanged(node);
}

void MemoryList::InsertColumn(int index, const std::string& header, int width)
{
    index = std::clamp(index, 0, int(columns_.size()));
    columns_.insert(columns_.begin() + index, Column{header, width});
    for (Row& row : rows_)
        if (int(row.cells.size()) >= index)
            row.cells.insert(row.cells.begin() + index, std::string());
}

void MemoryList::DeleteColumn(int index)
{
    if (index < 0 || index >= int(columns_.size()))
        return;
    columns_.erase(columns_.begin() + index);
    for (Row& row : rows_)
        if (index < int(row.cells.size()))
            row.cells.erase(row.cells.begin() + index);
}

std::string MemoryList::GetColumnHeader(int index) const
{
    return (index >= 0 && index < int(columns_.size())) ? columns_[size_t(index)].header : std::string();
}

int MemoryList::GetColumnWidth(int index) const
{
    return (index >= 0 && index < int(columns_.size())) ? columns_[size_t(index)].width : 0;
}

int MemoryList::InsertRow(const std::string& firstColumnText, int image, uint64_t itemData)
{
    // After the last row that does not sort after the new one.
    const auto at = std::upper_bound(rows_.begin(), rows_.end(), firstColumnText,
                                     [](const std::string& text, const Row& row) {
                                         return ListOrder::CompareFirstColumn(text, row.cells[0]) < 0;
                                     });
    Row row;
    row.cells.assign(std::max<size_t>(columns_.size(), 1), std::string());
    row.cells[0] = firstColumnText;
    row.image = image;
    row.itemData = itemData;
    // The index before inserting: insert may move the rows elsewhere.
    const int index = int(at - rows_.begin());
    rows_.insert(at, std::move(row));
    return index;
}

void MemoryList::SetItemText(int row, int column, const std::string& text)
{
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= std::max(int(columns_.size()), 1))
        return;
    Row& r = rows_[size_t(row)];
    if (int(r.cells.size()) <= column)
        r.cells.resize(size_t(column) + 1);
    r.cells[size_t(column)] = text;
}

std::string MemoryList::GetItemText(int row, int column) const
{
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= int(rows_[size_t(row)].cells.size()))
        return std::string();
    return rows_[size_t(row)].cells[size_t(column)];
}

uint64_t MemoryList::GetItemData(int row) const
{
    return (row >= 0 && row < int(rows_.size())) ? rows_[size_t(row)].itemData : 0;
}

int MemoryList::GetItemImage(int row) const
{
    return (row >= 0 && row < int(rows_.size())) ? rows_[size_t(row)].image : 0;
}

void MemoryList::DeleteAllRows() { rows_.clear(); }

void MemoryList::SortRows(const std::function<bool(int, int)>& less)
{
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), less);
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (int index : order)
        sorted.push_back(std::move(rows_[size_t(index)]));
    rows_ = std::move(sorted);
}

std::vector<int> MemoryList::GetSelectedRows() const
{
    std::vector<int> selected;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].selected)
            selected.push_back(int(i));
    return selected;
}

void MemoryList::SetSelectedRows(const std::vector<int>& rows)
{
    for (Row& row : rows_)
        row.selected = false;
    for (int index : rows)
        if (index >= 0 && index < int(rows_.size()))
            rows_[size_t(index)].selected = true;
}
