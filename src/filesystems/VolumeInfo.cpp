#include "filesystems/VolumeInfo.h"

#include "common/ByteOrder.h"
#include "common/TextCodec.h"
#include "explorer/TreeListControls.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t kDescriptorSize = 2048;
constexpr size_t kTextBuffer = 256;

struct Row {
    const char* label;
    std::string value;
};

std::string Text(const std::optional<std::string>& text) { return text.value_or(std::string()); }

// A field copied into a zero-filled 256-byte buffer, so that it ends at its
// first zero byte.
std::string FieldText(const uint8_t* field, size_t width, size_t fillLength = kTextBuffer)
{
    uint8_t buffer[kTextBuffer] = {};
    std::memcpy(buffer, field, std::min(width, kTextBuffer - 1));
    return Text(VolumeInfo::SkipLeadingFill(buffer, fillLength));
}

std::string Ucs2FieldText(const uint8_t* field, size_t width, size_t fillLength = kTextBuffer)
{
    char text[1024] = {};
    Ucs2BeToLocal(field, width, text, sizeof text);
    return Text(VolumeInfo::SkipLeadingFill(reinterpret_cast<const uint8_t*>(text), std::min(fillLength, sizeof text)));
}

// OSTA compressed unicode: 16 is UCS-2 after the compression byte, 8 is
// Latin-1 (the compression byte itself is passed over as fill).
std::string OstaText(const uint8_t* field, size_t width, size_t fillLength)
{
    if (field[0] == 16)
        return Ucs2FieldText(field + 1, width - 1, fillLength);
    const std::string latin1 = FieldText(field, width, fillLength);
    return Latin1ToUtf8(reinterpret_cast<const uint8_t*>(latin1.data()), latin1.size());
}

std::string Number(long long value) { return std::to_string(value); }

std::string FormatDate(int year, int month, int day, int hour, int minute, int second)
{
    char text[96];
    std::snprintf(text, sizeof text, "%d-%d-%d %d:%d:%d", year, month, day, hour, minute, second);
    return text;
}

// The leading decimal number of a fixed-width digit group; 0 when none.
int DigitGroup(const uint8_t* digits, size_t width)
{
    const std::string group(reinterpret_cast<const char*>(digits), width);
    return std::atoi(group.c_str());
}

std::string DigitDate(const uint8_t* field)
{
    return FormatDate(DigitGroup(field, 4), DigitGroup(field + 4, 2), DigitGroup(field + 6, 2),
                      DigitGroup(field + 8, 2), DigitGroup(field + 10, 2), DigitGroup(field + 12, 2));
}

std::string NumericDate(const uint8_t* field)
{
    return FormatDate(GetLE16(field + 2), field[4], field[5], field[6], field[7], field[8]);
}

bool IsJolietDescriptor(const uint8_t* d) { return d[0] == 2 && (d[88] || d[89] || d[90]); }

std::vector<Row> IsoRows(const uint8_t* d)
{
    // A Joliet supplementary descriptor records its identifiers in UCS-2.
    auto identifier = [&](size_t offset, size_t width) {
        return IsJolietDescriptor(d) ? Ucs2FieldText(d + offset, width) : FieldText(d + offset, width);
    };
    return {
        {"Standard Identifier", FieldText(d + 1, 5)},
        {"ISO Volume Identifier", identifier(40, 32)},
        {"Volume Space Size", Number(int32_t(GetLE32(d + 80)))},
        {"Volume Set Size", Number(GetLE16(d + 120))},
        {"Path Table Size", Number(int32_t(GetLE32(d + 132)))},
        {"Application Identifier", identifier(574, 128)},
        {"Volume Creation Date and Time", DigitDate(d + 813)},
        {"Volume Modification Date and Time", DigitDate(d + 830)},
    };
}

std::vector<Row> UdfRows(const uint8_t* d)
{
    return {
        {"UDF Volume Identifier", OstaText(d + 24, 32, 32)},
        {"Volume Set Identifier", OstaText(d + 72, 128, kTextBuffer)},
        {"Descriptor Character Set", FieldText(d + 200, 64)},
        {"Explanatory Character Set", FieldText(d + 264, 64)},
        {"Application Identifier", FieldText(d + 344, 32)},
        {"Recording Date and Time", NumericDate(d + 376)},
        {"Implementation Use", FieldText(d + 420, 64)},
    };
}

} // namespace

void VolumeInfo::InsertColumns(ListControl& list)
{
    list.InsertColumn(0, "Volume Descriptor", 200);
    list.InsertColumn(1, "Infomation", 350);
}

std::optional<std::string> VolumeInfo::SkipLeadingFill(const uint8_t* bytes, size_t length)
{
    size_t i = 0;
    while (i < length && bytes[i] == 0)
        ++i;
    if (i == length)
        return std::nullopt;
    while (i < length && bytes[i] != 0 && int8_t(bytes[i]) < 0x30)
        ++i;
    const size_t begin = i;
    while (i < length && bytes[i] != 0)
        ++i;
    return std::string(reinterpret_cast<const char*>(bytes + begin), i - begin);
}

void VolumeInfo::Show(ListControl& list, const uint8_t* descriptor, size_t length, int fileSystemCode)
{
    if (!descriptor || length == 0)
        return;
    list.DeleteAllRows();
    if (length > kDescriptorSize || fileSystemCode < 1)
        return;
    // Fields beyond a short buffer read as zeros.
    uint8_t d[kDescriptorSize] = {};
    std::memcpy(d, descriptor, length);
    const std::vector<Row> rows = fileSystemCode == 1 ? IsoRows(d) : UdfRows(d);
    for (size_t r = 0; r < rows.size(); ++r)
        list.SetItemText(list.InsertRow(rows[r].label, 0, r), 1, rows[r].value);
    // The rows stand in the descriptor's order, not in label order.
    list.SortRows([&](int a, int b) { return list.GetItemData(a) < list.GetItemData(b); });
}
