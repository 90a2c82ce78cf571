#pragma once

#include <QString>

// The two roots of the settings: the program's own settings (machine.ini) and
// the per-user ones (user.ini, and the start-with-the-session entries).
enum class SettingsRoot { MachineWide, PerUser };

// A value read through the store holds at most this many bytes with its
// terminator (as CP949 where the text fits, else UTF-8); longer values read as
// the caller's default.
constexpr int kSettingBufferBytes = 260;

// The per-user key whose values are the programs started with the session.
// Each value is an XDG autostart entry "<name>.desktop"; its text is the Exec.
extern const QString kRunKeyPath;

struct SettingsLocations {
    QString configFolder;    // holds machine.ini and user.ini
    QString autostartFolder; // holds <name>.desktop entries of the Run key
    static SettingsLocations FromEnvironment();
};

// Persistent settings as text values under (root, key path, value name).
// Every call reads the file anew: nothing is cached between calls. Changes are
// made under a lock and written atomically, so two running copies never lose
// each other's values and a crash never leaves a half-written file.
class SettingsStore {
public:
    explicit SettingsStore(SettingsLocations locations = SettingsLocations::FromEnvironment());

    // True when the value exists and fits; otherwise *text is the default.
    bool Read(SettingsRoot root, const QString& key, const QString& name,
              const QString& defaultText, QString* text) const;
    bool Write(SettingsRoot root, const QString& key, const QString& name, const QString& text);
    // True when the value existed and is gone.
    bool Delete(SettingsRoot root, const QString& key, const QString& name);

    QString FilePath(SettingsRoot root) const;

private:
    bool IsRunKey(SettingsRoot root, const QString& key) const;
    QString AutostartEntryPath(const QString& name) const;

    SettingsLocations locations_;
};

// The program's three settings functions, on the store of the environment.
// ReadSetting returns 1 when the value was read, 0 when the default was used;
// WriteSetting 1 on success; DeleteSetting 1 when a value was deleted.
int ReadSetting(SettingsRoot root, const QString& key, const QString& name,
                const QString& defaultText, QString* text);
QString ReadSetting(SettingsRoot root, const QString& key, const QString& name,
                    const QString& defaultText);
int WriteSetting(SettingsRoot root, const QString& key, const QString& name, const QString& text);
int DeleteSetting(SettingsRoot root, const QString& key, const QString& name);
