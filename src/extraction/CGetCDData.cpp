#include "extraction/CGetCDData.h"

#include "drive/CDevCmdROM.h"
#include "extraction/FileSaving.h"
#include "extraction/FolderSaving.h"
#include "extraction/TrackImage.h"
#include "filesystems/CAnaly_UDF.h"

#include <algorithm>

namespace {
// A single file is given by its start and size: its data lies in
// consecutive extents of at most 4 GiB - 2 KiB.
std::vector<IsoExtent> ConsecutiveExtents(uint32_t lba, uint64_t size)
{
    constexpr uint32_t kMaxExtent = 0xFFFFF800;
    std::vector<IsoExtent> extents;
    do {
        const uint32_t length = uint32_t(std::min<uint64_t>(size, kMaxExtent));
        extents.push_back(IsoExtent{lba, length});
        lba += kMaxExtent / 2048;
        size -= length;
    } while (size > 0);
    return extents;
}
} // namespace

CGetCDData::CGetCDData() = default;

CGetCDData::~CGetCDData()
{
    state_.RaiseDone();
    if (worker_.joinable())
        worker_.join();
}

bool CGetCDData::SetDevice(CDevCmdROM* drive)
{
    state_.SetProgress(0);
    if (!drive)
        return false;
    drive_ = drive;
    drive_->TestUnitReady();
    return true;
}

bool CGetCDData::CanStart(const std::string& path)
{
    // One job at a time; a finished or cancelled worker is only unwinding.
    if (worker_.joinable() && !state_.IsDone())
        return false;
    if (!drive_ || path.empty() || drive_->TestUnitReady() != 0)
        return false;
    if (worker_.joinable())
        worker_.join();
    return true;
}

template <typename Work>
void CGetCDData::Launch(Work work)
{
    state_.ClearDone();
    worker_ = std::thread([this, work = std::move(work)] {
        work();
        state_.RaiseDone();
    });
}

bool CGetCDData::StartSaveFolder(int mode, uint64_t location, const std::string& path, int fsKind, bool joliet,
                                 int32_t trackStart)
{
    if (location == 0 || !CanStart(path))
        return false;
    CDevCmdROM* drive = drive_;
    if (fsKind >= 2) {
        Launch([this, drive, location, path, trackStart] {
            CAnaly_UDF udf;
            udf.Init(drive, nullptr, trackStart);
            SaveUdfFolder(udf, state_, location, path);
        });
    } else {
        // Without a file-system code the explorer still opens a track with an
        // ISO 9660 volume descriptor, so it is saved the same way.
        Launch([this, drive, mode, location, path, joliet] {
            SaveIsoFolder(*drive, state_, IsoFolderJob{mode, uint32_t(location), joliet}, path);
        });
    }
    return true;
}

bool CGetCDData::StartSaveFile(int mode, uint64_t location, uint64_t size, const std::string& path, int fsKind,
                               bool joliet, int32_t trackStart)
{
    (void)joliet; // a single file's name comes from the caller
    if (location == 0 || !CanStart(path))
        return false;
    state_.SetCurrentName(path);
    CDevCmdROM* drive = drive_;
    if (fsKind >= 2) {
        Launch([this, drive, location, size, path, trackStart] {
            CAnaly_UDF udf;
            if (udf.Init(drive, nullptr, trackStart))
                SaveUdfFile(udf, state_, location, size, path);
            state_.SetProgress(100);
        });
    } else {
        Launch([this, drive, mode, location, size, path] {
            SaveIsoExtents(*drive, state_, mode, ConsecutiveExtents(uint32_t(location), size), path);
        });
    }
    return true;
}

bool CGetCDData::StartSaveTrack(int kind, int32_t first, int32_t end, const std::string& path)
{
    if (first >= end || end == 0 || !CanStart(path))
        return false;
    CDevCmdROM* drive = drive_;
    Launch([this, drive, job = TrackJob{kind, first, end, path}] { RunTrackJob(*drive, state_, job); });
    return true;
}
