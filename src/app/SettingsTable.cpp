#include "app/SettingsTable.h"

#include "app/AtoiText.h"

namespace Settings {

const char* const kKeyProgram = "SOFTWARE\\WAVEORBIT";
const char* const kKeyOptions = "SOFTWARE\\WAVEORBIT\\Options";
const char* const kKeyRecentTab = "SOFTWARE\\WAVEORBIT\\Recent\\Tab";
const char* const kKeyRecentUrl = "SOFTWARE\\WAVEORBIT\\Recent\\URL";
const char* const kKeyUpdate = "SOFTWARE\\WAVEORBIT\\UPDATE";
const char* const kKeyRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kKeySources = "SOFTWARE\\WAVEORBIT\\Sources";

namespace {
constexpr SettingsRoot M = SettingsRoot::MachineWide;
constexpr SettingsRoot U = SettingsRoot::PerUser;
} // namespace

const Value MainWidth{M, kKeyProgram, "MainWidth", "832", ReadRule::Number};
const Value MainHeight{M, kKeyProgram, "MainHeight", "362", ReadRule::Number};
const Value MainX{M, kKeyProgram, "MainX", "0", ReadRule::Number};
const Value MainY{M, kKeyProgram, "MainY", "0", ReadRule::Number};
const Value Sound{M, kKeyProgram, "Sound", "100", ReadRule::Number};

const Value Menu{M, kKeyRecentTab, "Menu", "1", ReadRule::Text};
const Value SubMenu{M, kKeyRecentTab, "SubMenu", "1", ReadRule::Number};

const Value IndexWritten{M, kKeyRecentUrl, "index", "0", ReadRule::Number};
const Value IndexRead{M, kKeyRecentUrl, "INDEX", "0", ReadRule::Number};

const Value AutoPlay{M, kKeyOptions, "AUTOPLAY", "0", ReadRule::NotZero};
const Value AutoClose{M, kKeyOptions, "AUTOCLOSE", "0", ReadRule::NotZero};
const Value AutoHide{M, kKeyOptions, "AUTOHIDE", "0", ReadRule::NotZero};
const Value OnTop{M, kKeyOptions, "ONTOP", "0", ReadRule::NotZero};
const Value Tray{M, kKeyOptions, "TRAY", "0", ReadRule::OnlyOne};
const Value Magnet{M, kKeyOptions, "MAGNET", "0", ReadRule::OnlyOne};
const Value HideFailed{M, kKeyOptions, "HIDE_FAILED", "0", ReadRule::OnlyOne};
const Value HideGeoBlocked{M, kKeyOptions, "HIDE_GEOBLOCKED", "0", ReadRule::OnlyOne};
const Value Message{M, kKeyOptions, "MESSAGE", "0", ReadRule::Text};
const Value ChAutoUpdate{M, kKeyOptions, "CHAUTOUPDATE", "0", ReadRule::Text};
const Value AutoUpdate{M, kKeyOptions, "AUTOUPDATE", "0", ReadRule::Text};
const Value LocationForCatalogue{M, kKeyOptions, "LOCATION", "자동", ReadRule::Text};
const Value LocationForDialog{M, kKeyOptions, "LOCATION", "서울", ReadRule::Text};
const Value LocationHide{M, kKeyOptions, "LOCATION_HIDE", "0", ReadRule::Text};

const Value StartWithSession{U, kKeyRun, "WAVEORBIT", "0", ReadRule::NotZero};

const Value SourceTv{M, kKeySources, "TV", "", ReadRule::Text};
const Value SourceWorld{M, kKeySources, "WORLD", "", ReadRule::Text};
const Value SourceGame{M, kKeySources, "GAME", "", ReadRule::Text};
const Value SourceRadio{M, kKeySources, "RADIO", "", ReadRule::Text};
const Value SourceMusic{M, kKeySources, "MUSIC", "", ReadRule::Text};
const Value DirectoryServer{M, kKeySources, "DIRECTORY_SERVER", "", ReadRule::Text};
const Value GuideTv{M, kKeySources, "TV_GUIDE", "", ReadRule::Text};
const Value GuideWorld{M, kKeySources, "WORLD_GUIDE", "", ReadRule::Text};
const Value GuideGame{M, kKeySources, "GAME_GUIDE", "", ReadRule::Text};

const Value VerNimbusKit{M, kKeyUpdate, "vernimbuskit", "", ReadRule::Text};

const std::vector<const Value*>& All() {
    static const std::vector<const Value*> all = {
        &MainWidth,
        &MainHeight,
        &MainX,
        &MainY,
        &Sound,
        &Menu,
        &SubMenu,
        &IndexWritten,
        &IndexRead,
        &AutoPlay,
        &AutoClose,
        &AutoHide,
        &OnTop,
        &Tray,
        &Magnet,
        &HideFailed,
        &HideGeoBlocked,
        &Message,
        &ChAutoUpdate,
        &AutoUpdate,
        &LocationForCatalogue,
        &LocationForDialog,
        &LocationHide,
        &StartWithSession,
        &SourceTv,
        &SourceWorld,
        &SourceGame,
        &SourceRadio,
        &SourceMusic,
        &DirectoryServer,
        &GuideTv,
        &GuideWorld,
        &GuideGame,
        &VerNimbusKit,
    };
    return all;
}

bool IsOn(const QString& text, ReadRule rule) {
    if (rule == ReadRule::OnlyOne)
        return text == QStringLiteral("1");
    return text != QStringLiteral("0");
}

QString ReadText(const Value& value, const SettingsStore& store) {
    QString text;
    store.Read(value.root, value.Key(), value.Name(), value.Default(), &text);
    return text;
}

int ReadNumber(const Value& value, const SettingsStore& store) {
    return AtoiText(ReadText(value, store));
}

bool ReadFlag(const Value& value, const SettingsStore& store) {
    return IsOn(ReadText(value, store), value.rule);
}

bool ReadFlagAs(const Value& value, ReadRule rule, const SettingsStore& store) {
    return IsOn(ReadText(value, store), rule);
}

bool WriteText(const Value& value, const QString& text, SettingsStore store) {
    return store.Write(value.root, value.Key(), value.Name(), text);
}

bool WriteNumber(const Value& value, int number, SettingsStore store) {
    return WriteText(value, QString::number(number), std::move(store));
}

bool WriteFlag(const Value& value, bool on, SettingsStore store) {
    return WriteText(value, on ? QStringLiteral("1") : QStringLiteral("0"), std::move(store));
}

bool Delete(const Value& value, SettingsStore store) {
    return store.Delete(value.root, value.Key(), value.Name());
}

} // namespace Settings
