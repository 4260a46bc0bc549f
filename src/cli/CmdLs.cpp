// morvik-cli ls [-R] SOURCE [NODE]: the explorer's list after NODE is
// selected; with -R also for every folder node below it.
#include "cli/CliExplorer.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "explorer/NodePaths.h"

#include <cstdio>
#include <vector>

int cli::RunLs(int argc, char** argv, int first)
{
    const Arguments args = ParseArguments(argc, argv, first, {});
    const bool recursive = args.Has("-R");
    if (args.positional.empty() || args.positional.size() > 2 || args.flags.size() != (recursive ? 1u : 0u))
        return Usage("morvik-cli ls [-R] SOURCE [NODE]");
    const auto session = ProbeSource(args.positional[0]);
    if (!session)
        return kFailure;
    MemoryTree& tree = session->tree;

    const bool hasNodeArgument = args.positional.size() == 2;
    const std::string nodeArgument = hasNodeArgument ? args.positional[1] : std::string();
    NodeHandle node = tree.GetSelectedItem();
    if (hasNodeArgument) {
        node = FindNodeByPath(tree, nodeArgument);
        if (node == kNoNode)
            return Fail("No such node: " + nodeArgument);
        tree.SelectItem(node);
    }
    if (!recursive) {
        PrintTable(session->list);
        return kSuccess;
    }
    if (node == kNoNode)
        return kSuccess;

    // NODE itself, then every folder node below it, depth first.
    std::vector<NodeHandle> blocks;
    ForEachNode(tree, node, [&](NodeHandle n, int depth) {
        if (depth == 0 || tree.GetItemData(n) != 0)
            blocks.push_back(n);
    });
    const bool asFileSystemPath = IsFileSystemPath(nodeArgument);
    for (NodeHandle block : blocks) {
        tree.SelectItem(block);
        const std::string heading = FormatNodePath(tree, block, asFileSystemPath) + ":\n";
        std::fwrite(heading.data(), 1, heading.size(), stdout);
        PrintTable(session->list);
        std::fputc('\n', stdout);
    }
    return kSuccess;
}
