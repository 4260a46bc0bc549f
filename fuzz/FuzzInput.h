// Fuzz inputs as files: the image readers open paths, as the program does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A private folder under /dev/shm (or the temp folder) for this process.
const std::string& FuzzFolder();
// Writes data to FuzzFolder()/name and returns the path.
std::string WriteFuzzFile(const std::string& name, const uint8_t* data, size_t size);
