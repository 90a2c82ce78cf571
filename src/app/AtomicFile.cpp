#include "app/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool WriteFileAtomically(const QString& path, const QByteArray& contents) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(contents) != contents.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit(); // flushes, fsyncs and renames over the old file
}

bool ReadWholeFile(const QString& path, QByteArray* contents) {
    contents->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *contents = file.readAll();
    return file.error() == QFileDevice::NoError;
}

FileLockGuard::FileLockGuard(const QString& path, int timeoutMs)
    : lock_(std::make_unique<QLockFile>(path + QStringLiteral(".lock"))) {
    // Changes take milliseconds; a lock older than this belongs to a process
    // that hung or died. Dead owners are usually detected at once by their
    // process id, but one killed while writing the lock file left no readable
    // id: then only the age tells, and it must be well under the wait below.
    lock_->setStaleLockTime(2000);
    locked_ = lock_->tryLock(timeoutMs);
}

FileLockGuard::~FileLockGuard() {
    if (locked_)
        lock_->unlock();
}
