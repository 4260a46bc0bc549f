// The explorer view: the disc tree left, the folder list (or a track's
// CD-Text) right, the splitter bar between them. The explorer core does the
// reading; this window gives it Qt controls and routes the user's actions.
#pragma once

#include "explorer/DiscExplorer.h"
#include "skin/CListCtrlEx.h"
#include "explorer/ui/ExplorerTree.h"

#include <QWidget>

#include <memory>

class CBtnSplit;
class CDevCmdROM;
class ExplorerSave;

class CDlgMain : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSplitterWidth = 6;
    static constexpr int kMinPaneWidth = 100;

    // Fills parent's client area.
    explicit CDlgMain(QWidget* parent);
    ~CDlgMain() override;

    void SetDescriptorBuffer(uint8_t* buffer) { explorer_.SetDescriptorBuffer(buffer); }
    void ShowDisc(CDevCmdROM* drive) { explorer_.ShowDisc(drive); }
    int GetFileSystemKind() const { return explorer_.GetFileSystemKind(); }
    int GetSectorMode() const { return explorer_.GetSectorMode(); }
    // Saves the selected track, file or folder (the main window's Save Data).
    void OnSaveData();

    // The splitter is being dragged to screen position x.
    void OnSplitterMoved(int screenX);

    DiscExplorer& Core() { return explorer_; }
    ExplorerTree* Tree() const { return tree_; }
    CListCtrlEx* List() const { return list_; }
    CBtnSplit* Splitter() const { return splitter_; }
    ExplorerSave& Save() { return *save_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CListCtrlEx* list_;
    ExplorerTree* tree_;
    CBtnSplit* splitter_;
    DiscExplorer explorer_;
    std::unique_ptr<ExplorerSave> save_;
};
