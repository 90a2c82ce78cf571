#pragma once

#include "catalogue/ChannelRecord.h"
#include "skin/CSkinnedDialog.h"

#include <functional>

class ChannelListModel;
class CMinsButton;
class QLineEdit;

// The user's own channel, typed by hand: a name, a line of information and
// the stream address. OK puts the channel on top of the user tab's list and
// at the end of user.dat; Cancel and the close box store nothing. Like every
// skinned dialog it ends with the cancel result; Confirmed() tells whether a
// channel was added.
class CAddChannelDlg : public CSkinnedDialog {
    Q_OBJECT
public:
    // `list` is the user tab's list that the new row goes on top of; the file
    // is user.dat in `folder`.
    CAddChannelDlg(ChannelListModel* list, QString folder, QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return name_; }         // 1058
    QLineEdit* InfoEdit() const { return info_; }         // 1059
    QLineEdit* AddressEdit() const { return address_; }   // 1035
    CMinsButton* OkButton() const { return ok_; }         // 1031
    CMinsButton* CancelButton() const { return cancel_; } // 1034
    CMinsButton* CloseBox() const { return close_; }      // 1004

    bool Confirmed() const { return confirmed_; }
    // The record OK would store, from the edits as they are now.
    ChannelRecord RecordFromEdits() const;

    // The OK button (1031).
    void Confirm();

    // How the dialog tells the user something; tests replace it so nothing
    // waits on a modal box.
    void SetMessageHandler(std::function<void(const QString&)> handler) {
        messageHandler_ = std::move(handler);
    }

    // What the user is told when the file cannot be written.
    static QString WriteFailedMessage();

private:
    QLineEdit* MakeEdit(const char* name, const QString& role, int top);
    void Tell(const QString& text);

    ChannelListModel* list_;
    QString folder_;
    CMinsButton* close_;
    CMinsButton* ok_;
    CMinsButton* cancel_;
    QLineEdit* name_;
    QLineEdit* info_;
    QLineEdit* address_;
    bool confirmed_ = false;
    std::function<void(const QString&)> messageHandler_;
};
