#include "drive/ImageLayout.h"

#include <algorithm>

uint32_t StoredSectorBytes(SectorStorage storage)
{
    switch (storage) {
    case SectorStorage::Raw2352:
        return 2352;
    case SectorStorage::User2048:
        return 2048;
    case SectorStorage::Mode2_2336:
        return 2336;
    case SectorStorage::Form2_2324:
        return 2324;
    case SectorStorage::Absent:
        break;
    }
    return 0;
}

SectorRun ClipRun(SectorRun run, uint64_t dataEnd)
{
    if (run.storage == SectorStorage::Absent || run.count <= 0)
        return run;
    const uint64_t bytes = StoredSectorBytes(run.storage);
    if (run.stride < bytes || run.offset > dataEnd || dataEnd - run.offset < bytes) {
        run.count = 0;
        return run;
    }
    const uint64_t fitting = (dataEnd - run.offset - bytes) / run.stride + 1;
    if (fitting < uint64_t(run.count))
        run.count = int32_t(fitting);
    return run;
}

void CloseTrackExtents(DiscImage& disc)
{
    for (size_t i = 0; i < disc.tracks.size(); ++i) {
        ImageTrack& track = disc.tracks[i];
        const bool nextInSession = i + 1 < disc.tracks.size() && disc.tracks[i + 1].session == track.session;
        if (nextInSession)
            track.end = disc.tracks[i + 1].pregapStart;
        else if (track.session >= 1 && size_t(track.session) <= disc.sessions.size())
            track.end = disc.sessions[size_t(track.session) - 1].leadOutStart;
    }

    std::vector<SectorRun> runs;
    for (SectorRun run : disc.runs) {
        const ImageTrack* track = disc.TrackAt(run.firstLba);
        if (!track || run.count <= 0)
            continue;
        run.count = int32_t(std::min<int64_t>(run.count, int64_t(track->end) - run.firstLba));
        runs.push_back(run);
    }
    std::stable_sort(runs.begin(), runs.end(),
                     [](const SectorRun& a, const SectorRun& b) { return a.firstLba < b.firstLba; });
    disc.runs.clear();
    for (const SectorRun& run : runs) {
        if (!disc.runs.empty() && run.firstLba < disc.runs.back().firstLba + disc.runs.back().count)
            continue; // a sheet that places two runs on one sector: the first wins
        disc.runs.push_back(run);
    }
}
