// Turns names read from a disc into names that are safe to create below a
// destination folder: no separator, no NUL, never "", "." or "..".
#pragma once

#include <string>
#include <string_view>

// The name with '/' and NUL replaced by '_'; "", "." and ".." become "_".
std::string SafeEntryName(std::string_view name);

// folder + separator + SafeEntryName(name).
std::string JoinSafe(const std::string& folder, std::string_view name);
