#include "tools/ui/CDlgSector.h"

#include "skin/CHListBox.h"
#include "skin/CTransBtn.h"
#include "skin/SkinGeometry.h"
#include "skin/ViewKeys.h"
#include "tools/ui/SaveFileDialog.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>

namespace {
constexpr int kArrowMiddle = 1; // the bar rests here so both arrows always act
constexpr int kDumpPixelSize = 11;
} // namespace

CDlgSector::CDlgSector(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), arrows_(new QScrollBar(Qt::Vertical, this)),
      allMode_(new CTransBtn(QStringLiteral("all mode"), this, true)), dump_(new CHListBox(this))
{
    setObjectName(QStringLiteral("sectorView"));
    if (parent)
        setGeometry(parent->rect());

    auto* caption = new QLabel(QStringLiteral("Sector:"), this);
    caption->setObjectName(QStringLiteral("sectorCaption"));
    caption->setStyleSheet(QStringLiteral("color: white;"));
    caption->setGeometry(8, 5, 48, 20);

    edit_->setObjectName(QStringLiteral("sectorEdit"));
    edit_->setGeometry(58, 5, 90, 20);
    edit_->setText(QString::number(SectorView::kStartSector));
    connect(edit_, &QLineEdit::returnPressed, this, &CDlgSector::ShowSector);

    arrows_->setObjectName(QStringLiteral("sectorArrows"));
    arrows_->setGeometry(148, 5, 16, 20);
    arrows_->setRange(0, 2 * kArrowMiddle);
    arrows_->setValue(kArrowMiddle);
    arrows_->setFocusPolicy(Qt::NoFocus);
    connect(arrows_, &QAbstractSlider::actionTriggered, this, &CDlgSector::OnArrow);

    allMode_->setObjectName(QStringLiteral("allModeBox"));
    allMode_->setGeometry(180, 5, 100, 20);
    allMode_->SetCheck(true);
    connect(allMode_, &QAbstractButton::clicked, this, &CDlgSector::ShowSector);

    dump_->setObjectName(QStringLiteral("sectorDump"));
    QFont pitch(QStringLiteral("Courier New"));
    pitch.setStyleHint(QFont::TypeWriter);
    pitch.setFixedPitch(true);
    if (!QFontInfo(pitch).fixedPitch())
        pitch = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    pitch.setPixelSize(kDumpPixelSize); // a whole 73-character line fits the view area
    dump_->setFont(pitch);
    LayOut();
}

void CDlgSector::LayOut()
{
    dump_->setGeometry(0, kDumpTop, width(), std::max(0, height() - kDumpTop));
}

void CDlgSector::resizeEvent(QResizeEvent* event)
{
    LayOut();
    QWidget::resizeEvent(event);
}

void CDlgSector::paintEvent(QPaintEvent*)
{
    // The strip above the dump carries the skin's colour, as the frame does.
    QPainter(this).fillRect(QRect(0, 0, width(), kDumpTop), QColor::fromRgb(SkinColors::Background));
}

void CDlgSector::keyPressEvent(QKeyEvent* event)
{
    // Enter counts only in the edit box (returnPressed); elsewhere it and
    // Escape are swallowed so the view never closes.
    if (IsDialogCloseKey(event))
        return event->accept();
    QWidget::keyPressEvent(event);
}

void CDlgSector::SetDevice(CDevCmdROM* drive, int sectorMode)
{
    drive_ = drive;
    sectorMode_ = sectorMode;
    edit_->setText(QString::number(SectorView::kStartSector));
    const SectorView::AllModeBox box =
        SectorView::AllModeOnBind(drive, sectorMode, {allMode_->GetSelect(), allMode_->isEnabled()});
    allMode_->SetCheck(box.checked);
    allMode_->setEnabled(box.enabled);
    ShowSector();
}

void CDlgSector::ShowSector()
{
    const int32_t sector = SectorView::ParseSectorNumber(edit_->text().toStdString());
    const SectorView::Result result = view_.ShowSector(drive_, sector, allMode_->GetSelect());
    if (result.outcome == SectorView::Outcome::Unchanged)
        return;
    allMode_->setEnabled(result.cdMedium);
    dump_->ResetContent();
    for (const std::string& line : view_.Lines())
        dump_->InsertString(dump_->GetCount(), QString::fromLatin1(line.c_str()));
}

void CDlgSector::StepSector(bool lineUp)
{
    const int32_t number = SectorView::ParseSectorNumber(edit_->text().toStdString());
    edit_->setText(QString::number(SectorView::ScrollSectorNumber(number, lineUp)));
    // Hidden while refilled, so the dump is not redrawn line by line.
    dump_->hide();
    ShowSector();
    dump_->show();
}

void CDlgSector::OnArrow(int action)
{
    // The up arrow raises the number, the down arrow lowers it; paging and
    // dragging the bar mean nothing here.
    if (action == QAbstractSlider::SliderSingleStepSub)
        StepSector(true);
    else if (action == QAbstractSlider::SliderSingleStepAdd)
        StepSector(false);
    arrows_->setSliderPosition(kArrowMiddle);
}

void CDlgSector::SaveSector()
{
    const QString path = AskSaveFileName(this, QStringLiteral("Sector.dat"), QStringLiteral("Data Files(*.dat)"),
                                         QStringLiteral("dat"));
    if (!path.isEmpty())
        view_.SaveSector(path.toLocal8Bit().toStdString()); // an unwritable file is not reported
}
