#include "support/IsoPatching.h"

#include "support/TestSupport.h"

namespace testing_support {

bool PatchIsoRecord(const std::filesystem::path& image, const std::string& name,
                    const std::function<void(uint8_t* record)>& patch)
{
    constexpr size_t kHeader = 33;
    std::string bytes = ReadFile(image);
    bool patched = false;
    for (size_t at = bytes.find(name, kHeader); at != std::string::npos; at = bytes.find(name, at + 1)) {
        uint8_t* record = reinterpret_cast<uint8_t*>(&bytes[at - kHeader]);
        if (record[32] == name.size() && record[0] >= kHeader + name.size()) {
            patch(record);
            patched = true;
        }
    }
    if (patched)
        WriteFile(image, bytes);
    return patched;
}

} // namespace testing_support
