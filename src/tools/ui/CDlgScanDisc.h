// The disc scan dialog: reads every sector of every track on a worker and
// lists the unreadable ones with their sense codes. The worker's reports are
// posted to this dialog's thread; the dialog cannot be closed while the
// worker runs.
#pragma once

#include "skin/CShapedDialog.h"
#include "tools/DiscScanner.h"

class CDevCmdROM;
class CListCtrlEx;
class QLabel;
class QProgressBar;
class QPushButton;

class CDlgScanDisc : public CShapedDialog {
    Q_OBJECT
public:
    static constexpr int kMaskId = 237;
    static constexpr int kSkinId = 238;

    explicit CDlgScanDisc(QWidget* parent = nullptr);
    ~CDlgScanDisc() override;

    void SetDevice(CDevCmdROM* drive) { drive_ = drive; }
    // The "Start"/"Stop" button.
    void OnStartStop();
    // True from Start until the worker has reported its end.
    bool IsWorkerRunning() const { return workerRunning_; }

    QPushButton* StartButton() const { return startButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }
    QProgressBar* ProgressBar() const { return progress_; }
    CListCtrlEx* ErrorList() const { return errors_; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OnProgress(int percent);
    void OnError(int row, const ScanError& error);
    void OnFinished();
    void ShowIdle(bool idle);

    CListCtrlEx* errors_;
    QLabel* caption_;
    QProgressBar* progress_;
    QPushButton* startButton_;
    QPushButton* cancelButton_;
    CDevCmdROM* drive_ = nullptr;
    bool workerRunning_ = false;
    DiscScanner scanner_; // last: its worker is joined before the controls go
};
