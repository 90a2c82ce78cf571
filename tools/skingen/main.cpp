// waveorbit-skingen: draws every skin picture and the application icon and
// writes them as PNG files, byte for byte the same on every run.
//
//   waveorbit-skingen --out <repository root>   resources/skin and resources/icons
//   waveorbit-skingen --sheet <file.png>        all pictures on grey, for looking at
//   waveorbit-skingen --mock <file.png>         the main window composed from the pieces
#include "SkinArt.h"

#include "skin/SkinInventory.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>

#include <cstdio>

namespace {

const int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", 0); // maximum compression; no time stamp is written
    return bytes;
}

// Writes only when the bytes differ, so an unchanged picture keeps its file.
bool WriteIfChanged(const QString& path, const QByteArray& bytes, int* written) {
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(path));
        return false;
    }
    ++*written;
    return true;
}

int WriteAll(const QString& root) {
    const QString skinDir = root + QStringLiteral("/resources/skin");
    const QString iconDir = root + QStringLiteral("/resources/icons");
    QStringList expected;
    int written = 0;
    bool ok = true;
    for (std::size_t i = 0; i < SkinPictureCount(); ++i) {
        const SkinPicture& pic = SkinPictures()[i];
        const QString base = skinDir + QLatin1Char('/') + QString::number(PictureNumber(pic.id));
        const struct {
            QString suffix;
            int scale;
            SkinArt::Look look;
            bool wanted;
        } files[] = {
            {QStringLiteral(".png"), 1, SkinArt::Look::Hover, true},
            {QStringLiteral("@2x.png"), 2, SkinArt::Look::Hover, true},
            {QStringLiteral("-pressed.png"), 1, SkinArt::Look::Pressed, pic.hasPressedLook},
            {QStringLiteral("-pressed@2x.png"), 2, SkinArt::Look::Pressed, pic.hasPressedLook},
        };
        for (const auto& f : files) {
            if (!f.wanted)
                continue;
            expected << QFileInfo(base + f.suffix).fileName();
            ok = WriteIfChanged(base + f.suffix,
                                Png(SkinArt::RenderPicture(PictureNumber(pic.id), f.scale, f.look)),
                                &written) &&
                 ok;
        }
    }
    // A picture dropped from the table must not linger in the resources.
    const QStringList present = QDir(skinDir).entryList({QStringLiteral("*.png")}, QDir::Files);
    for (const QString& name : present)
        if (!expected.contains(name))
            QFile::remove(skinDir + QLatin1Char('/') + name);

    ok = WriteIfChanged(iconDir + QStringLiteral("/128.png"), Png(SkinArt::RenderAppIcon(256)),
                        &written) &&
         ok;
    for (int n : kIconSizes)
        ok = WriteIfChanged(iconDir + QStringLiteral("/hicolor/%1x%1/waveorbit.png").arg(n),
                            Png(SkinArt::RenderAppIcon(n)), &written) &&
             ok;
    std::printf("skingen: %zu pictures, %d file(s) changed\n", SkinPictureCount(), written);
    return ok ? 0 : 1;
}

QImage Picture(int id, SkinArt::Look look = SkinArt::Look::Hover) {
    return SkinArt::RenderPicture(id, 1, look);
}

// All pictures on grey with their ids; small ones enlarged three times.
int WriteSheet(const QString& path) {
    const int width = 1500;
    QImage sheet(width, 2600, QImage::Format_RGB32);
    sheet.fill(QColor(128, 128, 128));
    QPainter p(&sheet);
    QFont label(QStringLiteral("NanumGothic"));
    label.setPixelSize(11);
    p.setFont(label);
    int x = 10, y = 10, rowHeight = 0;
    auto place = [&](const QImage& img, const QString& text) {
        QImage shown = img;
        if (shown.width() < 8) { // a tile: repeat it so it can be seen
            QImage t(40, shown.height(), QImage::Format_RGB32);
            QPainter tp(&t);
            for (int i = 0; i < 40; i += shown.width())
                tp.drawImage(i, 0, shown);
            tp.end();
            shown = t;
        }
        if (shown.height() < 8) {
            QImage t(shown.width(), 40, QImage::Format_RGB32);
            QPainter tp(&t);
            for (int i = 0; i < 40; i += shown.height())
                tp.drawImage(0, i, shown);
            tp.end();
            shown = t;
        }
        const int zoom = (shown.width() <= 120 && shown.height() <= 90) ? 3 : 1;
        const int w = shown.width() * zoom, h = shown.height() * zoom;
        if (x + w > width - 10) {
            x = 10;
            y += rowHeight + 22;
            rowHeight = 0;
        }
        p.drawImage(QRect(x, y, w, h), shown);
        p.setPen(Qt::black);
        p.drawText(x, y + h + 13, text);
        x += std::max(w, 40) + 14;
        rowHeight = std::max(rowHeight, h);
    };
    for (std::size_t i = 0; i < SkinPictureCount(); ++i) {
        const SkinPicture& pic = SkinPictures()[i];
        place(Picture(PictureNumber(pic.id)), QString::number(PictureNumber(pic.id)));
        if (pic.hasPressedLook)
            place(Picture(PictureNumber(pic.id), SkinArt::Look::Pressed),
                  QStringLiteral("%1 pr").arg(PictureNumber(pic.id)));
    }
    place(SkinArt::RenderAppIcon(64).convertToFormat(QImage::Format_RGB32), QStringLiteral("icon"));
    for (int n : {16, 32})
        place(SkinArt::RenderAppIcon(n), QStringLiteral("icon %1").arg(n));
    p.end();
    return sheet.copy(0, 0, width, y + rowHeight + 30).save(path) ? 0 : 1;
}

// The main window composed like the program does it: seven strips from the
// pieces and tiles, then the buttons on top.
QImage Mock(int W, int H, bool panelOpen, int volumeOffset, bool playing) {
    QImage win(W, H, QImage::Format_RGB32);
    win.fill(Qt::magenta); // any gap between pieces shows at once
    QPainter p(&win);
    const int L = 0, T = 0, R = W, B = H;
    const int V = panelOpen ? R - 441 : R - 17;
    const int P = V + 10;
    const int videoH = (B - 34) - (T + 29);
    // caption
    p.drawImage(0, 0, Picture(131));
    for (int x = L + 113; x <= R - 85; ++x)
        p.drawImage(x, 0, Picture(132));
    p.drawImage(R - 85, 0, Picture(133));
    QFont cap(QStringLiteral("NanumGothic"));
    cap.setPixelSize(11);
    cap.setBold(true);
    p.setFont(cap);
    p.setPen(Qt::white);
    p.drawText(QRect(L + 95, T + 12, (R - 94) - (L + 95), 13), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("소리크기 : 80%"));
    // left border, video area, divider, list panel, right border
    for (int y = 0; y < videoH; ++y) {
        p.drawImage(L, T + 29 + y, Picture(134));
        p.drawImage(V, T + 29 + y, Picture(136));
        p.drawImage(R - 7, T + 29 + y, Picture(140));
    }
    const int videoW = V - (L + 7);
    p.fillRect(L + 7, T + 29, videoW, videoH, Qt::black);
    p.drawImage(L + 7 + (V - L - 7) / 2 - 90, T + 29 + videoH / 2 - 37, Picture(135));
    if (R - 7 - P > 0) {
        QImage panel(R - 7 - P, H, QImage::Format_RGB32);
        panel.fill(Qt::magenta);
        QPainter q(&panel);
        q.drawImage(0, 0, Picture(137));
        for (int y = 89; y < B - T - 77; ++y)
            q.drawImage(0, y, Picture(138));
        q.drawImage(0, B - T - 77, Picture(139));
        q.drawImage(0, 7, Picture(playing ? 178 : 179));
        QFont st(QStringLiteral("NanumGothic"));
        st.setPixelSize(12);
        st.setBold(true);
        q.setFont(st);
        q.setPen(QColor(255, 204, 51));
        q.drawText(QRect(65, 9, 350, 15), Qt::AlignLeft | Qt::AlignTop,
                   playing ? QStringLiteral("KBS 1TV : 00:12:41")
                           : QStringLiteral("현재 방송을 시청중이지 않습니다."));
        q.end();
        p.drawImage(P, T + 29, panel, 0, 0, R - 7 - P, videoH);
    }
    // bottom bar
    QImage bottom(W, 34, QImage::Format_RGB32);
    bottom.fill(Qt::magenta);
    {
        QPainter q(&bottom);
        q.drawImage(0, 0, Picture(141));
        for (int x = L + 140; x <= R - 12; ++x)
            q.drawImage(x, 0, Picture(142));
        q.drawImage(R - 12, 0, Picture(143));
        q.drawImage(R - 74, 11, Picture(232), volumeOffset, 0, 50, 5);
    }
    p.drawImage(0, B - 34, bottom);
    // buttons
    p.drawImage(R - 93, T + 9, Picture(176));
    p.drawImage(R - 76, T + 9, Picture(149)); // hovered
    p.drawImage(R - 59, T + 9, Picture(146));
    p.drawImage(R - 42, T + 9, Picture(150));
    p.drawImage(R - 25, T + 9, Picture(144));
    const int mid = (B - T) / 2 - 35;
    p.drawImage(V, mid, Picture(panelOpen ? 154 : 152));
    if (panelOpen) {
        p.drawImage(V + 10, T + 58, Picture(169));
        p.drawImage(V + 111, T + 58, Picture(170));
        p.drawImage(V + 224, T + 58, Picture(172));
        p.drawImage(V + 329, T + 58, Picture(174));
        const int cats[][2] = {{22, 180}, {56, 183}, {92, 184}, {127, 186}, {174, 188}, {230, 190}};
        for (const auto& c : cats)
            p.drawImage(V + c[0], T + 94, Picture(c[1]));
        // a few rows of the list
        p.fillRect(QRect(QPoint(V + 16, T + 118), QPoint(R - 22 - 1, B - 48 - 1)), Qt::black);
        QFont lf(QStringLiteral("NanumGothic"));
        lf.setPixelSize(12);
        p.setFont(lf);
        const char* rows[][4] = {{"1", "KBS 1TV", "지상파", "연결성공"},
                                 {"2", "KBS 2TV", "지상파", "연결대기"},
                                 {"3", "MBC 서울", "지상파", "연결대기"},
                                 {"4", "SBS 서울", "지상파", "연결대기"},
                                 {"5", "EBS", "교육", "연결대기"}};
        int ry = T + 118;
        for (const auto& r : rows) {
            if (ry + 16 > B - 48)
                break;
            if (r[0][0] == '1')
                p.fillRect(V + 16, ry, R - 22 - V - 16, 16, QColor(40, 60, 120));
            p.setPen(QColor(255, 204, 51));
            const int xs[] = {0, 70, 241, 311};
            for (int c = 0; c < 4; ++c)
                p.drawText(QRect(V + 16 + xs[c] + 2, ry, 70 + (c == 1 ? 101 : 0), 16),
                           (c == 3 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter,
                           QString::fromUtf8(r[c]));
            ry += 16;
        }
    }
    p.drawImage(L + 7, B - 34, Picture(156));
    p.drawImage(L + 32, B - 34, Picture(159)); // hovered
    p.drawImage(L + 59, B - 34, Picture(160));
    p.drawImage(L + 85, B - 34, Picture(162));
    p.drawImage(R - 94, B - 27, Picture(164));
    return win;
}

int WriteMock(const QString& path) {
    const QImage open = Mock(836, 354, true, 10, false);
    const QImage closed = Mock(412, 354, false, 25, true);
    const QImage small = Mock(312, 279, false, 50, false);
    QImage all(836 + 20, 354 * 2 + 279 + 40, QImage::Format_RGB32);
    all.fill(QColor(128, 128, 128));
    QPainter p(&all);
    p.drawImage(10, 10, open);
    p.drawImage(10, 374, closed);
    p.drawImage(432, 374, small);
    p.end();
    open.save(QFileInfo(path).absolutePath() + QStringLiteral("/") +
              QFileInfo(path).completeBaseName() + QStringLiteral("-836.png"));
    return all.save(path) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    // Drawing needs no screen; the offscreen platform keeps the output the
    // same wherever the tool runs.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the WAVEORBIT skin pictures."));
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("Repository root to write resources/ into."),
                                 QStringLiteral("dir"));
    const QCommandLineOption sheet(QStringLiteral("sheet"),
                                   QStringLiteral("Write a contact sheet of all pictures."),
                                   QStringLiteral("png"));
    const QCommandLineOption mock(QStringLiteral("mock"),
                                  QStringLiteral("Write mocks of the composed main window."),
                                  QStringLiteral("png"));
    parser.addOptions({out, sheet, mock});
    parser.process(app);
    if (!parser.isSet(out) && !parser.isSet(sheet) && !parser.isSet(mock))
        parser.showHelp(2);

    QString error;
    if (!SkinArt::LoadFonts(&error)) {
        std::fprintf(stderr, "skingen: %s\n", qPrintable(error));
        return 1;
    }
    int status = 0;
    if (parser.isSet(out))
        status |= WriteAll(parser.value(out));
    if (parser.isSet(sheet))
        status |= WriteSheet(parser.value(sheet));
    if (parser.isSet(mock))
        status |= WriteMock(parser.value(mock));
    return status;
}
