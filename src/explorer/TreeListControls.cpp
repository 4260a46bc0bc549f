#include "explorer/TreeListControls.h"

#include <cctype>

int ListOrder::CompareFirstColumn(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void ForEachNode(const TreeControl& tree, NodeHandle start, const std::function<void(NodeHandle, int)>& visit,
                 int depth)
{
    // Iterative, so that a deep tree cannot exhaust the stack.
    struct Frame {
        NodeHandle node;
        int depth;
    };
    std::vector<Frame> stack;
    if (start != kNoNode)
        stack.push_back({start, depth});
    while (!stack.empty()) {
        const Frame frame = stack.back();
        stack.pop_back();
        visit(frame.node, frame.depth);
        std::vector<NodeHandle> children;
        for (NodeHandle c = tree.GetChildNode(frame.node); c != kNoNode; c = tree.GetNextSiblingNode(c))
            children.push_back(c);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            stack.push_back({*it, frame.depth + 1});
    }
}

std::string NodePath(const TreeControl& tree, NodeHandle node)
{
    std::string path;
    for (NodeHandle n = node; n != kNoNode; n = tree.GetParentNode(n))
        path = path.empty() ? tree.GetItemText(n) : tree.GetItemText(n) + "/" + path;
    return path;
}
