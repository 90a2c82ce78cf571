#include "catalogue/ListScrollBarStyle.h"

#include <QPainter>
#include <QStyleOptionSlider>

namespace {
const QColor kGroove(0x11, 0x11, 0x11);
const QColor kHandle(0x5a, 0x46, 0x14);
} // namespace

int ListScrollBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                    const QWidget* widget) const {
    if (metric == PM_ScrollBarExtent)
        return kExtent;
    if (metric == PM_ScrollBarSliderMin)
        return kHandleMinimum;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QRect ListScrollBarStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                         SubControl part, const QWidget* widget) const {
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar)
        return QProxyStyle::subControlRect(control, option, part, widget);
    // The whole bar is the groove: the handle's length is the visible part's
    // share of everything, and it moves over the full length.
    const QRect r = bar->rect;
    const bool horizontal = bar->orientation == Qt::Horizontal;
    const int length = horizontal ? r.width() : r.height();
    const qint64 range = qint64(bar->maximum) - bar->minimum;
    int handle = length;
    if (range > 0 && length > 0)
        handle = int(qint64(length) * bar->pageStep / (range + bar->pageStep));
    handle = qMin(length, qMax(handle, kHandleMinimum));
    const int start = sliderPositionFromValue(bar->minimum, bar->maximum, bar->sliderPosition,
                                              length - handle, bar->upsideDown);
    const auto span = [&](int from, int size) {
        return horizontal ? QRect(r.x() + from, r.y(), size, r.height())
                          : QRect(r.x(), r.y() + from, r.width(), size);
    };
    switch (part) {
    case SC_ScrollBarGroove:
        return r;
    case SC_ScrollBarSlider:
        return span(start, handle);
    case SC_ScrollBarSubPage:
        return span(0, start);
    case SC_ScrollBarAddPage:
        return span(start + handle, length - start - handle);
    default:
        return QRect(); // no arrow buttons
    }
}

void ListScrollBarStyle::drawComplexControl(ComplexControl control,
                                            const QStyleOptionComplex* option, QPainter* painter,
                                            const QWidget* widget) const {
    if (control != CC_ScrollBar) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    painter->fillRect(option->rect, kGroove);
    painter->fillRect(subControlRect(control, option, SC_ScrollBarSlider, widget), kHandle);
}
