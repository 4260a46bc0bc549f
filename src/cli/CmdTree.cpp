// morvik-cli tree: the explorer's tree after the probe, two spaces a level.
#include "cli/CliExplorer.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include <cstdio>

int cli::RunTree(int argc, char** argv, int first)
{
    const Arguments args = ParseArguments(argc, argv, first, {});
    if (args.positional.size() != 1 || !args.flags.empty())
        return Usage("morvik-cli tree SOURCE");
    const auto session = ProbeSource(args.positional[0]);
    if (!session)
        return kFailure;
    const MemoryTree& tree = session->tree;
    std::string line;
    for (NodeHandle root = tree.GetRootNode(); root != kNoNode; root = tree.GetNextSiblingNode(root))
        ForEachNode(tree, root, [&](NodeHandle node, int depth) {
            line.assign(size_t(depth) * 2, ' ');
            line += tree.GetItemText(node);
            line += '\n';
            std::fwrite(line.data(), 1, line.size(), stdout);
        });
    return kSuccess;
}
