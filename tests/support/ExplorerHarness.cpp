#include "support/ExplorerHarness.h"

#include "drive/ImageTarget.h"
#include "explorer/NodePaths.h"
#include "support/DiscImages.h"
#include "support/FakeTarget.h"
#include "support/TestSupport.h"

namespace testing_support {

namespace {
void Wire(ExplorerHarness& h)
{
    h.tree.onSelectionChanged = [&h](NodeHandle) { h.explorer.OnTreeSelect(); };
    h.explorer.SetMessageSink([&h](const std::string& text) { h.messages.push_back(text); });
    h.explorer.SetDescriptorBuffer(h.descriptor);
}
} // namespace

ExplorerHarness::ExplorerHarness(const std::filesystem::path& image) : drive(std::make_unique<CDevCmdROM>())
{
    drive->SetImageFile(image.string());
    Wire(*this);
}

ExplorerHarness::ExplorerHarness(std::unique_ptr<ScsiTransport> transport)
    : drive(std::make_unique<CDevCmdROM>("fake", std::move(transport), 1))
{
    Wire(*this);
}

std::string ExplorerHarness::TreeText() const
{
    std::string text;
    for (NodeHandle root = tree.GetRootNode(); root != kNoNode; root = tree.GetNextSiblingNode(root))
        ForEachNode(tree, root, [&](NodeHandle node, int depth) {
            text += std::string(size_t(depth) * 2, ' ') + tree.GetItemText(node) + "\n";
        });
    return text;
}

bool ExplorerHarness::Select(const std::string& path)
{
    const NodeHandle node = FindNodeByPath(tree, path);
    if (node == kNoNode)
        return false;
    tree.SelectItem(node);
    return true;
}

std::vector<std::vector<std::string>> ExplorerHarness::Rows() const
{
    return ListRows(list);
}

std::vector<std::string> ExplorerHarness::Column(int column) const
{
    std::vector<std::string> cells;
    for (int r = 0; r < list.GetRowCount(); ++r)
        cells.push_back(list.GetItemText(r, column));
    return cells;
}

std::unique_ptr<FakeTarget> FakeDriveFor(const DiscImage& image)
{
    return std::make_unique<FakeTarget>(std::make_unique<ImageTarget>(image));
}

std::filesystem::path MakeIso(const std::filesystem::path& folder, const std::filesystem::path& image,
                              const std::vector<std::string>& options)
{
    std::vector<std::string> argv = {"genisoimage", "-quiet", "-o", image.string()};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back(folder.string());
    return RunProgram(argv).exitCode == 0 ? image : std::filesystem::path();
}

} // namespace testing_support
