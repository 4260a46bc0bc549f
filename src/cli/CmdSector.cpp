// morvik-cli sector: the lines the sector viewer shows for one sector, and
// the sector saved as the viewer saves it.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "common/ByteOrder.h"
#include "common/StringTable.h"
#include "drive/MmcCommands.h"
#include "drive/TocModel.h"
#include "tools/SectorView.h"

#include <climits>
#include <filesystem>
#include <iostream>
#include <vector>

namespace {

constexpr const char* kSynopsis = "morvik-cli sector SOURCE LBA [--cooked] [--save FILE] [--yes]";

// 2 when the last data track lies in a CD-ROM XA session, else 1: the
// sector mode the explorer hands to the viewer.
int DiscSectorMode(CDevCmdROM& drive)
{
    std::vector<uint8_t> toc(0xFFFF, 0);
    if (drive.ReadToc(toc.data(), uint32_t(toc.size()), Mmc::TocFormat::Raw, 0) != 0)
        return 1;
    const int length = int(std::min<size_t>(GetBE16(toc.data()), toc.size() - 2)) - 2;
    if (length <= 0)
        return 1;
    const SessionInfo sessions(toc.data() + 4, length);
    int mode = 1;
    for (int s = 0; s < sessions.GetSessionNum(); ++s) {
        const TocData& session = sessions[size_t(s)];
        for (int track = session.GetFirstTrackNo(); track <= session.GetLastTrackNo(); ++track) {
            TocData::_Data entry;
            if (session.GetTrackData(track, entry) && entry.is_data_track())
                mode = session.GetDiscType() == 0x20 ? 2 : 1;
        }
    }
    return mode;
}

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

    std::unique_ptr<CDevCmdROM> drive = OpenSource(args.positional[0]);
    if (!drive)
        return kFailure;
    if (drive->TestUnitReady() != 0)
        return Fail(StringTable::Text(StringTable::DeviceNotReady));

    const SectorView::AllModeBox box =
        SectorView::AllModeOnBind(drive.get(), DiscSectorMode(*drive), {!args.Has("--cooked"), true});
    SectorView view;
    const SectorView::Result result = view.ShowSector(drive.get(), int32_t(lba), box.checked);
    if (result.outcome != SectorView::Outcome::Shown)
        return Fail("sector " + std::to_string(lba) + " cannot be read");
    if (savePath && !view.SaveSector(*savePath))
        return Fail("cannot write " + *savePath);
    for (const std::string& line : view.Lines())
        std::cout << line << "\n";
    return kSuccess;
}
