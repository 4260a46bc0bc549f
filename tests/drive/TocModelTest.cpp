#include "drive/TocModel.h"

#include <gtest/gtest.h>

namespace {

TocData::_Data Entry(uint8_t adrControl, uint8_t point, uint8_t pmin, uint8_t psec, uint8_t pframe, uint8_t zero = 0)
{
    TocData::_Data e;
    e[0] = adrControl;
    e[2] = point;
    e[6] = zero;
    e[7] = pmin;
    e[8] = psec;
    e[9] = pframe;
    return e;
}

TEST(MsfAddress, EdgeValues)
{
    EXPECT_EQ((MsfAddress{0, 0, 2, 0}.ToLba()), 0);
    EXPECT_EQ((MsfAddress{0, 0, 0, 0}.ToLba()), -150);
    EXPECT_EQ((MsfAddress{0, 90, 0, 0}.ToLba()), -45150);
    EXPECT_EQ((MsfAddress{0, 99, 59, 74}.ToLba()), -151);
    EXPECT_EQ((MsfAddress{0, 0xFF, 0xFF, 0xFF}.ToLba()), 16777215);
    EXPECT_EQ((MsfAddress{1, 0, 2, 0}.ToLba()), 405000);
}

TEST(TocData, StartPositionsAndAccess)
{
    EXPECT_EQ(Entry(0x14, 1, 0, 2, 0).GetStartPos(), 0);
    EXPECT_EQ(Entry(0x14, 1, 90, 0, 0).GetStartPos(), -45150);
    EXPECT_EQ(Entry(0x14, 1, 0xFF, 0xFF, 0xFF).GetStartPos(), 0xFFFFFF);
    EXPECT_TRUE(Entry(0x14, 1, 0, 2, 0).is_data_track());
    EXPECT_TRUE(Entry(0x10, 1, 0, 2, 0).is_audio_track());

    TocData session(3);
    const TocData::_Data e = Entry(0x14, 1, 0, 2, 0);
    session.add(e);
    session.add(e);
    EXPECT_EQ(session.size(), 2u);
    session.init();
    EXPECT_EQ(session.size(), 0u);
    EXPECT_EQ(session.GetSessNo(), 3);
    try {
        session.at(0);
        FAIL();
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid vector<T> subscript");
    }
}

TEST(TocData, LibraryQueriesUseAdr1EntriesOnly)
{
    TocData session(1);
    session.add(Entry(0x14, 0xA0, 1, 0x20, 0));
    session.add(Entry(0x14, 0xA1, 2, 0, 0));
    session.add(Entry(0x14, 0xA2, 10, 0, 0));
    session.add(Entry(0x54, 2, 50, 0, 0)); // a mode-5 entry reusing a track POINT
    session.add(Entry(0x14, 1, 0, 2, 0));
    session.add(Entry(0x10, 2, 5, 0, 0));
    EXPECT_EQ(session.GetFirstTrackNo(), 1);
    EXPECT_EQ(session.GetLastTrackNo(), 2);
    EXPECT_EQ(session.GetDiscType(), 0x20);
    EXPECT_EQ(session.GetLeadOutStartPos(), uint32_t(10 * 60 * 75 - 150));
    TocData::_Data track;
    ASSERT_TRUE(session.GetTrackData(2, track));
    EXPECT_EQ(track.GetStartPos(), 5 * 60 * 75 - 150);
    EXPECT_FALSE(session.GetTrackData(3, track));
}

TEST(SessionInfo, GroupsDescriptorsBySession)
{
    const unsigned char raw[] = {
        1, 0x14, 0, 0xA0, 0, 0, 0, 0, 1, 0, 0, //
        1, 0x14, 0, 0xA1, 0, 0, 0, 0, 1, 0, 0, //
        1, 0x14, 0, 0xA2, 0, 0, 0, 0, 1, 0, 0, //
        1, 0x14, 0, 0x01, 0, 0, 0, 0, 0, 2, 0, //
        2, 0x14, 0, 0xA0, 0, 0, 0, 0, 2, 0, 0, //
        2, 0x14, 0, 0x02, 0, 0, 0, 0, 20, 2, 0,
    };
    const SessionInfo sessions(raw, sizeof raw);
    ASSERT_EQ(sessions.GetSessionNum(), 2);
    EXPECT_EQ(sessions.front().GetSessNo(), 1);
    EXPECT_EQ(sessions.back().GetFirstTrackNo(), 2);

    SessionInfo empty;
    try {
        empty.front();
        FAIL();
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid deque<T> subscript");
    }
    const SessionInfo single(raw, 44);
    EXPECT_EQ(single.GetSessionNum(), 1);
    EXPECT_EQ(&single.front(), &single.back());
}

} // namespace
