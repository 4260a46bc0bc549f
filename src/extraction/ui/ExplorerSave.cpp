#include "extraction/ui/ExplorerSave.h"

#include "extraction/TrackRange.h"
#include "extraction/ui/CBrowseDirDialog.h"
#include "explorer/DiscExplorer.h"
#include "shell/FileFilters.h"
#include "shell/Messages.h"

#include <QFile>
#include <QFileDialog>
#include <QWidget>

#include <cstdlib>

namespace {

// The leading decimal number of text after its first skip characters.
int NumberAfter(const std::string& text, size_t skip)
{
    return skip < text.size() ? std::atoi(text.c_str() + skip) : 0;
}

// The number after the n-th space of text ("DATA TRACK 3(UDF)", 2 → 3).
int NumberAfterSpace(const std::string& text, int n)
{
    size_t at = 0;
    for (int i = 0; i < n; ++i) {
        at = text.find(' ', at);
        if (at == std::string::npos)
            return 0;
        ++at;
    }
    return NumberAfter(text, at);
}

std::string ToLocal(const QString& path) { return path.toLocal8Bit().toStdString(); }

} // namespace

ExplorerSave::ExplorerSave(DiscExplorer& explorer, QWidget* owner)
    : explorer_(explorer), owner_(owner), progress_(owner)
{
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &ExplorerSave::Poll);
}

void ExplorerSave::Run()
{
    CDevCmdROM* drive = explorer_.GetCurrentDrive();
    if (!drive || !IsDeviceReady(drive, owner_))
        return;
    TreeControl& tree = explorer_.GetTree();
    const NodeHandle node = tree.GetSelectedItem();
    if (node == kNoNode)
        return;
    const std::string text = tree.GetItemText(node);
    const uint64_t data = tree.GetItemData(node);
    if (data == 0 && text.find("AUDIO TRACK") != std::string::npos) {
        const NodeHandle parent = tree.GetParentNode(node);
        if (parent != kNoNode)
            SaveAudioTrack(text, tree.GetItemText(parent));
        return;
    }
    if (data == 0 && text.find("Session") != std::string::npos)
        return;
    if (explorer_.GetLastFocus() == ExplorerFocus::List)
        SaveFromList();
    else if (explorer_.GetLastFocus() == ExplorerFocus::Tree)
        SaveTreeFolder(text, data);
}

void ExplorerSave::SaveAudioTrack(const std::string& text, const std::string& parentText)
{
    const int track = NumberAfter(text, 12);
    const int session = NumberAfter(parentText, 8);
    const SessionInfo& sessions = explorer_.GetSessions();
    if (track <= 0 || session < 1 || session > sessions.GetSessionNum())
        return;
    TrackSpan span;
    if (!FindTrackSpan(sessions, session, track, span))
        return;

    QFileDialog chooser(owner_);
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setDefaultSuffix(QStringLiteral("wav"));
    chooser.setNameFilter(QtFilterList(kWaveFilter));
    chooser.selectFile(QStringLiteral("TRACK.wav"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    const QString path = chooser.selectedFiles().front();
    QFile::remove(path);
    engine_.SetDevice(explorer_.GetCurrentDrive());
    if (!engine_.StartSaveTrack(0, span.first, span.end, ToLocal(path)))
        return;
    RunJob();
}

void ExplorerSave::SaveFromList()
{
    const ListControl& list = explorer_.GetList();
    const std::vector<int> rows = list.GetSelectedRows();
    if (rows.empty())
        return;
    const int row = rows.front(); // later selected rows are not saved
    const std::string name = list.GetItemText(row, ExplorerColumn::Name);
    const std::string type = list.GetItemText(row, ExplorerColumn::Type);
    const uint64_t size = std::strtoull(list.GetItemText(row, ExplorerColumn::Size).c_str(), nullptr, 10);
    const uint64_t position = std::strtoull(list.GetItemText(row, ExplorerColumn::Pos).c_str(), nullptr, 10);

    CBrowseDirDialog chooser(type == "Folder", QString::fromUtf8(name.c_str()));
    if (!chooser.Browse(owner_))
        return;
    const std::string target = ToLocal(chooser.Target());
    if (type == "File")
        QFile::remove(chooser.Target());
    TreeControl& tree = explorer_.GetTree();
    const NodeHandle node = tree.GetSelectedItem();
    if (node == kNoNode)
        return;
    const int kind = explorer_.GetNodeFileSystem(tree, node, explorer_.GetCurrentDrive());
    engine_.SetDevice(explorer_.GetCurrentDrive());
    const int mode = explorer_.GetSectorMode();
    bool started = false;
    if (type == "File")
        started = engine_.StartSaveFile(mode, position, size, target, kind, explorer_.IsJoliet(), SelectedTrackStart());
    else if (type == "Folder")
        started = engine_.StartSaveFolder(mode, position, target, kind, explorer_.IsJoliet(), SelectedTrackStart());
    if (started)
        RunJob();
}

void ExplorerSave::SaveTreeFolder(const std::string& text, uint64_t location)
{
    if (location == 0)
        return;
    CBrowseDirDialog chooser(true, QString::fromUtf8(text.c_str()));
    if (!chooser.Browse(owner_))
        return;
    TreeControl& tree = explorer_.GetTree();
    engine_.SetDevice(explorer_.GetCurrentDrive());
    const int kind = explorer_.GetNodeFileSystem(tree, tree.GetSelectedItem(), explorer_.GetCurrentDrive());
    if (engine_.StartSaveFolder(explorer_.GetSectorMode(), location, ToLocal(chooser.Target()), kind,
                                explorer_.IsJoliet(), SelectedTrackStart()))
        RunJob();
}

int32_t ExplorerSave::SelectedTrackStart() const
{
    // Up from the node to the track below its session node.
    const TreeControl& tree = explorer_.GetTree();
    NodeHandle child = tree.GetSelectedItem();
    NodeHandle parent = tree.GetParentNode(child);
    while (parent != kNoNode && tree.GetItemData(parent) != 0 &&
           tree.GetItemText(parent).find("Session") == std::string::npos) {
        child = parent;
        parent = tree.GetParentNode(parent);
    }
    if (parent == kNoNode)
        return 0;
    const int session = NumberAfterSpace(tree.GetItemText(parent), 1);
    const int track = NumberAfterSpace(tree.GetItemText(child), 2);
    const SessionInfo& sessions = explorer_.GetSessions();
    if (session < 1 || session > sessions.GetSessionNum())
        return 0;
    const TocData::_Data* entry = sessions[size_t(session - 1)].GetTrackData(track);
    return entry ? entry->GetStartPos() : 0;
}

void ExplorerSave::RunJob()
{
    poll_.start();
    if (progress_.exec() == QDialog::Rejected)
        engine_.Stop();
    poll_.stop();
}

void ExplorerSave::Poll()
{
    if (engine_.IsDone()) {
        progress_.accept();
        poll_.stop();
        owner_->update();
        return;
    }
    progress_.SetPos(engine_.GetProgress());
    progress_.SetText(QString::fromLocal8Bit(engine_.GetCurrentName().c_str()));
}
