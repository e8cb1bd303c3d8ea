#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class QWidget;

// Runs a callback once, right after a window's first paint, so that work the first frame does not
// need does not hold it up. A window that never paints (hidden, minimised) gets the callback when
// the deadline passes. Owned by the window it watches: a window gone first never calls back.
class AfterFirstPaint : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultDeadlineMs = 500;

    AfterFirstPaint(QWidget* window, std::function<void()> callback, int deadlineMs = DefaultDeadlineMs);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    void run();

    QWidget* const window;
    std::function<void()> callback;
    QTimer deadline;
    bool posted = false;
};
