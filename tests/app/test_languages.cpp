// What --lang loads: the catalogue of the language, the numbers of its region, and nothing that a
// report or file holds.
#include "app/Translations.h"
#include "support/ControllerHarness.h"
#include "ui/DistanceText.h"

#include <QMenu>
#include <QTranslator>
#include <QtTest>

namespace {

void DropLanguage()
{
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QLocale::setDefault(QLocale::c());
}

} // namespace

class TestLanguages : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { DropLanguage(); }

    void languageChoice_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("known");
        QTest::addColumn<QString>("fileMenu");
        QTest::addColumn<QString>("seconds"); // 12345 ms in the Results window
        QTest::newRow("German") << "de" << true << "Datei"
                                << "12,345";
        QTest::newRow("Spanish, numbers of the region") << "es_MX" << true << "Archivo"
                                                        << "12.345";
        QTest::newRow("English") << "en_GB" << true << "File"
                                 << "12.345";
        QTest::newRow("no catalogue") << "fr" << true << "File"
                                      << "12,345";
        QTest::newRow("no language") << "xx-nonsense" << false << "File"
                                     << "12.345";
    }
    void languageChoice()
    {
        QFETCH(QString, code);
        QFETCH(bool, known);
        QFETCH(QString, fileMenu);
        QFETCH(QString, seconds);
        const LanguageChoice choice = InstallTranslations(*qApp, code);
        QCOMPARE(choice.known, known);
        auto h = ControllerHarness::connected();
        QCOMPARE(h->controller->MainWindow().findChild<QMenu*>("menuFile")->title(), fileMenu);
        QCOMPARE(DisplaySeconds(12345), seconds);
        // The report table and file keep the full stop and the file its English header in every language.
        h->clickStart();
        h->passAll();
        const QString row = QStringLiteral("Ann,3.000,1.000,1.000,1.000,30.000,10.000");
        QCOMPARE(h->lastTableRow().join(','), row);
        QCOMPARE(h->readReport(QStringLiteral("Swiftlane_Sprint_1.csv")),
                 "Subject_Name,Total_Time,Checkpoint_1,Checkpoint_2,Checkpoint_3,Distance,Speed\n" + row +
                     "\n");
    }
};

QTEST_MAIN(TestLanguages)
#include "test_languages.moc"
