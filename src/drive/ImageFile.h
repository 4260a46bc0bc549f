// Read-only access to one image file by offset, with a read-ahead window so
// that sector-sized reads cost one system call per window, not per sector.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ImageFile {
public:
    explicit ImageFile(const std::string& path);
    ~ImageFile();
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    uint64_t Size() const { return size_; }
    // Copies length bytes at offset; false (and nothing promised in out) when
    // any of them lies past the end of the file or cannot be read.
    bool Read(uint64_t offset, uint8_t* out, size_t length);

private:
    static constexpr size_t kWindow = 1 << 18;

    int fd_ = -1;
    uint64_t size_ = 0;
    std::vector<uint8_t> window_;
    uint64_t windowOffset_ = 0;
    size_t windowLength_ = 0;
};
