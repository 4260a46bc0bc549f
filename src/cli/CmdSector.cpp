// morvik-cli sector: the lines the sector viewer shows for one sector, and
// the sector saved as the viewer saves it.
#include "cli/CliExplorer.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "common/StringTable.h"
#include "tools/SectorView.h"

#include <climits>
#include <filesystem>
#include <iostream>

namespace {
constexpr const char* kSynopsis = "morvik-cli sector SOURCE LBA [--cooked] [--save FILE] [--yes]";
} // namespace

int cli::RunSector(int argc, char** argv, int first)
{
    const Arguments args = ParseArguments(argc, argv, first, {"--save"});
    long long lba = 0;
    for (const std::string& flag : args.flags)
        if (flag != "--cooked" && flag != "--yes")
            return Usage(kSynopsis);
    if (args.positional.size() != 2 || !ParseNumber(args.positional[1], lba) || lba > INT_MAX || lba < INT_MIN)
        return Usage(kSynopsis);
    if (lba < 0)
        return kFailure; // the viewer shows nothing for it
    const std::string* savePath = args.Option("--save");
    if (savePath && std::filesystem::exists(*savePath) && !args.Has("--yes"))
        return Fail(StringTable::Text(StringTable::AlreadyExists));

    // The viewer takes its sector mode from the explorer's probe, which also
    // reports a drive that is not ready.
    const auto session = ProbeSource(args.positional[0]);
    if (!session)
        return kFailure;
    CDevCmdROM* drive = session->drive.get();
    if (drive->TestUnitReady() != 0)
        return kFailure;

    const SectorView::AllModeBox box =
        SectorView::AllModeOnBind(drive, session->explorer->GetSectorMode(), {!args.Has("--cooked"), true});
    SectorView view;
    const SectorView::Result result = view.ShowSector(drive, int32_t(lba), box.checked);
    if (result.outcome != SectorView::Outcome::Shown)
        return Fail("sector " + std::to_string(lba) + " cannot be read");
    if (savePath && !view.SaveSector(*savePath))
        return Fail("cannot write " + *savePath);
    for (const std::string& line : view.Lines())
        std::cout << line << "\n";
    return kSuccess;
}
