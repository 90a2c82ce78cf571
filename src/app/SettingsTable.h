#pragma once

#include "app/SettingsStore.h"

#include <QString>

#include <vector>

// Every value the programs store, with its root, key, name, default and the
// way its text is read. Callers name a value from this table and never spell
// a name or a default themselves.
namespace Settings {

// How a stored text becomes state.
enum class ReadRule {
    Number,  // atoi: leading digits, no digits give 0
    NotZero, // a switch that is on for any text but "0"
    OnlyOne, // a switch that is on only for the text "1"
    Text,    // the text itself
};

struct Value {
    SettingsRoot root;
    const char* key;
    const char* name;
    const char* defaultText;
    ReadRule rule;

    QString Key() const { return QString::fromUtf8(key); }
    QString Name() const { return QString::fromUtf8(name); }
    QString Default() const { return QString::fromUtf8(defaultText); }
};

extern const char* const kKeyProgram; // SOFTWARE\WAVEORBIT
extern const char* const kKeyOptions; // SOFTWARE\WAVEORBIT\Options
extern const char* const kKeyRecentTab;
extern const char* const kKeyRecentUrl;
extern const char* const kKeyUpdate;
extern const char* const kKeyRun;
extern const char* const kKeySources; // SOFTWARE\WAVEORBIT\Sources

// Window rectangle saved when full screen is entered, and the volume.
extern const Value MainWidth, MainHeight, MainX, MainY, Sound;
// The last main tab (1 channel lists, 2 music pages, 3 movie pages) and category.
extern const Value Menu, SubMenu;
// The list position of the channel last connected: written as "index", read
// as "INDEX" (one value: names compare without regard to case).
extern const Value IndexWritten, IndexRead;
// Options.
extern const Value AutoPlay, AutoClose, AutoHide, OnTop, Tray, Magnet, Message, ChAutoUpdate,
    AutoUpdate, LocationHide;
// The list leaves out the channels that failed on every address in their last
// try, and those a playlist marks as geo-blocked.
extern const Value HideFailed, HideGeoBlocked;
// The region: "자동" where catalogues are filtered, "서울" where a dialog preselects.
extern const Value LocationForCatalogue, LocationForDialog;
// Start with the session: present (any text but "0") means on.
extern const Value StartWithSession;
// Where each catalogue tab takes its channels from: "service <address>",
// "playlist <address>" or "directory <query>". The empty default stands for
// the build's own default of that tab (catalogue/ChannelSource).
extern const Value SourceTv, SourceWorld, SourceGame, SourceRadio, SourceMusic;
// The radio directory's server; empty means "find it".
extern const Value DirectoryServer;
// The programme guides a TV tab reads besides those its playlist names:
// comma-separated http/https addresses or local files.
extern const Value GuideTv, GuideWorld, GuideGame;
// Written by the partner installer, read by nobody.
extern const Value VerNimbusKit;

// Every value above, in the table's order.
const std::vector<const Value*>& All();

// True when the text means "on" under the rule (NotZero or OnlyOne).
bool IsOn(const QString& text, ReadRule rule);

QString ReadText(const Value& value, const SettingsStore& store = SettingsStore());
int ReadNumber(const Value& value, const SettingsStore& store = SettingsStore());
// Reads a switch by its table rule, or by the rule given where one caller
// reads it otherwise ("AUTOCLOSE" is "not 0" at start-up, "only 1" at connection).
bool ReadFlag(const Value& value, const SettingsStore& store = SettingsStore());
bool ReadFlagAs(const Value& value, ReadRule rule, const SettingsStore& store = SettingsStore());

bool WriteText(const Value& value, const QString& text, SettingsStore store = SettingsStore());
bool WriteNumber(const Value& value, int number, SettingsStore store = SettingsStore());
bool WriteFlag(const Value& value, bool on, SettingsStore store = SettingsStore());
bool Delete(const Value& value, SettingsStore store = SettingsStore());

} // namespace Settings
