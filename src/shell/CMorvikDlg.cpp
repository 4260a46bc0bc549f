#include "shell/CMorvikDlg.h"

#include "audio/ui/CDlgAudioPlay.h"
#include "common/StringTable.h"
#include "drive/CDevCmdROM.h"
#include "drive/DevDeque.h"
#include "explorer/ui/CDlgMain.h"
#include "filesystems/ui/CDlgVol.h"
#include "shell/CDlgAbout.h"
#include "shell/CDlgDev.h"
#include "shell/CMorvikApp.h"
#include "shell/CommandIds.h"
#include "shell/Messages.h"
#include "skin/CBmpBtn.h"
#include "skin/CMenuBtn.h"
#include "skin/CVDMenu.h"
#include "skin/MaskRegion.h"
#include "skin/SkinEvents.h"
#include "skin/SkinGeometry.h"
#include "skin/SkinResources.h"
#include "tools/ui/CDlgDevInfo.h"
#include "tools/ui/CDlgScanDisc.h"
#include "tools/ui/CDlgSector.h"
#include "tools/ui/CDlgTOC.h"

#include <QLabel>
#include <QMouseEvent>
#include <QWindow>

namespace {

constexpr int kMainMask = 171;
constexpr int kViewAreaMask = 211;
constexpr int kMainSkin = 217;

QRect ToQRect(const SkinRect& r) { return QRect(r.x, r.y, r.w, r.h); }

struct RoundButton {
    SkinRect rect;
    int normal, pressed, statusId, command;
};

const RoundButton kToolButtons[] = {
    {MainLayout::SelectDevice, 142, 144, StringTable::SelectDevice, Cmd::BtnSelectDevice},
    {MainLayout::Refresh, 147, 148, StringTable::Refresh, Cmd::BtnRefresh},
    {MainLayout::SectorData, 145, 146, StringTable::ShowSectorData, Cmd::BtnSectorData},
    {MainLayout::Toc, 149, 150, StringTable::ShowToc, Cmd::BtnShowToc},
    {MainLayout::SaveData, 173, 174, StringTable::SaveData, Cmd::BtnSaveData},
    {MainLayout::Volume, 151, 152, StringTable::ShowVolumeInformation, Cmd::BtnVolume},
    {MainLayout::DeviceInfo, 193, 194, StringTable::ShowDeviceSupport, Cmd::BtnDeviceInfo},
    {MainLayout::Exit, 153, 154, StringTable::Exit, Cmd::BtnExit},
    {MainLayout::Minimise, 207, 207, 0, Cmd::BtnMinimise},
    {MainLayout::Close, 206, 206, 0, Cmd::BtnClose},
};

} // namespace

CMorvikDlg::CMorvikDlg(std::unique_ptr<DevDeque> devices, QWidget* parent)
    : CShapedDialog(kMainMask, kMainSkin, parent, true),
      devices_(devices ? std::move(devices) : std::make_unique<DevDeque>())
{
    setWindowIcon(Skin::Icon(128));
    setMouseTracking(true);
    selectTimer_.setSingleShot(true);
    selectTimer_.setInterval(kSelectDeviceDelayMs);
    connect(&selectTimer_, &QTimer::timeout, this, &CMorvikDlg::SelectDevice);
    LayOut();
}

CMorvikDlg::~CMorvikDlg()
{
    // The player reads from a drive of the list, which goes before the
    // child windows do.
    delete player_;
}

void CMorvikDlg::LayOut()
{
    ApplyShape(Placement::CentreOnScreen);

    viewArea_ = new QWidget(this);
    viewArea_->setObjectName(QStringLiteral("viewArea"));
    viewArea_->setGeometry(MaskBoundingBox(kViewAreaMask, rect()));

    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QStringLiteral("statusLine"));
    const QRect area = viewArea_->geometry();
    statusLine_->setGeometry(area.left() - 10, area.top() + area.height() + 20, 320, 20);
    statusLine_->setIndent(8);
    statusLine_->setStyleSheet(QStringLiteral("color: white;"));
    statusLine_->setMouseTracking(true);
    statusLine_->setAttribute(Qt::WA_TransparentForMouseEvents);

    CreateButtons();

    explorer_ = new CDlgMain(viewArea_);
    explorer_->SetDescriptorBuffer(descriptor_.data());
    explorer_->show();
    views_[ExplorerView] = explorer_;
    currentView_ = ExplorerView;

    // The player strip is made inside this frame, right-aligned under the view.
    playerFrame_ = new QWidget(this);
    playerFrame_->setObjectName(QStringLiteral("playerFrame"));
    playerFrame_->setGeometry(ToQRect(MainLayout::Player));
    player_ = new CDlgAudioPlay(playerFrame_);
    player_->show();
}

void CMorvikDlg::CreateButtons()
{
    for (const RoundButton& entry : kToolButtons) {
        auto* button = new CBmpRoundBtn(this);
        button->setGeometry(ToQRect(entry.rect));
        button->SetBitmaps(entry.normal, entry.pressed);
        button->SetStatusText(entry.statusId);
        const int command = entry.command;
        connect(button, &QAbstractButton::clicked, this, [this, command] { OnCommand(command); });
    }

    struct Triangle {
        CBmpTriangleBtn* button;
        SkinRect rect;
        int normal, pressed, mask, statusId, command;
    };
    const Triangle triangles[] = {
        {new CBmpTriangleBtn_T(this), MainLayout::Eject, 179, 180, 177, StringTable::EjectDevice, Cmd::BtnEject},
        {new CBmpTriangleBtn_L(this), MainLayout::About, 182, 184, 181, StringTable::AboutProgram, Cmd::BtnAbout},
        {new CBmpTriangleBtn_B(this), MainLayout::Help, 189, 190, 188, StringTable::Help, Cmd::BtnHelp},
        {new CBmpTriangleBtn_R(this), MainLayout::CloseDevice, 186, 187, 185, StringTable::CloseDevice,
         Cmd::BtnCloseDevice},
    };
    for (const Triangle& entry : triangles) {
        entry.button->setGeometry(ToQRect(entry.rect));
        entry.button->SetBitmaps(entry.normal, entry.pressed, entry.mask);
        entry.button->SetStatusText(entry.statusId);
        const int command = entry.command;
        connect(entry.button, &QAbstractButton::clicked, this, [this, command] { OnCommand(command); });
    }

    const std::pair<const char*, SkinRect> menus[] = {{"File", MainLayout::FileMenu},
                                                      {"View", MainLayout::ViewMenu},
                                                      {"Tools", MainLayout::ToolsMenu},
                                                      {"Help", MainLayout::HelpMenu}};
    for (int k = 0; k < 4; ++k) {
        auto* button = new CMenuBtn(QString::fromLatin1(menus[k].first), this);
        button->setGeometry(ToQRect(menus[k].second));
        button->SetFillColor(QColor::fromRgb(SkinColors::Highlight));
        connect(button, &QAbstractButton::clicked, this, [this, k] { DropMenu(k); });
        menuButtons_[size_t(k)] = button;
    }
}

QString CMorvikDlg::StatusText() const { return statusLine_->text(); }

void CMorvikDlg::SetStatus(const QString& text) { statusLine_->setText(text); }

bool CMorvikDlg::event(QEvent* event)
{
    if (event->type() == StatusTextEvent::kType) {
        const int id = static_cast<StatusTextEvent*>(event)->StringId();
        if (id != 0)
            SetStatus(QString::fromUtf8(StringTable::Text(id)));
        return true;
    }
    return CShapedDialog::event(event);
}

void CMorvikDlg::showEvent(QShowEvent* event)
{
    CShapedDialog::showEvent(event);
    selectTimer_.start(); // the device dialog greets the user
}

void CMorvikDlg::mousePressEvent(QMouseEvent* event)
{
    // There is no caption: the window is dragged by its surface.
    if (event->button() == Qt::LeftButton && windowHandle())
        windowHandle()->startSystemMove();
    CShapedDialog::mousePressEvent(event);
}

void CMorvikDlg::mouseMoveEvent(QMouseEvent* event)
{
    SetStatus(deviceLabel_);
    CShapedDialog::mouseMoveEvent(event);
}

void CMorvikDlg::DropMenu(int k)
{
    CVDMenu menu;
    if (k < 0 || k >= 4 || !menu.LoadMenu(Cmd::kMainMenu))
        return;
    CVDMenu* popup = menu.GetSubMenuObject(k);
    if (!popup)
        return;
    const CMenuBtn* button = menuButtons_[size_t(k)];
    const QAction* chosen = popup->exec(button->mapToGlobal(QPoint(0, button->height())));
    if (chosen)
        OnCommand(chosen->data().toInt());
}

void CMorvikDlg::OnCommand(int commandId)
{
    using namespace Cmd;
    emit CommandReceived(commandId);
    switch (commandId) {
    case BtnSelectDevice:
    case MenuSelectDevice: SelectDevice(); break;
    case BtnSectorData:
    case MenuSectorData: ShowIfReady(SectorView); break;
    case BtnShowToc:
    case MenuShowToc: ShowIfReady(TocView); break;
    case BtnVolume:
    case MenuVolume: ShowIfReady(VolumeView); break;
    case BtnDeviceInfo:
    case MenuDeviceInfo: ShowIfReady(DeviceInfoView); break;
    case BtnRefresh:
    case MenuRefresh: Refresh(); break;
    case BtnSaveData:
    case MenuSaveData: SaveData(); break;
    case MenuDiscScan: DiscScan(); break;
    case BtnEject:
    case MenuEject: Eject(); break;
    case BtnCloseDevice:
    case MenuCloseDevice: CloseDevice(); break;
    case BtnAbout:
    case MenuAbout: ShowAbout(); break;
    case BtnHelp:
    case MenuHelpTopic: CMorvikApp::OpenHelp(); break;
    case BtnMinimise: showMinimized(); break;
    case BtnExit:
    case BtnClose:
    case MenuExit: reject(); break;
    default: break;
    }
}

void CMorvikDlg::ShowIfReady(int view)
{
    if (IsDeviceReady(drive_, this))
        ShowView(view);
}

void CMorvikDlg::ShowView(int index)
{
    if (!drive_ || index == currentView_ || index < 0 || index >= ViewCount)
        return;
    if (!views_[size_t(index)])
        views_[size_t(index)] = CreateView(index);
    currentView_ = index;
    FeedView(index);
    for (QWidget* view : views_)
        if (view && view != views_[size_t(index)])
            view->hide();
    views_[size_t(index)]->show();
}

QWidget* CMorvikDlg::CreateView(int index)
{
    switch (index) {
    case SectorView: return new CDlgSector(viewArea_);
    case TocView: return new CDlgTOC(viewArea_);
    case VolumeView: return new CDlgVol(viewArea_);
    case DeviceInfoView: return new CDlgDevInfo(viewArea_);
    default: return nullptr;
    }
}

void CMorvikDlg::FeedView(int index)
{
    // The explorer is fed by ShowDisc only.
    QWidget* view = views_[size_t(index)];
    switch (index) {
    case SectorView: static_cast<CDlgSector*>(view)->SetDevice(drive_, sectorMode_); break;
    case TocView: static_cast<CDlgTOC*>(view)->SetDrive(drive_); break;
    case VolumeView: static_cast<CDlgVol*>(view)->Show(descriptor_.data(), descriptor_.size(), fileSystemKind_); break;
    case DeviceInfoView: static_cast<CDlgDevInfo*>(view)->ShowDeviceInfo(drive_); break;
    default: break;
    }
}

void CMorvikDlg::SelectDevice()
{
    if (currentView_ != ExplorerView) {
        ShowView(ExplorerView);
        sectorMode_ = explorer_->GetSectorMode();
        return;
    }
    CDlgDev dialog(this);
    dialog.SetDeviceList(devices_.get());
    if (dialog.exec() != QDialog::Accepted)
        return;
    drive_ = dialog.GetSelectedDevice();
    if (!drive_)
        return;
    deviceLabel_ = dialog.GetDeviceLabel();
    SetStatus(deviceLabel_);
    explorer_->ShowDisc(drive_);
    ConnectPlayer(*explorer_, *player_);
    fileSystemKind_ = explorer_->GetFileSystemKind();
    sectorMode_ = explorer_->GetSectorMode();
}

void CMorvikDlg::Refresh()
{
    if (!IsDeviceReady(drive_, this))
        return;
    if (currentView_ == ExplorerView) {
        explorer_->ShowDisc(drive_);
        fileSystemKind_ = explorer_->GetFileSystemKind();
        sectorMode_ = explorer_->GetSectorMode();
        return;
    }
    FeedView(currentView_);
    views_[size_t(currentView_)]->show();
}

void CMorvikDlg::SaveData()
{
    if (!drive_)
        return;
    // The volume and device views have nothing to save.
    switch (currentView_) {
    case ExplorerView: explorer_->OnSaveData(); break;
    case SectorView: static_cast<CDlgSector*>(views_[SectorView])->SaveSector(); break;
    case TocView: static_cast<CDlgTOC*>(views_[TocView])->SaveTrack(); break;
    default: break;
    }
}

void CMorvikDlg::DiscScan()
{
    if (!IsDeviceReady(drive_, this))
        return;
    CDlgScanDisc dialog(this);
    dialog.SetDevice(drive_);
    dialog.exec();
}

void CMorvikDlg::Eject()
{
    if (!drive_ || drive_->TestUnitReady() != 0)
        return;
    drive_->Lock(false);
    drive_->Eject(true);
}

void CMorvikDlg::CloseDevice()
{
    if (drive_)
        drive_->Eject(false);
}

void CMorvikDlg::ShowAbout()
{
    CDlgAbout about(this);
    about.exec();
}
