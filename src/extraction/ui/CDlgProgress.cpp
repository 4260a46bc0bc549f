#include "extraction/ui/CDlgProgress.h"

#include "skin/CBmpBtn.h"
#include "skin/SkinGeometry.h"

#include <QLineEdit>
#include <QProgressBar>

namespace {
constexpr int kProgressMask = 175;
constexpr int kProgressSkin = 218;
} // namespace

CDlgProgress::CDlgProgress(QWidget* parent)
    : CShapedDialog(kProgressMask, kProgressSkin, parent), bar_(new QProgressBar(this)), target_(new QLineEdit(this)),
      cancel_(new CBmpRoundBtn(this))
{
    using namespace ProgressLayout;
    target_->setGeometry(Target.x, Target.y, Target.w, Target.h);
    target_->setEnabled(false);
    target_->setStyleSheet(QStringLiteral("QLineEdit { color: rgb(232, 238, 244); background: rgb(40, 54, 66); "
                                          "border: none; }"));
    bar_->setGeometry(Bar.x, Bar.y, Bar.w, Bar.h);
    bar_->setTextVisible(false);
    bar_->setStyleSheet(QStringLiteral("QProgressBar { background: rgb(40, 54, 66); border: none; } "
                                       "QProgressBar::chunk { background: rgb(169, 184, 202); }"));
    cancel_->setGeometry(Cancel.x, Cancel.y, Cancel.w, Cancel.h);
    cancel_->SetBitmaps(162, 163);
    connect(cancel_, &QAbstractButton::clicked, this, &CDlgProgress::reject);
    ApplyShape(Placement::CentreOnScreen);
}

void CDlgProgress::showEvent(QShowEvent* event)
{
    target_->clear();
    bar_->setRange(0, 100);
    bar_->setValue(0);
    CShapedDialog::showEvent(event);
}

void CDlgProgress::SetPos(int percent) { bar_->setValue(percent); }
void CDlgProgress::SetText(const QString& text) { target_->setText(text); }
int CDlgProgress::Pos() const { return bar_->value(); }
QString CDlgProgress::Text() const { return target_->text(); }
