#include "playback/GraphicsChoice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace GraphicsChoice {

DriverKind KindOf(const QString& driver) {
    // Render nodes of real GPUs, and of virtual GPUs backed by the host's
    // (VMware's SVGA with 3D).
    static const char* const kGpu[] = {
        "i915",   "xe",       "amdgpu", "radeon",  "nouveau",     "nvidia",  "nvidia-drm",
        "msm",    "panfrost", "lima",   "vc4",     "v3d",         "etnaviv", "tegra",
        "vmwgfx", "powervr",  "asahi",  "panthor", "imagination",
    };
    // Drivers with a render node but no 3D of their own: virtual test
    // devices and display-only adaptors whose GL Mesa would draw on the CPU.
    static const char* const kNoGpu[] = {
        "vgem",      "vkms",  "simpledrm", "udl",        "ast",       "mgag200",  "cirrus",
        "bochs-drm", "bochs", "qxl",       "hyperv_drm", "vboxvideo", "gm12u320", "gud",
    };
    const QString name = driver.trimmed();
    for (const char* gpu : kGpu)
        if (name == QLatin1String(gpu))
            return DriverKind::Gpu;
    for (const char* none : kNoGpu)
        if (name == QLatin1String(none))
            return DriverKind::NoGpu;
    // virtio_gpu draws with the host's GPU only when the host offers 3D,
    // which cannot be read cheaply; it stays Unknown with every other driver.
    return DriverKind::Unknown;
}

GraphicsMode Decide(VideoRendererRequest request, const QVector<RenderNode>& nodes) {
    if (request == VideoRendererRequest::Software)
        return GraphicsMode::Software;
    if (request == VideoRendererRequest::OpenGL)
        return GraphicsMode::Gpu;
    for (const RenderNode& node : nodes) {
        if (!node.openable)
            continue; // the host's node, not visible inside this container
        if (KindOf(node.driver) != DriverKind::NoGpu)
            return GraphicsMode::Gpu;
    }
    return GraphicsMode::Software;
}

QVector<RenderNode> ReadRenderNodes(const QString& sysRoot) {
    const QDir root(sysRoot);
    const QDir drm(root.filePath(QStringLiteral("sys/class/drm")));
    const QDir dri(root.filePath(QStringLiteral("dev/dri")));
    QVector<RenderNode> nodes;
    const QStringList names =
        drm.entryList({QStringLiteral("renderD*")}, QDir::AllEntries | QDir::System, QDir::Name);
    for (const QString& name : names) {
        RenderNode node;
        node.name = name;
        // .../renderD128/device/driver is a link to .../drivers/<name>.
        const QFileInfo driver(drm.filePath(name + QStringLiteral("/device/driver")));
        const QString target = driver.symLinkTarget();
        node.driver = target.isEmpty() ? QString() : QFileInfo(target).fileName();
        node.openable = QFileInfo::exists(dri.filePath(name));
        nodes.append(node);
    }
    return nodes;
}

GraphicsMode DecideForThisMachine() {
    return Decide(VideoRendererChoice::RequestFromEnvironment(), ReadRenderNodes());
}

void Apply(GraphicsMode mode) {
    if (mode == GraphicsMode::Gpu) {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        return;
    }
    // Without shared contexts the web module sets its engine to composit in
    // software, and the player draws in software without a GL context to
    // test. Nothing draws with GL then, so the X11 platform is told not to
    // load and probe its GL integration either (a third of the time to the
    // first window on a machine without a GPU). A value the user set stays.
    if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
}

} // namespace GraphicsChoice
