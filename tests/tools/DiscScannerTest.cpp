#include "tools/DiscScanner.h"

#include "common/ByteOrder.h"
#include "drive/MmcCommands.h"
#include "tools/ToolDiscs.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <vector>

using namespace testing_support;
using tool_discs::DiscBuilder;
using tool_discs::FakeDrive;

namespace {

// Records, as a window would after posting them to its own thread, what the
// worker reported.
class ScanRecord {
public:
    DiscScanner::Callbacks Callbacks()
    {
        return {[this](int percent) {
                    std::lock_guard lock(mutex_);
                    percents_.push_back(percent);
                    changed_.notify_all();
                },
                [this](int row, const ScanError& error) {
                    std::lock_guard lock(mutex_);
                    EXPECT_EQ(row, int(errors_.size()));
                    errors_.push_back(error);
                    changed_.notify_all();
                },
                [this](ScanEnd end) {
                    std::lock_guard lock(mutex_);
                    ends_.push_back(end);
                    changed_.notify_all();
                }};
    }
    void WaitForErrors(size_t count)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return errors_.size() >= count; });
    }
    std::vector<int32_t> Sectors() const
    {
        std::lock_guard lock(mutex_);
        std::vector<int32_t> sectors;
        for (const ScanError& e : errors_)
            sectors.push_back(e.sector);
        return sectors;
    }
    std::vector<ScanError> Errors() const
    {
        std::lock_guard lock(mutex_);
        return errors_;
    }
    std::vector<int> Percents() const
    {
        std::lock_guard lock(mutex_);
        return percents_;
    }
    std::vector<ScanEnd> Ends() const
    {
        std::lock_guard lock(mutex_);
        return ends_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<int> percents_;
    std::vector<ScanError> errors_;
    std::vector<ScanEnd> ends_;
};

// Records the sector ranges of the reads that reach the drive.
class ReadLog : public ScsiTransport {
public:
    explicit ReadLog(std::unique_ptr<ScsiTransport> inner) : inner_(std::move(inner)) {}
    ScsiResult Execute(const ScsiCommand& c) override
    {
        if (c.cdb[0] == Mmc::Opcode::Read10) {
            std::lock_guard lock(mutex_);
            reads.push_back({int32_t(GetBE32(&c.cdb[2])), int32_t(GetBE16(&c.cdb[7]))});
        }
        return inner_->Execute(c);
    }
    std::vector<std::pair<int32_t, int32_t>> Reads() const
    {
        std::lock_guard lock(mutex_);
        return reads;
    }

private:
    std::unique_ptr<ScsiTransport> inner_;
    mutable std::mutex mutex_;
    std::vector<std::pair<int32_t, int32_t>> reads;
};

ScanEnd ScanToTheEnd(CDevCmdROM& drive, ScanRecord& record)
{
    DiscScanner scanner(record.Callbacks());
    EXPECT_EQ(scanner.Start(drive), DiscScanner::StartResult::Started);
    scanner.Wait();
    EXPECT_FALSE(scanner.IsScanning());
    const auto ends = record.Ends();
    EXPECT_EQ(ends.size(), 1u);
    return ends.empty() ? ScanEnd::Stopped : ends.front();
}

TEST(ScanRows, SectorInDecimalAndSenseInHex)
{
    const auto cells = ScanList::RowTexts({1234, SenseData_tag{0, 0, 0, 0x03, 0x11, 0x05}});
    EXPECT_EQ(cells, (std::array<std::string, 4>{"1234", "0x03", "0x11", "0x05"}));
    EXPECT_EQ(ScanList::RowTexts({7, SenseData_tag{0, 0, 0, 0x0B, 0xAB, 0xFF}})[2], "0xAB");
    EXPECT_STREQ(ScanList::kColumns[1].header, "SenseKey");
}

TEST(DiscScan, ListsExactlyTheFailingSectorsWithTheirCodes)
{
    TempDir dir;
    FakeDrive disc(DiscBuilder(dir.Path()).AddTrack(TrackMode::Mode1, 100).Build());
    disc.fake->FailSector(37, Sense::UnrecoveredReadError);
    disc.fake->FailSector(99, SenseData_tag{0, 0, 0, 0x03, 0x02, 0x81});
    ScanRecord record;
    EXPECT_EQ(ScanToTheEnd(*disc.drive, record), ScanEnd::Completed);
    const auto errors = record.Errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].sector, 37);
    EXPECT_EQ(errors[0].sense, Sense::UnrecoveredReadError);
    EXPECT_EQ(errors[1].sector, 99);
    EXPECT_EQ(ScanList::RowTexts(errors[1])[3], "0x81");
    EXPECT_EQ(record.Percents().front(), 0);
    EXPECT_EQ(record.Percents().back(), 100);
}

TEST(DiscScan, ReadsInChunksOf16AndRetriesOnlyAFailedChunk)
{
    TempDir dir;
    auto log = std::make_unique<ReadLog>(
        std::make_unique<ImageTarget>(DiscBuilder(dir.Path()).AddTrack(TrackMode::Mode1, 20).AddTrack(TrackMode::Mode1, 16).Build()));
    ReadLog* reads = log.get();
    auto fake = std::make_unique<FakeTarget>(std::move(log));
    fake->FailSector(3, Sense::UnrecoveredReadError);
    CDevCmdROM drive("fake", std::move(fake), 1);
    ScanRecord record;
    EXPECT_EQ(ScanToTheEnd(drive, record), ScanEnd::Completed);
    EXPECT_EQ(record.Sectors(), std::vector<int32_t>{3});
    // The failing chunk never reaches the image; its retries do, one by one.
    std::vector<std::pair<int32_t, int32_t>> expected;
    for (int32_t lba = 0; lba < 16; ++lba)
        if (lba != 3)
            expected.push_back({lba, 1});
    expected.push_back({16, 4});
    expected.push_back({20, 16});
    EXPECT_EQ(reads->Reads(), expected);
}

TEST(DiscScan, ReadsAudioAndForm2TracksRaw)
{
    TempDir dir;
    FakeDrive disc(DiscBuilder(dir.Path())
                       .AddTrack(TrackMode::Mode2, 20)
                       .AddTrack(TrackMode::Audio, 20)
                       .Build());
    ScanRecord record;
    EXPECT_EQ(ScanToTheEnd(*disc.drive, record), ScanEnd::Completed);
    EXPECT_TRUE(record.Errors().empty());
    EXPECT_EQ(disc.fake->CountOf(Mmc::Opcode::ReadCd), 4);
    EXPECT_EQ(disc.fake->CountOf(Mmc::Opcode::Read10), 0);
}

TEST(DiscScan, ListsTheSectorsATruncatedImageLacks)
{
    TempDir dir;
    FakeDrive disc(DiscBuilder(dir.Path()).AddTrack(TrackMode::Mode1, 50, 45).AddTrack(TrackMode::Audio, 10, 8).Build());
    ScanRecord record;
    EXPECT_EQ(ScanToTheEnd(*disc.drive, record), ScanEnd::Completed);
    EXPECT_EQ(record.Sectors(), (std::vector<int32_t>{45, 46, 47, 48, 49, 58, 59}));
    for (const ScanError& e : record.Errors())
        EXPECT_EQ(e.sense, Sense::UnrecoveredReadError);
}

TEST(DiscScan, BlankDiscEndsAtOnce)
{
    TempDir dir;
    FakeDrive disc(DiscBuilder(dir.Path()).AddTrack(TrackMode::Mode1, 40).Build());
    disc.fake->SetReply(Mmc::Opcode::ReadDiscInformation, std::vector<uint8_t>(34, 0));
    ScanRecord record;
    EXPECT_EQ(ScanToTheEnd(*disc.drive, record), ScanEnd::Completed);
    EXPECT_TRUE(record.Percents().empty());
    EXPECT_EQ(disc.fake->CountOf(Mmc::Opcode::ReadTrackInformation), 0);
    EXPECT_EQ(disc.fake->CountOf(Mmc::Opcode::Read10), 0);
}

TEST(DiscScan, FallsBackToTheTocAndEndsWithoutTrackRange)
{
    TempDir dir;
    FakeDrive disc(DiscBuilder(dir.Path()).AddTrack(TrackMode::Mode1, 40).Build());
    disc.fake->RejectOpcode(Mmc::Opcode::ReadDiscInformation, Sense::InvalidOpcode);
    disc.fake->FailSector(39, Sense::UnrecoveredReadError);
    ScanRecord viaToc;
    EXPECT_EQ(ScanToTheEnd(*disc.drive, viaToc), ScanEnd::Completed);
    EXPECT_EQ(viaToc.Sectors(), std::vector<int32_t>{39});

    disc.fake->SetNoToc(true);
    ScanRecord none;
    EXPECT_EQ(ScanToTheEnd(*disc.drive, none), ScanEnd::NoTrackRange);
    EXPECT_TRUE(none.Errors().empty());
}

TEST(DiscScan, RefusesADriveThatIsNotReady)
{
    TempDir dir;
    FakeDrive disc(DiscBuilder(dir.Path()).AddTrack(TrackMode::Mode1, 40).Build());
    disc.fake->SetNotReady(true);
    ScanRecord record;
    DiscScanner scanner(record.Callbacks());
    EXPECT_EQ(scanner.Start(*disc.drive), DiscScanner::StartResult::NotReady);
    EXPECT_FALSE(scanner.IsScanning());
}

TEST(DiscScan, StopEndsTheScanWithinOneChunkAndStartRunsAgain)
{
    TempDir dir;
    FakeDrive disc(DiscBuilder(dir.Path()).AddTrack(TrackMode::Mode1, 3200).Build());
    std::mutex mutex;
    std::condition_variable changed;
    bool running = false;
    bool stopped = false;
    std::vector<ScanEnd> ends;
    DiscScanner::Callbacks callbacks;
    // The worker waits after its second chunk until the test has pressed Stop.
    callbacks.progress = [&](int percent) {
        if (percent == 0)
            return;
        std::unique_lock lock(mutex);
        running = true;
        changed.notify_all();
        changed.wait(lock, [&] { return stopped; });
    };
    callbacks.finished = [&](ScanEnd end) {
        std::lock_guard lock(mutex);
        ends.push_back(end);
    };
    DiscScanner scanner(callbacks);
    ASSERT_EQ(scanner.Start(*disc.drive), DiscScanner::StartResult::Started);
    EXPECT_EQ(scanner.Start(*disc.drive), DiscScanner::StartResult::AlreadyScanning);
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return running; });
    }
    const int readsBeforeStop = disc.fake->CountOf(Mmc::Opcode::Read10);
    scanner.Stop();
    EXPECT_FALSE(scanner.IsScanning());
    {
        std::lock_guard lock(mutex);
        stopped = true;
    }
    changed.notify_all();
    scanner.Wait();
    EXPECT_LE(disc.fake->CountOf(Mmc::Opcode::Read10) - readsBeforeStop, 1);
    ASSERT_EQ(ends, std::vector<ScanEnd>{ScanEnd::Stopped});

    // A new scan reads the whole disc again.
    disc.fake->ResetCounts();
    ASSERT_EQ(scanner.Start(*disc.drive), DiscScanner::StartResult::Started);
    scanner.Wait();
    EXPECT_EQ(disc.fake->CountOf(Mmc::Opcode::Read10), 200);
    EXPECT_EQ(ends.back(), ScanEnd::Completed);
}

TEST(DiscScan, DestroyingTheScannerStopsAndJoinsTheWorker)
{
    TempDir dir;
    FakeDrive disc(DiscBuilder(dir.Path()).AddTrack(TrackMode::Mode1, 20000, 0).Build());
    ScanRecord record;
    {
        DiscScanner scanner(record.Callbacks());
        ASSERT_EQ(scanner.Start(*disc.drive), DiscScanner::StartResult::Started);
        record.WaitForErrors(1);
    }
    // Every chunk fails and is retried sector by sector: the stop request
    // is honoured between single-sector reads too.
    EXPECT_EQ(record.Ends(), std::vector<ScanEnd>{ScanEnd::Stopped});
    EXPECT_LT(record.Errors().size(), 20000u);
}

} // namespace
