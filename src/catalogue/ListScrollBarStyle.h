#pragma once

#include <QProxyStyle>

// The channel list's scroll bars as the skin draws them: a dark groove 12
// pixels across, a bronze handle at least 20 pixels long, no arrow buttons.
// A style of their own rather than a style sheet: a style sheet brings Qt's
// CSS engine into every start, some 0.7 MB and several milliseconds before
// the window shows.
class ListScrollBarStyle : public QProxyStyle {
public:
    static constexpr int kExtent = 12;
    static constexpr int kHandleMinimum = 20;

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
};
