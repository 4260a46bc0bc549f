#include "drive/ImagePaths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsRegularFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The exact name when it exists, else the one entry of folder that differs
// from it only in case.
std::string FindInFolder(const fs::path& folder, const std::string& name)
{
    if (name.empty())
        return {};
    if (IsRegularFile(folder / name))
        return (folder / name).string();
    std::error_code error;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end; !error && it != end;
         it.increment(error)) {
        if (SameIgnoringCase(it->path().filename().string(), name) && IsRegularFile(it->path()))
            return (folder / it->path().filename()).string();
    }
    return {};
}

} // namespace

std::string SiblingWithExtension(const std::string& path, const std::string& extension)
{
    const fs::path original(path);
    const std::string name = original.stem().string() + "." + extension;
    if (SameIgnoringCase(name, original.filename().string()))
        return {};
    return FindInFolder(original.parent_path(), name);
}

std::string ResolveBesideSheet(const std::string& sheetPath, const std::string& name)
{
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    // A sheet names files beside itself; an absolute or climbing name from
    // a foreign machine is taken by its last component only.
    const fs::path given(relative);
    const bool outside = given.is_absolute() || std::any_of(given.begin(), given.end(), [](const fs::path& part) {
                             return part == "..";
                         });
    const fs::path folder = fs::path(sheetPath).parent_path();
    if (outside || !given.has_parent_path())
        return FindInFolder(folder, given.filename().string());
    const std::string direct = FindInFolder(folder / given.parent_path(), given.filename().string());
    return direct.empty() ? FindInFolder(folder, given.filename().string()) : direct;
}
