// A transport that answers MMC command blocks from a disc image, with the
// replies and sense codes a read-only drive holding that disc would give.
#pragma once

#include "drive/DiscImage.h"
#include "drive/ImageFile.h"
#include "drive/ScsiTransport.h"

#include <memory>
#include <optional>
#include <vector>

class ImageTarget : public ScsiTransport {
public:
    ImageTarget() = default;
    explicit ImageTarget(DiscImage image);

    // Opens the image's files; false when one of them cannot be opened.
    bool Load(DiscImage image);
    void Unload();
    bool HasDisc() const { return image_.has_value(); }
    const DiscImage* Image() const { return image_ ? &*image_ : nullptr; }

    ScsiResult Execute(const ScsiCommand& command) override;

private:
    struct Reply;

    ScsiResult Inquiry(const ScsiCommand& c);
    ScsiResult ReadToc(const ScsiCommand& c);
    ScsiResult ReadDiscInformation(const ScsiCommand& c);
    ScsiResult ReadTrackInformation(const ScsiCommand& c);
    ScsiResult GetConfiguration(const ScsiCommand& c);
    ScsiResult ModeSense10(const ScsiCommand& c);
    ScsiResult Read10(const ScsiCommand& c);
    ScsiResult ReadCd(const ScsiCommand& c);

    std::vector<uint8_t> FormattedToc(bool msf) const;
    std::vector<uint8_t> RawToc() const;
    // The raw 2352 bytes of a sector; nullopt-like false with the sense to report.
    bool ReadRawSector(int32_t lba, uint8_t* out, SenseData_tag& sense);
    bool ReadUserData(int32_t lba, uint8_t* out, uint32_t& length, SenseData_tag& sense);
    bool ReadStored(const SectorRun& run, int32_t lba, uint8_t* out, uint32_t length);

    std::optional<DiscImage> image_;
    std::vector<std::unique_ptr<ImageFile>> files_;
};
