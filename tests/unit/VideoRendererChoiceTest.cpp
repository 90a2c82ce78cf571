#include "playback/VideoRendererChoice.h"

#include <gtest/gtest.h>

namespace {

VideoRendererProbe Session(const char* platform, const char* renderer, bool shared = true) {
    VideoRendererProbe probe;
    probe.platform = QString::fromLatin1(platform);
    probe.glRenderer = QString::fromLatin1(renderer);
    probe.sharedContexts = shared;
    return probe;
}

constexpr auto kAuto = VideoRendererRequest::Automatic;
constexpr auto kSoftware = VideoRenderer::Software;
constexpr auto kOpenGl = VideoRenderer::OpenGL;

TEST(VideoRendererChoice, AutomaticUsesGlOnlyOnARealGpu) {
    using VideoRendererChoice::Choose;
    EXPECT_EQ(Choose(kAuto, Session("xcb", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)")), kOpenGl);
    EXPECT_EQ(Choose(kAuto, Session("wayland", "AMD Radeon RX 6600 (navi23, LLVM 15.0.6)")),
              kOpenGl); // "LLVM" in a GPU's name is its shader compiler, not llvmpipe
    EXPECT_EQ(Choose(kAuto, Session("xcb", "NVIDIA GeForce GTX 1060/PCIe/SSE2")), kOpenGl);
    EXPECT_EQ(Choose(kAuto, Session("xcb", "llvmpipe (LLVM 15.0.6, 256 bits)")), kSoftware);
    EXPECT_EQ(Choose(kAuto, Session("xcb", "softpipe")), kSoftware);
    EXPECT_EQ(Choose(kAuto, Session("xcb", "Software Rasterizer")), kSoftware);
    EXPECT_EQ(Choose(kAuto, Session("wayland", "D3D12 (Microsoft Basic Render Driver)")),
              kSoftware);
    EXPECT_EQ(Choose(kAuto, Session("xcb", "Google SwiftShader")), kSoftware);
}

TEST(VideoRendererChoice, SoftwareWhereGlCannotShowInTheWindow) {
    using VideoRendererChoice::Choose;
    const char* gpu = "Mesa Intel(R) Xe Graphics (TGL GT2)";
    for (auto request : {kAuto, VideoRendererRequest::OpenGL}) {
        EXPECT_EQ(Choose(request, Session("offscreen", gpu)), kSoftware);
        EXPECT_EQ(Choose(request, Session("minimal", gpu)), kSoftware);
        EXPECT_EQ(Choose(request, Session("vnc", gpu)), kSoftware);
        EXPECT_EQ(Choose(request, Session("xcb", "")), kSoftware);   // no context could be made
        EXPECT_EQ(Choose(request, Session("xcb", "  ")), kSoftware); // nor a usable name
        EXPECT_EQ(Choose(request, Session("xcb", gpu, false)), kSoftware); // contexts not shared
    }
}

TEST(VideoRendererChoice, TheUsersRequestWinsWhereItCanWork) {
    using VideoRendererChoice::Choose;
    EXPECT_EQ(Choose(VideoRendererRequest::Software, Session("xcb", "NVIDIA GeForce RTX 3070")),
              kSoftware);
    EXPECT_EQ(Choose(VideoRendererRequest::OpenGL, Session("xcb", "llvmpipe (LLVM 15.0.6)")),
              kOpenGl);

    using VideoRendererChoice::ParseRequest;
    EXPECT_EQ(ParseRequest(QStringLiteral("software")), VideoRendererRequest::Software);
    EXPECT_EQ(ParseRequest(QStringLiteral(" SW ")), VideoRendererRequest::Software);
    EXPECT_EQ(ParseRequest(QStringLiteral("OpenGL")), VideoRendererRequest::OpenGL);
    EXPECT_EQ(ParseRequest(QStringLiteral("gl")), VideoRendererRequest::OpenGL);
    EXPECT_EQ(ParseRequest(QStringLiteral("auto")), kAuto);
    EXPECT_EQ(ParseRequest(QString()), kAuto);
    EXPECT_EQ(ParseRequest(QStringLiteral("vulkan")), kAuto); // unknown: left to the machine
}

TEST(VideoRendererChoice, HardwareDecodingOnlyWithGl) {
    EXPECT_STREQ(VideoRendererChoice::HardwareDecoding(kOpenGl), "auto-safe");
    EXPECT_STREQ(VideoRendererChoice::HardwareDecoding(kSoftware), "no");
}

} // namespace
