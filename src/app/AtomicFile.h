#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QString>

#include <memory>

// Files the program changes are never left half-written: the new contents go
// to a temporary file in the same folder, which then replaces the old file in
// one rename. A crash or a full disk leaves the old file as it was.
bool WriteFileAtomically(const QString& path, const QByteArray& contents);

// Removes the temporary files of writes to this file that never finished (a
// writer killed mid-write). Only safe while holding the file's lock.
void RemoveLeftoverTemporaries(const QString& path);

// Reads a whole file; false (and empty contents) when it is missing or unreadable.
bool ReadWholeFile(const QString& path, QByteArray* contents);

// Holds the lock "<path>.lock" for read-modify-write cycles, so two running
// copies of the program never overwrite each other's changes. A lock left by a
// process that died is taken over, and the temporary files such a process
// left are removed.
class FileLockGuard {
public:
    explicit FileLockGuard(const QString& path, int timeoutMs = 5000);
    ~FileLockGuard();
    FileLockGuard(const FileLockGuard&) = delete;
    FileLockGuard& operator=(const FileLockGuard&) = delete;

    bool locked() const { return locked_; }

private:
    std::unique_ptr<QLockFile> lock_;
    bool locked_ = false;
};
