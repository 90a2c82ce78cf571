#pragma once

#include "skin/CSkinnedDialog.h"

#include <QString>

#include <functional>

class QLineEdit;

// Plays an address typed by hand: a stream URL or a path, handed to the
// player exactly as typed. Only an empty box and the two bare schemes it
// starts with are refused.
class COpenUrlDlg : public CSkinnedDialog {
    Q_OBJECT
public:
    explicit COpenUrlDlg(QWidget* parent = nullptr);

    // Where the address goes; the owner hands in its play command.
    void SetPlayer(std::function<void(const QString&)> play) { play_ = std::move(play); }
    // Tests replace the message box.
    void SetMessageHandler(std::function<void(const QString&)> show) { message_ = std::move(show); }

    // True for an address the dialog refuses to play.
    static bool IsEmptyAddress(const QString& text);

    QLineEdit* AddressEdit() const { return edit_; }
    CMinsButton* PlayButton() const { return play_button_; }
    CMinsButton* CancelButton() const { return cancel_; }
    CMinsButton* CloseBox() const { return close_; }

private:
    void OnPlay();

    QLineEdit* edit_ = nullptr;
    CMinsButton* play_button_ = nullptr;
    CMinsButton* cancel_ = nullptr;
    CMinsButton* close_ = nullptr;
    std::function<void(const QString&)> play_;
    std::function<void(const QString&)> message_;
};
