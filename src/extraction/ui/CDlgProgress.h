// The modal window that follows a save: the current target, a bar and a
// round Cancel button, on the skin cut from mask 175.
#pragma once

#include "skin/CShapedDialog.h"

class CBmpRoundBtn;
class QLineEdit;
class QProgressBar;

class CDlgProgress : public CShapedDialog {
    Q_OBJECT
public:
    explicit CDlgProgress(QWidget* parent = nullptr);

    void SetPos(int percent);
    void SetText(const QString& text);
    int Pos() const;
    QString Text() const;
    CBmpRoundBtn* CancelButton() const { return cancel_; }

protected:
    void showEvent(QShowEvent* event) override;
    void OnEscapeKey() override { reject(); }

private:
    QProgressBar* bar_;
    QLineEdit* target_;
    CBmpRoundBtn* cancel_;
};
