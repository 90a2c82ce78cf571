#pragma once

#include "mainwindow/CommandId.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <vector>

// Every command of the window in one table: what it does and whether it is
// enabled and checked now. Menus, buttons, keys and OnCommand all run a
// command through here, so one control has one behaviour whichever way it
// is reached. Ids are the controls' and the menus' command numbers, whose
// ranges do not overlap.
class CommandTable {
public:
    using Action = std::function<void()>;
    using State = std::function<bool()>;

    // One command under each of the ids (a menu item and the button that
    // does the same). Without `checked` it carries no check mark; without
    // `enabled` it is always enabled. An id added again replaces the old one.
    void Add(std::initializer_list<CommandId> ids, Action run, State checked = nullptr,
             State enabled = nullptr);

    bool Contains(CommandId id) const;
    // Runs the command; false when there is none or it is disabled.
    bool Run(CommandId id) const;
    bool IsEnabled(CommandId id) const;
    bool IsCheckable(CommandId id) const;
    bool IsChecked(CommandId id) const;

private:
    struct Entry {
        Action run;
        State checked;
        State enabled;
    };
    const Entry* Find(CommandId id) const;

    std::vector<Entry> entries_;
    std::map<CommandId, size_t> byId_;
};
