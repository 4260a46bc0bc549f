#include "tools/TocTable.h"

#include "common/ByteOrder.h"
#include "drive/CDevCmdROM.h"
#include "drive/TocModel.h"
#include "explorer/TreeListControls.h"

#include <string>
#include <vector>

namespace {

constexpr int kTrackIcon = 0;
constexpr uint32_t kTocBufferSize = 2048;

struct Column {
    const char* header;
    int width;
};
constexpr Column kColumns[] = {
    {"Session Index", 150}, {"Track Index", 90}, {"Track Type", 150}, {"Start Pos", 90}, {"End pos", 90},
};

void AddRow(ListControl& list, const std::string& session, int track, const std::string& type, int32_t start,
            int32_t end)
{
    const int row = list.InsertRow(session, kTrackIcon, 0);
    list.SetItemText(row, 1, std::to_string(track));
    list.SetItemText(row, 2, type);
    list.SetItemText(row, 3, std::to_string(start));
    list.SetItemText(row, 4, std::to_string(end));
}

int32_t StartOf(const TocData::_Data& entry)
{
    return MsfAddress{0, entry[7], entry[8], entry[9]}.ToLba();
}

std::string DataTrackType(CDevCmdROM& drive, int track)
{
    TRACK_INFO info{};
    if (drive.ReadTrackInfoEx(info, 1, uint32_t(track)) == 0) {
        const int mode = info.bytes[6] & 0x0F;
        if (mode == 1)
            return "DATA(Mode1)";
        if (mode == 2)
            return "DATA(Mode2)";
    }
    return "DATA";
}

} // namespace

namespace TocTable {

void InsertColumns(ListControl& list)
{
    list.DeleteAllRows();
    while (list.GetColumnCount() > 0)
        list.DeleteColumn(0);
    int index = 0;
    for (const Column& column : kColumns)
        list.InsertColumn(index++, column.header, column.width);
}

FillResult FillToc(CDevCmdROM& drive, ListControl& list)
{
    InsertColumns(list);
    if (drive.TestUnitReady() != 0)
        return FillResult::NotReady;
    std::vector<uint8_t> buffer(kTocBufferSize, 0);
    if (drive.ReadToc(buffer.data(), kTocBufferSize, 2, 0) != 0) {
        FillFromTrackInfo(drive, list);
        return FillResult::Filled;
    }
    // Whole descriptors within the buffer only, whatever the header claims.
    const int length = std::min<int>(int(GetBE16(buffer.data())) - 2, int(kTocBufferSize) - 4);
    const SessionInfo sessions(buffer.data() + 4, length);
    for (int s = 0; s < sessions.GetSessionNum(); ++s) {
        const TocData& session = sessions[size_t(s)];
        const std::string label = "Session " + std::to_string(s + 1);
        const int last = session.GetLastTrackNo();
        for (int t = session.GetFirstTrackNo(); t <= last; ++t) {
            TocData::_Data entry;
            if (!session.GetTrackData(t, entry))
                continue;
            // A track ends where the next one of its session starts, the
            // session's last track at its own lead-out.
            TocData::_Data next;
            const int32_t end = (t < last && session.GetTrackData(t + 1, next))
                                    ? StartOf(next) - 1
                                    : int32_t(session.GetLeadOutStartPos()) - 1;
            AddRow(list, label, t, entry.is_audio_track() ? "AUDIO" : DataTrackType(drive, t), StartOf(entry), end);
        }
    }
    return FillResult::Filled;
}

void FillFromTrackInfo(CDevCmdROM& drive, ListControl& list)
{
    DISC_INFO disc{};
    if (drive.ReadDiscInfo(disc) != 0)
        return;
    const int first = disc.bytes[3];
    const int last = disc.bytes[6];
    for (int t = first; t <= last; ++t) {
        TRACK_INFO info{};
        if (drive.ReadTrackInfo(info, 1, uint32_t(t)) != 0)
            continue;
        const int32_t start = int32_t(GetBE32(&info.bytes[8]));
        const int32_t size = int32_t(GetBE32(&info.bytes[24]));
        AddRow(list, std::to_string(info.bytes[3]), t, "DATA", start, start + size - 1);
    }
}

} // namespace TocTable
