#include "extraction/OutputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

OutputFile::~OutputFile() { Close(); }

bool OutputFile::Create(const std::string& path)
{
    Close();
    path_.clear();
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd_ < 0)
        return false;
    path_ = path; // only a file we opened may be deleted again
    return true;
}

bool OutputFile::Write(const uint8_t* data, size_t length)
{
    while (length > 0) {
        const ssize_t written = ::write(fd_, data, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        length -= size_t(written);
    }
    return true;
}

void OutputFile::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void OutputFile::Discard()
{
    Close();
    if (!path_.empty())
        ::unlink(path_.c_str());
    path_.clear();
}
