// Linux SG_IO pass-through to an optical drive's device node.
#pragma once

#include "drive/ScsiTransport.h"

#include <functional>
#include <string>

struct sg_io_hdr;

class SgIoTransport : public ScsiTransport {
public:
    // The ioctl is injectable so that the transport can be tested without a
    // drive; the default is the real ioctl(2).
    using IoctlFunction = std::function<int(int fd, sg_io_hdr* header)>;

    explicit SgIoTransport(std::string devicePath, IoctlFunction ioctlFunction = {});
    ~SgIoTransport() override;
    SgIoTransport(const SgIoTransport&) = delete;
    SgIoTransport& operator=(const SgIoTransport&) = delete;

    ScsiResult Execute(const ScsiCommand& command) override;

private:
    bool EnsureOpen();

    std::string devicePath_;
    IoctlFunction ioctl_;
    int fd_ = -1;
};
