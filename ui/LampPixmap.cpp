#include "ui/LampPixmap.h"

#include <QLabel>
#include <QPixmap>
#include <QPixmapCache>

void ShowLamp(QLabel* label, const QPixmap& lamp)
{
    const qreal ratio = label->devicePixelRatio();
    const int margin = label->margin();
    const QSize size = label->contentsRect().adjusted(margin, margin, -margin, -margin).size() * ratio;
    // Before its first layout a label's size means nothing: it keeps the large image and scales it
    // itself when it is first painted.
    if (lamp.isNull() || size.isEmpty() || !label->hasScaledContents() || !label->isVisible()) {
        label->setPixmap(lamp);
        return;
    }
    const QString key =
        QStringLiteral("swiftlane-lamp-%1-%2x%3").arg(lamp.cacheKey()).arg(size.width()).arg(size.height());
    QPixmap scaled;
    if (!QPixmapCache::find(key, &scaled)) {
        // The same scaling the label would do, so the lamp looks exactly as before.
        scaled =
            QPixmap::fromImage(lamp.toImage().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        scaled.setDevicePixelRatio(ratio);
        QPixmapCache::insert(key, scaled);
    }
    label->setPixmap(scaled);
}
