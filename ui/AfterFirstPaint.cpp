#include "ui/AfterFirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <utility>

namespace {
const QEvent::Type RunEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
} // namespace

AfterFirstPaint::AfterFirstPaint(QWidget* window, std::function<void()> callback, int deadlineMs)
    : QObject(window), window(window), callback(std::move(callback))
{
    window->installEventFilter(this);
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, &AfterFirstPaint::run);
    deadline.start(deadlineMs);
}

bool AfterFirstPaint::eventFilter(QObject* watched, QEvent* event)
{
    // The filter sees the paint before the window draws it: the callback waits until the frame is
    // done, and behind whatever else is already waiting, so it never delays what the frame shows.
    if (watched == window && event->type() == QEvent::Paint && !posted) {
        posted = true;
        deadline.stop();
        QCoreApplication::postEvent(this, new QEvent(RunEvent), Qt::LowEventPriority);
    }
    return false;
}

void AfterFirstPaint::customEvent(QEvent* event)
{
    if (event->type() == RunEvent)
        run();
}

void AfterFirstPaint::run()
{
    if (!callback)
        return;
    deadline.stop();
    window->removeEventFilter(this);
    const std::function<void()> once = std::exchange(callback, nullptr);
    deleteLater();
    once();
}
