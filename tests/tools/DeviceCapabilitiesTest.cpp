#include "tools/DeviceCapabilities.h"

#include "common/ByteOrder.h"
#include "drive/MmcCommands.h"
#include "tools/ToolDiscs.h"

#include <gtest/gtest.h>

#include <map>

using namespace testing_support;
using tool_discs::DiscBuilder;
using tool_discs::FakeDrive;

namespace {

// A MODE SENSE(10) reply holding mode page 2Ah with bytes 2 to 5 as given.
std::vector<uint8_t> CapabilitiesPage(uint8_t read, uint8_t write, uint8_t audio, uint8_t subchannel)
{
    std::vector<uint8_t> reply(8 + 30, 0);
    PutBE16(&reply[0], uint32_t(reply.size() - 2));
    reply[8] = 0x2A;
    reply[9] = 28;
    reply[10] = read;
    reply[11] = write;
    reply[12] = audio;
    reply[13] = subchannel;
    return reply;
}

// A GET CONFIGURATION reply listing these features, each with 4 data bytes.
std::vector<uint8_t> FeatureList(const std::vector<uint16_t>& features)
{
    std::vector<uint8_t> reply(8, 0);
    PutBE16(&reply[6], 0x0008);
    for (uint16_t code : features) {
        uint8_t descriptor[8] = {0, 0, 0x03, 4, 0, 0, 0, 0};
        PutBE16(descriptor, code);
        reply.insert(reply.end(), descriptor, descriptor + 8);
    }
    PutBE32(&reply[0], uint32_t(reply.size() - 4));
    return reply;
}

// The report as label -> "Yes"/"No".
std::map<std::string, std::string> Answers(const std::vector<CapabilityRow>& rows)
{
    std::map<std::string, std::string> answers;
    for (const CapabilityRow& row : rows)
        if (!row.support.empty())
            answers[row.label] = row.support;
    return answers;
}

const char* const kDvdRows[] = {"DVD+R READSupport",   "DVD+RW READSupport",  "DVD-R READSupport",
                                "DVD-RW READSupport",  "DVD_RAM READSupport", "DVD_ROM READSupport",
                                "DVD+R WRITESupport",  "DVD+RW WRITESupport", "DVD-R WRITESupport",
                                "DVD-RW WRITESupport", "DVD_RAM WRITESupport"};
const char* const kPlusRows[] = {"DVD+R READSupport", "DVD+RW READSupport", "DVD+R WRITESupport",
                                 "DVD+RW WRITESupport"};

class RecordedDrive : public ::testing::Test {
protected:
    std::vector<CapabilityRow> Report() { return DeviceCapabilities::ReadDeviceCapabilities(*disc.drive); }

    TempDir dir;
    FakeDrive disc{DiscBuilder(dir.Path()).AddTrack(TrackMode::Mode1, 20).Build()};
};

TEST_F(RecordedDrive, RowsComeInTheirOrderWithHeadingsAndSpacers)
{
    disc.fake->SetReply(Mmc::Opcode::ModeSense10, CapabilitiesPage(0x3B, 0x37, 0x30, 0x7F));
    disc.fake->SetReply(Mmc::Opcode::GetConfiguration, FeatureList({0x0000, 0x002A, 0x002F}));
    const auto rows = Report();
    ASSERT_EQ(rows.size(), size_t(DeviceCapabilities::kRowCount));
    EXPECT_EQ(rows[0].support, "");
    EXPECT_EQ(rows[0].label, "<General Features>");
    EXPECT_EQ(rows[10].label, "");
    EXPECT_EQ(rows[11].label, "<Read Features>");
    EXPECT_EQ(rows[21].label, "<Write Features>");
    EXPECT_EQ(rows[1].label, "C2_PointerSupport");
    EXPECT_EQ(rows[28].label, "DVD_RAM WRITESupport");
    for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13, 14, 15, 16, 17, 18, 19, 22, 23, 24, 25, 26, 27, 28})
        EXPECT_EQ(rows[size_t(i)].support, "Yes") << rows[size_t(i)].label;
}

TEST_F(RecordedDrive, CdOnlyDriveSaysNoToEveryDvdRow)
{
    // Reads and writes CD-R/RW, CD-DA accurate, C2, ISRC, UPC; no DVD bits.
    disc.fake->SetReply(Mmc::Opcode::ModeSense10, CapabilitiesPage(0x03, 0x03, 0x71, 0x73));
    disc.fake->SetReply(Mmc::Opcode::GetConfiguration, FeatureList({0x0000, 0x0001, 0x001E, 0x0021}));
    auto answers = Answers(Report());
    for (const char* row : kDvdRows)
        EXPECT_EQ(answers[row], "No") << row;
    EXPECT_EQ(answers["CD_R ReadSupport"], "Yes");
    EXPECT_EQ(answers["CD_RW WriteSupport"], "Yes");
    EXPECT_EQ(answers["C2_PointerSupport"], "Yes");
    EXPECT_EQ(answers["R_W Support"], "No");
    EXPECT_EQ(answers["Mode2Form2 Support"], "Yes");
}

TEST_F(RecordedDrive, Feature2AWithout2BStillSaysYesToBothPlusRows)
{
    disc.fake->SetReply(Mmc::Opcode::ModeSense10, CapabilitiesPage(0x0B, 0x00, 0x00, 0x00));
    disc.fake->SetReply(Mmc::Opcode::GetConfiguration, FeatureList({0x0000, 0x001F, 0x002A}));
    auto answers = Answers(Report());
    for (const char* row : kPlusRows)
        EXPECT_EQ(answers[row], "Yes") << row;
    EXPECT_EQ(answers["DVD-RW READSupport"], "No");
    EXPECT_EQ(answers["DVD_ROM READSupport"], "Yes");
}

TEST_F(RecordedDrive, EmptyFeatureListLeavesOnlyTheFeatureRowsAtNo)
{
    disc.fake->SetReply(Mmc::Opcode::ModeSense10, CapabilitiesPage(0x3B, 0x37, 0x30, 0x7F));
    disc.fake->SetReply(Mmc::Opcode::GetConfiguration, FeatureList({}));
    auto answers = Answers(Report());
    for (const char* row : kPlusRows)
        EXPECT_EQ(answers[row], "No") << row;
    EXPECT_EQ(answers["DVD-RW READSupport"], "No");
    EXPECT_EQ(answers["DVD-RW WRITESupport"], "No");
    int yes = 0;
    for (const auto& [label, support] : answers)
        yes += support == "Yes";
    EXPECT_EQ(yes, 24 - 6); // every row but the six feature rows
}

TEST_F(RecordedDrive, RejectedModePageGivesNoRows)
{
    disc.fake->RejectOpcode(Mmc::Opcode::ModeSense10, Sense::InvalidFieldInCdb);
    disc.fake->SetReply(Mmc::Opcode::GetConfiguration, FeatureList({0x002A}));
    EXPECT_TRUE(Report().empty());
}

TEST(FeatureWalk, StaysInsideTheBufferWhateverTheHeaderClaims)
{
    std::vector<uint8_t> list = FeatureList({0x0001, 0x002F});
    EXPECT_TRUE(DeviceCapabilities::HasFeature(list.data(), uint32_t(list.size()), 0x002F));
    EXPECT_FALSE(DeviceCapabilities::HasFeature(list.data(), uint32_t(list.size()), 0x002A));
    EXPECT_FALSE(DeviceCapabilities::HasFeature(list.data(), 0, 0x0001));
    // Cut short: the second descriptor lies beyond the given length.
    EXPECT_FALSE(DeviceCapabilities::HasFeature(list.data(), 16, 0x002F));
    // A claimed length far beyond the reply, and a "negative" one.
    PutBE32(list.data(), 0x7FFFFFF0);
    EXPECT_TRUE(DeviceCapabilities::HasFeature(list.data(), uint32_t(list.size()), 0x002F));
    EXPECT_FALSE(DeviceCapabilities::HasFeature(list.data(), uint32_t(list.size()), 0x1234));
    PutBE32(list.data(), 0x80000000);
    EXPECT_FALSE(DeviceCapabilities::HasFeature(list.data(), uint32_t(list.size()), 0x0001));
}

TEST(ImageCapabilities, AnImageReadsTheMediaItHoldsAndWritesNone)
{
    TempDir dir;
    FakeDrive disc(DiscBuilder(dir.Path()).AddTrack(TrackMode::Mode1, 20).Build());
    auto answers = Answers(DeviceCapabilities::ReadDeviceCapabilities(*disc.drive));
    ASSERT_EQ(answers.size(), 24u);
    for (const auto& [label, support] : answers) {
        const bool writeRow = label.find("Write") != std::string::npos || label.find("WRITE") != std::string::npos;
        EXPECT_TRUE(!writeRow || support == "No") << label;
    }
    for (const char* row : {"CD_R ReadSupport", "CD_RW ReadSupport", "DVD_ROM READSupport", "DVD-R READSupport",
                            "DVD_RAM READSupport", "CD_DA Supported", "Mode2Form1 Support", "Mode2Form2 Support"})
        EXPECT_EQ(answers[row], "Yes") << row;
}

} // namespace
