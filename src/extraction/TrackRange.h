// Which sectors a track save copies, taken from the table of contents as the
// explorer's and the TOC view's save commands take them.
#pragma once

#include "drive/TocModel.h"

#include <cstdint>
#include <string>

struct TrackSpan {
    int32_t first = 0;
    int32_t end = 0; // one past the track's last sector
    bool isData = false;
};

// The track numbered track in session (1-based): from its start to the
// start of the next track in the same session; for a session's last track,
// to the start of that next track number in the next session, or for the
// last session to the lead-out. False when the table holds no such track.
bool FindTrackSpan(const SessionInfo& sessions, int session, int track, TrackSpan& span);

// The session whose table holds track, or 0.
int SessionOfTrack(const SessionInfo& sessions, int track);

// An ISO image of a track other than the first may be unusable on its own
// (its file system addresses count from the disc's start): the save asks
// first.
bool NeedsNotFirstTrackQuestion(int track, bool isData, const std::string& path);
