#include "explorer/DiscExplorer.h"

#include "common/ByteOrder.h"
#include "common/StringTable.h"
#include "drive/CDevCmdROM.h"
#include "filesystems/IsoReader.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t kTocBufferSize = 2048;
constexpr uint8_t kTocFormatRaw = 2;
constexpr uint8_t kDiscTypeXa = 0x20;

// The leading decimal number of text: blanks skipped, an optional sign,
// digits up to the first other character; 0 when there are none.
int LeadingNumber(const std::string& text)
{
    errno = 0;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value > INT_MAX || value < INT_MIN)
        return 0;
    return int(value);
}

// The text after the n-th space; empty when there are fewer spaces.
std::string AfterSpace(const std::string& text, int n)
{
    size_t at = std::string::npos;
    for (int i = 0; i < n; ++i) {
        at = text.find(' ', at == std::string::npos ? 0 : at + 1);
        if (at == std::string::npos)
            return std::string();
    }
    return text.substr(at + 1);
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

const char* FileSystemSuffix(int code)
{
    switch (code) {
    case FileSystemCode::Iso9660:
        return "(ISO)";
    case FileSystemCode::Udf:
        return "(UDF)";
    case FileSystemCode::UdfAndIso:
        return "(UDF&ISO)";
    default:
        return "";
    }
}

// Minute/second/frame bytes of a sector address, as a table stores them.
void EncodeMsf(int32_t end, uint8_t& h, uint8_t& m, uint8_t& s, uint8_t& f)
{
    h = m = s = f = 0;
    if (end >= -150 && end <= 0x7FFF4FA1) {
        const int64_t v = int64_t(end) + 150;
        const int64_t hours = v / 405000;
        const int64_t minutes = (v - hours * 405000) / 4500;
        const int64_t seconds = (v - (hours * 90 + minutes) * 4500) / 75;
        h = uint8_t(hours);
        m = uint8_t(minutes);
        s = uint8_t(seconds);
        f = uint8_t(v - hours * 405000 - minutes * 4500 - seconds * 75);
    } else if (end >= -45150 && end <= -151) {
        const int32_t v = end + 450150;
        m = uint8_t(v / 4500);
        s = uint8_t((v - m * 4500) / 75);
        f = uint8_t(v - m * 4500 - s * 75);
    }
}

} // namespace

DiscExplorer::DiscExplorer(TreeControl& tree, ListControl& list)
    : tree_(tree), list_(list), cdText_(std::make_unique<FS_CDTEXT_INFO>())
{
    list_.DeleteAllRows();
    while (list_.GetColumnCount() > 0)
        list_.DeleteColumn(0);
    InsertIsoColumns(list_);
}

DiscExplorer::~DiscExplorer() = default;

void DiscExplorer::ShowMessage(const std::string& text) const
{
    if (messageSink_)
        messageSink_(text);
}

// --- the disc probe

void DiscExplorer::ShowDisc(CDevCmdROM* drive)
{
    tree_.DeleteAllNodes();
    if (!drive)
        return;
    drive_ = drive;
    *cdText_ = FS_CDTEXT_INFO{};
    drive_->GetCDText(*cdText_);
    tree_.DeleteAllNodes();
    volumes_.clear();
    udfTrackStart_ = -1;
    BuildDiscTree(tree_, drive_);
    const NodeHandle first = tree_.GetRootNode();
    if (first != kNoNode) {
        const NodeHandle child = tree_.GetChildNode(first);
        if (child != kNoNode)
            tree_.SelectItem(child);
    }
    tree_.ShowTree();
}

bool DiscExplorer::IsDeviceReady(CDevCmdROM* drive)
{
    if (!drive)
        return false;
    if (drive->TestUnitReady() == 0)
        return true;
    ShowMessage(StringTable::Text(StringTable::DeviceNotReady));
    return false;
}

void DiscExplorer::BuildDiscTree(TreeControl& tree, CDevCmdROM* drive)
{
    if (!drive || !IsDeviceReady(drive))
        return;
    const MEDIUM_TYPE medium = drive->GetMediumType();
    DISC_INFO discInfo{};
    const uint32_t discStatus = drive->ReadDiscInfo(discInfo);

    uint8_t toc[kTocBufferSize] = {};
    // A non-CD medium with content is not asked for its table first.
    const bool skipToc = discStatus == 0 && (discInfo.bytes[2] & 0x03) != 0 && !MediumType::IsCd(medium);
    if (skipToc || drive->ReadToc(toc, sizeof toc, kTocFormatRaw, 0) != 0) {
        if (MakeSingleTrackToc(discInfo, *drive, toc, sizeof toc) != 0) {
            tree.InsertNode(kNoNode, StringTable::Text(StringTable::BlankDisc), ExplorerImage::Folder,
                            ExplorerImage::OpenFolder, 0);
            return;
        }
    }

    // The table's own length, kept inside the buffer that holds it.
    const int length = std::min<int>(uint16_t(GetBE16(toc) - 2), int(sizeof toc) - 4);
    sessions_ = SessionInfo(toc + 4, length);
    if (sessions_.GetSessionNum() == 0)
        return;

    for (int s = 0; s < sessions_.GetSessionNum(); ++s) {
        const TocData& session = sessions_[size_t(s)];
        for (int t = session.GetFirstTrackNo(); t <= session.GetLastTrackNo(); ++t) {
            const TocData::_Data* entry = session.GetTrackData(t);
            if (entry && entry->is_data_track())
                sectorMode_ = session.GetDiscType() == kDiscTypeXa ? 2 : 1;
        }
    }

    for (int s = 1; s <= sessions_.GetSessionNum(); ++s) {
        const NodeHandle node = tree.InsertNode(kNoNode, "Session " + std::to_string(s), ExplorerImage::Folder,
                                                ExplorerImage::OpenFolder, 0);
        AddSessionTracks(tree, *drive, s, node);
        tree.Expand(node);
    }
    const int32_t leadOut = int32_t(sessions_.back().GetLeadOutStartPos());
    tree.InsertNode(kNoNode, "(Lead Out) " + std::to_string(leadOut), ExplorerImage::Folder,
                    ExplorerImage::OpenFolder, 0);
}

uint32_t DiscExplorer::MakeSingleTrackToc(const DISC_INFO& discInfo, CDevCmdROM& drive, uint8_t* buffer,
                                          uint32_t length)
{
    if (drive.ReadToc(buffer, length, kTocFormatRaw, 0) == 0)
        return 0;
    TRACK_INFO track{};
    const uint32_t status = drive.ReadTrackInfo(track, 1, discInfo.bytes[3]);
    if (status != 0)
        return status;
    if (length < 48)
        return DriveStatus::InvalidArgument;

    const int32_t end = int32_t(GetBE32(track.bytes + 8) + GetBE32(track.bytes + 24));
    uint8_t h, m, s, f;
    EncodeMsf(end, h, m, s, f);
    const uint8_t table[48] = {
        0x00, 0x2E, 0x01, 0x01,                                     // length 46, sessions 1..1
        0x01, 0x14, 0x00, 0xA0, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, // first track 1
        0x01, 0x14, 0x00, 0xA1, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, // last track 1
        0x01, 0x14, 0x00, 0xA2, 0x00, 0x00, 0x00, h,    m,    s,    f,    // lead-out
        0x01, 0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, // track 1 at 00:02:00
    };
    std::memcpy(buffer, table, sizeof table);
    return 0;
}

void DiscExplorer::AddSessionTracks(TreeControl& tree, CDevCmdROM& drive, int session, NodeHandle sessionNode)
{
    if (session < 1 || session > sessions_.GetSessionNum())
        return;
    const TocData& toc = sessions_[size_t(session - 1)];
    for (int t = toc.GetFirstTrackNo(); t <= toc.GetLastTrackNo(); ++t) {
        const TocData::_Data* entry = toc.GetTrackData(t);
        if (!entry)
            continue;
        const std::string number = std::to_string(t);
        if (entry->is_audio_track()) {
            tree.InsertNode(sessionNode, "AUDIO TRACK " + number, ExplorerImage::AudioTrack,
                            ExplorerImage::AudioTrack, 0);
            continue;
        }
        if (t != toc.GetFirstTrackNo()) {
            tree.InsertNode(sessionNode, "DATA TRACK " + number, ExplorerImage::DataTrack,
                            ExplorerImage::DataTrack, 0);
            continue;
        }
        const int32_t start = MsfAddress{0, (*entry)[7], (*entry)[8], (*entry)[9]}.ToLba();
        const int code = drive.JudgeFileSystem(start);
        const NodeHandle node = tree.InsertNode(sessionNode, "DATA TRACK " + number + FileSystemSuffix(code),
                                                ExplorerImage::DataTrack, ExplorerImage::DataTrack, 0);
        if (code >= FileSystemCode::Udf) {
            // A refused UDF track ends this session's tracks.
            if (!udf_.Init(&drive, descriptorBuffer_, start))
                return;
            udfTrackStart_ = start;
            udf_.FillTree(tree, node);
        } else {
            OpenIsoVolume(tree, drive, node, start);
        }
        tree.Expand(node);
        fileSystemKind_ = code;
    }
}

// --- the ISO 9660 side

IsoReadMode DiscExplorer::CurrentIsoMode() const
{
    IsoReadMode mode;
    mode.sectorMode = sectorMode_;
    mode.joliet = joliet_;
    mode.endLba = DiscEndLba();
    return mode;
}

void DiscExplorer::OpenIsoVolume(TreeControl& tree, CDevCmdROM& drive, NodeHandle trackNode, int32_t trackStart)
{
    joliet_ = false;
    const std::optional<IsoVolumeDescriptor> descriptor = FindIsoVolumeDescriptor(drive, trackStart);
    if (!descriptor)
        return;
    joliet_ = descriptor->joliet;
    volumes_[trackStart] = joliet_;
    if (descriptorBuffer_)
        std::memcpy(descriptorBuffer_, descriptor->bytes, sizeof descriptor->bytes);
    const uint32_t root = descriptor->RootLba();
    if (root == 0)
        return;
    tree.SetItemData(trackNode, root);
    AddIsoFolders(tree, drive, trackNode, root, descriptor->RootLength());
}

void DiscExplorer::AddIsoFolders(TreeControl& tree, CDevCmdROM& drive, NodeHandle parent, uint32_t folderLba,
                                 uint32_t folderLength)
{
    AddIsoFolderTree(tree, drive, CurrentIsoMode(), parent, folderLba, folderLength);
}

void DiscExplorer::ListIsoFolder(ListControl& list, CDevCmdROM& drive, uint32_t folderLba)
{
    ListIsoFolderRows(list, drive, CurrentIsoMode(), folderLba);
}

int64_t DiscExplorer::DiscEndLba() const
{
    int64_t end = 0;
    for (int s = 0; s < sessions_.GetSessionNum(); ++s)
        end = std::max<int64_t>(end, sessions_[size_t(s)].GetLeadOutStartPos());
    return end > 0 ? end : INT32_MAX;
}

// --- the tree and the list

std::optional<DiscExplorer::NodeTrack> DiscExplorer::FindNodeTrack(const TreeControl& tree, NodeHandle node) const
{
    NodeHandle parent = tree.GetParentNode(node);
    if (parent == kNoNode)
        return std::nullopt;
    NodeHandle child = node;
    while (parent != kNoNode && tree.GetItemData(parent) != 0 && !Contains(tree.GetItemText(parent), "Session")) {
        child = parent;
        parent = tree.GetParentNode(parent);
    }
    if (parent == kNoNode)
        return std::nullopt;
    const int session = LeadingNumber(AfterSpace(tree.GetItemText(parent), 1));
    const int track = LeadingNumber(AfterSpace(tree.GetItemText(child), 2));
    if (session < 1 || track < 1 || session > sessions_.GetSessionNum())
        return std::nullopt;
    const TocData& toc = sessions_[size_t(session - 1)];
    const TocData::_Data* entry = toc.GetTrackData(track);
    if (!entry)
        return std::nullopt;
    return NodeTrack{entry->GetStartPos()};
}

int DiscExplorer::GetNodeFileSystem(const TreeControl& tree, NodeHandle node, CDevCmdROM* drive)
{
    const std::optional<NodeTrack> track = FindNodeTrack(tree, node);
    if (!track || !drive)
        return FileSystemCode::None;
    return drive->JudgeFileSystem(track->start);
}

void DiscExplorer::OnTreeSelect()
{
    const NodeHandle node = tree_.GetSelectedItem();
    if (node == kNoNode)
        return;
    const uint64_t location = tree_.GetItemData(node);
    if (location == 0) {
        const std::string text = tree_.GetItemText(node);
        if (Contains(text, "AUDIO TRACK"))
            ShowCdText(LeadingNumber(text.substr(std::min<size_t>(11, text.size()))));
        else
            list_.DeleteAllRows(); // also a data track whose file system was not opened
        return;
    }
    const int code = GetNodeFileSystem(tree_, node, drive_);
    if (code == FileSystemCode::None || !drive_)
        return;
    const std::optional<NodeTrack> track = FindNodeTrack(tree_, node);
    if (!track)
        return;
    if (code < FileSystemCode::Udf) {
        // Names are decoded the way this track's volume records them (and
        // the save commands read the flag of the track being browsed).
        const auto volume = volumes_.find(track->start);
        if (volume != volumes_.end())
            joliet_ = volume->second;
        ListIsoFolder(list_, *drive_, uint32_t(location));
    } else {
        if (udfTrackStart_ != track->start && udf_.Init(drive_, nullptr, track->start))
            udfTrackStart_ = track->start;
        udf_.FillList(list_, location);
    }
    SortList();
}

void DiscExplorer::ShowCdText(int track)
{
    list_.DeleteAllRows();
    while (list_.GetColumnCount() > 0)
        list_.DeleteColumn(0);
    list_.InsertColumn(0, "CDTEXT Item", 100);
    list_.InsertColumn(1, "CDTEXT Info", 100);
    if (track < 1 || track > 99)
        return;
    struct Field {
        const char* label;
        int offset;
        int width;
    };
    static const Field kFields[] = {
        {"TITLE", FS_CDTEXT_INFO::kTitle, FS_CDTEXT_INFO::kTextWidth},
        {"ARTIST", FS_CDTEXT_INFO::kArtist, FS_CDTEXT_INFO::kTextWidth},
        {"szSpecialTitle", FS_CDTEXT_INFO::kSpecialTitle, FS_CDTEXT_INFO::kTextWidth},
        {"szComposer", FS_CDTEXT_INFO::kComposer, FS_CDTEXT_INFO::kTextWidth},
        {"szSongster", FS_CDTEXT_INFO::kSongster, FS_CDTEXT_INFO::kTextWidth},
        {"ISRC", FS_CDTEXT_INFO::kIsrc, FS_CDTEXT_INFO::kIsrcWidth},
    };
    const uint8_t* record = cdText_->bytes + FS_CDTEXT_INFO::RecordOffset(track);
    for (const Field& field : kFields) {
        const char* text = reinterpret_cast<const char*>(record + field.offset);
        const int row = list_.InsertRow(field.label, 0, 0);
        list_.SetItemText(row, 1, std::string(text, strnlen(text, size_t(field.width))));
    }
}

void DiscExplorer::SortList()
{
    list_.SortRows([this](int a, int b) {
        return ListOrder::CompareFirstColumn(list_.GetItemText(b, ExplorerColumn::Type),
                                             list_.GetItemText(a, ExplorerColumn::Type)) < 0;
    });
}

void DiscExplorer::OnListDoubleClick()
{
    const std::vector<int> selected = list_.GetSelectedRows();
    if (selected.empty())
        return;
    const std::string name = list_.GetItemText(selected.front(), ExplorerColumn::Name);
    if (list_.GetItemText(selected.front(), ExplorerColumn::Type) == "File")
        return;
    const NodeHandle node = tree_.GetSelectedItem();
    if (node == kNoNode)
        return;
    for (NodeHandle child = tree_.GetChildNode(node); child != kNoNode; child = tree_.GetNextSiblingNode(child))
        if (tree_.GetItemText(child) == name) {
            tree_.SelectItem(child);
            return;
        }
}
