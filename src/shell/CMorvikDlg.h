// The main window: skinned tool buttons, four menu buttons, the status line,
// the player strip and one view area that shows the explorer or one of the
// analysis views. It owns the drive list and runs every command.
#pragma once

#include "drive/DevDeque.h"
#include "skin/CShapedDialog.h"

#include <QTimer>

#include <array>
#include <cstdint>
#include <memory>

class CBmpRoundBtn;
class CDevCmdROM;
class CDlgAudioPlay;
class CDlgMain;
class CMenuBtn;
class QLabel;

class CMorvikDlg : public CShapedDialog {
    Q_OBJECT
public:
    enum View { ExplorerView, SectorView, TocView, VolumeView, DeviceInfoView, ViewCount };
    static constexpr int kSelectDeviceDelayMs = 300;

    // devices: the drive list to offer; null enumerates the machine's drives.
    explicit CMorvikDlg(std::unique_ptr<DevDeque> devices = nullptr, QWidget* parent = nullptr);
    ~CMorvikDlg() override;

    // Runs a button's or a menu item's command.
    void OnCommand(int commandId);
    // Drops menu button k's popup (File 0, View 1, Tools 2, Help 3) and runs
    // the chosen item.
    void DropMenu(int k);
    void ShowView(int index);

    int CurrentView() const { return currentView_; }
    QWidget* View(int index) const { return index >= 0 && index < ViewCount ? views_[size_t(index)] : nullptr; }
    QWidget* ViewArea() const { return viewArea_; }
    QWidget* PlayerFrame() const { return playerFrame_; }
    CDlgMain* Explorer() const { return explorer_; }
    CDlgAudioPlay* Player() const { return player_; }
    CDevCmdROM* CurrentDrive() const { return drive_; }
    QString StatusText() const;
    CMenuBtn* MenuButton(int k) const { return menuButtons_[size_t(k)]; }

signals:
    // A button or a menu item asks for a command.
    void CommandReceived(int commandId);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void LayOut();
    void CreateButtons();
    void SetStatus(const QString& text);

    void SelectDevice();
    void Refresh();
    void SaveData();
    void DiscScan();
    void Eject();
    void CloseDevice();
    void ShowAbout();
    void ShowIfReady(int view);

    // The analysis views, each made on first use and fed on every switch.
    QWidget* CreateView(int index);
    void FeedView(int index);

    QWidget* playerFrame_ = nullptr;
    CDlgAudioPlay* player_ = nullptr;
    QLabel* statusLine_ = nullptr;
    std::array<CMenuBtn*, 4> menuButtons_{};
    QWidget* viewArea_ = nullptr;
    QString deviceLabel_;
    int currentView_ = ExplorerView;
    std::array<QWidget*, ViewCount> views_{};
    CDlgMain* explorer_ = nullptr;
    std::unique_ptr<DevDeque> devices_;
    CDevCmdROM* drive_ = nullptr;
    int fileSystemKind_ = 0;
    int sectorMode_ = 1;
    std::array<uint8_t, 2048> descriptor_{};
    QTimer selectTimer_;
};
