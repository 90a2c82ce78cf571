#pragma once

#include "app/ChannelTabs.h"
#include "catalogue/ChannelSource.h"
#include "catalogue/SourceTabs.h"

#include <QString>

#include <optional>

class SourceSettings;

// The checks the settings page makes before it stores a choice. Empty when
// the source may be stored, else the message to show (Korean).
QString SourceProblem(const ChannelSource& source);

// What keeps a choice from being stored: the tab at fault (none for the
// directory server) and the message, which names it. No message: none.
struct SourcesProblem {
    std::optional<Category> tab;
    QString message;

    bool Any() const { return !message.isEmpty(); }
};

// SourceProblem for every tab, in tab order, then the directory server.
SourcesProblem CheckSources(const SourcesChoice& choice);

// CheckSources, and when it passes, the choice is stored; otherwise nothing
// is stored and the problem is returned.
SourcesProblem ApplySources(SourceSettings& settings, const SourcesChoice& choice);
