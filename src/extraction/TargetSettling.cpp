#include "extraction/TargetSettling.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {
bool Exists(const std::string& path)
{
    // A path that cannot be examined counts as taken.
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found;
}
} // namespace

bool DeleteRecursively(const std::string& path)
{
    // remove_all removes links rather than what they point at.
    std::error_code ec;
    fs::remove_all(path, ec);
    return !Exists(path);
}

bool SettleExistingTarget(const std::string& target, const std::function<bool()>& confirm)
{
    if (!Exists(target))
        return true;
    if (!confirm())
        return false;
    return DeleteRecursively(target);
}
