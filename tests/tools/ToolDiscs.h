// Discs built for the analysis-tool tests: tracks described directly to the
// image target, whose files may hold fewer sectors than the TOC promises,
// behind a scriptable fake drive.
#pragma once

#include "drive/CDevCmdROM.h"
#include "drive/DiscImage.h"
#include "drive/ImageTarget.h"
#include "support/FakeTarget.h"
#include "support/TestSupport.h"

#include <memory>
#include <string>

namespace tool_discs {

// Appends tracks to one session; each track's sectors live in a file of
// their own. stored < count leaves the track's tail out of its file.
class DiscBuilder {
public:
    explicit DiscBuilder(const std::filesystem::path& dir) : dir_(dir) {}

    DiscBuilder& AddTrack(TrackMode mode, int32_t count, int32_t stored = -1)
    {
        if (stored < 0)
            stored = count;
        const int number = int(disc_.tracks.size()) + 1;
        const std::string path = (dir_ / ("track" + std::to_string(number) + ".bin")).string();
        SectorRun run{next_, count, SectorStorage::User2048, int(disc_.files.size()), 0, 2048, false};
        std::string bytes;
        for (int32_t i = 0; i < stored; ++i) {
            if (mode == TrackMode::Audio) {
                run.storage = SectorStorage::Raw2352;
                run.stride = 2352;
                bytes += std::string(2352, char(i));
            } else if (mode == TrackMode::Mode2) {
                // Form 2 sub-header (twice), then 2328 bytes of data.
                run.storage = SectorStorage::Mode2_2336;
                run.stride = 2336;
                const std::string subHeader = {0, 0, 0x20, 0, 0, 0, 0x20, 0};
                bytes += subHeader + std::string(2328, char(i));
            } else {
                bytes += std::string(2048, char(i));
            }
        }
        testing_support::WriteFile(path, bytes);
        disc_.files.push_back(path);
        disc_.runs.push_back(run);
        ImageTrack track;
        track.number = number;
        track.mode = mode;
        track.control = mode == TrackMode::Audio ? 0x00 : 0x04;
        track.pregapStart = track.start = next_;
        track.end = next_ + count;
        disc_.tracks.push_back(track);
        next_ += count;
        return *this;
    }

    DiscImage Build() const
    {
        DiscImage disc = disc_;
        const bool xa = !disc.tracks.empty() && disc.tracks.front().mode == TrackMode::Mode2;
        disc.sessions = {ImageSession{1, uint8_t(xa ? 0x20 : 0x00), next_}};
        return disc;
    }

private:
    std::filesystem::path dir_;
    DiscImage disc_;
    int32_t next_ = 0;
};

// A drive object answering from disc through a fake drive the test scripts.
struct FakeDrive {
    explicit FakeDrive(DiscImage disc)
    {
        auto target = std::make_unique<FakeTarget>(std::make_unique<ImageTarget>(std::move(disc)));
        fake = target.get();
        drive = std::make_unique<CDevCmdROM>("fake", std::move(target), 1);
    }
    FakeTarget* fake = nullptr;
    std::unique_ptr<CDevCmdROM> drive;
};

} // namespace tool_discs
