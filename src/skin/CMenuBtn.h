// The flat buttons that drop the main window's menus: a filled rectangle
// with a black frame (doubled while pressed) and the text centred.
#pragma once

#include <QAbstractButton>
#include <QColor>

class CMenuBtn : public QAbstractButton {
    Q_OBJECT
public:
    explicit CMenuBtn(const QString& text, QWidget* parent = nullptr);
    void SetFillColor(const QColor& colour);
    QColor FillColor() const { return fill_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_{230, 230, 190};
};
