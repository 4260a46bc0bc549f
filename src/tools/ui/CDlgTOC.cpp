#include "tools/ui/CDlgTOC.h"

#include "common/StringTable.h"
#include "drive/CDevCmdROM.h"
#include "extraction/TrackRange.h"
#include "extraction/ui/CDlgProgress.h"
#include "shell/Messages.h"
#include "skin/CListCtrlEx.h"
#include "skin/SkinResources.h"
#include "tools/TocTable.h"
#include "tools/ui/SaveFileDialog.h"


#include <cstdlib>
#include <filesystem>

namespace {

constexpr int kTypeColumn = 2;
constexpr int kStartColumn = 3;
constexpr int kEndColumn = 4;
constexpr int kTrackIcon = 201;

} // namespace

CDlgTOC::CDlgTOC(QWidget* parent)
    : CListView(parent, QStringLiteral("tocView"), QStringLiteral("tocList")), progress_(new CDlgProgress(this))
{
    List()->SetFullRowSel(true);
    List()->SetImageList({Skin::Icon(kTrackIcon)});
    TocTable::InsertColumns(*List());

    progressTimer_.setInterval(kProgressPollMs);
    connect(&progressTimer_, &QTimer::timeout, this, &CDlgTOC::OnProgressTimer);
}

CDlgTOC::~CDlgTOC() = default;

void CDlgTOC::SetDrive(CDevCmdROM* drive)
{
    drive_ = drive;
    FillToc();
}

void CDlgTOC::FillToc()
{
    TocTable::InsertColumns(*List());
    if (!IsDeviceReady(drive_, this))
        return;
    TocTable::FillToc(*drive_, *List());
}

void CDlgTOC::SaveTrack()
{
    if (!IsDeviceReady(drive_, this))
        return;
    const std::vector<int> selected = List()->GetSelectedRows();
    if (selected.empty())
        return;
    const int row = selected.front();
    const bool isData = List()->GetItemText(row, kTypeColumn).compare(0, 4, "DATA") == 0;
    const int track = std::atoi(List()->GetItemText(row, 1).c_str());
    const int32_t start = std::atoi(List()->GetItemText(row, kStartColumn).c_str());
    int32_t end = std::atoi(List()->GetItemText(row, kEndColumn).c_str());
    // Rows from the table of contents ("Session n") end on the track's last
    // sector, rows from track information one past it; the engine copies up
    // to, not including, its end, so the last sector must not be lost.
    if (List()->GetItemText(row, 0).rfind("Session ", 0) == 0)
        ++end;

    const QString fileName = isData ? QStringLiteral("Track") + QString::fromUtf8(List()->GetItemText(row, 1).c_str())
                                    : QString();
    const QString filter = isData ? QStringLiteral("ISO File(*.iso);;Data File(*.dat)")
                                  : QStringLiteral("Wav File(*.wav);;Data File(*.dat)");
    const QString path = AskSaveFileName(this, fileName, filter, QString());
    if (path.isEmpty())
        return;
    const std::string target = path.toLocal8Bit().toStdString();
    if (NeedsNotFirstTrackQuestion(track, isData, target) && !AskOkCancel(this, StringTable::NotFirstTrack))
        return;

    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(target), ignored);
    engine_.SetDevice(drive_);
    if (engine_.StartSaveTrack(isData ? 1 : 0, start, end, target))
        RunProgress();
}

void CDlgTOC::RunProgress()
{
    progress_->SetPos(0);
    progress_->SetText(QString());
    progressTimer_.start();
    // Accepted when the timer sees the job end; anything else is a cancel.
    if (progress_->exec() != QDialog::Accepted)
        engine_.Stop();
    progressTimer_.stop();
}

void CDlgTOC::OnProgressTimer()
{
    const int percent = engine_.GetProgress();
    if (percent >= 100 || engine_.IsDone()) {
        progressTimer_.stop();
        progress_->done(QDialog::Accepted);
        return;
    }
    progress_->SetPos(percent);
    progress_->SetText(QString::fromLocal8Bit(engine_.GetCurrentName().c_str()));
}
