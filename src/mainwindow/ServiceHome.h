#pragma once

#include <QString>

class ChannelLists;
class Launcher;
class Prompter;

// The service the tabs use, as the window shows it: its home page in the
// desktop's browser (the home-page button and command, the time-out
// question) and the music and movie pages, which follow that service.
class ServiceHome {
public:
    ServiceHome(const ChannelLists& sources, const Launcher& launcher, Prompter& prompter)
        : sources_(sources), launcher_(launcher), prompter_(prompter) {}

    // The home page of the service the tabs use; empty when none does.
    QString Address() const;
    // Opens it, or says that no tab uses a service.
    void Open() const;
    // A music or movie page of the service; empty when no tab uses one (the
    // panel then says what is missing).
    QString Page(const QString& buildTimeAddress) const;

private:
    const ChannelLists& sources_;
    const Launcher& launcher_;
    Prompter& prompter_;
};
