#include "extraction/FolderSaving.h"

#include "extraction/FileSaving.h"
#include "extraction/JobState.h"
#include "extraction/SafeName.h"
#include "filesystems/CAnaly_UDF.h"

#include <vector>

namespace {

class UdfFolderWalk {
public:
    UdfFolderWalk(CAnaly_UDF& udf, JobState& state) : udf_(udf), state_(state) {}

    // False once the job is cancelled.
    bool Save(uint64_t location, const std::string& path)
    {
        if (!MayEnterFolder(ancestors_, location) || !MakeFolder(path))
            return true;
        std::vector<UdfDirEntry> entries;
        if (state_.IsDone())
            return false;
        if (!udf_.ReadDirectory(location, entries))
            return true;
        ancestors_.push_back(location);
        bool goOn = true;
        for (const UdfDirEntry& entry : entries) {
            if (state_.IsDone()) {
                goOn = false;
                break;
            }
            const std::string target = JoinSafe(path, entry.name);
            goOn = entry.isFolder ? Save(entry.location, target)
                                  : SaveUdfFile(udf_, state_, entry.location, entry.size, target);
            state_.SetProgress(0);
            if (!goOn)
                break;
        }
        ancestors_.pop_back();
        return goOn;
    }

private:
    CAnaly_UDF& udf_;
    JobState& state_;
    std::vector<uint64_t> ancestors_;
};

} // namespace

void SaveUdfFolder(CAnaly_UDF& udf, JobState& state, uint64_t location, const std::string& path)
{
    UdfFolderWalk(udf, state).Save(location, path);
}

bool SaveUdfFile(CAnaly_UDF& udf, JobState& state, uint64_t location, uint64_t size, const std::string& path)
{
    return SaveStreamedFile(state, path, size,
                            [&](const DataSink& sink) { udf.ReadFileContents(location, sink); });
}
