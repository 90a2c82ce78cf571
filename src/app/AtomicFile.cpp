#include "app/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace {

// The temporary files are named after the file they replace plus this and
// six random characters, so that leftovers of a writer that died are told
// apart from anything else in the folder.
const QString kTemporaryInfix = QStringLiteral(".waveorbit-");

} // namespace

bool WriteFileAtomically(const QString& path, const QByteArray& contents) {
    // A link is followed: its target is what gets replaced.
    QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : path;
    QTemporaryFile temporary(target + kTemporaryInfix + QStringLiteral("XXXXXX"));
    if (!temporary.open())
        return false;
    // The replacement keeps the permissions of the file it replaces; a new
    // file gets the usual ones (QTemporaryFile makes it owner-only).
    const QFileInfo old(target);
    const QFileDevice::Permissions permissions =
        old.exists() ? old.permissions()
                     : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                           QFileDevice::ReadOther;
    if (temporary.write(contents) != contents.size() || !temporary.flush() ||
        ::fsync(temporary.handle()) != 0 || !temporary.setPermissions(permissions))
        return false; // the temporary file is removed with the object
    // One rename, atomic on POSIX: readers see the old file or the new one.
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(target).constData()) != 0)
        return false;
    temporary.setAutoRemove(false);
    return true;
}

void RemoveLeftoverTemporaries(const QString& path) {
    const QFileInfo info(path);
    const QString prefix = info.fileName() + kTemporaryInfix;
    QDir folder = info.absoluteDir();
    const QStringList names =
        folder.entryList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden);
    for (const QString& name : names)
        folder.remove(name);
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
    // Every writer of the file holds this lock while its temporary file
    // exists: any left now belongs to a writer that died.
    if (locked_)
        RemoveLeftoverTemporaries(path);
}

FileLockGuard::~FileLockGuard() {
    if (locked_)
        lock_->unlock();
}
