#include "playback/GraphicsChoice.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using GraphicsChoice::Decide;
constexpr auto kAuto = VideoRendererRequest::Automatic;
constexpr auto kGpu = GraphicsMode::Gpu;
constexpr auto kSoftware = GraphicsMode::Software;

RenderNode Node(const char* driver, bool openable = true) {
    RenderNode node;
    node.name = QStringLiteral("renderD128");
    node.driver = QString::fromLatin1(driver);
    node.openable = openable;
    return node;
}

TEST(GraphicsChoice, DecidesFromTheRenderNodesThisProcessCanOpen) {
    struct Case {
        const char* what;
        QVector<RenderNode> nodes;
        GraphicsMode expected;
    };
    const Case cases[] = {
        {"no render node at all (Xvfb in a container)", {}, kSoftware},
        {"Intel", {Node("i915")}, kGpu},
        {"AMD", {Node("amdgpu")}, kGpu},
        {"NVIDIA's own driver", {Node("nvidia")}, kGpu},
        {"nouveau", {Node("nouveau")}, kGpu},
        {"a virtual test device only", {Node("vgem")}, kSoftware},
        {"a virtual display only", {Node("vkms")}, kSoftware},
        {"a server's display adaptor", {Node("ast")}, kSoftware},
        {"the host's GPU, hidden from this container", {Node("i915", false)}, kSoftware},
        {"a GPU beside a virtual device", {Node("vgem"), Node("amdgpu")}, kGpu},
        // Not knowable cheaply (virgl or not): kept on the GL path as before.
        {"virtio", {Node("virtio_gpu")}, kGpu},
        {"a driver without a name", {Node("")}, kGpu},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Decide(kAuto, c.nodes), c.expected) << c.what;
}

TEST(GraphicsChoice, TheUsersChoiceWins) {
    EXPECT_EQ(Decide(VideoRendererRequest::Software, {Node("i915")}), kSoftware);
    EXPECT_EQ(Decide(VideoRendererRequest::OpenGL, {}), kGpu);
    EXPECT_EQ(Decide(VideoRendererRequest::OpenGL, {Node("vgem")}), kGpu);
}

// A fake sysfs and /dev under a temporary root.
void AddNode(const QString& root, const QString& name, const QString& driver, bool inDev) {
    QDir dir(root);
    const QString device = QStringLiteral("sys/devices/pci0000:00/%1").arg(name);
    ASSERT_TRUE(dir.mkpath(device));
    ASSERT_TRUE(dir.mkpath(QStringLiteral("sys/bus/pci/drivers/") + driver));
    ASSERT_TRUE(dir.mkpath(QStringLiteral("sys/class/drm/") + name));
    ASSERT_TRUE(QFile::link(root + QStringLiteral("/sys/bus/pci/drivers/") + driver,
                            root + QLatin1Char('/') + device + QStringLiteral("/driver")));
    ASSERT_TRUE(QFile::link(root + QLatin1Char('/') + device,
                            root + QStringLiteral("/sys/class/drm/%1/device").arg(name)));
    if (inDev) {
        ASSERT_TRUE(dir.mkpath(QStringLiteral("dev/dri")));
        QFile node(root + QStringLiteral("/dev/dri/") + name);
        ASSERT_TRUE(node.open(QIODevice::WriteOnly));
    }
}

TEST(GraphicsChoice, ReadsEachNodesDriverAndWhetherItCanBeOpened) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    EXPECT_TRUE(GraphicsChoice::ReadRenderNodes(root.path()).isEmpty());

    AddNode(root.path(), QStringLiteral("renderD128"), QStringLiteral("vgem"), true);
    AddNode(root.path(), QStringLiteral("renderD129"), QStringLiteral("amdgpu"), false);
    // A display node without rendering is not a render node.
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("sys/class/drm/card0")));

    const QVector<RenderNode> nodes = GraphicsChoice::ReadRenderNodes(root.path());
    ASSERT_EQ(nodes.size(), 2);
    EXPECT_EQ(nodes[0].name, QStringLiteral("renderD128"));
    EXPECT_EQ(nodes[0].driver, QStringLiteral("vgem"));
    EXPECT_TRUE(nodes[0].openable);
    EXPECT_EQ(nodes[1].driver, QStringLiteral("amdgpu"));
    EXPECT_FALSE(nodes[1].openable);
    EXPECT_EQ(Decide(kAuto, nodes), kSoftware);
}

} // namespace
