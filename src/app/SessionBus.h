#pragma once

// Connecting to a session bus that is not there may start one (autolaunch)
// and wait for it: callers talk only to a bus that is already running.
namespace SessionBus {

// True when the environment names a session bus or the user's runtime
// folder holds one's socket.
bool Expected();

} // namespace SessionBus
