#pragma once

#include "playback/VideoRendererChoice.h"

#include <QString>
#include <QVector>

// Whether this machine draws with a graphics processor, decided before the
// application object exists from facts that cost nothing to read: the DRM
// render nodes the process can open and the kernel driver behind each.
// Without a GPU the program never brings in an OpenGL stack at start (Mesa's
// CPU rasterizer and LLVM, some 57 MB and a third of the start-up time): the
// picture is drawn by mpv's software renderer and the web tabs' engine
// composits its pages in software.

// A render node as the kernel lists it (/sys/class/drm/renderD<n>).
struct RenderNode {
    QString name;          // "renderD128"
    QString driver;        // kernel driver of its device ("i915", "vgem", ...); empty if unknown
    bool openable = false; // its /dev/dri/<name> exists in this process's view
};

enum class GraphicsMode {
    Gpu,      // shared GL contexts from the start; the picture and the web tabs may use GL
    Software, // no GL at start: software picture, software-composited web tabs
};

namespace GraphicsChoice {

enum class DriverKind { Gpu, NoGpu, Unknown };

// What a kernel DRM driver says about 3D: the drivers of real graphics
// processors (and of virtual ones that pass the host's through) are Gpu;
// display-only, virtual test and software drivers are NoGpu; anything else
// is Unknown.
DriverKind KindOf(const QString& driver);

// The user's WAVEORBIT_VIDEO wins (software: no GL; opengl: GL as on a GPU);
// otherwise a GPU where any openable render node belongs to one, and also
// where a node's driver is not known (keeping the GL path there as before);
// software where there is no openable node or only ones without 3D.
GraphicsMode Decide(VideoRendererRequest request, const QVector<RenderNode>& nodes);

// The render nodes under <sysRoot>/sys/class/drm and <sysRoot>/dev/dri
// (sysRoot is "/" except in tests).
QVector<RenderNode> ReadRenderNodes(const QString& sysRoot = QStringLiteral("/"));

// Reads the facts and decides; cheap enough for every start.
GraphicsMode DecideForThisMachine();

// Puts the decision into effect; must run before the application object is
// created. Gpu: Qt::AA_ShareOpenGLContexts (the web engine wants contexts
// shared from the start). Software: no GL integration on X11
// (QT_XCB_GL_INTEGRATION=none unless set), which the player (no GL test
// context) and the web module (Qt Quick's software scene graph) follow.
void Apply(GraphicsMode mode);

} // namespace GraphicsChoice
