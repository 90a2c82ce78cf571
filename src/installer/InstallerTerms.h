#pragma once

#include <QByteArray>
#include <QString>

// The terms of use the wizard shows: the file "nimbuskit.txt" beside the
// program. It is written in the Korean code page by tradition, in UTF-8 by
// newer tools, with Windows or Unix line ends; the text box must show the
// same lines whichever it is.
namespace InstallerTerms {

extern const char* const kFileName; // "nimbuskit.txt"

// A terms file larger than this is shown cut at this many bytes: it is a page
// of terms, and a runaway file must not stall the window.
constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

// The file's bytes as text: UTF-8 (with or without its byte order mark) when
// they are valid UTF-8, else CP949. Every line end (CR LF, LF, a lone CR)
// becomes "\n", the text box's line break.
QString Decode(const QByteArray& bytes);

// The terms beside the program in the given folder; empty when the file is
// missing or cannot be read (the wizard then shows an empty box, no message).
QString Load(const QString& folder);

} // namespace InstallerTerms
