#include "explorer/ui/ExplorerTree.h"

#include "skin/SkinResources.h"

#include <QHeaderView>

namespace {
enum Role { DataRole = Qt::UserRole, ImageRole, SelectedImageRole };
}

ExplorerTree::ExplorerTree(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
        ShowSelectedImage(current, previous);
        emit NodeSelected();
    });
}

NodeHandle ExplorerTree::InsertNode(NodeHandle parent, const std::string& text, int image, int selectedImage,
                                    uint64_t itemData)
{
    QTreeWidgetItem* item = parent == kNoNode ? new QTreeWidgetItem(this) : new QTreeWidgetItem(Item(parent));
    item->setText(0, QString::fromUtf8(text.c_str()));
    item->setIcon(0, Skin::ExplorerIcon(image));
    item->setData(0, DataRole, QVariant::fromValue<qulonglong>(itemData));
    item->setData(0, ImageRole, image);
    item->setData(0, SelectedImageRole, selectedImage);
    return Handle(item);
}

void ExplorerTree::DeleteAllNodes()
{
    // Emptying the tree clears the selection, which the explorer sees.
    clear();
}

NodeHandle ExplorerTree::GetRootNode() const { return Handle(topLevelItem(0)); }

NodeHandle ExplorerTree::GetParentNode(NodeHandle node) const { return node ? Handle(Item(node)->parent()) : kNoNode; }

NodeHandle ExplorerTree::GetChildNode(NodeHandle node) const
{
    if (node == kNoNode)
        return GetRootNode();
    return Handle(Item(node)->child(0));
}

static QTreeWidgetItem* Sibling(const QTreeWidget* tree, QTreeWidgetItem* item, int step)
{
    QTreeWidgetItem* parent = item->parent();
    const int index = (parent ? parent->indexOfChild(item) : tree->indexOfTopLevelItem(item)) + step;
    if (index < 0)
        return nullptr;
    return parent ? parent->child(index) : tree->topLevelItem(index);
}

NodeHandle ExplorerTree::GetNextSiblingNode(NodeHandle node) const
{
    return node ? Handle(Sibling(this, Item(node), 1)) : kNoNode;
}

NodeHandle ExplorerTree::GetPrevSiblingNode(NodeHandle node) const
{
    return node ? Handle(Sibling(this, Item(node), -1)) : kNoNode;
}

std::string ExplorerTree::GetItemText(NodeHandle node) const
{
    return node ? Item(node)->text(0).toUtf8().toStdString() : std::string();
}

uint64_t ExplorerTree::GetItemData(NodeHandle node) const
{
    return node ? Item(node)->data(0, DataRole).toULongLong() : 0;
}

void ExplorerTree::SetItemData(NodeHandle node, uint64_t data)
{
    if (node)
        Item(node)->setData(0, DataRole, QVariant::fromValue<qulonglong>(data));
}

int ExplorerTree::GetItemImage(NodeHandle node) const { return node ? Item(node)->data(0, ImageRole).toInt() : 0; }

int ExplorerTree::GetItemSelectedImage(NodeHandle node) const
{
    return node ? Item(node)->data(0, SelectedImageRole).toInt() : 0;
}

void ExplorerTree::Expand(NodeHandle node)
{
    if (node)
        Item(node)->setExpanded(true);
}

bool ExplorerTree::IsExpanded(NodeHandle node) const { return node && Item(node)->isExpanded(); }

void ExplorerTree::SelectItem(NodeHandle node)
{
    setCurrentItem(Item(node));
    if (node)
        scrollToItem(Item(node));
}

NodeHandle ExplorerTree::GetSelectedItem() const { return Handle(currentItem()); }

void ExplorerTree::ShowSelectedImage(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    if (previous)
        previous->setIcon(0, Skin::ExplorerIcon(previous->data(0, ImageRole).toInt()));
    if (current)
        current->setIcon(0, Skin::ExplorerIcon(current->data(0, SelectedImageRole).toInt()));
}
