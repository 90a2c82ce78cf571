#pragma once

#include "skin/CSkinnedDialog.h"

// The about dialog: the about picture (name, version, maker, web address)
// with an OK button and the close box. Everything it says is in the picture.
class CAboutDlg : public CSkinnedDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    CMinsButton* OkButton() const { return ok_; }
    CMinsButton* CloseBox() const { return close_; }

private:
    CMinsButton* ok_ = nullptr;
    CMinsButton* close_ = nullptr;
};
