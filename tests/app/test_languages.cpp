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
        QTest::addColumn<QString>("seconds"); // 1234567 ms in the Results window
        QTest::addColumn<QString>("cancel");  // Qt's own button text, from Qt's catalogue
        const auto row = [](const char* name, const char* code, bool known, const char* file,
                            const char* seconds, const char* cancel) {
            QTest::newRow(name) << QString(code) << known << QString(file) << QString(seconds)
                                << QString(cancel);
        };
        row("German", "de", true, "Datei", "1234,567", "Abbrechen");
        row("Spanish, numbers of the region", "es_MX", true, "Archivo", "1234.567", "Cancelar");
        row("English", "en_GB", true, "File", "1234.567", "Cancel");
        row("no catalogue: all English", "fr", true, "File", "1234,567", "Cancel");
        row("no language", "xx-nonsense", false, "File", "1234.567", "Cancel");
    }
    void languageChoice()
    {
        QFETCH(QString, code);
        QFETCH(bool, known);
        QFETCH(QString, fileMenu);
        QFETCH(QString, seconds);
        QFETCH(QString, cancel);
        const LanguageChoice choice = InstallTranslations(*qApp, code);
        QCOMPARE(choice.known, known);
        auto h = ControllerHarness::connected();
        QCOMPARE(h->controller->MainWindow().findChild<QMenu*>("menuFile")->title(), fileMenu);
        QCOMPARE(DisplaySeconds(1234567), seconds);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
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
