#include "filesystems/UdfVatFile.h"

#include "common/ByteOrder.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace {
// Name clashes are rare; a handful of tries covers a crowded folder.
constexpr int kNameAttempts = 100;
} // namespace

UdfVatFile::~UdfVatFile() { Remove(); }

bool UdfVatFile::Create()
{
    Remove();
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error)
        return false;
    std::random_device seed;
    std::mt19937 generator(seed());
    std::uniform_int_distribution<int> number(0, 0x7FFFFFFF);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string path = (folder / ("VATtmp" + std::to_string(number(generator)) + ".dat")).string();
        // O_EXCL: two readers never share a file, nor take over a stranger's.
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            fd_ = fd;
            path_ = path;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool UdfVatFile::Append(const uint8_t* entries, size_t length)
{
    if (fd_ < 0)
        return false;
    while (length > 0) {
        const ssize_t written = ::pwrite(fd_, entries, length, off_t(size_));
        if (written <= 0)
            return false;
        entries += written;
        length -= size_t(written);
        size_ += uint64_t(written);
    }
    return true;
}

bool UdfVatFile::Lookup(uint32_t index, uint32_t& value) const
{
    if (fd_ < 0 || uint64_t(index) >= EntryCount())
        return false;
    uint8_t entry[4];
    if (::pread(fd_, entry, sizeof entry, off_t(uint64_t(index) * 4)) != ssize_t(sizeof entry))
        return false;
    value = GetLE32(entry);
    return true;
}

void UdfVatFile::Remove()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!path_.empty())
        ::unlink(path_.c_str());
    fd_ = -1;
    path_.clear();
    size_ = 0;
}
