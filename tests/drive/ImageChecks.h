// Checks shared by the tests of the multi-track image formats: what a drive
// holding the image answers against the disc a writer was asked to make.
#pragma once

#include "drive/CDevCmdROM.h"
#include "drive/TocModel.h"
#include "support/ImageWriters.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

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

// A scratch folder, the image-file entry and a small ISO to put on the discs
// the tests write; skipped without genisoimage.
template <typename TestBase>
class WrittenImageFixture : public TestBase {
protected:
    void SetUp() override
    {
        iso = MakeIsoBytes(dir, "DATA");
        if (iso.empty())
            GTEST_SKIP() << "genisoimage missing";
    }
    std::string Base(const char* name) const { return (dir / name).string(); }
    TempDir dir;
    std::vector<uint8_t> iso;
    CDevCmdROM drive;
};
using MultiTrackImageTest = WrittenImageFixture<::testing::Test>;

} // namespace testing_support
