#pragma once

#include "playback/VideoRendererChoice.h"

#include <QString>

class GlVideoSurface;
class QWidget;
struct MpvLibrary;
struct mpv_handle;

// Finds and loads waveorbit_gl.so, the module of the OpenGL video surface,
// the first time a player draws with GL; the probe that decides whether it
// may, uses only Qt GUI's own GL classes and loads nothing.
namespace GlSurfaceModule {

// What this session offers for GL video; the test context is made once per
// process and only where a windowing platform could use it.
VideoRendererProbe Probe(VideoRendererRequest request);

// The surface as a hidden child of `parent`; null when the module cannot be
// loaded (LoadError says why).
GlVideoSurface* Create(const MpvLibrary* api, mpv_handle* mpv, QWidget* parent);

QString LoadError();

// Where the module is looked for: beside the program, then in the installed
// library folder.
QStringList CandidatePaths();

} // namespace GlSurfaceModule
