#include "app/ProgramModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QStringList ProgramModule::CandidatePaths() const {
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString file = QLatin1String(fileName_);
    return {programDir.filePath(file),
            QDir::cleanPath(programDir.filePath(
                QStringLiteral("../%1/%2").arg(QLatin1String(libFolder_), file)))};
}

QFunctionPointer ProgramModule::Entry() {
    if (entry_ || tried_)
        return entry_;
    tried_ = true;
    for (const QString& path : CandidatePaths()) {
        if (!QFileInfo::exists(path))
            continue;
        library_.setFileName(path);
        if (!library_.load()) {
            error_ = library_.errorString();
            continue;
        }
        entry_ = library_.resolve(entryName_);
        if (entry_)
            return entry_;
        error_ = library_.errorString();
        library_.unload();
    }
    if (error_.isEmpty())
        error_ = QStringLiteral("%1 not found").arg(QLatin1String(fileName_));
    return nullptr;
}
