// Recognises a disc image by its content (never by the name's extension) and
// describes the disc it holds. Each format is one reader; the first that
// recognises the file describes it.
#pragma once

#include "drive/DiscImage.h"

#include <optional>
#include <string>

// nullopt for a file that is no image we know, or a damaged one.
std::optional<DiscImage> OpenDiscImage(const std::string& path);

// The readers, tried in this order by OpenDiscImage. Each returns nullopt
// for a file that is not in its format.
std::optional<DiscImage> ReadNrgImage(const std::string& path);
std::optional<DiscImage> ReadCloneCdImage(const std::string& path);
std::optional<DiscImage> ReadAlcoholImage(const std::string& path);
std::optional<DiscImage> ReadCueSheet(const std::string& path);
std::optional<DiscImage> ReadCdrdaoToc(const std::string& path);
std::optional<DiscImage> ReadPlainImage(const std::string& path);
