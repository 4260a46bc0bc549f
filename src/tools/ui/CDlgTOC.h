// The table-of-contents view: one row per track of every session, and the
// "Save Data" command that copies the selected track to a WAV, ISO or raw
// file on the view's own extraction engine.
#pragma once

#include "extraction/CGetCDData.h"

#include <QTimer>
#include <QWidget>

class CDevCmdROM;
class CDlgProgress;
class CListCtrlEx;

class CDlgTOC : public QWidget {
    Q_OBJECT
public:
    static constexpr int kProgressPollMs = 100;

    // Fills parent's client area.
    explicit CDlgTOC(QWidget* parent);
    ~CDlgTOC() override;

    // Remembers drive (may be null) and fills the list.
    void SetDrive(CDevCmdROM* drive);
    void FillToc();
    // Saves the first selected row's track, asking for the file first.
    void SaveTrack();

    CListCtrlEx* List() const { return list_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnProgressTimer();
    void RunProgress();

    CListCtrlEx* list_;
    CDlgProgress* progress_;
    QTimer progressTimer_;
    CDevCmdROM* drive_ = nullptr;
    CGetCDData engine_; // last: its worker ends before the rest goes
};
