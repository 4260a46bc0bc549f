#include "drive/ImageFormats.h"
std::optional<DiscImage> ReadCdrdaoToc(const std::string&) { return std::nullopt; }
