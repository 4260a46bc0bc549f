// Bitmap buttons of the skin: a face picture for the normal and the pressed
// state, their own cursor, and (round and triangular ones) a status text
// that they ask the parent to show while the mouse is over them.
#pragma once

#include <QAbstractButton>
#include <QRegion>

class CBmpBtn : public QAbstractButton {
    Q_OBJECT
public:
    explicit CBmpBtn(QWidget* parent = nullptr);

    void SetBitmaps(int normalId, int pressedId);
    int NormalBitmap() const { return normalId_; }
    int PressedBitmap() const { return pressedId_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // Where drawing may go; the whole button unless a subclass says less.
    virtual QRegion DrawingClip() const { return QRegion(rect()); }

    int statusId_ = 0; // string-table id sent on hover; 0 sends nothing

private:
    int normalId_ = 0;
    int pressedId_ = 0;
};

// A button whose outline is the ellipse inscribed in its rectangle.
class CBmpRoundBtn : public CBmpBtn {
    Q_OBJECT
public:
    explicit CBmpRoundBtn(QWidget* parent = nullptr);
    void SetStatusText(int stringId) { statusId_ = stringId; }

protected:
    void resizeEvent(QResizeEvent* event) override;
};

// A button outlined by a mask; its face is clipped to a drawing mask.
class CBmpTriangleBtn : public CBmpBtn {
    Q_OBJECT
public:
    void SetBitmaps(int normalId, int pressedId, int drawingMaskId);
    void SetStatusText(int stringId) { statusId_ = stringId; }

protected:
    CBmpTriangleBtn(int outlineMaskId, QWidget* parent);
    void resizeEvent(QResizeEvent* event) override;
    QRegion DrawingClip() const override;

private:
    int outlineMaskId_;
    int drawingMaskId_ = 0;
};

class CBmpTriangleBtn_T : public CBmpTriangleBtn {
public:
    explicit CBmpTriangleBtn_T(QWidget* parent = nullptr) : CBmpTriangleBtn(177, parent) {}
};
class CBmpTriangleBtn_L : public CBmpTriangleBtn {
public:
    explicit CBmpTriangleBtn_L(QWidget* parent = nullptr) : CBmpTriangleBtn(181, parent) {}
};
class CBmpTriangleBtn_B : public CBmpTriangleBtn {
public:
    explicit CBmpTriangleBtn_B(QWidget* parent = nullptr) : CBmpTriangleBtn(188, parent) {}
};
class CBmpTriangleBtn_R : public CBmpTriangleBtn {
public:
    explicit CBmpTriangleBtn_R(QWidget* parent = nullptr) : CBmpTriangleBtn(185, parent) {}
};
