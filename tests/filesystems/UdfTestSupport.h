// Mounting UDF images through the image entry of the drive layer, and the
// listings the UDF tests compare.
#pragma once

#include "drive/CDevCmdROM.h"
#include "filesystems/CAnaly_UDF.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace udf_test {

// A drive on an image file with a mounted reader.
struct MountedImage {
    CDevCmdROM drive;
    CAnaly_UDF udf;
    uint8_t descriptor[2048] = {};

    bool Mount(const std::filesystem::path& image, int32_t trackStart = 0);
    // The Primary Volume Descriptor's volume identifier.
    std::string VolumeIdentifier() const;
};

// Every entry below the folder at location, depth first: "path/" for a
// folder, "path<TAB>size" for a file; sorted.
std::vector<std::string> ListTree(CAnaly_UDF& udf, uint64_t location);
// The same listing as 7-Zip gives it; nullopt when 7-Zip does not read the
// image as UDF.
std::optional<std::vector<std::string>> SevenZipTree(const std::filesystem::path& image);
std::string SevenZipProgram(); // empty when none is installed

std::string ReadWholeFile(CAnaly_UDF& udf, uint64_t location);
// The entry of that name in the folder at location.
std::optional<UdfDirEntry> FindEntry(CAnaly_UDF& udf, uint64_t folder, const std::string& name);

// Unpacks an xz file of the corpus into folder; the unpacked path.
std::filesystem::path Unxz(const std::filesystem::path& packed, const std::filesystem::path& folder);
// A Python 3 that has pycdlib, or empty.
std::string PythonWithPycdlib();

} // namespace udf_test
