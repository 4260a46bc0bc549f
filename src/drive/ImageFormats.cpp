#include "drive/ImageFormats.h"

namespace {
using Reader = std::optional<DiscImage> (*)(const std::string&);

// Sheet and container formats first: their content is unmistakable. The
// plain reader comes last, as it recognises sector data by its look.
constexpr Reader kReaders[] = {
    ReadNrgImage,
    ReadCloneCdImage,
    ReadAlcoholImage,
    ReadCueSheet,
    ReadCdrdaoToc,
    ReadPlainImage,
};
} // namespace

std::optional<DiscImage> OpenDiscImage(const std::string& path)
{
    for (Reader reader : kReaders) {
        std::optional<DiscImage> image = reader(path);
        if (image && image->IsConsistent())
            return image;
    }
    return std::nullopt;
}
