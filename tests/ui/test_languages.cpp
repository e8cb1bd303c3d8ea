// The windows in each language: what --lang loads, and every text fitting its control with each
// window at its smallest size. Set SWIFTLANE_SCREENSHOTS to a folder to keep a picture of each.
#include "app/Translations.h"
#include "support/ControllerHarness.h"
#include "ui/DistanceText.h"
#include "ui/ResultsWindow.h"
#include "ui/SLMainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
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

int LongestLine(const QFontMetrics& metrics, QString text)
{
    text.remove(QLatin1Char('&')); // mnemonics take no room
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// The width a control's text needs beside its icon or check mark and the width it has for it;
// {0, 0} for controls without a one-line text. The main window's layout is fixed in pixels, so a
// control's minimum size says less than its text does.
std::pair<int, int> TextNeedAndRoom(QWidget* widget)
{
    const QFontMetrics metrics = widget->fontMetrics();
    const int indicator = widget->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                          widget->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap())
        return {LongestLine(metrics, label->text()), label->contentsRect().width() - 2 * label->margin()};
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && !combo->isEditable()) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const QRect field =
            combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        return {metrics.horizontalAdvance(combo->currentText()), field.width()};
    }
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return {LongestLine(metrics, box->title()) + (box->isCheckable() ? indicator : 0), box->width() - 8};
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (!button || button->text().isEmpty())
        return {0, 0};
    const bool checkMark = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
    const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    return {LongestLine(metrics, button->text()) + icon + (checkMark ? indicator : 0),
            button->width() - (checkMark ? 0 : 6)};
}

// Controls whose text is cut off, as "name needs 95 has 80".
QStringList Clipped(QWidget* window)
{
    QStringList clipped;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const auto [need, room] = TextNeedAndRoom(widget);
        if (widget->isVisible() && widget->window() == window && need > room)
            clipped << QStringLiteral("%1 needs %2 has %3").arg(widget->objectName()).arg(need).arg(room);
    }
    return clipped;
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

    void smallestWindowsShowWholeTexts_data()
    {
        QTest::addColumn<QString>("code");
        for (const char* code : {"en", "de", "es"})
            QTest::newRow(code) << code;
    }
    void smallestWindowsShowWholeTexts()
    {
        QFETCH(QString, code);
        InstallTranslations(*qApp, code);
        auto h = ControllerHarness::connected({QStringLiteral("Ann")}, {0, 1, 2});
        SLMainWindow& window = h->controller->MainWindow();
        window.show();
        h->controller->SetupGateConnection();
        h->controller->ShowAbout();
        h->controller->ShowResults();
        window.openGateSequenceEditor();
        window.openNameListEditor();
        window.findChild<QPushButton*>("raceViewPushButton")->click();
        const QString pictures = qEnvironmentVariable("SWIFTLANE_SCREENSHOTS");
        QStringList clipped;
        for (QWidget* shown : QApplication::topLevelWidgets()) {
            if (!shown->isVisible() || qobject_cast<QMenu*>(shown))
                continue;
            shown->resize(shown->minimumSizeHint().expandedTo(shown->minimumSize()));
            // Layouts, then the fonts fitted to them, settle over a few rounds of events.
            for (int round = 0; round < 3; ++round)
                QCoreApplication::processEvents();
            if (!pictures.isEmpty())
                shown->grab().save(QStringLiteral("%1/%2-%3.png").arg(pictures, code, shown->objectName()));
            for (const QString& control : Clipped(shown))
                clipped << shown->objectName() + QLatin1Char(' ') + control;
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(TestLanguages)
#include "test_languages.moc"
