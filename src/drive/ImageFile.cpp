#include "drive/ImageFile.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ImageFile::ImageFile(const std::string& path)
{
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    size_ = uint64_t(st.st_size);
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

ImageFile::~ImageFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool ImageFile::Read(uint64_t offset, uint8_t* out, size_t length)
{
    if (fd_ < 0 || offset > size_ || length > size_ - offset)
        return false;
    while (length > 0) {
        if (offset >= windowOffset_ && offset < windowOffset_ + windowLength_) {
            const size_t at = size_t(offset - windowOffset_);
            const size_t n = std::min(length, windowLength_ - at);
            std::memcpy(out, window_.data() + at, n);
            out += n;
            offset += n;
            length -= n;
            continue;
        }
        if (length >= kWindow) {
            // Large reads bypass the window.
            const ssize_t got = ::pread(fd_, out, length, off_t(offset));
            if (got <= 0)
                return false;
            out += got;
            offset += uint64_t(got);
            length -= size_t(got);
            continue;
        }
        window_.resize(kWindow);
        const ssize_t got = ::pread(fd_, window_.data(), kWindow, off_t(offset));
        if (got <= 0) {
            windowLength_ = 0;
            return false;
        }
        windowOffset_ = offset;
        windowLength_ = size_t(got);
    }
    return true;
}
