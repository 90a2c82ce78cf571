#pragma once

#include "app/ChannelTabs.h"
#include "app/SettingsStore.h"
#include "catalogue/ChannelSource.h"
#include "catalogue/SourceTabs.h"

#include <QString>

// Reading and writing the choice of a tab through the settings table.
class SourceSettings {
public:
    explicit SourceSettings(SourceDefaults defaults = SourceDefaults::OfThisBuild(),
                            SettingsStore store = SettingsStore());

    // The stored choice, or the default for a missing or unreadable value.
    ChannelSource Of(Category category) const;
    bool Set(Category category, const ChannelSource& source);
    // Puts the default back: the stored value is removed.
    bool Reset(Category category);
    QString DirectoryServer() const;
    bool SetDirectoryServer(const QString& address); // empty removes it

    // Every tab's stored choice (the server empty where it is the default).
    SourcesChoice Choice() const;
    // Stores every tab and the server; a tab or server at its default keeps
    // following the build's default (its stored value is removed).
    void Store(const SourcesChoice& choice);

    // True when at least one tab takes its channels from the service.
    bool AnyTabUsesService() const;
    // The address of the first tab that uses the service (empty when none).
    QString ServiceAddress() const;

    const SourceDefaults& Defaults() const { return defaults_; }

private:
    SourceDefaults defaults_;
    SettingsStore store_;
};
