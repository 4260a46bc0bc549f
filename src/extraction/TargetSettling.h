// The overwrite rule of the save commands: an existing file or folder at the
// target is removed, recursively for a folder, only once the user agreed.
#pragma once

#include <functional>
#include <string>

// Removes path and, for a folder, everything below it, including entries
// whose names begin with '.'. A symbolic link is removed itself and never
// followed. True when nothing is left at path.
bool DeleteRecursively(const std::string& path);

// True when the target is free for the save: nothing existed there, or it
// existed, confirm() agreed and it has been removed. confirm is asked only
// when something exists.
bool SettleExistingTarget(const std::string& target, const std::function<bool()>& confirm);
