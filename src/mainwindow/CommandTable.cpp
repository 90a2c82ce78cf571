#include "mainwindow/CommandTable.h"

void CommandTable::Add(std::initializer_list<int> ids, Action run, State checked, State enabled) {
    entries_.push_back(Entry{std::move(run), std::move(checked), std::move(enabled)});
    for (int id : ids)
        byId_[id] = entries_.size() - 1;
}

const CommandTable::Entry* CommandTable::Find(int id) const {
    const auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : &entries_[it->second];
}

bool CommandTable::Contains(int id) const {
    return Find(id) != nullptr;
}

bool CommandTable::Run(int id) const {
    const Entry* entry = Find(id);
    if (!entry || !entry->run || (entry->enabled && !entry->enabled()))
        return false;
    entry->run();
    return true;
}

bool CommandTable::IsEnabled(int id) const {
    const Entry* entry = Find(id);
    return entry && (!entry->enabled || entry->enabled());
}

bool CommandTable::IsCheckable(int id) const {
    const Entry* entry = Find(id);
    return entry && entry->checked;
}

bool CommandTable::IsChecked(int id) const {
    const Entry* entry = Find(id);
    return entry && entry->checked && entry->checked();
}
