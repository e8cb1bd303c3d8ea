// The one-shot callback after a window's first frame, and its deadline for a window that never paints.
#include "ui/AfterFirstPaint.h"

#include <QPointer>
#include <QWidget>
#include <QtTest>

#include <memory>

namespace {

constexpr int NoDeadline = 60 * 60 * 1000;

class CountingWindow : public QWidget
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

} // namespace

class AfterFirstPaintTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Never from inside show(), never before the frame is drawn, and never a second time.
    void callsBackOnceTheFirstFrameIsDrawn()
    {
        CountingWindow window;
        window.resize(200, 100);
        QList<int> paintsSeen;
        new AfterFirstPaint(
            &window, [&] { paintsSeen << window.paints; }, NoDeadline);
        window.show();
        QCOMPARE(paintsSeen, QList<int>());
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(paintsSeen.size(), 1);
        QVERIFY(paintsSeen[0] >= 1);

        window.repaint();
        window.hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(20);
        QVERIFY(window.paints > 1);
        QCOMPARE(paintsSeen.size(), 1);
    }

    // A window that is never shown still gets its callback, once.
    void deadlineCallsBackForAWindowThatNeverPaints()
    {
        CountingWindow window;
        int calls = 0;
        new AfterFirstPaint(
            &window, [&] { ++calls; }, 20);
        QTRY_COMPARE(calls, 1);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(20);
        QCOMPARE(calls, 1);
    }

    void windowGoneFirstNeverCallsBack()
    {
        auto window = std::make_unique<CountingWindow>();
        int calls = 0;
        QPointer<AfterFirstPaint> trigger = new AfterFirstPaint(
            window.get(), [&] { ++calls; }, 10);
        window.reset();
        QVERIFY(trigger.isNull());
        QTest::qWait(30);
        QCOMPARE(calls, 0);
    }
};

QTEST_MAIN(AfterFirstPaintTest)
#include "test_after_first_paint.moc"
