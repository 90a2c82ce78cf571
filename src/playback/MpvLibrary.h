#pragma once

#include <mpv/client.h>
#include <mpv/render.h>

#include <QString>

// libmpv's functions, loaded when the first address is played rather than
// linked into the program. libmpv brings some 180 shared libraries with it
// (FFmpeg's codecs and filters, their fonts, voices and image loaders) that
// hold over 30 MB resident: a start that plays nothing, or a session that
// only browses the lists, does without them.
struct MpvLibrary {
    decltype(&::mpv_client_api_version) client_api_version = nullptr;
    decltype(&::mpv_create) create = nullptr;
    decltype(&::mpv_initialize) initialize = nullptr;
    decltype(&::mpv_terminate_destroy) terminate_destroy = nullptr;
    decltype(&::mpv_set_option_string) set_option_string = nullptr;
    decltype(&::mpv_set_property_string) set_property_string = nullptr;
    decltype(&::mpv_set_property_async) set_property_async = nullptr;
    decltype(&::mpv_observe_property) observe_property = nullptr;
    decltype(&::mpv_command_async) command_async = nullptr;
    decltype(&::mpv_wait_event) wait_event = nullptr;
    decltype(&::mpv_set_wakeup_callback) set_wakeup_callback = nullptr;
    decltype(&::mpv_render_context_create) render_context_create = nullptr;
    decltype(&::mpv_render_context_set_update_callback) render_context_set_update_callback =
        nullptr;
    decltype(&::mpv_render_context_update) render_context_update = nullptr;
    decltype(&::mpv_render_context_render) render_context_render = nullptr;
    decltype(&::mpv_render_context_free) render_context_free = nullptr;

    // The loaded library, loaded on the first call (from any thread); null
    // when it cannot be loaded, lacks a function, or speaks another major
    // version of the API than the one this program was built against.
    static const MpvLibrary* Get();
    // Why Get() returned null; empty when it did not.
    static QString LoadError();
    // Whether the library is in the process already, without loading it.
    static bool IsLoaded();
};
