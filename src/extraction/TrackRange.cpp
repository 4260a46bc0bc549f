#include "extraction/TrackRange.h"

#include "extraction/TrackImage.h"

bool FindTrackSpan(const SessionInfo& sessions, int session, int track, TrackSpan& span)
{
    if (session < 1 || session > sessions.GetSessionNum())
        return false;
    const TocData& toc = sessions[size_t(session - 1)];
    TocData::_Data entry;
    if (!toc.GetTrackData(track, entry))
        return false;
    TocData::_Data next;
    int32_t nextStart = 0;
    if (track < toc.GetLastTrackNo()) {
        if (!toc.GetTrackData(track + 1, next))
            return false;
        nextStart = next.GetStartPos();
    } else if (session == sessions.GetSessionNum()) {
        nextStart = int32_t(toc.GetLeadOutStartPos());
    } else {
        if (!sessions[size_t(session)].GetTrackData(track + 1, next))
            return false;
        nextStart = next.GetStartPos();
    }
    span.first = entry.GetStartPos();
    span.end = nextStart;
    span.isData = entry.is_data_track();
    return true;
}

int SessionOfTrack(const SessionInfo& sessions, int track)
{
    TocData::_Data entry;
    for (int s = 1; s <= sessions.GetSessionNum(); ++s)
        if (sessions[size_t(s - 1)].GetTrackData(track, entry))
            return s;
    return 0;
}

bool NeedsNotFirstTrackQuestion(int track, bool isData, const std::string& path)
{
    return track > 1 && ChooseTrackFormat(isData ? 1 : 0, path) == TrackFormat::Iso;
}
