// Steps that every sheet and container reader takes once it knows where its
// tracks begin: closing the track extents and keeping each sector run within
// the bytes its file really holds.
#pragma once

#include "drive/DiscImage.h"

#include <cstdint>

// Bytes of one sector's data in a file, without any subchannel that follows.
uint32_t StoredSectorBytes(SectorStorage storage);

// Cuts the run to the sectors whose bytes lie wholly below dataEnd; the ones
// past it stay in no run, and a drive reports them unreadable.
SectorRun ClipRun(SectorRun run, uint64_t dataEnd);

// Ends each track where the next track of its session begins (at that
// track's pregap) or at its session's lead-out, puts the runs in order and
// cuts every run to its track, so that no run spills into another track.
void CloseTrackExtents(DiscImage& disc);
