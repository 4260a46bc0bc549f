// The explorer's state and logic without any window: the disc probe that
// builds the tree (sessions, tracks, lead-out and the folders of each data
// track's file system), what selecting a node shows in the list, the list's
// ordering and the double-click into a folder. The Qt explorer window, the
// command line and the tests each give it a tree and a list to fill and
// route the tree's selection changes to OnTreeSelect.
#pragma once

#include "drive/MmcRecords.h"
#include "drive/TocModel.h"
#include "explorer/TreeListControls.h"
#include "filesystems/CAnaly_UDF.h"
#include "filesystems/IsoReader.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class CDevCmdROM;

// The file-system codes of JudgeFileSystem.
namespace FileSystemCode {
inline constexpr int None = 0;
inline constexpr int Iso9660 = 1;
inline constexpr int Udf = 2;
inline constexpr int UdfAndIso = 3;
} // namespace FileSystemCode

// Which control last gained the keyboard focus.
namespace ExplorerFocus {
inline constexpr int None = 0;
inline constexpr int Tree = 1;
inline constexpr int List = 2;
} // namespace ExplorerFocus

class DiscExplorer {
public:
    // Shows a failure the user must see (an information message box in the
    // window, a line on stderr in the command line).
    using MessageSink = std::function<void(const std::string& text)>;

    // The list starts with the six ISO 9660 folder columns. The owner routes
    // the tree's selection changes to OnTreeSelect (MemoryTree: through its
    // onSelectionChanged).
    DiscExplorer(TreeControl& tree, ListControl& list);
    ~DiscExplorer();
    DiscExplorer(const DiscExplorer&) = delete;
    DiscExplorer& operator=(const DiscExplorer&) = delete;

    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }
    // The main window's 2048-byte buffer that receives the volume descriptor.
    void SetDescriptorBuffer(uint8_t* buffer) { descriptorBuffer_ = buffer; }

    // --- the disc probe
    // Rebuilds the tree from the disc in drive (null: only empties the tree)
    // and selects the first track node.
    void ShowDisc(CDevCmdROM* drive);
    void BuildDiscTree(TreeControl& tree, CDevCmdROM* drive);
    // A one-track raw table (READ TOC format 2 layout) from the first
    // track's information, for drives that give no table (DVDs). 0 = the
    // buffer holds a table; otherwise the failing status.
    uint32_t MakeSingleTrackToc(const DISC_INFO& discInfo, CDevCmdROM& drive, uint8_t* buffer, uint32_t length);
    void AddSessionTracks(TreeControl& tree, CDevCmdROM& drive, int session, NodeHandle sessionNode);
    bool IsDeviceReady(CDevCmdROM* drive);

    // --- the tree and the list
    void OnTreeSelect();
    // The file-system code of the track that holds node, asked of the drive.
    int GetNodeFileSystem(const TreeControl& tree, NodeHandle node, CDevCmdROM* drive);
    void ShowCdText(int track);
    // Folders before files; stable within each kind.
    void SortList();
    // Opens the folder of the first selected "Folder" row below the
    // selected node.
    void OnListDoubleClick();
    void OnTreeFocus() { lastFocus_ = ExplorerFocus::Tree; }
    void OnListFocus() { lastFocus_ = ExplorerFocus::List; }

    // --- the ISO 9660 side, with the explorer's sector mode and Joliet flag
    void OpenIsoVolume(TreeControl& tree, CDevCmdROM& drive, NodeHandle trackNode, int32_t trackStart);
    void AddIsoFolders(TreeControl& tree, CDevCmdROM& drive, NodeHandle parent, uint32_t folderLba,
                       uint32_t folderLength);
    void ListIsoFolder(ListControl& list, CDevCmdROM& drive, uint32_t folderLba);

    // --- state read by the main window, the save commands, the player, the views
    int GetFileSystemKind() const { return fileSystemKind_; }
    int GetSectorMode() const { return sectorMode_; }
    bool IsJoliet() const { return joliet_; }
    int GetLastFocus() const { return lastFocus_; }
    CDevCmdROM* GetCurrentDrive() const { return drive_; }
    const SessionInfo& GetSessions() const { return sessions_; }
    const FS_CDTEXT_INFO& GetCdText() const { return *cdText_; }
    uint8_t* GetDescriptorBuffer() const { return descriptorBuffer_; }
    CAnaly_UDF& GetUdfReader() { return udf_; }
    TreeControl& GetTree() const { return tree_; }
    ListControl& GetList() const { return list_; }

private:
    // The track that holds a node, as its session and track node name it.
    struct NodeTrack {
        int32_t start;
    };
    std::optional<NodeTrack> FindNodeTrack(const TreeControl& tree, NodeHandle node) const;
    IsoReadMode CurrentIsoMode() const;
    // The end of the disc as the sessions give it: no folder is read past it.
    int64_t DiscEndLba() const;
    void ShowMessage(const std::string& text) const;

    TreeControl& tree_;
    ListControl& list_;
    SessionInfo sessions_;
    CDevCmdROM* drive_ = nullptr;
    CAnaly_UDF udf_;
    int fileSystemKind_ = FileSystemCode::None;
    std::unique_ptr<FS_CDTEXT_INFO> cdText_; // 80 KiB: kept off the stack
    int sectorMode_ = 1;
    uint8_t* descriptorBuffer_ = nullptr;
    int lastFocus_ = ExplorerFocus::None;
    bool joliet_ = false;
    std::map<int32_t, bool> volumes_; // Joliet flag per opened ISO track start
    int64_t udfTrackStart_ = -1;      // the track the UDF reader is mounted on
    MessageSink messageSink_;
};

// The folder columns and rows that the readers fill, shared with the save
// commands that read rows back.
namespace ExplorerColumn {
inline constexpr int Name = 0;
inline constexpr int Time = 1;
inline constexpr int Type = 2;
inline constexpr int Size = 3;
inline constexpr int Pos = 4;
} // namespace ExplorerColumn
