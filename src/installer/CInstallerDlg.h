#pragma once

#include "app/Endpoints.h"
#include "installer/InstallerLayout.h"
#include "installer/SetupOpener.h"

#include <QDialog>
#include <QMessageBox>
#include <QPixmap>

#include <functional>

class CInstallerButton;
class InstallerFlow;
class QCheckBox;
class QPlainTextEdit;

// The wizard's one window: the painted installer page with the terms of
// use, the agree box and Back, Next and Cancel. It has no frame of its own:
// the painted title bar's close and minimise boxes work, and a press
// anywhere else on the picture moves the window. Enter and Esc do nothing.
class CInstallerDlg : public QDialog {
    Q_OBJECT
public:
    // How a message is put in front of the user; tests replace it so no
    // modal box ever waits for a click.
    using ShowMessage = std::function<void(QWidget* owner, QMessageBox::Icon icon,
                                           const QString& caption, const QString& text)>;

    // folder: where the terms file and the partner setup lie (empty: the
    // folder of the running program). countBaseAddress: the count server.
    // opener: the program that opens the setup.
    explicit CInstallerDlg(QString folder = QString(),
                           QString countBaseAddress = Endpoints::CountBaseAddress(),
                           QString opener = QString::fromLatin1(SetupOpener::kDesktopOpener),
                           QWidget* parent = nullptr);
    ~CInstallerDlg() override;

    void SetShowMessage(ShowMessage show) { showMessage_ = std::move(show); }
    void SetCountTimeout(int milliseconds);

    // The real message box: modal, owned by the wizard, above it.
    static void ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption,
                               const QString& text);

    QPlainTextEdit* Terms() const { return terms_; }
    QCheckBox* Agree() const { return agree_; }
    CInstallerButton* Button(InstallerLayout::Control id) const;
    const QPixmap& Background() const { return background_; }
    QString Folder() const { return folder_; }
    bool Busy() const;

    // The button handlers (the buttons' clicks land here).
    void OnNext();
    void OnBack();
    void OnCancel();

signals:
    void firstPainted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnInitDialog();
    void BuildControls();
    void CentreOnScreen();
    void SetBusy(bool busy);
    void OnSetupFailed();
    void OnInstalled();
    void Say(QMessageBox::Icon icon, const char* text);

    QString folder_;
    InstallerFlow* flow_;
    ShowMessage showMessage_;
    QPixmap background_;
    QPlainTextEdit* terms_ = nullptr;
    QCheckBox* agree_ = nullptr;
    CInstallerButton* back_ = nullptr;
    CInstallerButton* next_ = nullptr;
    CInstallerButton* cancel_ = nullptr;
    bool movingByHand_ = false;
    QPoint grabOffset_;
    bool painted_ = false;
};
