// The bar between the explorer's tree and list. While dragged it tells its
// parent where the mouse is (a SplitterMovedEvent); the parent moves the panes.
#pragma once

#include <QWidget>

class CBtnSplit : public QWidget {
    Q_OBJECT
public:
    explicit CBtnSplit(QWidget* parent = nullptr);
    bool IsDragging() const { return dragging_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    bool dragging_ = false;
};
