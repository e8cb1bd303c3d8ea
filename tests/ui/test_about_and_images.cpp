#include "app/SLMain.h"
#include "platform/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/FakeFtdiDevices.h"
#include "ui/AboutDialog.h"
#include "ui/Resources.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestAboutAndImages : public QObject
{
    Q_OBJECT

private slots:
    void aboutTexts()
    {
        AboutDialog about;
        QCOMPARE(about.windowTitle(), QString("About Tremolux"));
        QCOMPARE(about.minimumSize(), QSize(301, 292));
        QCOMPARE(about.maximumSize(), QSize(301, 292));
        QVERIFY(!about.isSizeGripEnabled());
        QStringList lines;
        for (const char* name : {"label", "versionLabel", "label_2", "label_4"})
            lines << about.findChild<QLabel*>(name)->text();
        QCOMPARE(lines, (QStringList{"Swiftlane software", "Version 51",
                                     "Copyright (C) 2026 Swiftlane developers", "All rights reserved."}));
        QCOMPARE(about.findChild<QLabel*>("label_5")->pixmap().size(), QSize(279, 169));
        QCOMPARE(about.findChild<QDialogButtonBox*>("buttonBox")->buttons().size(), 1);
    }

    void everyAboutIsANewDialog()
    {
        platform::FakeClock clock;
        platform::FakeFtdiDevices ftdi;
        FakeDialogs dialogs;
        SLMain controller;
        SLMainWindow& window = controller.MainWindow();
        window.setController(&controller);
        QAction* about = window.findChild<QAction*>("actionAbout");
        about->trigger();
        about->trigger();
        const QList<AboutDialog*> shown = window.findChildren<AboutDialog*>();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0]->isVisible() && shown[1]->isVisible());
        QVERIFY(!shown[0]->isModal());

        shown[0]->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        QVERIFY(!shown[0]->isVisible());
        QCOMPARE(window.findChildren<AboutDialog*>().size(), 2); // hidden, not deleted
    }

    void imageSizesAndColours_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("dominant"); // the strongest channel at the lamp's centre
        QTest::newRow("green") << ":/LED/LED_Circle_Green_On" << QSize(100, 100) << "g";
        QTest::newRow("red") << ":/LED/LED_Circle_Red_On" << QSize(100, 100) << "r";
        QTest::newRow("grey") << ":/LED/LED_Circle_Grey_Off" << QSize(100, 100) << "grey";
        QTest::newRow("blue") << ":/LED/LED_Square_Blue_On" << QSize(100, 100) << "b";
        QTest::newRow("orange") << ":/LED/LED_Square_Orange_On" << QSize(100, 100) << "r";
        QTest::newRow("black") << ":/LED/LED_Square_Black_Off" << QSize(100, 100) << "dark";
        QTest::newRow("logo") << ":/logo/logo" << QSize(279, 169) << "";
        QTest::newRow("config") << ":/icon/config" << QSize(48, 48) << "";
        QTest::newRow("folder") << ":/icon/folder" << QSize(48, 48) << "";
        QTest::newRow("binoculars") << ":/icon/binoculars" << QSize(48, 48) << "";
        QTest::newRow("flag") << ":/icon/checkered_flag" << QSize(48, 48) << "";
        QTest::newRow("flag, second name") << ":/icon/resource/checkered_flag.png" << QSize(48, 48) << "";
    }
    void imageSizesAndColours()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QFETCH(QString, dominant);
        EnsureResources();
        const QImage image(path);
        QCOMPARE(image.size(), size);
        const QColor centre = image.pixelColor(size.width() / 2, size.height() / 2 + 10);
        const int r = centre.red();
        const int g = centre.green();
        const int b = centre.blue();
        if (dominant == "r")
            QVERIFY(r > g && r > b);
        else if (dominant == "g")
            QVERIFY(g > r && g > b);
        else if (dominant == "b")
            QVERIFY(b > r && b > g);
        else if (dominant == "grey")
            QVERIFY(std::abs(r - g) < 10 && std::abs(g - b) < 10 && r > 60);
        else if (dominant == "dark")
            QVERIFY(r < 60 && g < 60 && b < 60);
    }
};

int main(int argc, char* argv[])
{
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestAboutAndImages test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_about_and_images.moc"
