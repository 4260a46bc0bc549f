#include "UdfTestSupport.h"

#include "filesystems/OstaName.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <fstream>
#include <functional>

using namespace testing_support;

namespace udf_test {

bool MountedImage::Mount(const std::filesystem::path& image, int32_t trackStart)
{
    return drive.SetImageFile(image.string()) && udf.Init(&drive, descriptor, trackStart);
}

std::string MountedImage::VolumeIdentifier() const { return DecodeOstaDString(descriptor + 24, 32); }

std::vector<std::string> ListTree(CAnaly_UDF& udf, uint64_t location)
{
    std::vector<std::string> lines;
    std::function<void(uint64_t, const std::string&, int)> walk = [&](uint64_t folder, const std::string& prefix,
                                                                        int depth) {
        std::vector<UdfDirEntry> entries;
        udf.ReadDirectory(folder, entries);
        for (const UdfDirEntry& entry : entries) {
            if (entry.isFolder) {
                lines.push_back(prefix + entry.name + "/");
                if (depth < 64)
                    walk(entry.location, prefix + entry.name + "/", depth + 1);
            } else {
                lines.push_back(prefix + entry.name + "\t" + std::to_string(entry.size));
            }
        }
    };
    walk(location, "", 0);
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string SevenZipProgram()
{
    for (const char* name : {"7zz", "7z"})
        if (HaveTool(name))
            return name;
    return {};
}

std::optional<std::vector<std::string>> SevenZipTree(const std::filesystem::path& image)
{
    const std::string program = SevenZipProgram();
    if (program.empty())
        return std::nullopt;
    const CommandResult result = RunProgram({program, "l", "-slt", "-tUdf", image.string()});
    if (result.exitCode != 0)
        return std::nullopt;
    std::vector<std::string> lines;
    const std::vector<std::string> output = SplitLines(result.out);
    // Entries follow the "----------" line: Path, Folder and Size each.
    auto separator = std::find(output.begin(), output.end(), "----------");
    std::string path;
    bool folder = false;
    for (auto line = separator; line != output.end(); ++line) {
        if (line->rfind("Path = ", 0) == 0)
            path = line->substr(7);
        else if (line->rfind("Folder = ", 0) == 0)
            folder = line->substr(9) == "+";
        else if (line->rfind("Size = ", 0) == 0 && !path.empty()) {
            lines.push_back(folder ? path + "/" : path + "\t" + line->substr(7));
            path.clear();
        }
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string ReadWholeFile(CAnaly_UDF& udf, uint64_t location)
{
    std::string data;
    udf.ReadFileContents(location, [&data](const uint8_t* bytes, size_t length) {
        data.append(reinterpret_cast<const char*>(bytes), length);
        return true;
    });
    return data;
}

std::optional<UdfDirEntry> FindEntry(CAnaly_UDF& udf, uint64_t folder, const std::string& name)
{
    std::vector<UdfDirEntry> entries;
    udf.ReadDirectory(folder, entries);
    for (const UdfDirEntry& entry : entries)
        if (entry.name == name)
            return entry;
    return std::nullopt;
}

std::filesystem::path Unxz(const std::filesystem::path& packed, const std::filesystem::path& folder)
{
    const std::filesystem::path target = folder / packed.stem();
    const CommandResult result = RunProgram({"sh", "-c", "xz -dc '" + packed.string() + "' > '" + target.string() + "'"});
    return result.exitCode == 0 ? target : std::filesystem::path();
}

std::string PythonWithPycdlib()
{
    for (const char* python : {"python3", "/usr/bin/python3"})
        if (RunProgram({python, "-c", "import pycdlib"}).exitCode == 0)
            return python;
    return {};
}

} // namespace udf_test
