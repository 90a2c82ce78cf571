#pragma once

#include <QString>

#include <functional>

class QWidget;

// The main window's message boxes: a message with the program's caption and
// a Yes/No question (true for Yes), owned by the window. Tests answer both
// through handlers, so nothing waits on a box.
class Prompter {
public:
    explicit Prompter(QWidget& owner) : owner_(owner) {}

    void ShowMessage(const QString& text);
    bool AskYesNo(const QString& caption, const QString& text);

    void SetMessageHandler(std::function<void(const QString&)> handler) {
        messageHandler_ = std::move(handler);
    }
    void SetQuestionHandler(std::function<bool(const QString&, const QString&)> handler) {
        questionHandler_ = std::move(handler);
    }

private:
    QWidget& owner_;
    std::function<void(const QString&)> messageHandler_;
    std::function<bool(const QString&, const QString&)> questionHandler_;
};
