#include "FuzzProbe.h"

#include "filesystems/VolumeInfo.h"

#include <vector>

bool FuzzProbe::Open(const std::string& path)
{
    if (!drive.SetImageFile(path))
        return false;
    tree.onSelectionChanged = [this](NodeHandle) { explorer.OnTreeSelect(); };
    explorer.SetMessageSink([](const std::string&) {});
    explorer.SetDescriptorBuffer(descriptor);
    explorer.ShowDisc(&drive);
    return true;
}

void FuzzProbe::SelectEveryNode()
{
    std::vector<NodeHandle> nodes;
    for (NodeHandle root = tree.GetRootNode(); root != kNoNode; root = tree.GetNextSiblingNode(root))
        ForEachNode(tree, root, [&nodes](NodeHandle node, int) { nodes.push_back(node); });
    for (NodeHandle node : nodes) {
        tree.SelectItem(node);
        explorer.SortList();
    }
}

void FuzzProbe::ShowVolume()
{
    MemoryList rows;
    VolumeInfo::InsertColumns(rows);
    VolumeInfo::Show(rows, descriptor, sizeof descriptor, explorer.GetFileSystemKind());
}
