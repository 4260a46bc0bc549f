// The table-of-contents view: one row per track of every session, and the
// "Save Data" command that copies the selected track to a WAV, ISO or raw
// file on the view's own extraction engine.
#pragma once

#include "extraction/CGetCDData.h"
#include "skin/CListView.h"

#include <QTimer>

class CDevCmdROM;
class CDlgProgress;

class CDlgTOC : public CListView {
    Q_OBJECT
public:
    static constexpr int kProgressPollMs = 100;

    explicit CDlgTOC(QWidget* parent);
    ~CDlgTOC() override;

    // Remembers drive (may be null) and fills the list.
    void SetDrive(CDevCmdROM* drive);
    void FillToc();
    // Saves the first selected row's track, asking for the file first.
    void SaveTrack();

private:
    void OnProgressTimer();
    void RunProgress();

    CDlgProgress* progress_;
    QTimer progressTimer_;
    CDevCmdROM* drive_ = nullptr;
    CGetCDData engine_; // last: its worker ends before the rest goes
};
