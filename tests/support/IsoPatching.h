// Rewriting the directory records of a built ISO image into shapes no tool
// writes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace testing_support {

// Calls patch on every directory record (not path table entry) whose
// identifier is name and writes the image back; false when none was found.
bool PatchIsoRecord(const std::filesystem::path& image, const std::string& name,
                    const std::function<void(uint8_t* record)>& patch);

} // namespace testing_support
