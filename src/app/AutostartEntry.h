#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// An XDG autostart entry that starts one program with the session. The
// program's path is its Exec, quoted and escaped as the desktop entry rules
// require, so any path (blanks, quotes, "%") survives the round trip.
namespace AutostartEntry {

QByteArray Make(const QString& name, const QString& command);

// The command of an entry, or nothing when the entry has no Exec or is
// marked Hidden (the desktop's way of switching an entry off).
std::optional<QString> CommandOf(const QByteArray& entry);

QString QuoteExecArgument(const QString& argument);
QString UnquoteExec(const QString& exec);

} // namespace AutostartEntry
