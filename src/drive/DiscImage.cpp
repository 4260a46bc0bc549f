#include "drive/DiscImage.h"

#include <algorithm>

const ImageTrack* DiscImage::TrackAt(int32_t lba) const
{
    for (const ImageTrack& track : tracks)
        if (lba >= track.pregapStart && lba < track.end)
            return &track;
    return nullptr;
}

const SectorRun* DiscImage::RunAt(int32_t lba) const
{
    auto it = std::upper_bound(runs.begin(), runs.end(), lba,
                               [](int32_t value, const SectorRun& run) { return value < run.firstLba; });
    if (it == runs.begin())
        return nullptr;
    --it;
    return (lba - it->firstLba < it->count) ? &*it : nullptr;
}

bool DiscImage::IsConsistent() const
{
    if (sessions.empty() || tracks.empty() || tracks.size() > 99)
        return false;
    for (size_t i = 0; i < sessions.size(); ++i)
        if (sessions[i].number != int(i) + 1)
            return false;
    int32_t previousEnd = -150;
    int previousNumber = 0;
    int previousSession = 1;
    for (const ImageTrack& track : tracks) {
        if (track.number <= previousNumber || track.number > 99)
            return false;
        if (track.session < previousSession || track.session > int(sessions.size()))
            return false;
        if (track.pregapStart < previousEnd || track.pregapStart > track.start || track.start >= track.end)
            return false;
        if (track.end > sessions[track.session - 1].leadOutStart)
            return false;
        previousEnd = track.end;
        previousNumber = track.number;
        previousSession = track.session;
    }
    for (const ImageSession& session : sessions) {
        const bool hasTrack = std::any_of(tracks.begin(), tracks.end(),
                                          [&](const ImageTrack& t) { return t.session == session.number; });
        if (!hasTrack)
            return false;
    }
    int64_t runEnd = INT32_MIN;
    for (const SectorRun& run : runs) {
        if (run.count < 0 || run.firstLba < runEnd)
            return false;
        if (run.storage != SectorStorage::Absent && (run.fileIndex < 0 || run.fileIndex >= int(files.size())))
            return false;
        runEnd = int64_t(run.firstLba) + run.count;
    }
    return true;
}
