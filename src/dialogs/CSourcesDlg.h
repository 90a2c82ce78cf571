#pragma once

#include "catalogue/ChannelSource.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLineEdit;

// Where each catalogue tab takes its channels from: the service, a playlist
// or the radio directory, with the address or query; the defaults can be put
// back. OK checks everything first and stores nothing when anything is wrong.
class CSourcesDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSourcesDlg(SourceSettings settings = SourceSettings(), QWidget* parent = nullptr);

    QComboBox* KindBox(int category) const { return kinds_.at(category - 1); }
    QLineEdit* AddressEdit(int category) const { return addresses_.at(category - 1); }
    QLineEdit* DirectoryServerEdit() const { return server_; }

    // Fills the rows with the build's defaults (stored only by OK).
    void ShowDefaults();
    // OK: true when stored; otherwise the message was shown and nothing changed.
    bool Apply();

    // Where messages go (a message box unless replaced, for tests).
    void SetMessageHandler(std::function<void(const QString&)> handler) {
        messageHandler_ = std::move(handler);
    }

private:
    void Show(int category, const ChannelSource& source);
    ChannelSource Shown(int category) const;

    SourceSettings settings_;
    std::array<QComboBox*, kSourceTabCount> kinds_{};
    std::array<QLineEdit*, kSourceTabCount> addresses_{};
    QLineEdit* server_ = nullptr;
    std::function<void(const QString&)> messageHandler_;
};
