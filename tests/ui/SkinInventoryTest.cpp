// The compiled-in skin: every picture of the inventory is present at exactly
// its size, and the pictures that carry state really look different.
#include "skin/SkinInventory.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// The art checks below go by resource number.
PictureId Id(int number) {
    return static_cast<PictureId>(number);
}

QImage Load(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

struct Average {
    double r = 0, g = 0, b = 0;
    double Brightness() const { return (r + g + b) / 3; }
    // how far towards orange: red well above blue
    double Warmth() const { return r - b; }
};

Average Mean(const QImage& image) {
    Average a;
    const double n = double(image.width()) * image.height();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            a.r += qRed(c) / n;
            a.g += qGreen(c) / n;
            a.b += qBlue(c) / n;
        }
    return a;
}

int DifferingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

TEST(SkinInventoryTest, EveryPictureLoadsFromTheResourcesAtItsSize) {
    ASSERT_GT(SkinPictureCount(), 90u);
    for (std::size_t i = 0; i < SkinPictureCount(); ++i) {
        const SkinPicture& pic = SkinPictures()[i];
        SCOPED_TRACE(PictureNumber(pic.id));
        EXPECT_EQ(FindSkinPicture(pic.id), &pic);

        const QPixmap pixmap(SkinPath(pic.id));
        ASSERT_FALSE(pixmap.isNull()) << qPrintable(SkinPath(pic.id));
        EXPECT_EQ(pixmap.width(), pic.width);
        EXPECT_EQ(pixmap.height(), pic.height);

        const QImage twice(SkinPath2x(pic.id));
        EXPECT_EQ(twice.size(), QSize(pic.width * 2, pic.height * 2));

        if (pic.hasPressedLook) {
            EXPECT_NE(SkinPressedPath(pic.id), SkinPath(pic.id));
            EXPECT_EQ(QImage(SkinPressedPath(pic.id)).size(), QSize(pic.width, pic.height));
        } else {
            EXPECT_EQ(SkinPressedPath(pic.id), SkinPath(pic.id));
        }
    }
}

TEST(SkinInventoryTest, LookUpOfIdsOutsideTheSkin) {
    EXPECT_EQ(FindSkinPicture(130), nullptr); // not a picture of the skin
    EXPECT_EQ(FindSkinPicture(0), nullptr);
    EXPECT_EQ(FindSkinPicture(236), nullptr);
    EXPECT_EQ(SkinPath(PictureId::CaptionLeft), QStringLiteral(":/skin/131.png"));
    EXPECT_TRUE(QImage(SkinPath(Id(130))).isNull());
}

TEST(SkinInventoryTest, DoubleResolutionPicturesDrawAtTheirLogicalSize) {
    const QPixmap plain(SkinPathForRatio(PictureId::BottomLeft, 1.0));
    const QPixmap sharp(SkinPathForRatio(PictureId::BottomLeft, 2.0));
    EXPECT_EQ(plain.devicePixelRatio(), 1.0);
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(140, 34));
    // From 1.5 on the sharp pictures; below, the plain ones scaled up look better.
    EXPECT_EQ(SkinPathForRatio(PictureId::BottomLeft, 1.5), SkinPath2x(PictureId::BottomLeft));
    EXPECT_EQ(SkinPathForRatio(PictureId::BottomLeft, 1.25), SkinPath(PictureId::BottomLeft));
    for (double ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
        SCOPED_TRACE(ratio);
        const QPixmap pixmap = LoadSkinPixmap(PictureId::BottomLeft, ratio);
        const QImage image = LoadSkinImage(PictureId::BottomLeft, ratio);
        EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(140, 34));
        EXPECT_EQ(image.deviceIndependentSize(), QSizeF(140, 34));
        EXPECT_EQ(pixmap.devicePixelRatio(), ratio >= 1.5 ? 2.0 : 1.0);
    }
}

TEST(SkinInventoryTest, SizesThatTheLayoutDependsOn) {
    // a few sizes the layout offsets are built on, checked against the table
    const struct {
        int id, w, h;
    } expected[] = {{131, 113, 29},  {133, 85, 29},   {135, 174, 58},  {137, 424, 89},
                    {139, 424, 14},  {141, 140, 34},  {143, 12, 34},   {144, 15, 15},
                    {152, 9, 70},    {178, 61, 15},   {232, 100, 5},   {129, 585, 358},
                    {209, 380, 200}, {215, 332, 200}, {220, 400, 300}, {231, 400, 300},
                    {235, 380, 200}, {218, 21, 20},   {223, 75, 30}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.id);
        const SkinPicture* pic = FindSkinPicture(Id(e.id));
        ASSERT_NE(pic, nullptr);
        EXPECT_EQ(QSize(pic->width, pic->height), QSize(e.w, e.h));
    }
}

TEST(SkinInventoryTest, ApplicationIconLoadsInEverySize) {
    const QImage big(AppIconPath());
    ASSERT_FALSE(big.isNull());
    EXPECT_EQ(big.size(), QSize(256, 256));
    EXPECT_TRUE(big.hasAlphaChannel());
    for (int n : {16, 22, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(QImage(AppIconPath(n)).size(), QSize(n, n));
    }
    EXPECT_FALSE(QIcon(AppIconPath()).isNull());
}

TEST(SkinInventoryTest, LitLampIsBrighterAndMoreOrangeThanUnlit) {
    const Average lit = Mean(Load(SkinPath(Id(178))));
    const Average unlit = Mean(Load(SkinPath(Id(179))));
    EXPECT_GT(lit.Brightness(), unlit.Brightness() + 10);
    EXPECT_GT(lit.Warmth(), unlit.Warmth() + 20);
    EXPECT_GT(lit.r, lit.g);
    EXPECT_GT(lit.g, lit.b);
    // the unlit lamp is grey: no channel stands out
    EXPECT_LT(unlit.Warmth(), 8);
}

TEST(SkinInventoryTest, ButtonStatesDiffer) {
    // normal / hovered / pressed of every button with its own hover picture
    const int pairs[][2] = {{144, 145}, {146, 147}, {148, 149}, {150, 151}, {176, 177}, {152, 153},
                            {154, 155}, {156, 157}, {158, 159}, {160, 161}, {162, 163}, {164, 166},
                            {165, 167}, {180, 181}, {190, 191}, {192, 193}, {204, 205}, {210, 211},
                            {212, 213}, {216, 217}, {218, 219}};
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair[0]);
        const QImage normal = Load(SkinPath(Id(pair[0])));
        const QImage hover = Load(SkinPath(Id(pair[1])));
        const QImage pressed = Load(SkinPressedPath(Id(pair[1])));
        const int area = normal.width() * normal.height();
        EXPECT_GT(DifferingPixels(normal, hover), area / 20);
        EXPECT_GT(DifferingPixels(hover, pressed), area / 20);
        EXPECT_GT(DifferingPixels(normal, pressed), area / 20);
        // hovered is lit up, pressed sinks below it
        EXPECT_GT(Mean(hover).Brightness(), Mean(pressed).Brightness());
    }
}

TEST(SkinInventoryTest, TabsShowTheirCurrentStateAndDistinctCaptions) {
    // main tabs and settings page buttons: the current picture stands out
    for (int id : {168, 170, 172, 174, 223, 225, 227}) {
        SCOPED_TRACE(id);
        const Average plain = Mean(Load(SkinPath(Id(id))));
        const Average current = Mean(Load(SkinPath(Id(id + 1))));
        EXPECT_GT(current.Warmth(), plain.Warmth() + 10);
    }
    // pictures of the same size carry different captions
    QSet<QByteArray> seen;
    for (int id : {202, 204, 188, 190, 168, 169}) {
        const QImage image = Load(SkinPath(Id(id)));
        const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()),
                               static_cast<int>(image.sizeInBytes()));
        EXPECT_FALSE(seen.contains(bytes)) << id;
        seen.insert(bytes);
    }
}

TEST(SkinInventoryTest, PiecesMeetTheirTilesWithoutASeam) {
    // The caption and bottom bar are composed of piece + 1-pixel tile + piece:
    // the tile must continue the pieces' edge columns row by row, or a seam
    // shows wherever the window is resized.
    const struct { int left, tile, right; } bars[] = {{131, 132, 133}, {141, 142, 143}};
    for (const auto& bar : bars) {
        SCOPED_TRACE(bar.tile);
        const QImage left = Load(SkinPath(Id(bar.left)));
        const QImage tile = Load(SkinPath(Id(bar.tile)));
        const QImage right = Load(SkinPath(Id(bar.right)));
        for (int y = 0; y < tile.height(); ++y) {
            EXPECT_EQ(left.pixel(left.width() - 1, y), tile.pixel(0, y)) << "row " << y;
            EXPECT_EQ(right.pixel(0, y), tile.pixel(0, y)) << "row " << y;
        }
    }
    // the list panel's pieces share their outer columns with the tile
    const QImage top = Load(SkinPath(Id(137)));
    const QImage tile = Load(SkinPath(Id(138)));
    const QImage bottom = Load(SkinPath(Id(139)));
    for (int x : {0, 4, 420, 423}) {
        EXPECT_EQ(top.pixel(x, top.height() - 1), tile.pixel(x, 0)) << x;
        EXPECT_EQ(bottom.pixel(x, 1), tile.pixel(x, 0)) << x;
    }
    // the logo sits on the black video area
    const QImage logo = Load(SkinPath(Id(135)));
    for (const QPoint corner : {QPoint(0, 0), QPoint(173, 0), QPoint(0, 57), QPoint(173, 57)})
        EXPECT_EQ(logo.pixel(corner), qRgb(0, 0, 0));
}

TEST(SkinInventoryTest, VolumeBarIsFilledOnTheLeftAndEmptyOnTheRight) {
    const QImage bar = Load(SkinPath(Id(232)));
    const Average filled = Mean(bar.copy(0, 0, 50, 5));
    const Average empty = Mean(bar.copy(50, 0, 50, 5));
    EXPECT_GT(filled.Brightness(), empty.Brightness() + 80);
    // each half is uniform along x, so any 50-pixel window reads as a level
    for (int y = 0; y < 5; ++y) {
        EXPECT_EQ(bar.pixel(0, y), bar.pixel(49, y));
        EXPECT_EQ(bar.pixel(50, y), bar.pixel(99, y));
    }
}

} // namespace
