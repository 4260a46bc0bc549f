// A check-style button without a background of its own: its text (and, as a
// check box, its box) is drawn straight onto the skin behind it.
#pragma once

#include <QAbstractButton>

class CTransBtn : public QAbstractButton {
    Q_OBJECT
public:
    // withBox: draw the check box in front of the text (the "all mode" box);
    // without it the button is a transparent label or frame.
    explicit CTransBtn(const QString& text = {}, QWidget* parent = nullptr, bool withBox = false);

    void SetCheck(bool checked) { setChecked(checked); }
    bool GetSelect() const { return isChecked(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool withBox_;
};
