#pragma once

#include "catalogue/RadioDirectory.h"

#include <QByteArrayView>

#include <functional>
#include <optional>
#include <vector>

// Reads the radio directory's answer, one JSON array of flat station objects,
// where it lies: value by value, taking the keys a station needs and stepping
// over the rest. An answer of 30,000 stations is some 30 MB; a document tree
// of it (QJsonDocument) took several times as long as the list it becomes and
// as much memory again, on a thread the list waits for.
//
// The stations as ParseStations describes them; nullopt for anything that is
// not JSON or not an array. It takes what Qt's JSON reader takes ("1.", ".5",
// raw control characters in strings), and one thing more: bytes that are not
// UTF-8 are read as U+FFFD, where Qt refused the whole answer for one bad name.
// A key given twice in a station keeps its last value, as in Qt's reading.
// Byte-order marks at the start of a value are dropped, written raw or as
// "\uFEFF" (Qt drops one raw mark, and only in a string without escapes).
std::optional<std::vector<RadioDirectory::Station>> ReadDirectoryAnswer(QByteArrayView json);

// The same, a station at a time as it is read: a caller that turns each into
// something else at once reuses one station's memory for the next. Some
// stations may have been handed over before the answer turns out not to be
// one; false then, and the caller drops what it made of them.
using StationVisitor = std::function<void(RadioDirectory::Station&&)>;
bool ReadDirectoryAnswer(QByteArrayView json, const StationVisitor& each);
