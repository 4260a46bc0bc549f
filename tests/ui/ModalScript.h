// Answers the modal dialogs a command opens, in order: each step waits for
// the top modal window to be of its kind, then acts on it. Header-only: each
// .cpp of this folder is a test program of its own.
#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

class ModalScript {
public:
    using Step = std::function<bool(QWidget* modal)>; // true: the step is done

    // Waits for a modal T, then act(T*).
    template <typename T>
    ModalScript& Then(std::function<void(T*)> act)
    {
        steps_->push_back([act](QWidget* modal) {
            T* dialog = qobject_cast<T*>(modal);
            if (!dialog || !dialog->isVisible())
                return false;
            act(dialog);
            return true;
        });
        return *this;
    }

    // Waits for a modal T and for ready(T*), then act(T*).
    template <typename T>
    ModalScript& ThenWhen(std::function<bool(T*)> ready, std::function<void(T*)> act)
    {
        steps_->push_back([ready, act](QWidget* modal) {
            T* dialog = qobject_cast<T*>(modal);
            if (!dialog || !dialog->isVisible() || !ready(dialog))
                return false;
            act(dialog);
            return true;
        });
        return *this;
    }

    // Starts answering; the steps run from the event loop of the modal
    // dialogs the command under test opens.
    void Arm()
    {
        auto steps = steps_;
        auto* timer = new QTimer(qApp);
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, steps] {
            if (steps->empty()) {
                timer->deleteLater();
                return;
            }
            if (steps->front()(QApplication::activeModalWidget()))
                steps->pop_front();
        });
        timer->start();
    }

    bool Done() const { return steps_->empty(); }

    // Common answers.
    static std::function<void(QFileDialog*)> SaveTo(const QString& path, QString* offeredName = nullptr,
                                                    QStringList* filters = nullptr)
    {
        return [=](QFileDialog* dialog) {
            if (offeredName)
                if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    *offeredName = edit->text();
            if (filters)
                *filters = dialog->nameFilters();
            // Typed, not selectFile(): the dialog's directory loads in the
            // background and may put the offered name back meanwhile.
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides its accept()
        };
    }
    static std::function<void(QMessageBox*)> Press(QMessageBox::StandardButton which, QString* text = nullptr)
    {
        return [=](QMessageBox* box) {
            if (text)
                *text = box->text();
            box->button(which)->click();
        };
    }

private:
    std::shared_ptr<std::deque<Step>> steps_ = std::make_shared<std::deque<Step>>();
};
