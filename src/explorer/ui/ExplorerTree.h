// The explorer's tree as a Qt widget that the explorer core fills through
// TreeControl. A node's handle is its item.
#pragma once

#include "explorer/TreeListControls.h"

#include <QTreeWidget>

class ExplorerTree : public QTreeWidget, public TreeControl {
    Q_OBJECT
public:
    explicit ExplorerTree(QWidget* parent = nullptr);

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
    NodeHandle GetSelectedItem() const override;

    static QTreeWidgetItem* Item(NodeHandle node) { return reinterpret_cast<QTreeWidgetItem*>(node); }
    static NodeHandle Handle(const QTreeWidgetItem* item) { return reinterpret_cast<NodeHandle>(item); }

signals:
    // The selected node changed, by the user or by SelectItem.
    void NodeSelected();

private:
    void ShowSelectedImage(QTreeWidgetItem* current, QTreeWidgetItem* previous);
};
