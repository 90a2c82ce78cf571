#pragma once

#include "catalogue/ChannelSource.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

// The settings dialog's channel-list page: where each catalogue tab takes its
// channels from (the service, a playlist or the radio directory, with the
// address or query) and the radio directory's server; the defaults can be put
// back. One tab is shown at a time, chosen in the page's tab box; what the
// user changes is kept for every tab and stored only by the dialog's OK,
// after every tab passed its checks.
class CSourcesPage : public QWidget {
    Q_OBJECT
public:
    explicit CSourcesPage(SourceSettings settings = SourceSettings(), QWidget* parent = nullptr);

    QComboBox* TabBox() const { return tab_; }
    QComboBox* KindBox() const { return kind_; }
    QLineEdit* AddressEdit() const { return address_; }
    QLineEdit* DirectoryServerEdit() const { return server_; }
    QPushButton* DefaultsButton() const { return defaults_; }

    // The tab whose source the page shows.
    Category ShownTab() const;
    void ShowTab(Category category);

    // What the page holds now for every tab, as it would be stored.
    SourcesChoice Edited() const;
    bool Changed() const { return Edited() != atOpen_; }
    // Fills every tab and the server with the build's defaults (stored only by OK).
    void ShowDefaults();

    // The dialog's OK: a changed choice is checked and, when every tab
    // passes, stored; the problem otherwise (nothing is stored then).
    SourcesProblem Apply();

private:
    void ShowFields();
    void KeepFields();

    SourceSettings settings_;
    SourcesChoice atOpen_;
    SourcesChoice edited_; // addresses as typed
    bool filling_ = false;
    QComboBox* tab_ = nullptr;
    QComboBox* kind_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* server_ = nullptr;
    QPushButton* defaults_ = nullptr;
};
