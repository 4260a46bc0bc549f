#include "explorer/NodePaths.h"

#include <vector>

namespace {

std::vector<std::string> SplitPath(const std::string& path)
{
    std::vector<std::string> parts;
    size_t begin = 0;
    while (begin <= path.size()) {
        size_t end = path.find('/', begin);
        if (end == std::string::npos)
            end = path.size();
        if (end > begin)
            parts.push_back(path.substr(begin, end - begin));
        begin = end + 1;
    }
    return parts;
}

NodeHandle FindSibling(const TreeControl& tree, NodeHandle first, const std::string& text)
{
    for (NodeHandle node = first; node != kNoNode; node = tree.GetNextSiblingNode(node))
        if (tree.GetItemText(node) == text)
            return node;
    return kNoNode;
}

} // namespace

NodeHandle FirstFileSystemNode(const TreeControl& tree)
{
    // Data-track nodes sit right below the session nodes.
    for (NodeHandle root = tree.GetRootNode(); root != kNoNode; root = tree.GetNextSiblingNode(root))
        for (NodeHandle track = tree.GetChildNode(root); track != kNoNode; track = tree.GetNextSiblingNode(track))
            if (tree.GetItemData(track) != 0)
                return track;
    return kNoNode;
}

NodeHandle FindNodeByPath(const TreeControl& tree, const std::string& path)
{
    const std::vector<std::string> parts = SplitPath(path);
    NodeHandle node = kNoNode;
    size_t next = 0;
    if (IsFileSystemPath(path)) {
        node = FirstFileSystemNode(tree);
    } else {
        if (parts.empty())
            return kNoNode;
        node = FindSibling(tree, tree.GetRootNode(), parts[next++]);
    }
    for (; node != kNoNode && next < parts.size(); ++next)
        node = FindSibling(tree, tree.GetChildNode(node), parts[next]);
    return node;
}

std::string FormatNodePath(const TreeControl& tree, NodeHandle node, bool asFileSystemPath)
{
    if (asFileSystemPath) {
        const NodeHandle top = FirstFileSystemNode(tree);
        std::string path;
        for (NodeHandle n = node; n != kNoNode; n = tree.GetParentNode(n)) {
            if (n == top)
                return path.empty() ? "/" : path;
            path = "/" + tree.GetItemText(n) + path;
        }
    }
    return NodePath(tree, node);
}
