#include "catalogue/SourceSettings.h"

#include "app/SettingsTable.h"

namespace {

const Settings::Value& ValueOf(Category category) {
    static const Settings::Value* const values[kSourceTabCount] = {
        &Settings::SourceTv, &Settings::SourceWorld, &Settings::SourceGame, &Settings::SourceRadio,
        &Settings::SourceMusic};
    return *values[SourceTabIndex(category)];
}

} // namespace

SourceSettings::SourceSettings(SourceDefaults defaults, SettingsStore store)
    : defaults_(std::move(defaults)), store_(std::move(store)) {}

ChannelSource SourceSettings::Of(Category category) const {
    if (!IsSourceTab(category))
        return ChannelSource{};
    const std::optional<ChannelSource> stored =
        ChannelSource::Parse(Settings::ReadText(ValueOf(category), store_));
    return stored ? *stored : defaults_.Of(category);
}

bool SourceSettings::Set(Category category, const ChannelSource& source) {
    return IsSourceTab(category) && Settings::WriteText(ValueOf(category), source.ToText(), store_);
}

bool SourceSettings::Reset(Category category) {
    if (!IsSourceTab(category))
        return false;
    Settings::Delete(ValueOf(category), store_);
    return true;
}

QString SourceSettings::DirectoryServer() const {
    const QString stored = Settings::ReadText(Settings::DirectoryServer, store_).trimmed();
    return stored.isEmpty() ? defaults_.directoryServer : stored;
}

bool SourceSettings::SetDirectoryServer(const QString& address) {
    if (address.trimmed().isEmpty()) {
        Settings::Delete(Settings::DirectoryServer, store_);
        return true;
    }
    return Settings::WriteText(Settings::DirectoryServer, address.trimmed(), store_);
}

SourcesChoice SourceSettings::Choice() const {
    SourcesChoice choice;
    for (Category tab : kSourceTabs)
        choice.Of(tab) = Of(tab);
    const QString server = DirectoryServer();
    choice.directoryServer = server == defaults_.directoryServer ? QString() : server;
    return choice;
}

void SourceSettings::Store(const SourcesChoice& choice) {
    for (Category tab : kSourceTabs) {
        const ChannelSource& chosen = choice.Of(tab);
        if (chosen == defaults_.Of(tab))
            Reset(tab);
        else
            Set(tab, chosen);
    }
    const QString server = choice.directoryServer.trimmed();
    SetDirectoryServer(server == defaults_.directoryServer ? QString() : server);
}

bool SourceSettings::AnyTabUsesService() const {
    return !ServiceAddress().isEmpty();
}

QString SourceSettings::ServiceAddress() const {
    for (Category category : kSourceTabs) {
        const ChannelSource source = Of(category);
        if (source.kind == ChannelSource::Kind::Service)
            return source.address;
    }
    return QString();
}
