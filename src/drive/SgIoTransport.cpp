#include "drive/SgIoTransport.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
constexpr uint8_t kStatusMask = 0x7E; // the SCSI status byte without vendor bits
constexpr uint8_t kCheckCondition = 0x02;
} // namespace

SgIoTransport::SgIoTransport(std::string devicePath, IoctlFunction ioctlFunction)
    : devicePath_(std::move(devicePath)), ioctl_(std::move(ioctlFunction))
{
    if (!ioctl_)
        ioctl_ = [](int fd, sg_io_hdr* header) { return ::ioctl(fd, SG_IO, header); };
}

SgIoTransport::~SgIoTransport()
{
    if (fd_ >= 0)
        ::close(fd_);
}

// Opened on first use and kept: O_NONBLOCK lets a drive without a disc open.
bool SgIoTransport::EnsureOpen()
{
    if (fd_ < 0)
        fd_ = ::open(devicePath_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        fd_ = ::open(devicePath_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return fd_ >= 0;
}

ScsiResult SgIoTransport::Execute(const ScsiCommand& command)
{
    ScsiResult result;
    if (!EnsureOpen() || command.cdbLength == 0 || command.cdbLength > command.cdb.size()) {
        result.status = DriveStatus::TransportError;
        return result;
    }
    uint8_t sense[252] = {}; // the most sense data SPC allows
    std::array<uint8_t, 16> cdb = command.cdb;
    sg_io_hdr header{};
    header.interface_id = 'S';
    header.cmdp = cdb.data();
    header.cmd_len = command.cdbLength;
    header.sbp = sense;
    header.mx_sb_len = sizeof sense;
    header.dxferp = command.data;
    header.dxfer_len = command.dataLength;
    header.timeout = command.timeoutMs;
    switch (command.direction) {
    case DataDirection::None:
        header.dxfer_direction = SG_DXFER_NONE;
        break;
    case DataDirection::FromDevice:
        header.dxfer_direction = SG_DXFER_FROM_DEV;
        break;
    case DataDirection::ToDevice:
        header.dxfer_direction = SG_DXFER_TO_DEV;
        break;
    }
    if (ioctl_(fd_, &header) < 0) {
        result.status = DriveStatus::TransportError;
        return result;
    }
    result.transferred = command.dataLength - uint32_t(std::max(header.resid, 0));
    const uint8_t status = header.status & kStatusMask;
    if (header.sb_len_wr > 0) {
        const size_t length = std::min<size_t>(header.sb_len_wr, sizeof sense);
        result.sense = DecodeSense(sense, length);
        result.senseBytes.assign(sense, sense + length);
    }
    if (status == kCheckCondition || header.sb_len_wr > 0)
        result.status = DriveStatus::CheckCondition;
    else if (status != 0 || header.host_status != 0 || (header.driver_status & 0x0F) != 0)
        result.status = DriveStatus::TransportError;
    return result;
}
