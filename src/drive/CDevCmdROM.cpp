#include "drive/CDevCmdROM.h"

#include "common/ByteOrder.h"
#include "common/InputLimits.h"
#include "drive/CdText.h"
#include "drive/ImageFormats.h"
#include "drive/ImageTarget.h"
#include "drive/MmcCommands.h"

#include <cstring>
#include <vector>

namespace {
constexpr int32_t kVolumeDescriptorStart = 16;
} // namespace

CDevCmdROM::CDevCmdROM(std::string devicePath, std::unique_ptr<ScsiTransport> transport, uint8_t deviceId)
    : devicePath_(std::move(devicePath)), deviceId_(deviceId), transport_(std::move(transport))
{
}

CDevCmdROM::CDevCmdROM()
{
    auto image = std::make_unique<ImageTarget>();
    image_ = image.get();
    transport_ = std::move(image);
}

CDevCmdROM::~CDevCmdROM() = default;

uint32_t CDevCmdROM::Run(ScsiResult result, SenseData_tag* sense)
{
    lastSense_ = result.sense;
    if (sense)
        *sense = result.sense;
    return result.status;
}

SenseData_tag CDevCmdROM::GetSenseData() const
{
    std::lock_guard lock(mutex_);
    return lastSense_;
}

uint32_t CDevCmdROM::TestUnitReady()
{
    std::lock_guard lock(mutex_);
    return Run(Mmc::TestUnitReady(*transport_));
}

uint32_t CDevCmdROM::ReadCD_10(uint8_t* buffer, uint32_t length, uint32_t count, int32_t lba,
                               SenseData_tag* sense)
{
    if (!buffer || count > 0xFFFF || uint64_t(count) * Mmc::kCookedSectorSize > length)
        return DriveStatus::InvalidArgument;
    std::lock_guard lock(mutex_);
    return Run(Mmc::Read10(*transport_, buffer, uint32_t(lba), uint16_t(count)), sense);
}

uint32_t CDevCmdROM::ReadCD_All(uint8_t* buffer, uint32_t length, uint32_t count, int32_t lba,
                                SenseData_tag* sense)
{
    if (!buffer || count > 0xFFFFFF || uint64_t(count) * Mmc::kRawSectorSize > length)
        return DriveStatus::InvalidArgument;
    std::lock_guard lock(mutex_);
    return Run(Mmc::ReadCd(*transport_, buffer, Mmc::kRawSectorSize, uint32_t(lba), count,
                           Mmc::ReadCdFields::FullRaw),
               sense);
}

uint32_t CDevCmdROM::ReadCD_Data(uint8_t* buffer, uint32_t length, uint32_t count, int32_t lba)
{
    if (!buffer || count > 0xFFFFFF || uint64_t(count) * Mmc::kCookedSectorSize > length)
        return DriveStatus::InvalidArgument;
    // User data may be longer than 2048 bytes (Form 2, audio): let the drive
    // use the whole buffer, which the caller sized for that.
    const uint32_t perSector = length / count;
    std::lock_guard lock(mutex_);
    return Run(Mmc::ReadCd(*transport_, buffer, perSector, uint32_t(lba), count, Mmc::ReadCdFields::UserData));
}

uint32_t CDevCmdROM::ReadToc(uint8_t* buffer, uint32_t length, uint8_t format, uint8_t trackOrSession)
{
    if (!buffer || length == 0)
        return DriveStatus::InvalidArgument;
    std::lock_guard lock(mutex_);
    return Run(Mmc::ReadToc(*transport_, buffer, uint16_t(std::min<uint32_t>(length, 0xFFFF)), format,
                            trackOrSession));
}

uint32_t CDevCmdROM::ReadDiscInfo(DISC_INFO& info)
{
    std::lock_guard lock(mutex_);
    return Run(Mmc::ReadDiscInformation(*transport_, info.bytes, sizeof info.bytes));
}

uint32_t CDevCmdROM::ReadTrackInfo(TRACK_INFO& info, uint8_t addressType, uint32_t number)
{
    std::lock_guard lock(mutex_);
    return Run(Mmc::ReadTrackInformation(*transport_, info.bytes, sizeof info.bytes, addressType, number));
}

uint32_t CDevCmdROM::ReadTrackInfoEx(TRACK_INFO& info, uint8_t addressType, uint32_t number)
{
    return ReadTrackInfo(info, addressType, number);
}

MEDIUM_TYPE CDevCmdROM::GetMediumType()
{
    uint8_t header[8] = {};
    std::lock_guard lock(mutex_);
    if (Run(Mmc::GetConfiguration(*transport_, header, sizeof header, 1)) != 0)
        return MediumType::None;
    return GetBE16(&header[6]);
}

bool CDevCmdROM::HasVolumeIdentifier(int32_t lba, const char* const* identifiers)
{
    std::vector<uint8_t> sector(Mmc::kRawSectorSize);
    for (int32_t i = 0; i < InputLimits::kMaxVolumeDescriptors; ++i) {
        std::fill(sector.begin(), sector.end(), 0);
        if (ReadCD_10(sector.data(), Mmc::kCookedSectorSize, 1, lba + kVolumeDescriptorStart + i) != 0 &&
            ReadCD_Data(sector.data(), Mmc::kRawSectorSize, 1, lba + kVolumeDescriptorStart + i) != 0)
            return false;
        for (const char* const* id = identifiers; *id; ++id)
            if (std::memcmp(&sector[1], *id, 5) == 0)
                return true;
        // An empty slot ends the sequence; so does the ISO terminator, unless
        // a UDF sequence ("BEA01") could still follow it.
        if (sector[1] == 0 || std::memcmp(&sector[1], "TEA01", 5) == 0)
            return false;
    }
    return false;
}

// An Anchor Volume Descriptor Pointer (tag 2 with a valid checksum) at block
// 256 for the block sizes UDF allows, or 256 blocks before the track's end.
bool CDevCmdROM::HasUdfAnchor(int32_t lba)
{
    std::vector<int32_t> candidates = {lba + 256, lba + 64, lba + 128, lba + 512};
    TRACK_INFO track{};
    if (ReadTrackInfo(track, 0, uint32_t(lba)) == 0) {
        const int64_t end = int64_t(GetBE32(&track.bytes[8])) + GetBE32(&track.bytes[24]);
        if (end - 257 > lba)
            candidates.push_back(int32_t(end - 257));
    }
    uint8_t sector[Mmc::kRawSectorSize];
    for (int32_t candidate : candidates) {
        std::memset(sector, 0, sizeof sector);
        if (ReadCD_10(sector, Mmc::kCookedSectorSize, 1, candidate) != 0 &&
            ReadCD_Data(sector, Mmc::kRawSectorSize, 1, candidate) != 0)
            continue;
        if (GetLE16(sector) != 2)
            continue;
        uint8_t checksum = 0;
        for (int i = 0; i < 16; ++i)
            if (i != 4)
                checksum = uint8_t(checksum + sector[i]);
        if (checksum == sector[4])
            return true;
    }
    return false;
}

int CDevCmdROM::JudgeFileSystem(int32_t lba)
{
    static const char* const kIso[] = {"CD001", nullptr};
    static const char* const kUdf[] = {"BEA01", "NSR02", "NSR03", nullptr};
    int code = 0;
    if (HasVolumeIdentifier(lba, kIso))
        code |= 1;
    if (HasVolumeIdentifier(lba, kUdf) && HasUdfAnchor(lba))
        code |= 2;
    return code;
}

uint32_t CDevCmdROM::GetCDText(FS_CDTEXT_INFO& info)
{
    std::vector<uint8_t> reply(4 + 18 * 2048, 0); // the most packs CD-Text holds
    uint32_t status;
    {
        std::lock_guard lock(mutex_);
        status = Run(Mmc::ReadToc(*transport_, reply.data(), uint16_t(std::min<size_t>(reply.size(), 0xFFFF)),
                                  Mmc::TocFormat::CdText, 0));
    }
    if (status != 0)
        return status;
    const size_t length = std::min<size_t>(GetBE16(reply.data()) + 2u, reply.size());
    if (length > 4)
        DecodeCdTextPacks(reply.data() + 4, length - 4, info);
    return 0;
}

uint32_t CDevCmdROM::Inquiry(INQUIRYDATA& data)
{
    std::lock_guard lock(mutex_);
    return Run(Mmc::Inquiry(*transport_, data.bytes, sizeof data.bytes));
}

uint32_t CDevCmdROM::GetConfig(uint8_t* buffer, uint32_t length)
{
    if (!buffer || length == 0)
        return DriveStatus::InvalidArgument;
    std::lock_guard lock(mutex_);
    return Run(Mmc::GetConfiguration(*transport_, buffer, uint16_t(std::min<uint32_t>(length, 0xFFFF))));
}

uint32_t CDevCmdROM::GetParamPage(PARAM_PAGE_READ& page, uint8_t /*deviceId*/, SenseData_tag& sense)
{
    uint8_t reply[8 + 256] = {};
    std::lock_guard lock(mutex_);
    const uint32_t status = Run(Mmc::ModeSense10(*transport_, reply, sizeof reply, 0x2A));
    sense = lastSense_;
    if (status != 0)
        return status;
    const uint32_t blockDescriptors = GetBE16(&reply[6]);
    const uint32_t pageOffset = 8 + blockDescriptors;
    if (pageOffset + 2 > sizeof reply || (reply[pageOffset] & 0x3F) != 0x2A)
        return DriveStatus::InvalidArgument;
    const uint32_t pageLength = std::min<uint32_t>(reply[pageOffset + 1] + 2u, sizeof page.bytes);
    std::memcpy(page.bytes, &reply[pageOffset], std::min<uint32_t>(pageLength, sizeof reply - pageOffset));
    return 0;
}

uint32_t CDevCmdROM::Lock(bool lock)
{
    std::lock_guard guard(mutex_);
    return Run(Mmc::PreventAllowMediumRemoval(*transport_, lock));
}

uint32_t CDevCmdROM::Eject(bool open)
{
    std::lock_guard lock(mutex_);
    return Run(Mmc::StartStopUnit(*transport_, true, !open));
}

bool CDevCmdROM::SetImageFile(const std::string& path)
{
    if (!image_)
        return false;
    std::optional<DiscImage> disc = OpenDiscImage(path);
    std::lock_guard lock(mutex_);
    if (!disc) {
        image_->Unload();
        return false;
    }
    devicePath_ = path;
    return image_->Load(std::move(*disc));
}
