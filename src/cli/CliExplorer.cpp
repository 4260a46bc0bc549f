#include "cli/CliExplorer.h"

#include "cli/CliSupport.h"

namespace cli {

std::unique_ptr<ExplorerSession> ProbeSource(const std::string& source)
{
    auto session = std::make_unique<ExplorerSession>();
    session->drive = OpenSource(source);
    if (!session->drive)
        return nullptr;
    session->explorer = std::make_unique<DiscExplorer>(session->tree, session->list);
    DiscExplorer& explorer = *session->explorer;
    session->tree.onSelectionChanged = [&explorer](NodeHandle) { explorer.OnTreeSelect(); };
    explorer.SetMessageSink([](const std::string& text) { Fail(text); });
    explorer.SetDescriptorBuffer(session->descriptor);
    explorer.ShowDisc(session->drive.get());
    return session;
}

} // namespace cli
