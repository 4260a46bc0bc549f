// One local file being written by an extraction job. Creation never follows
// a symbolic link; a cancelled or failed job can take its file back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates or truncates path; false when it cannot be created.
    bool Create(const std::string& path);
    // Writes all of data; false on a write error (a full disk).
    bool Write(const uint8_t* data, size_t length);
    void Close();
    // Closes and deletes the file.
    void Discard();

private:
    int fd_ = -1;
    std::string path_;
};
