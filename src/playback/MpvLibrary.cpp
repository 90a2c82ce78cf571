#include "playback/MpvLibrary.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

namespace {

struct Loaded {
    MpvLibrary functions;
    bool ok = false;
    QString error;
};

Loaded& State() {
    static Loaded state;
    return state;
}

std::once_flag& Once() {
    static std::once_flag once;
    return once;
}

// The library's file: its name carries the API's major version, the part
// that changes only with incompatible changes.
std::string FileName() {
    return "libmpv.so." + std::to_string(MPV_CLIENT_API_VERSION >> 16);
}

template <typename Function>
bool Resolve(void* library, const char* name, Function& function, QString& error) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (function == nullptr)
        error = QStringLiteral("libmpv has no %1").arg(QLatin1String(name));
    return function != nullptr;
}

void Load(Loaded& state) {
    const std::string file = FileName();
    // Kept loaded for the life of the process: mpv's threads may outlive any
    // one player, and unloading FFmpeg is not supported.
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (library == nullptr) {
        const char* reason = dlerror();
        state.error = QString::fromLocal8Bit(reason != nullptr ? reason : file.c_str());
        return;
    }
    MpvLibrary& f = state.functions;
    QString& error = state.error;
    const bool resolved =
        Resolve(library, "mpv_client_api_version", f.client_api_version, error) &&
        Resolve(library, "mpv_create", f.create, error) &&
        Resolve(library, "mpv_initialize", f.initialize, error) &&
        Resolve(library, "mpv_terminate_destroy", f.terminate_destroy, error) &&
        Resolve(library, "mpv_set_option_string", f.set_option_string, error) &&
        Resolve(library, "mpv_set_property_string", f.set_property_string, error) &&
        Resolve(library, "mpv_set_property_async", f.set_property_async, error) &&
        Resolve(library, "mpv_observe_property", f.observe_property, error) &&
        Resolve(library, "mpv_command_async", f.command_async, error) &&
        Resolve(library, "mpv_wait_event", f.wait_event, error) &&
        Resolve(library, "mpv_set_wakeup_callback", f.set_wakeup_callback, error) &&
        Resolve(library, "mpv_render_context_create", f.render_context_create, error) &&
        Resolve(library, "mpv_render_context_set_update_callback",
                f.render_context_set_update_callback, error) &&
        Resolve(library, "mpv_render_context_update", f.render_context_update, error) &&
        Resolve(library, "mpv_render_context_render", f.render_context_render, error) &&
        Resolve(library, "mpv_render_context_free", f.render_context_free, error);
    if (!resolved)
        return;
    const unsigned long version = f.client_api_version();
    if ((version >> 16) != (MPV_CLIENT_API_VERSION >> 16)) {
        error = QStringLiteral("libmpv speaks API %1.%2, this program needs %3.x")
                    .arg(version >> 16)
                    .arg(version & 0xffff)
                    .arg(MPV_CLIENT_API_VERSION >> 16);
        return;
    }
    state.ok = true;
}

} // namespace

const MpvLibrary* MpvLibrary::Get() {
    Loaded& state = State();
    std::call_once(Once(), [&state] { Load(state); });
    return state.ok ? &state.functions : nullptr;
}

QString MpvLibrary::LoadError() {
    Get();
    return State().error;
}

bool MpvLibrary::IsLoaded() {
    const std::string file = FileName();
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (library != nullptr)
        dlclose(library); // only drops the count RTLD_NOLOAD took
    return library != nullptr;
}
