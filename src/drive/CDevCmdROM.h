// One drive, or the image-file entry, as the rest of Morvik sees it. Every
// operation returns 0 on success and keeps the sense of its command.
#pragma once

#include "drive/MmcRecords.h"
#include "drive/ScsiTransport.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class ImageTarget;

class CDevCmdROM {
public:
    // A drive reached through transport, known by its device node. deviceId
    // is 0 for an entry that is not listed as a drive.
    CDevCmdROM(std::string devicePath, std::unique_ptr<ScsiTransport> transport, uint8_t deviceId);
    // The image-file entry: answers nothing until SetImageFile accepts a file.
    CDevCmdROM();
    ~CDevCmdROM();
    CDevCmdROM(const CDevCmdROM&) = delete;
    CDevCmdROM& operator=(const CDevCmdROM&) = delete;

    uint32_t TestUnitReady();
    // The reads can hand back their own command's sense: GetSenseData may
    // already hold another thread's by the time the caller asks.
    uint32_t ReadCD_10(uint8_t* buffer, uint32_t length, uint32_t count, int32_t lba,
                       SenseData_tag* sense = nullptr);
    uint32_t ReadCD_All(uint8_t* buffer, uint32_t length, uint32_t count, int32_t lba,
                        SenseData_tag* sense = nullptr);
    uint32_t ReadCD_Data(uint8_t* buffer, uint32_t length, uint32_t count, int32_t lba);
    uint32_t ReadToc(uint8_t* buffer, uint32_t length, uint8_t format, uint8_t trackOrSession);
    uint32_t ReadDiscInfo(DISC_INFO& info);
    uint32_t ReadTrackInfo(TRACK_INFO& info, uint8_t addressType, uint32_t number);
    uint32_t ReadTrackInfoEx(TRACK_INFO& info, uint8_t addressType, uint32_t number);
    MEDIUM_TYPE GetMediumType();
    // 1 ISO 9660, 2 UDF, 3 both, 0 none, for the track starting at lba.
    int JudgeFileSystem(int32_t lba);
    uint32_t GetCDText(FS_CDTEXT_INFO& info);
    uint32_t Inquiry(INQUIRYDATA& data);
    uint8_t GetDeviceID() const { return deviceId_; }
    uint32_t GetConfig(uint8_t* buffer, uint32_t length);
    // Mode page 2Ah into page; the sense of a failure into sense.
    uint32_t GetParamPage(PARAM_PAGE_READ& page, uint8_t deviceId, SenseData_tag& sense);
    uint32_t Lock(bool lock);
    uint32_t Eject(bool open);
    // On the image-file entry: true when path holds a disc image we know.
    bool SetImageFile(const std::string& path);

    SenseData_tag GetSenseData() const;
    const std::string& GetDevicePath() const { return devicePath_; }
    bool IsImageEntry() const { return image_ != nullptr; }

private:
    uint32_t Run(ScsiResult result, SenseData_tag* sense = nullptr);
    bool HasVolumeIdentifier(int32_t lba, const char* const* identifiers);
    bool HasUdfAnchor(int32_t lba);

    std::string devicePath_;
    uint8_t deviceId_ = 0;
    ImageTarget* image_ = nullptr; // the transport, when this is the image entry
    std::unique_ptr<ScsiTransport> transport_;
    mutable std::mutex mutex_; // one command at a time; guards lastSense_
    SenseData_tag lastSense_;
};
