#include "extraction/FileSaving.h"

#include "extraction/JobState.h"
#include "extraction/OutputFile.h"

#include <algorithm>

bool SaveStreamedFile(JobState& state, const std::string& path, uint64_t size,
                      const std::function<void(const DataSink&)>& produce)
{
    state.SetCurrentName(path);
    state.SetProgress(0);
    OutputFile file;
    if (!file.Create(path)) {
        state.SetProgress(100);
        return true;
    }
    uint64_t written = 0;
    bool cancelled = false;
    auto sink = [&](const uint8_t* data, size_t length) {
        if (state.IsDone()) {
            cancelled = true;
            return false;
        }
        const size_t take = size_t(std::min<uint64_t>(length, size - written));
        if (!file.Write(data, take))
            return false;
        written += take;
        state.SetProgress(written, size);
        return written < size;
    };
    if (size > 0)
        produce(sink);
    if (cancelled) {
        file.Discard();
        return false;
    }
    file.Close();
    state.SetProgress(100);
    return true;
}

bool SaveIsoExtents(CDevCmdROM& drive, JobState& state, int sectorMode, const std::vector<IsoExtent>& extents,
                    const std::string& path)
{
    uint64_t size = 0;
    for (const IsoExtent& extent : extents)
        size += extent.length;
    UserDataReader reader(drive, sectorMode);
    return SaveStreamedFile(state, path, size, [&](const DataSink& sink) {
        for (const IsoExtent& extent : extents) {
            // Each extent holds exactly its length; its last sector's tail is padding.
            uint32_t missing = extent.length;
            bool goOn = true;
            const uint32_t sectors = uint32_t((uint64_t(extent.length) + 2047) / 2048);
            const uint32_t read = reader.Read(int32_t(extent.lba), sectors, [&](const uint8_t* data, size_t length) {
                const uint32_t take = uint32_t(std::min<size_t>(length, missing));
                missing -= take;
                goOn = sink(data, take);
                return goOn && missing > 0;
            });
            if (!goOn || (missing > 0 && read < sectors))
                return;
        }
    });
}
