#include "extraction/SafeName.h"

std::string SafeEntryName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return "_";
    std::string safe(name);
    for (char& c : safe)
        if (c == '/' || c == '\0')
            c = '_';
    return safe;
}

std::string JoinSafe(const std::string& folder, std::string_view name)
{
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    return path + SafeEntryName(name);
}
