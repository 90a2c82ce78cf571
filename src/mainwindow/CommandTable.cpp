#include "mainwindow/CommandTable.h"

void CommandTable::Add(std::initializer_list<CommandId> ids, Action run, State checked,
                       State enabled) {
    entries_.push_back(Entry{std::move(run), std::move(checked), std::move(enabled)});
    for (CommandId id : ids)
        byId_[id] = entries_.size() - 1;
}

const CommandTable::Entry* CommandTable::Find(CommandId id) const {
    const auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : &entries_[it->second];
}

bool CommandTable::Contains(CommandId id) const {
    return Find(id) != nullptr;
}

bool CommandTable::Run(CommandId id) const {
    const Entry* entry = Find(id);
    if (!entry || !entry->run || (entry->enabled && !entry->enabled()))
        return false;
    entry->run();
    return true;
}

bool CommandTable::IsEnabled(CommandId id) const {
    const Entry* entry = Find(id);
    return entry && (!entry->enabled || entry->enabled());
}

bool CommandTable::IsCheckable(CommandId id) const {
    const Entry* entry = Find(id);
    return entry && entry->checked;
}

bool CommandTable::IsChecked(CommandId id) const {
    const Entry* entry = Find(id);
    return entry && entry->checked && entry->checked();
}
