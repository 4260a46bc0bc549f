// Checks shared by the tests of the multi-track image formats: what a drive
// holding the image answers against the disc a writer was asked to make.
#pragma once

#include "drive/CDevCmdROM.h"
#include "drive/TocModel.h"
#include "support/ImageWriters.h"
#include "support/TestSupport.h"

#include <string>
#include <vector>

namespace testing_support {

// The raw table of contents the drive reports.
SessionInfo ReadSessions(CDevCmdROM& drive);

// The bytes of a small ISO 9660 image made with genisoimage; empty without
// the tool.
std::vector<uint8_t> MakeIsoBytes(const TempDir& dir, const std::string& label);

// A disc with a data track (the ISO) and two audio tracks with CD-Text.
TestDisc MixedModeDisc(const std::vector<uint8_t>& iso);
// Two sessions, each a data track; the second a CD-ROM XA track.
TestDisc TwoSessionDisc(const std::vector<uint8_t>& iso);

// Sessions, tracks, starts, lead-outs, sector contents and CD-Text.
void ExpectDisc(CDevCmdROM& drive, const TestDisc& disc);

} // namespace testing_support
