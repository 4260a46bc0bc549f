// A caption-less dialog cut out of a one-bit mask and painted with a skin
// bitmap. The mask gives the window its input region (and, on X11, its
// outline); the skin is painted through the same region on a translucent
// window, so the shape also shows where a window mask cuts nothing (Wayland).
#pragma once

#include <QDialog>
#include <QRegion>

class CShapedDialog : public QDialog {
    Q_OBJECT
public:
    enum class Placement { CentreOnScreen, KeepSize };
    // A dialog window; with topLevelApp the task bar lists it as an application window.
    CShapedDialog(int maskId, int skinId, QWidget* parent, bool topLevelApp = false);

    const QRegion& Shape() const { return shape_; }

protected:
    // Sizes the window to the mask (centred on the screen), or keeps the
    // size it has, and cuts it out of the mask.
    void ApplyShape(Placement placement);
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Enter and Escape close nothing here; subclasses may give them a meaning.
    void keyPressEvent(QKeyEvent* event) override;
    virtual void OnEnterKey() {}
    virtual void OnEscapeKey() {}

private:
    int maskId_;
    int skinId_;
    QRegion shape_;
};
