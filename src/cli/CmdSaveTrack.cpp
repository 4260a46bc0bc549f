// morvik-cli save-track: one whole track to a WAV, ISO or raw file, as the
// TOC view's save does.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/JobProgress.h"
#include "common/ByteOrder.h"
#include "common/StringTable.h"
#include "drive/TocModel.h"
#include "extraction/CGetCDData.h"
#include "extraction/TargetSettling.h"
#include "extraction/TrackRange.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

// The track's sectors from the table of contents, or from the track's
// information on a disc without one (DVDs).
bool LocateTrack(CDevCmdROM& drive, int track, TrackSpan& span)
{
    std::vector<uint8_t> toc(4096, 0);
    if (drive.ReadToc(toc.data(), uint32_t(toc.size()), 2, 0) == 0) {
        const int length = std::min<int>(int(GetBE16(toc.data())) - 2, int(toc.size()) - 4);
        const SessionInfo sessions(toc.data() + 4, length);
        return FindTrackSpan(sessions, SessionOfTrack(sessions, track), track, span);
    }
    TRACK_INFO info{};
    if (drive.ReadTrackInfo(info, 1, uint32_t(track)) != 0)
        return false;
    span.first = int32_t(GetBE32(&info.bytes[8]));
    span.end = int32_t(span.first + GetBE32(&info.bytes[24]));
    span.isData = true;
    return true;
}

} // namespace

int cli::RunSaveTrack(int argc, char** argv, int first)
{
    const Arguments args = ParseArguments(argc, argv, first, {});
    long long track = 0;
    if (args.positional.size() != 3 || !ParseNumber(args.positional[1], track) || track < 1 || track > 99)
        return Usage("morvik-cli save-track SOURCE TRACK OUT [--yes]");
    const bool yes = args.Has("--yes");
    const std::string& out = args.positional[2];

    const auto drive = OpenSource(args.positional[0]);
    if (!drive)
        return kFailure;
    if (drive->TestUnitReady() != 0)
        return Fail(StringTable::Text(StringTable::DeviceNotReady));
    TrackSpan span;
    if (!LocateTrack(*drive, int(track), span))
        return Fail("no track " + args.positional[1]);
    if (NeedsNotFirstTrackQuestion(int(track), span.isData, out) && !yes)
        return Fail(StringTable::Text(StringTable::NotFirstTrack));
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(out, ec)))
        return Fail(out + " is a folder");
    if (!SettleExistingTarget(out, [&] { return yes; }))
        return Fail(StringTable::Text(StringTable::AlreadyExists));

    CGetCDData engine;
    engine.SetDevice(drive.get());
    if (!engine.StartSaveTrack(span.isData ? 1 : 0, span.first, span.end, out))
        return Fail("cannot save track " + args.positional[1]);
    if (!FollowJob(engine))
        return kFailure;
    if (!std::filesystem::exists(out, ec))
        return Fail("cannot write " + out);
    return kSuccess;
}
