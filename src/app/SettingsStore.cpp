#include "app/SettingsStore.h"

#include "app/AtomicFile.h"
#include "app/AutostartEntry.h"
#include "app/IniDocument.h"
#include "app/LegacyText.h"
#include "app/Paths.h"

#include <QDir>
#include <QFile>

const QString kRunKeyPath = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");

SettingsLocations SettingsLocations::FromEnvironment() {
    return SettingsLocations{Paths::ConfigFolder(), Paths::AutostartFolder()};
}

SettingsStore::SettingsStore(SettingsLocations locations) : locations_(std::move(locations)) {}

QString SettingsStore::FilePath(SettingsRoot root) const {
    return locations_.configFolder + (root == SettingsRoot::MachineWide
                                          ? QStringLiteral("/machine.ini")
                                          : QStringLiteral("/user.ini"));
}

bool SettingsStore::IsRunKey(SettingsRoot root, const QString& key) const {
    return root == SettingsRoot::PerUser && key.compare(kRunKeyPath, Qt::CaseInsensitive) == 0;
}

QString SettingsStore::AutostartEntryPath(const QString& name) const {
    // Value names compare without regard to case: find an entry spelled otherwise.
    const QString wanted = name + QStringLiteral(".desktop");
    const QDir dir(locations_.autostartFolder);
    const QStringList entries = dir.entryList({QStringLiteral("*.desktop")}, QDir::Files);
    for (const QString& entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(wanted);
}

namespace {

bool IsValidEntryName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QStringLiteral(".") &&
           name != QStringLiteral("..");
}

bool FitsBuffer(const QString& text) {
    return LegacyText::LegacyByteLength(text) <= kSettingBufferBytes - 1;
}

} // namespace

bool SettingsStore::Read(SettingsRoot root, const QString& key, const QString& name,
                         const QString& defaultText, QString* text) const {
    *text = defaultText;
    std::optional<QString> value;
    if (IsRunKey(root, key)) {
        if (!IsValidEntryName(name))
            return false;
        QByteArray entry;
        if (!ReadWholeFile(AutostartEntryPath(name), &entry))
            return false;
        value = AutostartEntry::CommandOf(entry);
    } else {
        QByteArray contents;
        if (!ReadWholeFile(FilePath(root), &contents))
            return false;
        value = IniDocument::Parse(contents).Value(key, name);
    }
    if (!value || !FitsBuffer(*value))
        return false;
    *text = *value;
    return true;
}

bool SettingsStore::Write(SettingsRoot root, const QString& key, const QString& name,
                          const QString& text) {
    if (IsRunKey(root, key)) {
        if (!IsValidEntryName(name) || !Paths::EnsureFolder(locations_.autostartFolder))
            return false;
        const QString path = AutostartEntryPath(name);
        FileLockGuard lock(path);
        return lock.locked() && WriteFileAtomically(path, AutostartEntry::Make(name, text));
    }
    if (!Paths::EnsureFolder(locations_.configFolder))
        return false;
    const QString path = FilePath(root);
    FileLockGuard lock(path);
    if (!lock.locked())
        return false;
    QByteArray contents;
    if (!ReadWholeFile(path, &contents) && QFile::exists(path))
        return false; // unreadable: never replace a store we could not read
    IniDocument doc = IniDocument::Parse(contents);
    if (!doc.SetValue(key, name, text))
        return false;
    return WriteFileAtomically(path, doc.Serialize());
}

bool SettingsStore::Delete(SettingsRoot root, const QString& key, const QString& name) {
    if (IsRunKey(root, key)) {
        if (!IsValidEntryName(name))
            return false;
        const QString path = AutostartEntryPath(name);
        FileLockGuard lock(path);
        return lock.locked() && QFile::exists(path) && QFile::remove(path);
    }
    const QString path = FilePath(root);
    if (!QFile::exists(path))
        return false;
    FileLockGuard lock(path);
    if (!lock.locked())
        return false;
    QByteArray contents;
    if (!ReadWholeFile(path, &contents))
        return false;
    IniDocument doc = IniDocument::Parse(contents);
    if (!doc.RemoveValue(key, name))
        return false; // nothing to delete: the file is left untouched
    return WriteFileAtomically(path, doc.Serialize());
}

int ReadSetting(SettingsRoot root, const QString& key, const QString& name,
                const QString& defaultText, QString* text) {
    return SettingsStore().Read(root, key, name, defaultText, text) ? 1 : 0;
}

QString ReadSetting(SettingsRoot root, const QString& key, const QString& name,
                    const QString& defaultText) {
    QString text;
    SettingsStore().Read(root, key, name, defaultText, &text);
    return text;
}

int WriteSetting(SettingsRoot root, const QString& key, const QString& name, const QString& text) {
    return SettingsStore().Write(root, key, name, text) ? 1 : 0;
}

int DeleteSetting(SettingsRoot root, const QString& key, const QString& name) {
    return SettingsStore().Delete(root, key, name) ? 1 : 0;
}
