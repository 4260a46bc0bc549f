// Finding the other files of a multi-file image. Images made on Windows
// name their companions without regard to case, so the names are matched
// the same way here.
#pragma once

#include <string>

// The file in path's folder named like path with this extension ("img"),
// matched without regard to case; empty when there is none.
std::string SiblingWithExtension(const std::string& path, const std::string& extension);

// name (as a sheet gives it, with '/' or '\' separators) taken relative to
// the sheet's folder; an existing file whose name differs only in case is
// found too. Empty when no such file exists.
std::string ResolveBesideSheet(const std::string& sheetPath, const std::string& name);
