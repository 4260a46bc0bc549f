#include "extraction/FolderSaving.h"

#include "extraction/FileSaving.h"
#include "extraction/JobState.h"
#include "extraction/SafeName.h"
#include "extraction/UserDataReader.h"
#include "filesystems/IsoDirectory.h"

#include <vector>

namespace {

class IsoFolderWalkSaver {
public:
    IsoFolderWalkSaver(CDevCmdROM& drive, JobState& state, const IsoFolderJob& job)
        : drive_(drive), state_(state), job_(job), reader_(drive, job.sectorMode)
    {
    }

    // False once the job is cancelled.
    bool Save(uint32_t location, const std::string& path)
    {
        if (!MayEnterFolder(ancestors_, location) || !MakeFolder(path))
            return true;
        if (state_.IsDone())
            return false;
        ancestors_.push_back(location);
        bool goOn = true;
        WalkIsoFolder(drive_, location, IsoFolderWalk{job_.sectorMode, std::nullopt, INT32_MAX},
                      [&](const IsoDirEntry& entry) {
                          if (state_.IsDone())
                              return goOn = false;
                          const std::string target = JoinSafe(path, FileName(entry));
                          if (entry.IsFolder()) {
                              goOn = Save(entry.Lba(), target);
                          } else {
                              goOn = SaveIsoExtents(reader_, state_, entry.extents, target);
                              state_.SetProgress(0);
                          }
                          return goOn;
                      });
        ancestors_.pop_back();
        return goOn && !state_.IsDone();
    }

private:
    // "NAME.;1" is a file without extension: the separator goes with the version.
    std::string FileName(const IsoDirEntry& entry) const
    {
        std::string name = IsoEntryName(entry, job_.joliet);
        if (!job_.joliet && !entry.IsFolder() && name.size() > 1 && name.back() == '.')
            name.pop_back();
        return name;
    }

    CDevCmdROM& drive_;
    JobState& state_;
    const IsoFolderJob job_;
    UserDataReader reader_;
    std::vector<uint64_t> ancestors_;
};

} // namespace

void SaveIsoFolder(CDevCmdROM& drive, JobState& state, const IsoFolderJob& folder, const std::string& path)
{
    IsoFolderWalkSaver(drive, state, folder).Save(folder.location, path);
}
