#include "ui/FontFitter.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {
constexpr qreal smallestPointSize = 6.0;
}

FontFitter::FontFitter(QWidget* target, int padding, qreal largestScale, std::function<QString()> text,
                       const std::vector<QWidget*>& companions)
    : QObject(target), target(target), padding(padding), largestScale(largestScale), text(std::move(text))
{
    scaled.push_back({target, target->font().pointSizeF()});
    for (QWidget* widget : companions)
        scaled.push_back({widget, widget->font().pointSizeF()});
    target->installEventFilter(this);
}

void FontFitter::Refit()
{
    QFont font = target->font();
    font.setPointSizeF(scaled.front().formPointSize);
    const qreal needed = QFontMetricsF(font).horizontalAdvance(text());
    const qreal room = target->contentsRect().width() - padding;
    const qreal scale = needed > 0 ? std::min(largestScale, room / needed) : 1.0;
    for (const Scaled& item : scaled) {
        // Half points, so that a resize by a pixel or two leaves the font alone.
        const qreal size = std::max(smallestPointSize, std::floor(item.formPointSize * scale * 2) / 2);
        if (size == item.widget->font().pointSizeF())
            continue;
        QFont itemFont = item.widget->font();
        itemFont.setPointSizeF(size);
        item.widget->setFont(itemFont);
    }
}

int FontFitter::SmallestTextWidth() const
{
    QFont font = target->font();
    font.setPointSizeF(smallestPointSize);
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text()))) + padding;
}

bool FontFitter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == target && event->type() == QEvent::Resize)
        Refit();
    return false;
}
