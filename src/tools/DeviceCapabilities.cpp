#include "tools/DeviceCapabilities.h"

#include "common/ByteOrder.h"
#include "drive/CDevCmdROM.h"


namespace DeviceCapabilities {

namespace {
constexpr uint32_t kConfigSize = 2048;
constexpr uint32_t kHeaderSize = 8;
constexpr uint32_t kDescriptorHeaderSize = 4;
constexpr uint8_t kCapabilitiesPage = 0x2A;

// One row of the report: a heading or spacer (no source), a bit of mode
// page 2Ah, or one of the two features.
struct RowSource {
    enum Kind { Text, PageBit, Plus, Minus } kind;
    int pageByte;
    uint8_t mask;
    const char* label;
};

constexpr RowSource kRows[kRowCount] = {
    {RowSource::Text, 0, 0, "<General Features>"},
    {RowSource::PageBit, 5, 0x10, "C2_PointerSupport"},
    {RowSource::PageBit, 5, 0x02, "CD_DAAccurate"},
    {RowSource::PageBit, 5, 0x01, "CD_DA Supported"},
    {RowSource::PageBit, 5, 0x20, "ISRC Support"},
    {RowSource::PageBit, 4, 0x10, "Mode2Form1 Support"},
    {RowSource::PageBit, 4, 0x20, "Mode2Form2 Support"},
    {RowSource::PageBit, 5, 0x08, "R_W_DC Support"},
    {RowSource::PageBit, 5, 0x04, "R_W Support"},
    {RowSource::PageBit, 5, 0x40, "UPC Support"},
    {RowSource::Text, 0, 0, ""},
    {RowSource::Text, 0, 0, "<Read Features>"},
    {RowSource::PageBit, 2, 0x01, "CD_R ReadSupport"},
    {RowSource::PageBit, 2, 0x02, "CD_RW ReadSupport"},
    {RowSource::Plus, 0, 0, "DVD+R READSupport"},
    {RowSource::Plus, 0, 0, "DVD+RW READSupport"},
    {RowSource::PageBit, 2, 0x10, "DVD-R READSupport"},
    {RowSource::Minus, 0, 0, "DVD-RW READSupport"},
    {RowSource::PageBit, 2, 0x20, "DVD_RAM READSupport"},
    {RowSource::PageBit, 2, 0x08, "DVD_ROM READSupport"},
    {RowSource::Text, 0, 0, ""},
    {RowSource::Text, 0, 0, "<Write Features>"},
    {RowSource::PageBit, 3, 0x01, "CD_R WriteSupport"},
    {RowSource::PageBit, 3, 0x02, "CD_RW WriteSupport"},
    {RowSource::Plus, 0, 0, "DVD+R WRITESupport"},
    {RowSource::Plus, 0, 0, "DVD+RW WRITESupport"},
    {RowSource::PageBit, 3, 0x10, "DVD-R WRITESupport"},
    {RowSource::Minus, 0, 0, "DVD-RW WRITESupport"},
    {RowSource::PageBit, 3, 0x20, "DVD_RAM WRITESupport"},
};
} // namespace

bool HasFeature(const uint8_t* config, uint32_t length, uint16_t feature)
{
    if (!config || length < kHeaderSize)
        return false;
    const int64_t dataLength = int32_t(GetBE32(config));
    if (dataLength <= 0)
        return false;
    // Positions count from the first descriptor; the reply may claim more
    // than the buffer holds.
    for (uint64_t at = 0; int64_t(at) < dataLength && kHeaderSize + at + kDescriptorHeaderSize <= length;) {
        const uint8_t* descriptor = config + kHeaderSize + at;
        if (GetBE16(descriptor) == feature)
            return true;
        at += kDescriptorHeaderSize + descriptor[3];
    }
    return false;
}

std::vector<CapabilityRow> BuildRows(const PARAM_PAGE_READ& page, bool plus, bool minus)
{
    std::vector<CapabilityRow> rows;
    rows.reserve(kRowCount);
    for (const RowSource& source : kRows) {
        bool yes = false;
        switch (source.kind) {
        case RowSource::Text:
            rows.push_back({"", source.label});
            continue;
        case RowSource::PageBit:
            yes = (page.bytes[source.pageByte] & source.mask) != 0;
            break;
        case RowSource::Plus:
            yes = plus;
            break;
        case RowSource::Minus:
            yes = minus;
            break;
        }
        rows.push_back({yes ? "Yes" : "No", source.label});
    }
    return rows;
}

std::vector<CapabilityRow> ReadDeviceCapabilities(CDevCmdROM& drive)
{
    std::vector<uint8_t> config(kConfigSize, 0);
    drive.GetConfig(config.data(), kConfigSize); // a failed read leaves zeros: no features
    const bool plus = HasFeature(config.data(), kConfigSize, kFeatureDvdPlusRw);
    const bool minus = HasFeature(config.data(), kConfigSize, kFeatureDvdMinusRWrite);

    PARAM_PAGE_READ page{};
    page.bytes[0] = kCapabilitiesPage;
    SenseData_tag sense;
    if (drive.GetParamPage(page, drive.GetDeviceID(), sense) != 0)
        return {};
    return BuildRows(page, plus, minus);
}

} // namespace DeviceCapabilities
