// Notifications between Morvik's own windows, sent synchronously to the
// parent like the messages they stand for.
#pragma once

#include <QEvent>

// A skinned button asks its parent to show a string-table text.
class StatusTextEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = QEvent::Type(QEvent::User + 1234);
    explicit StatusTextEvent(int stringId) : QEvent(kType), stringId_(stringId) {}
    int StringId() const { return stringId_; }

private:
    int stringId_;
};

// The splitter bar is being dragged; screenX is the mouse's screen x.
class SplitterMovedEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = QEvent::Type(QEvent::User + 1224);
    explicit SplitterMovedEvent(int screenX) : QEvent(kType), screenX_(screenX) {}
    int ScreenX() const { return screenX_; }

private:
    int screenX_;
};
