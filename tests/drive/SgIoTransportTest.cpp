#include "drive/SgIoTransport.h"

#include "drive/MmcCommands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <scsi/sg.h>

namespace {

// /dev/null stands in for the drive's node; the mocked ioctl answers.
struct Recorded {
    unsigned timeout = 0;
    int direction = 0;
    unsigned char cdbLength = 0;
    unsigned char senseRoom = 0;
    uint8_t opcode = 0;
};

TEST(SgIoTransport, PassesTheCommandThrough)
{
    Recorded seen;
    SgIoTransport transport("/dev/null", [&](int, sg_io_hdr* h) {
        seen = {h->timeout, h->dxfer_direction, h->cmd_len, h->mx_sb_len, h->cmdp[0]};
        std::memset(h->dxferp, 0xAB, h->dxfer_len);
        h->resid = 8;
        return 0;
    });
    uint8_t buffer[96] = {};
    ScsiCommand command;
    command.cdb[0] = Mmc::Opcode::Inquiry;
    command.cdbLength = 6;
    command.direction = DataDirection::FromDevice;
    command.data = buffer;
    command.dataLength = sizeof buffer;
    command.timeoutMs = 123456;
    const ScsiResult result = transport.Execute(command);
    EXPECT_EQ(result.status, DriveStatus::Good);
    EXPECT_EQ(result.transferred, 88u);
    EXPECT_EQ(seen.timeout, 123456u);
    EXPECT_EQ(seen.direction, SG_DXFER_FROM_DEV);
    EXPECT_EQ(seen.cdbLength, 6);
    EXPECT_EQ(seen.opcode, Mmc::Opcode::Inquiry);
    EXPECT_GE(seen.senseRoom, 252);
    EXPECT_EQ(buffer[0], 0xAB);
}

ScsiResult WithSense(const std::vector<uint8_t>& sense, uint8_t status = 0x02)
{
    SgIoTransport transport("/dev/null", [&](int, sg_io_hdr* h) {
        std::memcpy(h->sbp, sense.data(), std::min<size_t>(sense.size(), h->mx_sb_len));
        h->sb_len_wr = uint8_t(sense.size());
        h->status = status;
        h->masked_status = status >> 1;
        return 0;
    });
    ScsiCommand command;
    command.cdbLength = 6;
    return transport.Execute(command);
}

TEST(SgIoTransport, FixedSenseComesBackWhole)
{
    std::vector<uint8_t> sense(32, 0);
    sense[0] = 0xF0; // valid bit set
    sense[2] = 0x03;
    sense[7] = 24;
    sense[12] = 0x11;
    sense[13] = 0x05;
    sense[31] = 0x77; // a vendor byte beyond the standard 18
    const ScsiResult result = WithSense(sense);
    EXPECT_EQ(result.status, DriveStatus::CheckCondition);
    EXPECT_EQ(result.sense, (SenseData_tag{0, 0, 0, 0x03, 0x11, 0x05}));
    EXPECT_EQ(result.sense.word, 0x70u);
    EXPECT_EQ(result.senseBytes, sense);
}

TEST(SgIoTransport, DescriptorSense)
{
    const std::vector<uint8_t> sense = {0x72, 0x05, 0x24, 0x00, 0, 0, 0, 0};
    const ScsiResult result = WithSense(sense);
    EXPECT_EQ(result.status, DriveStatus::CheckCondition);
    EXPECT_EQ(result.sense, (SenseData_tag{0, 0, 0, 0x05, 0x24, 0x00}));
    EXPECT_EQ(result.sense.word, 0x72u);
}

TEST(SgIoTransport, TimeoutsAndFailedCallsAreTransportErrors)
{
    SgIoTransport timedOut("/dev/null", [](int, sg_io_hdr* h) {
        h->host_status = 0x03; // DID_TIME_OUT
        return 0;
    });
    ScsiCommand command;
    command.cdbLength = 6;
    EXPECT_EQ(timedOut.Execute(command).status, DriveStatus::TransportError);
    SgIoTransport failing("/dev/null", [](int, sg_io_hdr*) { return -1; });
    EXPECT_EQ(failing.Execute(command).status, DriveStatus::TransportError);
    SgIoTransport missing("/nonexistent/sr9");
    EXPECT_EQ(missing.Execute(command).status, DriveStatus::TransportError);
    command.cdbLength = 0;
    EXPECT_EQ(SgIoTransport("/dev/null", [](int, sg_io_hdr*) { return 0; }).Execute(command).status,
              DriveStatus::TransportError);
}

} // namespace
