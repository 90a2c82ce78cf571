#include "mainwindow/Prompter.h"

#include <QMessageBox>

void Prompter::ShowMessage(const QString& text) {
    if (messageHandler_) {
        messageHandler_(text);
        return;
    }
    QMessageBox::information(&owner_, QStringLiteral("WAVEORBIT"), text);
}

bool Prompter::AskYesNo(const QString& caption, const QString& text) {
    if (questionHandler_)
        return questionHandler_(caption, text);
    // Enter answers Yes, as the desktop's Yes/No questions do.
    return QMessageBox::question(&owner_, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}
