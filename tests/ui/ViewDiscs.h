// Discs for the window tests, made at test time behind a scriptable drive.
// Header-only: each .cpp of this folder is a test program of its own.
#pragma once

#include "drive/CDevCmdROM.h"
#include "drive/ImageFormats.h"
#include "drive/ImageTarget.h"
#include "support/FakeTarget.h"
#include "support/TestSupport.h"

#include <memory>

struct ViewDisc {
    FakeTarget* fake = nullptr;
    std::unique_ptr<CDevCmdROM> drive;

    explicit operator bool() const { return drive != nullptr; }
};

// The image at path behind a fake drive; empty when no reader takes it.
inline ViewDisc OpenViewDisc(const std::filesystem::path& path)
{
    ViewDisc disc;
    auto image = OpenDiscImage(path.string());
    if (!image)
        return disc;
    auto fake = std::make_unique<FakeTarget>(std::make_unique<ImageTarget>(std::move(*image)));
    disc.fake = fake.get();
    disc.drive = std::make_unique<CDevCmdROM>("/dev/sr0", std::move(fake), 1);
    return disc;
}

// Two sessions: an audio track, then a Mode 1 data track holding an ISO 9660
// volume.
inline std::filesystem::path MakeMixedTwoSessionSheet(const testing_support::TempDir& dir)
{
    using namespace testing_support;
    WriteFile(dir / "audio.bin", ReadFile(TestData("cue-toc/libcdio/cdda.bin")));
    WriteFile(dir / "data.bin", ReadFile(TestData("cue-toc/libcdio/isofs-m1.bin")));
    WriteFile(dir / "disc.cue", "REM SESSION 01\nFILE \"audio.bin\" BINARY\n  TRACK 01 AUDIO\n"
                                "    INDEX 01 00:00:00\n"
                                "REM SESSION 02\nFILE \"data.bin\" BINARY\n  TRACK 02 MODE1/2352\n"
                                "    INDEX 01 00:00:00\n");
    return dir / "disc.cue";
}
