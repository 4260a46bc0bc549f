#include "ExtractionFixtures.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace fs = std::filesystem;
using namespace testing_support;
using namespace extraction_test;

namespace {

class EngineOnIso : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("genisoimage"))
            GTEST_SKIP() << "genisoimage missing";
        fs::create_directory(dir / "src");
        WriteFile(dir / "src" / "big.bin", std::string(4 << 20, 'b'));
        ASSERT_TRUE(MakeJolietIso(dir / "src", dir / "disc.iso"));
        sectors = int32_t(fs::file_size(dir / "disc.iso") / 2048);
    }
    TempDir dir;
    int32_t sectors = 0;
};

TEST_F(EngineOnIso, StartsNothingWithoutDriveOrDestination)
{
    CGetCDData engine;
    EXPECT_FALSE(engine.SetDevice(nullptr));
    EXPECT_FALSE(engine.StartSaveTrack(1, 0, 10, (dir / "a.iso").string()));
    EXPECT_FALSE(engine.StartSaveFolder(1, 20, (dir / "f").string(), 1, true));
    auto drive = DriveOn(OpenImageTarget(dir / "disc.iso"));
    ASSERT_TRUE(engine.SetDevice(drive.get()));
    EXPECT_FALSE(engine.StartSaveFolder(1, 0, (dir / "f").string(), 1, true));
    EXPECT_FALSE(engine.StartSaveFolder(1, 20, "", 1, true));
    EXPECT_FALSE(engine.StartSaveFile(1, 0, 10, (dir / "f").string(), 1, true));
    EXPECT_FALSE(fs::exists(dir / "f"));
    EXPECT_FALSE(fs::exists(dir / "a.iso"));
}

TEST_F(EngineOnIso, CancelDeletesThePartialTrackFile)
{
    auto gateOwner = std::make_unique<GateTarget>(OpenImageTarget(dir / "disc.iso"), sectors / 2);
    GateTarget* gate = gateOwner.get();
    auto drive = DriveOn(std::move(gateOwner));
    CGetCDData engine;
    engine.SetDevice(drive.get());
    const fs::path out = dir / "track.dat";
    ASSERT_TRUE(engine.StartSaveTrack(1, 0, sectors, out.string()));
    gate->WaitUntilReached();
    EXPECT_FALSE(engine.IsDone());
    const int progress = engine.GetProgress();
    EXPECT_GT(progress, 0);
    EXPECT_LT(progress, 100);
    EXPECT_EQ(engine.GetCurrentName(), "TRACK DATA");
    EXPECT_TRUE(fs::exists(out));
    engine.Stop();
    EXPECT_TRUE(engine.IsDone());
    gate->Release();
    // A new job waits for the cancelled worker to unwind.
    ASSERT_TRUE(engine.StartSaveTrack(1, 0, 4, (dir / "next.iso").string()));
    ASSERT_TRUE(WaitUntilDone(engine));
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(fs::file_size(dir / "next.iso"), 4u * 2048);
}

TEST_F(EngineOnIso, DestroyingTheEngineCancelsAndJoinsItsWorker)
{
    auto gateOwner = std::make_unique<GateTarget>(OpenImageTarget(dir / "disc.iso"), sectors / 2);
    GateTarget* gate = gateOwner.get();
    auto drive = DriveOn(std::move(gateOwner));
    const fs::path out = dir / "track.iso";
    std::thread releaser;
    {
        CGetCDData engine;
        engine.SetDevice(drive.get());
        ASSERT_TRUE(engine.StartSaveTrack(1, 0, sectors, out.string()));
        gate->WaitUntilReached();
        EXPECT_FALSE(engine.StartSaveTrack(1, 0, 4, (dir / "busy.iso").string()));
        releaser = std::thread([gate] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            gate->Release();
        });
    }
    // The worker is gone: nothing writes the file any more, and it was taken back.
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(dir / "busy.iso"));
    releaser.join();
}

} // namespace
