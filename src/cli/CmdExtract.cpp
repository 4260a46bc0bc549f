// morvik-cli extract: a file, a folder or a data track's whole file system
// into a folder, as the explorer's Save Data does once the destination is
// chosen.
#include "cli/CliSupport.h"
#include "cli/CliExplorer.h"
#include "cli/Commands.h"
#include "cli/JobProgress.h"
#include "common/StringTable.h"
#include "explorer/NodePaths.h"
#include "extraction/CGetCDData.h"
#include "extraction/SafeName.h"
#include "extraction/TargetSettling.h"
#include "extraction/TrackRange.h"

#include <cstdlib>
#include <filesystem>

namespace {

// What NODE names: a folder (or a data track's root folder) or one file row.
struct Selection {
    NodeHandle node = kNoNode; // the folder node, or the folder holding the file
    bool isFile = false;
    std::string name;
    uint64_t location = 0;
    uint64_t size = 0;
};

bool ResolveNode(MemoryTree& tree, const MemoryList& list, const std::string& path, Selection& selection)
{
    selection.node = FindNodeByPath(tree, path);
    if (selection.node != kNoNode) {
        selection.location = tree.GetItemData(selection.node);
        selection.name = tree.GetItemText(selection.node);
        return selection.location != 0;
    }
    // A file: the last element is a row of its folder's list.
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash + 1 == path.size())
        return false;
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    selection.node = FindNodeByPath(tree, folder);
    if (selection.node == kNoNode || tree.GetItemData(selection.node) == 0)
        return false;
    tree.SelectItem(selection.node);
    const std::string name = path.substr(slash + 1);
    for (int row = 0; row < list.GetRowCount(); ++row) {
        if (list.GetItemText(row, ExplorerColumn::Name) != name ||
            list.GetItemText(row, ExplorerColumn::Type) != "File")
            continue;
        selection.isFile = true;
        selection.name = name;
        selection.size = std::strtoull(list.GetItemText(row, ExplorerColumn::Size).c_str(), nullptr, 10);
        selection.location = std::strtoull(list.GetItemText(row, ExplorerColumn::Pos).c_str(), nullptr, 10);
        return selection.location != 0;
    }
    return false;
}

// The start of the data track that holds node: UDF volumes are mounted
// relative to it.
int32_t TrackStartOf(const TreeControl& tree, NodeHandle node, const SessionInfo& sessions)
{
    static const std::string kDataTrack = "DATA TRACK ";
    for (; node != kNoNode; node = tree.GetParentNode(node)) {
        const std::string text = tree.GetItemText(node);
        if (text.rfind(kDataTrack, 0) != 0)
            continue;
        const int track = std::atoi(text.c_str() + kDataTrack.size());
        TrackSpan span;
        if (FindTrackSpan(sessions, SessionOfTrack(sessions, track), track, span))
            return span.first;
    }
    return 0;
}

} // namespace

int cli::RunExtract(int argc, char** argv, int first)
{
    const Arguments args = ParseArguments(argc, argv, first, {});
    if (args.positional.size() != 3)
        return Usage("morvik-cli extract SOURCE NODE DEST [--yes]");
    const std::string& nodePath = args.positional[1];
    const std::string& dest = args.positional[2];
    std::error_code ec;
    if (!std::filesystem::is_directory(dest, ec))
        return Fail(dest + " is not a folder");

    const auto session = ProbeSource(args.positional[0]);
    if (!session)
        return kFailure;
    if (session->drive->TestUnitReady() != 0)
        return kFailure; // the probe has said why
    MemoryTree& tree = session->tree;
    DiscExplorer& explorer = *session->explorer;
    CDevCmdROM* drive = session->drive.get();

    Selection selection;
    if (!ResolveNode(tree, session->list, nodePath, selection))
        return Fail("no folder or file " + nodePath);
    const std::string target = JoinSafe(dest, selection.name);
    if (!SettleExistingTarget(target, [&] { return args.Has("--yes"); }))
        return Fail(StringTable::Text(StringTable::AlreadyExists));

    const int fsKind = explorer.GetNodeFileSystem(tree, selection.node, drive);
    const int32_t trackStart = TrackStartOf(tree, selection.node, explorer.GetSessions());
    CGetCDData engine;
    engine.SetDevice(drive);
    const bool started =
        selection.isFile
            ? engine.StartSaveFile(explorer.GetSectorMode(), selection.location, selection.size, target, fsKind,
                                   explorer.IsJoliet(), trackStart)
            : engine.StartSaveFolder(explorer.GetSectorMode(), selection.location, target, fsKind,
                                     explorer.IsJoliet(), trackStart);
    if (!started)
        return Fail("cannot save " + nodePath);
    if (!FollowJob(engine))
        return kFailure;
    if (!std::filesystem::exists(std::filesystem::symlink_status(target, ec)))
        return Fail("cannot write " + target);
    return kSuccess;
}
