// The one-shot callback after a window's first frame, and its deadline for a window that never paints.
#include "ui/AfterFirstPaint.h"

#include <QPointer>
#include <QWidget>
#include <QtTest>

#include <memory>

namespace {

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
    // Never from inside show(), never before the frame is drawn, never a second time; a window
    // never shown is called back once at the deadline, and a window gone first never.
    void callsBackOnce()
    {
        CountingWindow shown, neverShown;
        auto gone = std::make_unique<CountingWindow>();
        QList<int> paintsSeen;
        int deadlineCalls = 0, goneCalls = 0;
        new AfterFirstPaint(
            &shown, [&] { paintsSeen << shown.paints; }, 60 * 60 * 1000);
        new AfterFirstPaint(
            &neverShown, [&] { ++deadlineCalls; }, 20);
        QPointer<AfterFirstPaint> trigger = new AfterFirstPaint(
            gone.get(), [&] { ++goneCalls; }, 10);
        gone.reset();
        QVERIFY(trigger.isNull());
        shown.resize(200, 100);
        shown.show();
        QCOMPARE(paintsSeen, QList<int>());
        QVERIFY(QTest::qWaitForWindowExposed(&shown));
        QTRY_COMPARE(paintsSeen.size(), 1);
        QVERIFY(paintsSeen[0] >= 1);
        QTRY_COMPARE(deadlineCalls, 1);

        shown.repaint();
        shown.hide();
        shown.show();
        neverShown.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown) && QTest::qWaitForWindowExposed(&neverShown));
        QTest::qWait(20);
        QVERIFY(shown.paints > 1);
        QCOMPARE(paintsSeen.size(), 1);
        QCOMPARE(deadlineCalls, 1);
        QCOMPARE(goneCalls, 0);
    }
};

QTEST_MAIN(AfterFirstPaintTest)
#include "test_after_first_paint.moc"
