// The Virtual Allocation Table of a packet-written volume, kept in a
// temporary file "VATtmp<number>.dat": four little-endian bytes per entry,
// entry i being the partition block that holds virtual block i. Each object
// owns its own file, created exclusively, and deletes it when it is removed,
// recreated or destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class UdfVatFile {
public:
    UdfVatFile() = default;
    ~UdfVatFile();
    UdfVatFile(const UdfVatFile&) = delete;
    UdfVatFile& operator=(const UdfVatFile&) = delete;

    // Deletes the previous file and creates an empty one with a fresh name
    // in the temporary folder; false when none can be created.
    bool Create();
    bool Append(const uint8_t* entries, size_t length);
    // Entry index; false past the end or when no file is open.
    bool Lookup(uint32_t index, uint32_t& value) const;
    uint64_t EntryCount() const { return size_ / 4; }
    void Remove();
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
    uint64_t size_ = 0;
};
