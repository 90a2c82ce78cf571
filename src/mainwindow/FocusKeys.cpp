#include "mainwindow/FocusKeys.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

// A text field that takes typing: the keys typed into it are its own.
bool EditsText(const QWidget* widget) {
    if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        return !line->isReadOnly();
    if (const auto* text = qobject_cast<const QTextEdit*>(widget))
        return !text->isReadOnly();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        return !plain->isReadOnly();
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->isEditable();
    return qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

// Keys a text field uses for typing and moving its cursor; function keys,
// Escape and Ctrl combinations (but Ctrl+Enter) stay the window's.
bool IsTypingKey(const QKeyEvent& event) {
    const int key = event.key();
    // Ctrl+Enter is a field's second way to submit (the find field asks the
    // radio directory with it).
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        (event.modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier)
        return true;
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    return key != Qt::Key_Escape && !(key >= Qt::Key_F1 && key <= Qt::Key_F35);
}

} // namespace

bool KeyBelongsToFocus(const QWidget* target, const QKeyEvent& event, const QWidget* window,
                       const QWidget* webBrowser) {
    // The web page gets its keys first: a text field of the page takes what
    // is typed into it, and a key the page leaves alone comes back to the
    // browser's parent, the window, where it runs the window's command.
    // A page or field that was hidden (the channel tab hides the page) may
    // keep the focus, since the list takes none; the user types into neither.
    if (webBrowser && webBrowser->isVisible() && target != window &&
        (target == webBrowser || webBrowser->isAncestorOf(target)))
        return true;
    return target->isVisible() && EditsText(target) && IsTypingKey(event);
}
