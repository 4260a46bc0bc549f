#include "tools/ui/CDlgScanDisc.h"

#include "common/StringTable.h"
#include "shell/Messages.h"
#include "skin/CListCtrlEx.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

// Inside the recess the skin draws for the list.
const QRect kCaptionRect(16, 10, 200, 20);
const QRect kListRect(14, 34, 346, 172);
const QRect kBarRect(16, 222, 196, 14);
const QRect kStartRect(226, 216, 64, 26);
const QRect kCancelRect(298, 216, 62, 26);

const char* const kButtonStyle = "QPushButton { color: white; background: rgb(58, 76, 90);"
                                 " border: 1px solid rgb(38, 52, 66); border-radius: 5px; }"
                                 "QPushButton:hover { background: rgb(72, 94, 110); }"
                                 "QPushButton:pressed { background: rgb(40, 54, 66); }"
                                 "QPushButton:disabled { color: rgb(150, 165, 178); }";

// The worker's reports, carried to the dialog's thread; a report that
// arrives after the dialog has gone is dropped with it.
template <typename Work>
void PostTo(QObject* receiver, Work work)
{
    QMetaObject::invokeMethod(receiver, std::move(work), Qt::QueuedConnection);
}

} // namespace

CDlgScanDisc::CDlgScanDisc(QWidget* parent)
    : CShapedDialog(kMaskId, kSkinId, parent), errors_(new CListCtrlEx(this)),
      caption_(new QLabel(QStringLiteral("Error List"), this)), progress_(new QProgressBar(this)),
      startButton_(new QPushButton(QStringLiteral("Start"), this)),
      cancelButton_(new QPushButton(QStringLiteral("Cancel"), this)),
      scanner_(DiscScanner::Callbacks{
          [this](int percent) { PostTo(this, [this, percent] { OnProgress(percent); }); },
          [this](int row, const ScanError& error) { PostTo(this, [this, row, error] { OnError(row, error); }); },
          [this](ScanEnd) { PostTo(this, [this] { OnFinished(); }); }})
{
    setObjectName(QStringLiteral("scanDialog"));
    setWindowTitle(QStringLiteral("Disc Scan"));
    ApplyShape(Placement::CentreOnScreen);

    caption_->setObjectName(QStringLiteral("errorListCaption"));
    caption_->setGeometry(kCaptionRect);
    caption_->setAttribute(Qt::WA_TranslucentBackground);
    caption_->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));

    errors_->setObjectName(QStringLiteral("errorList"));
    errors_->setGeometry(kListRect);
    errors_->SetFullRowSel(true);
    errors_->DeleteAllColumns();
    int index = 0;
    for (const ScanList::Column& column : ScanList::kColumns)
        errors_->InsertColumn(index++, column.header, column.width);

    progress_->setObjectName(QStringLiteral("scanProgress"));
    progress_->setGeometry(kBarRect);
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->hide();

    for (QPushButton* button : {startButton_, cancelButton_}) {
        button->setStyleSheet(QString::fromLatin1(kButtonStyle));
        button->setAutoDefault(false);
    }
    startButton_->setObjectName(QStringLiteral("startButton"));
    startButton_->setGeometry(kStartRect);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    cancelButton_->setGeometry(kCancelRect);
    connect(startButton_, &QPushButton::clicked, this, &CDlgScanDisc::OnStartStop);
    connect(cancelButton_, &QPushButton::clicked, this, &CDlgScanDisc::reject);
}

CDlgScanDisc::~CDlgScanDisc()
{
    scanner_.Stop();
    scanner_.Wait();
}

void CDlgScanDisc::OnStartStop()
{
    if (scanner_.IsScanning()) {
        scanner_.Stop();
        ShowIdle(true);
        return;
    }
    if (!drive_)
        return;
    switch (scanner_.Start(*drive_)) {
    case DiscScanner::StartResult::Started:
        workerRunning_ = true;
        cancelButton_->setEnabled(false);
        ShowIdle(false);
        break;
    case DiscScanner::StartResult::NotReady: ShowInformation(this, StringTable::DeviceNotReady); break;
    case DiscScanner::StartResult::AlreadyScanning: break;
    }
}

void CDlgScanDisc::ShowIdle(bool idle) { startButton_->setText(idle ? QStringLiteral("Start") : QStringLiteral("Stop")); }

void CDlgScanDisc::OnProgress(int percent)
{
    if (!scanner_.IsScanning())
        return; // a late report of a stopped scan
    progress_->setValue(percent);
    progress_->show();
}

void CDlgScanDisc::OnError(int row, const ScanError& error)
{
    const std::array<std::string, 4> cells = ScanList::RowTexts(error);
    const int at = errors_->InsertItem(row, cells[0]);
    for (int column = 1; column < int(cells.size()); ++column)
        errors_->SetItemText(at, column, cells[size_t(column)]);
}

void CDlgScanDisc::OnFinished()
{
    // A finish posted by the scan before a new Start belongs to that scan.
    if (scanner_.IsScanning())
        return;
    progress_->setValue(100);
    progress_->hide();
    ShowIdle(true);
    workerRunning_ = false;
    cancelButton_->setEnabled(true);
}

void CDlgScanDisc::reject()
{
    if (!workerRunning_)
        CShapedDialog::reject();
}

void CDlgScanDisc::closeEvent(QCloseEvent* event)
{
    if (workerRunning_)
        return event->ignore();
    CShapedDialog::closeEvent(event);
}
