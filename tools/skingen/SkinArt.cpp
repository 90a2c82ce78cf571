#include "SkinArt.h"

#include "skin/SkinInventory.h"

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace SkinArt {
namespace {

// ---------------------------------------------------------------- palette

const QColor kGold(255, 204, 51);       // list and status text
const QColor kDialogGold(255, 205, 51); // the dialogs' control text
const QColor kPanel(20, 20, 22);        // list panel behind the status and main tabs
const QColor kSubPanel(26, 26, 29);     // list panel page under the main tabs
const QColor kBody(22, 22, 24);         // dialog body
const QColor kOutline(0, 0, 0);
const QColor kBevelLight(85, 85, 92);
const QColor kBevelDark(10, 10, 11);
const QColor kWellDark(5, 5, 6);
const QColor kWellLight(60, 60, 66);

QColor Mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QColor WithAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

void Fill(QPainter& p, double x, double y, double w, double h, const QColor& c) {
    p.fillRect(QRectF(x, y, w, h), c);
}

// The caption bar, 29 rows: outline, bevel light, a soft charcoal gradient,
// and a dark line where the video area and the panel begin.
QColor CaptionRow(int y) {
    if (y <= 0)
        return kOutline;
    if (y == 1)
        return kBevelLight;
    if (y >= 28)
        return QColor(6, 6, 7);
    if (y == 27)
        return QColor(16, 16, 18);
    return Mix(QColor(54, 54, 60), QColor(25, 25, 28), (y - 2) / 24.0);
}

// The bottom bar, 34 rows, the caption's counterpart.
QColor BottomRow(int y) {
    if (y <= 0)
        return QColor(6, 6, 7);
    if (y == 1)
        return QColor(74, 74, 80);
    if (y >= 33)
        return kOutline;
    if (y == 32)
        return QColor(14, 14, 15);
    return Mix(QColor(48, 48, 53), QColor(21, 21, 23), (y - 2) / 29.0);
}

// The status display at the top of the list panel (panel strip rows).
QColor PanelRow(int y) {
    if (y == 0)
        return QColor(29, 29, 32);
    if (y == 3)
        return QColor(2, 2, 3);
    if (y >= 4 && y <= 25)
        return Mix(QColor(13, 13, 15), QColor(6, 6, 7), (y - 4) / 21.0);
    if (y == 26)
        return QColor(52, 52, 58);
    if (y == 59)
        return QColor(138, 106, 30); // gold baseline under the main tabs
    if (y >= 60)
        return kSubPanel;
    return kPanel;
}

// Columns of the left border, the divider and the right border.
const QColor kLeftBorder[7] = {kOutline,           kBevelLight,        QColor(46, 46, 51),
                               QColor(38, 38, 42), QColor(32, 32, 36), QColor(18, 18, 20),
                               kWellDark};
const QColor kRightBorder[7] = {QColor(8, 8, 9),
                                QColor(20, 20, 22),
                                QColor(30, 30, 34),
                                QColor(36, 36, 40),
                                QColor(34, 34, 38),
                                QColor(18, 18, 20),
                                kOutline};
const QColor kDivider[10] = {kWellDark,          QColor(14, 14, 16), QColor(44, 44, 49),
                             QColor(56, 56, 62), QColor(44, 44, 49), QColor(36, 36, 40),
                             QColor(28, 28, 31), QColor(18, 18, 20), QColor(10, 10, 11),
                             QColor(16, 16, 18)};

void CaptionBackground(QPainter& p, double w, int firstRow, int rows) {
    for (int y = 0; y < rows; ++y)
        Fill(p, 0, y, w, 1, CaptionRow(firstRow + y));
}

void BottomBackground(QPainter& p, double w, int firstRow, int rows) {
    for (int y = 0; y < rows; ++y)
        Fill(p, 0, y, w, 1, BottomRow(firstRow + y));
}

void PanelBackground(QPainter& p, double w, int firstRow, int rows) {
    for (int y = 0; y < rows; ++y)
        Fill(p, 0, y, w, 1, PanelRow(firstRow + y));
}

// ---------------------------------------------------------------- text

QFont Font(const char* family, double pixels, bool bold) {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(static_cast<int>(std::lround(pixels)));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoFontMerging));
    return f;
}

QFont Gothic(double pixels, bool bold = false) {
    return Font("NanumGothic", pixels, bold);
}
QFont Square(double pixels, bool bold = true) {
    return Font("NanumSquare", pixels, bold);
}

// Text with an optional soft glow and a dark drop shadow, so it reads on
// gradients. `box` aligns like QPainter::drawText.
void GlowText(QPainter& p, const QRectF& box, int flags, const QString& text, const QFont& font,
              const QColor& color, const QColor& glow = QColor(), bool shadow = true) {
    p.save();
    p.setFont(font);
    if (shadow) {
        p.setPen(WithAlpha(Qt::black, 200));
        p.drawText(box.translated(1, 1), flags, text);
    }
    if (glow.isValid()) {
        p.setPen(WithAlpha(glow, 70));
        for (const QPointF d : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)})
            p.drawText(box.translated(d), flags, text);
    }
    p.setPen(color);
    p.drawText(box, flags, text);
    p.restore();
}

// ---------------------------------------------------------------- shapes

QPainterPath RoundRect(const QRectF& r, double radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

// A tab: rounded at the top, open at the bottom.
QPainterPath TabShape(const QRectF& r, double radius) {
    QPainterPath path;
    path.moveTo(r.left(), r.bottom());
    path.lineTo(r.left(), r.top() + radius);
    path.quadTo(r.left(), r.top(), r.left() + radius, r.top());
    path.lineTo(r.right() - radius, r.top());
    path.quadTo(r.right(), r.top(), r.right(), r.top() + radius);
    path.lineTo(r.right(), r.bottom());
    return path;
}

QLinearGradient Vertical(double top, double bottom, const QColor& a, const QColor& b) {
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

// The emblem: a glowing planet with a tilted orbit ring.
void DrawEmblem(QPainter& p, QPointF c, double r, bool dim = false) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double ringW = std::max(0.9, r * 0.17);
    QTransform ring;
    ring.translate(c.x(), c.y());
    ring.rotate(-22);
    QPainterPath ellipse;
    ellipse.addEllipse(QPointF(0, 0), r * 1.85, r * 0.58);
    const QPainterPath orbit = ring.map(ellipse);

    // back half of the ring, behind the planet
    p.setPen(QPen(dim ? QColor(110, 86, 30) : QColor(150, 108, 28), ringW));
    p.setBrush(Qt::NoBrush);
    p.drawPath(orbit);

    QRadialGradient body(c + QPointF(-r * 0.35, -r * 0.4), r * 1.35);
    body.setColorAt(0, dim ? QColor(220, 200, 150) : QColor(255, 243, 190));
    body.setColorAt(0.35, dim ? QColor(200, 150, 60) : QColor(255, 176, 32));
    body.setColorAt(0.8, dim ? QColor(130, 70, 20) : QColor(196, 84, 0));
    body.setColorAt(1, QColor(70, 30, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(c, r, r);

    // front half of the ring over the planet: clip to the lower half in ring space
    QPainterPath lower;
    lower.addRect(QRectF(-r * 3, 0, r * 6, r * 3));
    p.setClipPath(ring.map(lower));
    p.setPen(QPen(dim ? QColor(200, 170, 100) : QColor(255, 226, 130), ringW));
    p.setBrush(Qt::NoBrush);
    p.drawPath(orbit);
    p.setClipping(false);
    // a small moon on the ring
    const QPointF moon = ring.map(QPointF(r * 1.85 * std::cos(2.3), r * 0.58 * std::sin(2.3)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 246, 214));
    p.drawEllipse(moon, ringW * 1.1, ringW * 1.1);
    p.restore();
}

// "WAVE" in silver, "ORBIT" in gold, baseline at `base`. One run of text,
// so the pair kerns like a single word; the colours are split by a clip.
void DrawName(QPainter& p, QPointF base, double pixels, bool shadow = true) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QFont f = Square(pixels);
    const QFontMetricsF fm(f);
    QPainterPath name;
    name.addText(base, f, QStringLiteral("WAVEORBIT"));
    const double split = base.x() + fm.horizontalAdvance(QStringLiteral("WAVE"));
    const double top = base.y() - fm.ascent();
    const QRectF bounds = name.boundingRect().adjusted(-2, -2, 2, 2);
    if (shadow) {
        p.setPen(Qt::NoPen);
        p.setBrush(WithAlpha(Qt::black, 210));
        p.drawPath(name.translated(1, 1));
    }
    p.setPen(Qt::NoPen);
    p.setClipRect(QRectF(bounds.left(), bounds.top(), split - bounds.left(), bounds.height()));
    p.setBrush(Vertical(top, base.y(), QColor(250, 250, 252), QColor(150, 152, 160)));
    p.drawPath(name);
    p.setClipRect(QRectF(split, bounds.top(), bounds.right() - split, bounds.height()));
    p.setBrush(Vertical(top, base.y(), QColor(255, 232, 140), QColor(230, 150, 20)));
    p.drawPath(name);
    p.restore();
}

// ---------------------------------------------------------------- buttons

struct KeyColors {
    QColor top, bottom, border, symbolTop, symbolBottom;
    QColor glow; // invalid: none
};

KeyColors KeyLook(Look look) {
    switch (look) {
    case Look::Normal:
        return {QColor(62, 62, 69),    QColor(29, 29, 33),    QColor(7, 7, 8),
                QColor(240, 240, 242), QColor(160, 160, 168), QColor()};
    case Look::Hover:
        return {QColor(82, 78, 72),
                QColor(40, 36, 30),
                QColor(181, 138, 36),
                QColor(255, 244, 190),
                kGold,
                kGold};
    case Look::Pressed:
        return {QColor(20, 20, 22),   QColor(38, 36, 32),   QColor(110, 84, 24),
                QColor(230, 180, 60), QColor(180, 130, 30), QColor()};
    }
    return {};
}

void DrawKey(QPainter& p, const QRectF& r, double radius, Look look) {
    const KeyColors k = KeyLook(look);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(k.border, 1));
    p.setBrush(Vertical(r.top(), r.bottom(), k.top, k.bottom));
    p.drawPath(RoundRect(r, radius));
    if (look != Look::Pressed) { // top inner highlight
        p.setPen(QPen(WithAlpha(QColor(255, 255, 255), look == Look::Hover ? 70 : 45), 1));
        p.drawLine(QPointF(r.left() + radius, r.top() + 1),
                   QPointF(r.right() - radius, r.top() + 1));
    }
    p.restore();
}

// Fills a symbol path with the look's gradient and, when hovered, a glow.
void DrawSymbol(QPainter& p, QPainterPath path, Look look, bool stroke = false,
                double strokeWidth = 1.5) {
    const KeyColors k = KeyLook(look);
    if (look == Look::Pressed)
        path.translate(1, 1);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF b = path.boundingRect();
    if (stroke) {
        QPainterPathStroker s;
        s.setWidth(strokeWidth);
        s.setCapStyle(Qt::RoundCap);
        s.setJoinStyle(Qt::RoundJoin);
        path = s.createStroke(path).simplified();
    }
    if (k.glow.isValid()) {
        p.setPen(QPen(WithAlpha(k.glow, 60), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    p.setPen(QPen(WithAlpha(Qt::black, 150), 0.8));
    p.setBrush(Vertical(b.top(), b.bottom(), k.symbolTop, k.symbolBottom));
    p.drawPath(path);
    p.restore();
}

// Caption and dialog close boxes: 15 x 15 on the caption gradient.
void DrawCaptionButton(QPainter& p, int firstRow, int kind, Look look) {
    CaptionBackground(p, 15, firstRow, 15);
    const bool close = kind == 144 || kind == 212;
    KeyColors k = KeyLook(look);
    if (close && look != Look::Normal) {
        k.top = look == Look::Hover ? QColor(226, 78, 52) : QColor(110, 26, 14);
        k.bottom = look == Look::Hover ? QColor(140, 30, 16) : QColor(150, 40, 22);
        k.border = QColor(60, 10, 4);
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, 14, 14);
    p.setPen(QPen(k.border, 1));
    p.setBrush(Vertical(r.top(), r.bottom(), k.top, k.bottom));
    p.drawPath(RoundRect(r, 3));
    if (look != Look::Pressed) {
        p.setPen(QPen(WithAlpha(Qt::white, 50), 1));
        p.drawLine(QPointF(3, 1.5), QPointF(12, 1.5));
    }
    p.restore();

    QPainterPath s;
    bool stroke = false;
    switch (kind) {
    case 176: // hide: an arrow down into a tray
        s.moveTo(4.5, 3.8);
        s.lineTo(10.5, 3.8);
        s.lineTo(7.5, 8.2);
        s.closeSubpath();
        s.addRect(QRectF(4, 9.6, 7, 1.8));
        break;
    case 148: // minimise
        s.addRect(QRectF(4, 9, 7, 2));
        break;
    case 146: // maximise: a window with a heavy top edge
        s.addRect(QRectF(3.5, 3.5, 8, 8));
        s.addRect(QRectF(5, 6, 5, 4));
        s.setFillRule(Qt::OddEvenFill);
        break;
    case 150: { // full screen: four corners pushed outwards
        const double a = 3.2, b = 11.8, l = 3.2;
        for (int cx = 0; cx < 2; ++cx)
            for (int cy = 0; cy < 2; ++cy) {
                const double x = cx ? b : a, y = cy ? b : a;
                const double dx = cx ? -l : l, dy = cy ? -l : l;
                s.moveTo(x + dx, y);
                s.lineTo(x, y);
                s.lineTo(x, y + dy);
            }
        stroke = true;
        break;
    }
    default: // close
        s.moveTo(4.5, 4.5);
        s.lineTo(10.5, 10.5);
        s.moveTo(10.5, 4.5);
        s.lineTo(4.5, 10.5);
        stroke = true;
        break;
    }
    if (close && look == Look::Hover) {
        QPainterPathStroker st;
        st.setWidth(1.8);
        st.setCapStyle(Qt::RoundCap);
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(st.createStroke(s));
        p.restore();
        return;
    }
    DrawSymbol(p, s, look, stroke, stroke ? 1.7 : 1.5);
}

// Bottom bar transport buttons, 27 rows on the bottom bar gradient.
void DrawTransportButton(QPainter& p, int w, int kind, Look look) {
    BottomBackground(p, w, 0, 27);
    const QRectF key(1.5, 2.5, w - 3, 23);
    DrawKey(p, key, 4, look);
    const QPointF c = key.center();
    QPainterPath s;
    switch (kind) {
    case 156: // play
        s.moveTo(c.x() - 3.5, c.y() - 5.5);
        s.lineTo(c.x() + 5, c.y());
        s.lineTo(c.x() - 3.5, c.y() + 5.5);
        s.closeSubpath();
        break;
    case 158: // stop
        s.addRoundedRect(QRectF(c.x() - 4.5, c.y() - 4.5, 9, 9), 1, 1);
        break;
    case 160: // list: three rows with bullets
        for (int i = -1; i <= 1; ++i) {
            s.addRect(QRectF(c.x() - 5.5, c.y() + i * 3.6 - 1, 2, 2));
            s.addRect(QRectF(c.x() - 2, c.y() + i * 3.6 - 1, 8, 2));
        }
        break;
    default: { // settings: a gear
        const int teeth = 8;
        const double ro = 6.2, ri = 4.4;
        for (int i = 0; i < teeth * 4; ++i) {
            const double a = (i / (teeth * 4.0)) * 2 * M_PI;
            const double rr = ((i / 2) % 2 == 0) ? ro : ri;
            const QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
            if (i == 0)
                s.moveTo(pt);
            else
                s.lineTo(pt);
        }
        s.closeSubpath();
        s.addEllipse(c, 1.9, 1.9);
        s.setFillRule(Qt::OddEvenFill);
        break;
    }
    }
    DrawSymbol(p, s, look);
}

// Mute button: a speaker with waves, or crossed out while muted.
void DrawMuteButton(QPainter& p, bool muted, Look look) {
    BottomBackground(p, 16, 7, 14);
    QPainterPath s;
    s.addRect(QRectF(1.5, 5, 3, 4));
    s.moveTo(4.5, 5);
    s.lineTo(8, 2);
    s.lineTo(8, 12);
    s.lineTo(4.5, 9);
    s.closeSubpath();
    s.setFillRule(Qt::WindingFill);
    DrawSymbol(p, s, look);
    QPainterPath extra;
    const double off = look == Look::Pressed ? 1 : 0;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (!muted) {
        const KeyColors k = KeyLook(look);
        p.setPen(QPen(k.symbolBottom, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6 + off, 4 + off, 6, 6), -50 * 16, 100 * 16);
        p.drawArc(QRectF(5 + off, 1.5 + off, 10, 11), -50 * 16, 100 * 16);
    } else {
        const QColor cross = look == Look::Normal  ? QColor(230, 90, 50)
                             : look == Look::Hover ? QColor(255, 120, 70)
                                                   : QColor(180, 60, 30);
        p.setPen(QPen(cross, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10 + off, 4.5 + off), QPointF(14.5 + off, 9.5 + off));
        p.drawLine(QPointF(14.5 + off, 4.5 + off), QPointF(10 + off, 9.5 + off));
    }
    p.restore();
}

// The list panel toggle on the divider: a slim handle with arrows.
void DrawPanelToggle(QPainter& p, bool pointRight, Look look) {
    for (int x = 0; x < 9; ++x)
        Fill(p, x, 0, 1, 70, kDivider[x]);
    const KeyColors k = KeyLook(look);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 9, 0);
    g.setColorAt(0, k.top);
    g.setColorAt(1, k.bottom);
    p.setPen(QPen(k.border, 1));
    p.setBrush(g);
    p.drawPath(RoundRect(QRectF(0.5, 1.5, 8, 67), 3));
    // grip lines above and below the arrows
    p.setPen(QPen(WithAlpha(Qt::white, 40), 1));
    for (double y : {14.5, 17.5, 52.5, 55.5})
        p.drawLine(QPointF(2.5, y), QPointF(6.5, y));
    p.restore();
    QPainterPath s;
    for (int i = -1; i <= 1; ++i) {
        const double cy = 35 + i * 7;
        if (pointRight) {
            s.moveTo(2.6, cy - 3);
            s.lineTo(6.6, cy);
            s.lineTo(2.6, cy + 3);
        } else {
            s.moveTo(6.4, cy - 3);
            s.lineTo(2.4, cy);
            s.lineTo(6.4, cy + 3);
        }
        s.closeSubpath();
    }
    DrawSymbol(p, s, look);
}

// ---------------------------------------------------------------- tabs

void DrawMainTab(QPainter& p, int w, const QString& caption, bool current) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 3.5, w - 1, 27);
    if (current) {
        p.setPen(QPen(QColor(217, 165, 44), 1));
        p.setBrush(Vertical(r.top(), r.bottom(), QColor(104, 78, 22), QColor(36, 27, 8)));
    } else {
        p.setPen(QPen(QColor(66, 66, 73), 1));
        p.setBrush(Vertical(r.top(), r.bottom(), QColor(50, 50, 56), QColor(26, 26, 29)));
    }
    p.drawPath(TabShape(r, 5));
    p.setPen(QPen(
        WithAlpha(current ? QColor(255, 226, 130) : QColor(255, 255, 255), current ? 150 : 35), 1));
    p.drawLine(QPointF(5, 4.5), QPointF(w - 5, 4.5));
    p.restore();
    const QRectF box(0, 4, w, 25);
    if (current)
        GlowText(p, box, Qt::AlignCenter, caption, Gothic(12, true), QColor(255, 226, 120), kGold);
    else
        GlowText(p, box, Qt::AlignCenter, caption, Gothic(12, true), QColor(180, 174, 160));
}

// Category and web sub-tabs: small pills on the panel page.
void DrawSmallTab(QPainter& p, int w, const QString& caption, Look look) {
    Fill(p, 0, 0, w, 18, kSubPanel);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 1.5, w - 1, 15);
    switch (look) {
    case Look::Normal:
        p.setPen(QPen(QColor(52, 52, 58), 1));
        p.setBrush(Vertical(r.top(), r.bottom(), QColor(42, 42, 47), QColor(28, 28, 32)));
        break;
    case Look::Hover:
        p.setPen(QPen(QColor(199, 154, 42), 1));
        p.setBrush(Vertical(r.top(), r.bottom(), QColor(92, 70, 20), QColor(42, 32, 9)));
        break;
    case Look::Pressed:
        p.setPen(QPen(QColor(120, 92, 26), 1));
        p.setBrush(Vertical(r.top(), r.bottom(), QColor(24, 19, 7), QColor(50, 38, 12)));
        break;
    }
    p.drawPath(RoundRect(r, 4));
    p.restore();
    QRectF box(0, 1, w, 16);
    if (look == Look::Pressed)
        box.translate(1, 1);
    const QColor text = look == Look::Normal  ? QColor(170, 164, 148)
                        : look == Look::Hover ? QColor(255, 220, 110)
                                              : QColor(210, 160, 50);
    GlowText(p, box, Qt::AlignCenter, caption, Gothic(11, true), text,
             look == Look::Hover ? kGold : QColor());
}

// ---------------------------------------------------------------- dialogs

// OK and Cancel buttons (44 x 22) and the small play button (21 x 20), on
// the dialog body.
void DrawDialogButton(QPainter& p, int w, int h, const QString& caption, bool gold, Look look) {
    Fill(p, 0, 0, w, h, kBody);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, w - 1, h - 1);
    QColor top, bottom, border, text;
    switch (look) {
    case Look::Normal:
        top = QColor(60, 60, 67);
        bottom = QColor(30, 30, 34);
        border = gold ? QColor(110, 88, 34) : QColor(78, 78, 86);
        text = gold ? QColor(236, 194, 84) : QColor(210, 210, 214);
        break;
    case Look::Hover:
        top = gold ? QColor(112, 84, 24) : QColor(84, 84, 92);
        bottom = gold ? QColor(52, 39, 10) : QColor(38, 38, 43);
        border = gold ? kGold : QColor(170, 170, 178);
        text = gold ? QColor(255, 242, 190) : QColor(255, 255, 255);
        break;
    case Look::Pressed:
        top = QColor(22, 20, 16);
        bottom = gold ? QColor(58, 44, 12) : QColor(44, 44, 48);
        border = gold ? QColor(160, 125, 34) : QColor(110, 110, 118);
        text = gold ? QColor(220, 170, 60) : QColor(180, 180, 186);
        break;
    }
    p.setPen(QPen(border, 1));
    p.setBrush(Vertical(r.top(), r.bottom(), top, bottom));
    p.drawPath(RoundRect(r, 4));
    if (look != Look::Pressed) {
        p.setPen(QPen(WithAlpha(Qt::white, look == Look::Hover ? 70 : 40), 1));
        p.drawLine(QPointF(4, 1.5), QPointF(w - 4, 1.5));
    }
    p.restore();
    if (caption.isEmpty()) { // the play arrow
        const QPointF c(w / 2.0 + 0.5, h / 2.0);
        QPainterPath s;
        s.moveTo(c.x() - 3, c.y() - 4.5);
        s.lineTo(c.x() + 4, c.y());
        s.lineTo(c.x() - 3, c.y() + 4.5);
        s.closeSubpath();
        DrawSymbol(p, s, look);
        return;
    }
    QRectF box(0, 0, w, h);
    if (look == Look::Pressed)
        box.translate(1, 1);
    GlowText(p, box, Qt::AlignCenter, caption, Gothic(12, true), text,
             look == Look::Hover && gold ? kGold : QColor());
}

// The common frame of the small dialogs: outline and bevel, a caption-like
// header with the emblem, the name and the dialog's title, and a flat body.
void DrawDialogFrame(QPainter& p, int w, int h, const QString& title) {
    Fill(p, 0, 0, w, h, kBody);
    CaptionBackground(p, w, 0, 29);
    Fill(p, 0, 29, w, 1, QColor(40, 40, 44));
    Fill(p, 0, 0, w, 1, kOutline);
    Fill(p, 0, h - 1, w, 1, kOutline);
    Fill(p, 0, 0, 1, h, kOutline);
    Fill(p, w - 1, 0, 1, h, kOutline);
    Fill(p, 1, 1, w - 2, 1, kBevelLight);
    Fill(p, 1, 1, 1, h - 2, kBevelLight);
    Fill(p, w - 2, 2, 1, h - 3, kBevelDark);
    Fill(p, 2, h - 2, w - 3, 1, kBevelDark);
    DrawEmblem(p, QPointF(15, 15), 5.2);
    DrawName(p, QPointF(28, 19), 11);
    p.save();
    p.setFont(Square(11));
    const double nameW = QFontMetricsF(Square(11)).horizontalAdvance(QStringLiteral("WAVEORBIT"));
    p.restore();
    Fill(p, 28 + nameW + 7, 9, 1, 12, QColor(90, 90, 98));
    GlowText(p, QRectF(28 + nameW + 14, 8, w - 60 - nameW, 15), Qt::AlignLeft | Qt::AlignVCenter,
             title, Gothic(12, true), QColor(255, 255, 255));
}

// A sunken bar behind an edit or combo box; `fill` is the control's own
// text background so the two merge.
void DrawEntryBar(QPainter& p, const QRect& r, const QColor& fill) {
    Fill(p, r.x(), r.y(), r.width(), r.height(), fill);
    Fill(p, r.x(), r.y(), r.width(), 1, kWellDark);
    Fill(p, r.x(), r.y(), 1, r.height(), kWellDark);
    Fill(p, r.x(), r.bottom(), r.width(), 1, kWellLight);
    Fill(p, r.right(), r.y() + 1, 1, r.height() - 1, kWellLight);
}

void DrawText(QPainter& p, double x, double baseline, const QString& text, const QFont& font,
              const QColor& color) {
    p.save();
    p.setFont(font);
    p.setPen(WithAlpha(Qt::black, 200));
    p.drawText(QPointF(x + 1, baseline + 1), text);
    p.setPen(color);
    p.drawText(QPointF(x, baseline), text);
    p.restore();
}

// ---------------------------------------------------------------- pictures

void DrawLogo(QPainter& p) {
    Fill(p, 0, 0, 174, 58, Qt::black);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient halo(QPointF(27, 28), 30);
    halo.setColorAt(0, QColor(255, 150, 20, 70));
    halo.setColorAt(1, QColor(255, 150, 20, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(QPointF(27, 28), 30, 30);
    p.restore();
    DrawEmblem(p, QPointF(27, 28), 12.5);
    DrawName(p, QPointF(57, 33), 19, false);
    p.save();
    QLinearGradient line(57, 0, 168, 0);
    line.setColorAt(0, QColor(180, 130, 30));
    line.setColorAt(1, QColor(180, 130, 30, 0));
    p.fillRect(QRectF(57, 38, 111, 1), line);
    p.setFont(Square(8, false));
    p.setPen(QColor(140, 140, 148));
    QFont f = Square(8, false);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 1.6);
    p.setFont(f);
    p.drawText(QPointF(58, 49), QStringLiteral("LIVE TV & RADIO"));
    p.restore();
}

void DrawCaptionLeft(QPainter& p) {
    CaptionBackground(p, 113, 0, 29);
    Fill(p, 0, 0, 1, 29, kOutline);
    Fill(p, 1, 1, 1, 28, kBevelLight);
    DrawEmblem(p, QPointF(15, 15), 5.3);
    DrawName(p, QPointF(27, 19), 10); // ends well before the caption text at x 95
}

void DrawCaptionRight(QPainter& p) {
    CaptionBackground(p, 85, 0, 29);
    Fill(p, 84, 0, 1, 29, kOutline);
    Fill(p, 83, 1, 1, 28, kRightBorder[5]);
}

void DrawBottomLeft(QPainter& p) {
    BottomBackground(p, 140, 0, 34);
    Fill(p, 0, 0, 1, 34, kOutline);
    Fill(p, 1, 0, 1, 33, QColor(74, 74, 80));
    // a groove closing the button group
    Fill(p, 118, 6, 1, 20, QColor(10, 10, 11));
    Fill(p, 119, 6, 1, 20, QColor(66, 66, 72));
}

void DrawBottomRight(QPainter& p) {
    BottomBackground(p, 12, 0, 34);
    Fill(p, 11, 0, 1, 34, kOutline);
    Fill(p, 10, 0, 1, 33, kRightBorder[5]);
    // resize grip in the corner
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j) {
            const double x = 7 - 3 * j, y = 22 + 3 * i;
            Fill(p, x, y, 1, 1, QColor(90, 90, 98));
            Fill(p, x + 1, y + 1, 1, 1, QColor(8, 8, 9));
        }
}

void DrawPanelTop(QPainter& p) {
    PanelBackground(p, 424, 0, 89);
    // status display: open on the left where the divider bounds it
    Fill(p, 422, 3, 2, 24, kPanel);
    Fill(p, 421, 3, 1, 24, QColor(52, 52, 58));
    // soft reflection on the display glass
    p.fillRect(QRectF(0, 4, 421, 1), QColor(22, 22, 25));
    // list frame top
    Fill(p, 5, 88, 405, 1, kWellDark);
    Fill(p, 409, 88, 1, 1, kWellLight);
}

void DrawPanelTile(QPainter& p) {
    Fill(p, 0, 0, 424, 1, kSubPanel);
    Fill(p, 5, 0, 1, 1, kWellDark);
    Fill(p, 6, 0, 403, 1, Qt::black);
    Fill(p, 409, 0, 1, 1, kWellLight);
}

void DrawPanelBottom(QPainter& p) {
    Fill(p, 0, 0, 424, 14, kSubPanel);
    Fill(p, 5, 0, 1, 1, kWellDark);
    Fill(p, 6, 0, 404, 1, kWellLight);
    Fill(p, 0, 13, 424, 1, QColor(14, 14, 16));
}

void DrawLamp(QPainter& p, bool lit) {
    for (int y = 0; y < 15; ++y)
        Fill(p, 0, y, 61, 1, PanelRow(7 + y));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF pill(0.5, 0.5, 60, 14);
    p.setPen(QPen(lit ? QColor(190, 100, 26) : QColor(50, 50, 55), 1));
    p.setBrush(lit ? Vertical(0, 15, QColor(70, 38, 10), QColor(28, 15, 4))
                   : Vertical(0, 15, QColor(30, 30, 33), QColor(16, 16, 18)));
    p.drawPath(RoundRect(pill, 7));
    const QPointF led(8, 7.5);
    if (lit) {
        QRadialGradient halo(led, 7.5);
        halo.setColorAt(0, QColor(255, 170, 40, 200));
        halo.setColorAt(1, QColor(255, 120, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(led, 7.5, 7.5);
    }
    QRadialGradient g(led + QPointF(-1.2, -1.4), 5);
    g.setColorAt(0, lit ? QColor(255, 250, 210) : QColor(150, 150, 156));
    g.setColorAt(0.45, lit ? QColor(255, 160, 30) : QColor(70, 70, 76));
    g.setColorAt(1, lit ? QColor(190, 70, 0) : QColor(28, 28, 32));
    p.setPen(QPen(lit ? QColor(120, 40, 0) : QColor(10, 10, 12), 0.8));
    p.setBrush(g);
    p.drawEllipse(led, 4, 4);
    p.restore();
    GlowText(p, QRectF(15, 0, 44, 15), Qt::AlignCenter, QStringLiteral("ON AIR"), Square(9),
             lit ? QColor(255, 170, 60) : QColor(84, 84, 90), lit ? QColor(255, 130, 0) : QColor(),
             lit);
}

void DrawVolumeBar(QPainter& p) {
    // filled half: a lit gold bar; empty half: a dark groove
    const QColor filled[5] = {QColor(255, 232, 150), QColor(255, 210, 70), QColor(255, 190, 40),
                              QColor(236, 150, 16), QColor(130, 80, 8)};
    const QColor empty[5] = {QColor(4, 4, 5), QColor(26, 26, 29), QColor(32, 32, 36),
                             QColor(28, 28, 31), QColor(58, 58, 64)};
    for (int y = 0; y < 5; ++y) {
        Fill(p, 0, y, 50, 1, filled[y]);
        Fill(p, 50, y, 50, 1, empty[y]);
    }
}

void DrawAbout(QPainter& p) {
    DrawDialogFrame(p, 380, 200, QStringLiteral("프로그램 정보"));
    // the logo on a black plate, as in the idle video area
    Fill(p, 13, 43, 182, 66, kWellDark);
    Fill(p, 14, 44, 180, 64, Qt::black);
    Fill(p, 13, 109, 182, 1, kWellLight);
    Fill(p, 195, 43, 1, 67, kWellLight);
    p.save();
    p.translate(17, 47);
    DrawLogo(p);
    p.restore();
    const double x = 208;
    DrawName(p, QPointF(x, 62), 15);
    DrawText(p, x + QFontMetricsF(Square(15)).horizontalAdvance(QStringLiteral("WAVEORBIT")) + 6,
             62, QStringLiteral("5.0"), Square(13), kGold);
    DrawText(p, x, 81, QStringLiteral("인터넷 TV · 라디오 플레이어"), Gothic(12),
             QColor(220, 216, 206));
    DrawText(p, x, 98, QStringLiteral("만든 곳 : WAVEORBIT 개발팀"), Gothic(12),
             QColor(170, 166, 156));
    DrawText(p, x, 115, QStringLiteral("www.waveorbit.example"), Gothic(12, true), kDialogGold);
    Fill(p, 16, 126, 348, 1, QColor(44, 44, 49));
    Fill(p, 16, 127, 348, 1, QColor(8, 8, 9));
    p.save();
    p.setFont(Gothic(11));
    p.setPen(QColor(128, 126, 120));
    p.drawText(QRectF(0, 131, 380, 16), Qt::AlignCenter,
               QStringLiteral("이 프로그램은 저작권법의 보호를 받습니다. ⓒ WAVEORBIT"));
    p.restore();
    // the face of the OK button under the real one
    p.save();
    p.translate(168, 157);
    DrawDialogButton(p, 44, 22, QStringLiteral("확인"), true, Look::Normal);
    p.restore();
}

void DrawOpenUrl(QPainter& p) {
    DrawDialogFrame(p, 332, 200, QStringLiteral("URL 열기"));
    DrawText(p, 38, 60, QStringLiteral("URL 직접 열기"), Gothic(14, true), kDialogGold);
    Fill(p, 38, 66, 256, 1, QColor(110, 84, 24));
    DrawText(p, 38, 86, QStringLiteral("인터넷, 내 컴퓨터 또는 네트워크에 있는 미디어 파일의"),
             Gothic(12), QColor(214, 210, 198));
    DrawText(p, 38, 103, QStringLiteral("URL 이나 경로를 입력해 주세요."), Gothic(12),
             QColor(214, 210, 198));
    DrawText(p, 10, 132, QStringLiteral("URL"), Square(9), QColor(150, 146, 136));
    DrawEntryBar(p, QRect(36, 117, 223, 20), QColor(39, 39, 39));
}

void DrawSettings(QPainter& p) {
    DrawDialogFrame(p, 400, 300, QStringLiteral("환경설정"));
    // the page under the three page buttons
    Fill(p, 10, 63, 380, 174, QColor(27, 27, 30));
    Fill(p, 10, 63, 380, 1, QColor(138, 106, 30));
    Fill(p, 10, 64, 1, 173, QColor(44, 44, 49));
    Fill(p, 389, 64, 1, 173, QColor(8, 8, 9));
    Fill(p, 10, 236, 380, 1, QColor(8, 8, 9));
    p.save();
    p.setFont(Gothic(11));
    p.setPen(QColor(120, 118, 112));
    p.drawText(QRectF(0, 274, 400, 16), Qt::AlignCenter,
               QStringLiteral("바꾼 설정은 확인을 누르면 저장됩니다."));
    p.restore();
}

void DrawAddChannel(QPainter& p) {
    DrawDialogFrame(p, 400, 300, QStringLiteral("마이채널 추가"));
    DrawText(p, 34, 60, QStringLiteral("아래에 추가할 채널의 정보를 입력해 주세요."),
             Gothic(13, true), kDialogGold);
    Fill(p, 34, 67, 334, 1, QColor(110, 84, 24));
    const struct {
        int barTop;
        const char* label;
    } fields[] = {{105, "채널 이름"}, {163, "채널 정보"}, {220, "채널 주소 (URL)"}};
    for (const auto& f : fields) {
        DrawText(p, 36, f.barTop - 7, QString::fromUtf8(f.label), Gothic(12, true),
                 QColor(226, 222, 210));
        DrawEntryBar(p, QRect(34, f.barTop, 335, 20), QColor(51, 51, 51));
    }
}

// The programme guide: the caption bar without a title (the dialog writes
// the channel's name there), a well for the list and one for the
// description, and the face of the OK button under the real one.
void DrawGuide(QPainter& p) {
    DrawDialogFrame(p, 400, 300, QString());
    DrawEntryBar(p, QRect(14, 40, 372, 166), QColor(24, 24, 27));
    DrawEntryBar(p, QRect(14, 212, 372, 50), QColor(24, 24, 27));
    p.save();
    p.translate(178, 269);
    DrawDialogButton(p, 44, 22, QStringLiteral("확인"), true, Look::Normal);
    p.restore();
}

void DrawRegion(QPainter& p) {
    DrawDialogFrame(p, 380, 200, QStringLiteral("지역 설정"));
    // icon: a location pin on a dark disc
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(36, 70);
    p.setPen(QPen(QColor(60, 60, 66), 1));
    p.setBrush(Vertical(50, 90, QColor(44, 44, 50), QColor(18, 18, 20)));
    p.drawEllipse(c, 19, 19);
    QPainterPath pin;
    pin.moveTo(c.x(), c.y() + 13);
    pin.cubicTo(c.x() - 4, c.y() + 5, c.x() - 9, c.y() + 1, c.x() - 9, c.y() - 5);
    pin.arcTo(QRectF(c.x() - 9, c.y() - 14, 18, 18), 180, -180);
    pin.cubicTo(c.x() + 9, c.y() + 1, c.x() + 4, c.y() + 5, c.x(), c.y() + 13);
    pin.addEllipse(QPointF(c.x(), c.y() - 5), 3.4, 3.4);
    pin.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(QColor(120, 50, 0), 0.8));
    p.setBrush(Vertical(c.y() - 14, c.y() + 13, QColor(255, 226, 120), QColor(230, 120, 10)));
    p.drawPath(pin);
    p.restore();
    DrawText(p, 65, 64, QStringLiteral("지역을 선택하시면 해당 지역의 방송으로 연결됩니다."),
             Gothic(12, true), kDialogGold);
    DrawText(p, 65, 84, QStringLiteral("아래 항목을 체크하시면 앞으로 자동으로 연결됩니다."),
             Gothic(12), QColor(214, 210, 198));
    DrawEntryBar(p, QRect(63, 98, 294, 17), QColor(13, 13, 13));
}

void DrawInstaller(QPainter& p) {
    const int w = 585, h = 358;
    Fill(p, 0, 0, w, h, kBody);
    CaptionBackground(p, w, 0, 29);
    DrawEmblem(p, QPointF(15, 15), 5.2);
    DrawName(p, QPointF(28, 19), 11);
    // painted minimise, maximise and close boxes on the hot spots
    const struct {
        double x;
        int kind;
    } boxes[] = {{double(kInstallerMinimiseSpot.left), 148},
                 {double(kInstallerMinimiseSpot.right) + 1, 146},
                 {double(kInstallerCloseSpot.left), 144}};
    for (const auto& b : boxes) {
        p.save();
        p.translate(b.x, 5);
        DrawCaptionButton(p, 5, b.kind, Look::Normal);
        p.restore();
    }
    // header naming the partner product and its purpose
    Fill(p, 0, 29, w, 52, QColor(30, 30, 34));
    p.fillRect(QRectF(0, 29, w, 52), Vertical(29, 81, QColor(36, 36, 41), QColor(22, 22, 25)));
    Fill(p, 0, 80, w, 1, QColor(6, 6, 7));
    Fill(p, 0, 81, w, 1, QColor(48, 48, 53));
    DrawText(p, 22, 54, QStringLiteral("NimbusKit 설치"), Gothic(16, true), QColor(255, 255, 255));
    DrawText(p, 22, 72, QStringLiteral("개인정보 유출 여부를 검사해 주는 프로그램입니다."),
             Gothic(12), QColor(190, 186, 176));
    p.save(); // a shield with a tick
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shield;
    const double sx = 538, sy = 36;
    shield.moveTo(sx, sy);
    shield.lineTo(sx + 16, sy + 5);
    shield.cubicTo(sx + 16, sy + 24, sx + 8, sy + 34, sx, sy + 39);
    shield.cubicTo(sx - 8, sy + 34, sx - 16, sy + 24, sx - 16, sy + 5);
    shield.closeSubpath();
    p.setPen(QPen(QColor(120, 80, 10), 1));
    p.setBrush(Vertical(sy, sy + 39, QColor(255, 220, 110), QColor(214, 120, 10)));
    p.drawPath(shield);
    p.setPen(QPen(QColor(40, 24, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath tick;
    tick.moveTo(sx - 7, sy + 18);
    tick.lineTo(sx - 2, sy + 24);
    tick.lineTo(sx + 8, sy + 11);
    p.drawPath(tick);
    p.restore();
    // terms caption and the frame of the text box
    DrawText(p, 33, 108, QStringLiteral("사용권 계약"), Gothic(13, true), kDialogGold);
    DrawText(p, 120, 108, QStringLiteral("설치하기 전에 아래 내용을 읽어 주십시오."), Gothic(12),
             QColor(170, 166, 156));
    const SkinRect terms = kInstallerTermsBox; // the frame hugs the edit by 2 pixels
    DrawEntryBar(p,
                 QRect(terms.left - 2, terms.top - 2, terms.right - terms.left + 4,
                       terms.bottom - terms.top + 4),
                 QColor(13, 13, 15));
    // separator with the label
    DrawText(p, 12, 307, QStringLiteral("Installer System"), Square(10, false),
             QColor(140, 140, 148));
    const double lx =
        12 +
        QFontMetricsF(Square(10, false)).horizontalAdvance(QStringLiteral("Installer System")) + 8;
    Fill(p, lx, 302, w - 12 - lx, 1, QColor(8, 8, 9));
    Fill(p, lx, 303, w - 12 - lx, 1, QColor(54, 54, 60));
    // painted buttons under the real Back, Next and Cancel
    const struct {
        SkinRect r;
        const char* text;
        bool gold;
    } buttons[] = {{kInstallerBack, "< 뒤로", false},
                   {kInstallerNext, "다음 >", true},
                   {kInstallerCancel, "취소", false}};
    for (const auto& b : buttons) {
        p.save();
        p.translate(b.r.left, b.r.top);
        DrawDialogButton(p, b.r.right - b.r.left, b.r.bottom - b.r.top, QString::fromUtf8(b.text),
                         b.gold, Look::Normal);
        p.restore();
    }
    // frame
    Fill(p, 0, 0, w, 1, kOutline);
    Fill(p, 0, h - 1, w, 1, kOutline);
    Fill(p, 0, 0, 1, h, kOutline);
    Fill(p, w - 1, 0, 1, h, kOutline);
    Fill(p, 1, 1, w - 2, 1, kBevelLight);
    Fill(p, 1, 1, 1, h - 2, kBevelLight);
    Fill(p, w - 2, 2, 1, h - 3, kBevelDark);
    Fill(p, 2, h - 2, w - 3, 1, kBevelDark);
}

struct TabText {
    int normalId;
    const char* text;
};

// Category tabs, web sub-tabs: the normal id and its caption; the hover
// picture is normalId + 1.
const TabText kSmallTabs[] = {
    {180, "TV"},       {182, "해외"},     {184, "게임"},    {186, "라디오"},   {188, "음악방송"},
    {190, "마이채널"}, {192, "최신음악"}, {194, "MP3다운"}, {196, "음악차트"}, {198, "뮤직비디오"},
    {200, "최신영화"}, {202, "드라마"},   {204, "동영상"},
};

const TabText kMainTabs[] = {
    {168, "실시간 방송"}, {170, "MP3 다운로드"}, {172, "영화/드라마"}, {174, "홈페이지"}};

const TabText kPageButtons[] = {
    {223, "기본설정"}, {225, "재생설정"}, {227, "업데이트"}, {206, "채널 목록"}};

// A hover picture shows the Hover look, or the Pressed look on request; a
// normal picture always the Normal look.
Look LookFor(bool hoverPicture, Look requested) {
    if (!hoverPicture)
        return Look::Normal;
    return requested == Look::Pressed ? Look::Pressed : Look::Hover;
}

void Draw(QPainter& p, int id, int w, int h, Look requested) {
    for (const TabText& t : kSmallTabs)
        if (id == t.normalId || id == t.normalId + 1) {
            DrawSmallTab(p, w, QString::fromUtf8(t.text), LookFor(id != t.normalId, requested));
            return;
        }
    for (const TabText& t : kMainTabs)
        if (id == t.normalId || id == t.normalId + 1) {
            PanelBackground(p, w, 29, 30);
            DrawMainTab(p, w, QString::fromUtf8(t.text), id != t.normalId);
            return;
        }
    for (const TabText& t : kPageButtons)
        if (id == t.normalId || id == t.normalId + 1) {
            Fill(p, 0, 0, w, h, kBody);
            DrawMainTab(p, w, QString::fromUtf8(t.text), id != t.normalId);
            return;
        }
    switch (id) {
    case 129:
        return DrawInstaller(p);
    case 131:
        return DrawCaptionLeft(p);
    case 132:
        return CaptionBackground(p, 1, 0, 29);
    case 133:
        return DrawCaptionRight(p);
    case 134:
        for (int x = 0; x < 7; ++x)
            Fill(p, x, 0, 1, 1, kLeftBorder[x]);
        return;
    case 135:
        return DrawLogo(p);
    case 136:
        for (int x = 0; x < 10; ++x)
            Fill(p, x, 0, 1, 1, kDivider[x]);
        return;
    case 137:
        return DrawPanelTop(p);
    case 138:
        return DrawPanelTile(p);
    case 139:
        return DrawPanelBottom(p);
    case 140:
        for (int x = 0; x < 7; ++x)
            Fill(p, x, 0, 1, 1, kRightBorder[x]);
        return;
    case 141:
        return DrawBottomLeft(p);
    case 142:
        return BottomBackground(p, 1, 0, 34);
    case 143:
        return DrawBottomRight(p);
    case 144:
    case 146:
    case 148:
    case 150:
    case 176:
        return DrawCaptionButton(p, 9, id, Look::Normal);
    case 145:
    case 147:
    case 149:
    case 151:
    case 177:
        return DrawCaptionButton(p, 9, id - 1, LookFor(true, requested));
    case 152:
    case 153:
        return DrawPanelToggle(p, true, LookFor(id == 153, requested));
    case 154:
    case 155:
        return DrawPanelToggle(p, false, LookFor(id == 155, requested));
    case 156:
    case 158:
    case 160:
    case 162:
        return DrawTransportButton(p, w, id, Look::Normal);
    case 157:
    case 159:
    case 161:
    case 163:
        return DrawTransportButton(p, w, id - 1, LookFor(true, requested));
    case 164:
        return DrawMuteButton(p, false, Look::Normal);
    case 165:
        return DrawMuteButton(p, true, Look::Normal);
    case 166:
        return DrawMuteButton(p, false, LookFor(true, requested));
    case 167:
        return DrawMuteButton(p, true, LookFor(true, requested));
    case 178:
    case 179:
        return DrawLamp(p, id == 178);
    case 209:
        return DrawAbout(p);
    case 210:
    case 211:
        return DrawDialogButton(p, w, h, QStringLiteral("확인"), true,
                                LookFor(id == 211, requested));
    case 212:
        return DrawCaptionButton(p, 5, 212, Look::Normal);
    case 213:
        return DrawCaptionButton(p, 5, 212, LookFor(true, requested));
    case 215:
        return DrawOpenUrl(p);
    case 216:
    case 217:
        return DrawDialogButton(p, w, h, QStringLiteral("취소"), false,
                                LookFor(id == 217, requested));
    case 218:
    case 219:
        return DrawDialogButton(p, w, h, QString(), true, LookFor(id == 219, requested));
    case 220:
        return DrawSettings(p);
    case 231:
        return DrawAddChannel(p);
    case 232:
        return DrawVolumeBar(p);
    case 234:
        return DrawGuide(p);
    case 235:
        return DrawRegion(p);
    default: // a table entry without art: loud, so the table and the art stay in step
        Fill(p, 0, 0, w, h, Qt::magenta);
        qFatal("skingen: no drawing for picture %d", id);
    }
}

} // namespace

bool LoadFonts(QString* error) {
    const char* const files[] = {"NanumGothic.ttf", "NanumGothicBold.ttf", "NanumSquareR.ttf",
                                 "NanumSquareB.ttf"};
    for (const char* file : files) {
        const QString path = QStringLiteral("/usr/share/fonts/truetype/nanum/") + file;
        if (QFontDatabase::addApplicationFont(path) < 0) {
            if (error != nullptr)
                *error = QStringLiteral("cannot load %1 (install fonts-nanum)").arg(path);
            return false;
        }
    }
    return true;
}

QImage RenderPicture(int id, int scale, Look look) {
    const SkinPicture* pic = FindSkinPicture(id);
    if (pic == nullptr)
        return QImage();
    QImage image(pic->width * scale, pic->height * scale, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter p(&image);
        p.scale(scale, scale);
        p.setRenderHint(QPainter::TextAntialiasing);
        Draw(p, id, pic->width, pic->height, look);
    }
    // 24-bit like the original bitmaps
    QImage out = image.convertToFormat(QImage::Format_RGB888);
    out.setDotsPerMeterX(3780 * scale);
    out.setDotsPerMeterY(3780 * scale);
    return out;
}

QImage RenderAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const double s = size / 64.0;
        p.scale(s, s);
        const QRectF r(2, 2, 60, 60);
        p.setPen(QPen(QColor(0, 0, 0, 200), 1.5));
        p.setBrush(Vertical(2, 62, QColor(58, 58, 66), QColor(12, 12, 14)));
        p.drawPath(RoundRect(r, 13));
        p.setPen(QPen(QColor(255, 255, 255, 50), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(RoundRect(r.adjusted(1.5, 1.5, -1.5, -1.5), 11.5));
        QRadialGradient halo(QPointF(32, 32), 26);
        halo.setColorAt(0, QColor(255, 150, 20, 90));
        halo.setColorAt(1, QColor(255, 150, 20, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(QPointF(32, 32), 26, 26);
        DrawEmblem(p, QPointF(32, 32), 14);
    }
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    out.setDotsPerMeterX(3780);
    out.setDotsPerMeterY(3780);
    return out;
}

} // namespace SkinArt
