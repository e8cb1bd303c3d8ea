// Every window as a keyboard and screen reader user meets it: a name of its own for each control
// that Tab reaches, Tab in reading order, Return and Escape doing what the buttons do, and lamps
// that say whether their gate is ready; and every text whole in each language at the window's
// smallest size.
#include "app/Translations.h"
#include "support/ControllerHarness.h"
#include "ui/AboutDialog.h"
#include "ui/ConfigNameListDialog.h"
#include "ui/ConfigRunDialog.h"
#include "ui/ResultsWindow.h"
#include "ui/RunDisplayDialog.h"
#include "ui/SerialPortDialog.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTranslator>
#include <QtTest>

#include <algorithm>

namespace {

const QStringList Windows{
    "main",    "gate sequence editor", "name list editor",   "serial port", "about", "run view",
    "results", "results athlete tab",  "results session tab"};

// The window called `name`, opened as the operator opens it.
QWidget* open(ControllerHarness& h, const QString& name)
{
    SLMainWindow& main = h.controller->MainWindow();
    const auto click = [&](const char* button) { main.findChild<QPushButton*>(button)->click(); };
    const auto trigger = [&](const char* action) { main.findChild<QAction*>(action)->trigger(); };
    if (name == "gate sequence editor")
        return click("configGateSeqPushButton"), main.gateSequenceEditorDialog();
    if (name == "name list editor")
        return click("configNameListPushButton"), main.nameListEditorDialog();
    if (name == "run view")
        return click("raceViewPushButton"), main.runDisplayDialog();
    if (name.startsWith("results")) {
        trigger("actionResults");
        const int tab = name.endsWith("athlete tab") ? 1 : name.endsWith("session tab") ? 2 : 0;
        main.resultsWindow()->findChild<QTabWidget*>("viewTabWidget")->setCurrentIndex(tab);
        return main.resultsWindow();
    }
    if (name == "about")
        return trigger("actionAbout"), main.findChild<AboutDialog*>();
    if (name == "serial port") {
        trigger("actionSwiftlane_Connection");
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<SerialPortDialog*>(window))
                return window;
    }
    return &main;
}

// What a screen reader says a control is. Where the name is only the value (so a combo box on
// Linux), the reader says the label the control is labelled by.
QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
    const QString name = control->text(QAccessible::Name);
    const auto labels = control->relations(QAccessible::Label);
    if (name != control->text(QAccessible::Value) || labels.isEmpty())
        return name;
    return labels.first().first->text(QAccessible::Name);
}

QStringList labels(const QList<QWidget*>& widgets)
{
    QStringList names;
    for (const QWidget* widget : widgets)
        names << (widget->objectName().isEmpty() ? widget->metaObject()->className() : widget->objectName());
    return names;
}

// What Tab reaches, as the toolkit decides it (a widget that delegates its focus is skipped), once
// every control is enabled: a disabled one is read out too, and takes its place when enabled.
QList<QWidget*> tabChain(QWidget* window)
{
    QList<QWidget*> chain;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && !w->focusProxy() && w->window() == window)
            chain << w;
    return chain;
}

// Reading order: the controls inside one container are read together, before those of the
// container next to it. Within a container rows go top to bottom, each left to right; an item
// beside a taller one, on either side and starting within its height, is read in that item's row,
// column by column, so a column of buttons beside a tall list comes right after the list.
void readingOrder(QWidget* window, QWidget* container, const QList<QWidget*>& controls, QList<QWidget*>& out)
{
    struct Item
    {
        QWidget* widget;
        QRect rect;
        int rowTop;
    };
    QList<Item> items;
    for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const bool holdsControl = std::any_of(controls.begin(), controls.end(), [child](QWidget* control) {
            return child == control || child->isAncestorOf(control);
        });
        if (holdsControl && child->isVisible() && !child->isWindow())
            items.push_back({child, QRect(child->mapTo(window, QPoint()), child->size()), 0});
    }
    for (Item& item : items) {
        item.rowTop = item.rect.top();
        for (const Item& tall : items) {
            const bool beside = tall.rect.right() < item.rect.left() || item.rect.right() < tall.rect.left();
            if (beside && tall.rect.height() > item.rect.height() && tall.rect.top() <= item.rect.top() &&
                item.rect.top() < tall.rect.bottom())
                item.rowTop = std::min(item.rowTop, tall.rect.top());
        }
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return a.rowTop < b.rowTop; });
    for (auto row = items.begin(); row != items.end();) {
        const auto sameRow = [&](const Item& item) {
            return item.rowTop < row->rowTop + std::min(row->rect.height(), item.rect.height()) / 2;
        };
        const auto rowEnd = std::find_if_not(row, items.end(), sameRow);
        std::stable_sort(row, rowEnd, [](const Item& a, const Item& b) {
            return std::pair(a.rect.left(), a.rect.top()) < std::pair(b.rect.left(), b.rect.top());
        });
        for (auto item = row; item != rowEnd; ++item) {
            if (controls.contains(item->widget))
                out << item->widget;
            readingOrder(window, item->widget, controls, out);
        }
        row = rowEnd;
    }
}

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

class AccessibilityTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ControllerHarness> h;
    QWidget* window = nullptr;

    void openRow()
    {
        QFETCH(QString, name);
        window = open(*h, name);
        QVERIFY(window && window->isVisible());
    }

private slots:
    // Four gates in the sequence, so the main window shows its strip.
    void init() { h = ControllerHarness::connected(); }
    void cleanup()
    {
        h.reset();
        DropLanguage();
    }

    void windows_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name : Windows)
            QTest::newRow(qPrintable(name)) << name;
    }

    // A name shared with another control (the toolkit falls back to the title of the group a
    // control sits in) or one that is only the control's value (a combo box's current entry) tells
    // the listener as little as none.
    void everyControlHasANameOfItsOwn_data() { windows_data(); }
    void everyControlHasANameOfItsOwn()
    {
        openRow();
        QStringList faults;
        QHash<QString, QString> owner;
        for (QWidget* control : tabChain(window)) {
            if (qobject_cast<QTabBar*>(control))
                continue; // named by the page it shows, which a control may share
            const QString name = accessibleName(control);
            const QString label = labels({control}).first();
            if (name.trimmed().isEmpty())
                faults << label + " has no name";
            else if (control->accessibleName().isEmpty() &&
                     name == QAccessible::queryAccessibleInterface(control)->text(QAccessible::Value))
                faults << label + " is called by its value \"" + name + "\"";
            else if (owner.contains(name))
                faults << label + " and " + owner[name] + " are both called \"" + name + "\"";
            owner.insert(name, label);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    void tabFollowsReadingOrder_data() { windows_data(); }
    void tabFollowsReadingOrder()
    {
        openRow();
        const QList<QWidget*> chain = tabChain(window);
        QList<QWidget*> reading;
        readingOrder(window, window, chain, reading);
        QVERIFY2(chain == reading, qPrintable("Tab:     " + labels(chain).join(' ') +
                                              "\nReading: " + labels(reading).join(' ')));
    }

    // Longer words are the usual failure. SWIFTLANE_SCREENSHOTS=<folder> keeps a picture of each.
    void textsFitInEveryLanguage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("language");
        for (const QString& name : Windows)
            for (const char* language : {"en", "de", "es"})
                QTest::newRow(qPrintable(name + " " + language)) << name << QString(language);
    }
    void textsFitInEveryLanguage()
    {
        QFETCH(QString, name);
        QFETCH(QString, language);
        InstallTranslations(*qApp, language);
        h = ControllerHarness::connected(); // windows take their texts when they are made
        openRow();
        window->resize(window->minimumSizeHint().expandedTo(window->minimumSize()));
        // Layouts, then the fonts fitted to them, settle over a few rounds of events.
        for (int round = 0; round < 3; ++round)
            QCoreApplication::processEvents();
        if (const QString folder = qEnvironmentVariable("SWIFTLANE_SCREENSHOTS"); !folder.isEmpty())
            window->grab().save(QStringLiteral("%1/%2-%3.png").arg(folder, language, name));
        const QStringList clipped = Clipped(window);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join("; ")));
    }

    // The button Return presses (by object name, or its text), then Escape closes the window.
    void returnAndEscape_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("defaultButton");
        for (const auto& [name, button] : {std::pair{"gate sequence editor", "runSavePushButton"},
                                           {"name list editor", "closePushButton"},
                                           {"serial port", "startPushButton"},
                                           {"about", "OK"},
                                           {"results", "closePushButton"},
                                           {"run view", ""}}) // no buttons at all
            QTest::newRow(name) << QString(name) << QString(button);
    }
    void returnAndEscape()
    {
        openRow();
        QFETCH(QString, defaultButton);
        QStringList defaults;
        for (QPushButton* button : window->findChildren<QPushButton*>())
            if (button->isDefault())
                defaults << (button->objectName().isEmpty() ? button->text().remove('&')
                                                            : button->objectName());
        QCOMPARE(defaults.join(' '), defaultButton);
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }

    // Escape is the keyboard's Close: the same question about unsaved changes, and on leaving the
    // main window lists the sequences as they are now ("Hurdles" stored meanwhile).
    void escapeInTheEditorDoesWhatCloseDoes()
    {
        QWidget* editor = open(*h, "gate sequence editor");
        QLineEdit* name = editor->findChild<QLineEdit*>("runNameLineEdit");
        name->setText("Renamed");
        h->writeSequence("Hurdles", {0, 1}, 40.0);
        h->dialogs.buttonAnswers = {QMessageBox::Cancel, QMessageBox::Cancel, QMessageBox::Discard};
        QTest::keyClick(name, Qt::Key_Escape);
        editor->findChild<QPushButton*>("closePushButton")->click();
        QCOMPARE(h->dialogs.calls.size(), 2u);
        QCOMPARE(h->dialogs.calls[0].text, h->dialogs.calls[1].text);
        QVERIFY(editor->isVisible());
        QTest::keyClick(name, Qt::Key_Escape);
        QVERIFY(!editor->isVisible());
        QVERIFY(h->runCombo()->findText("Hurdles") >= 0);
    }

    // Slave 1 drops out, then comes back; its lamp is the second ("Gate 2"). The strip's lamps,
    // once the start gate is passed, in the sequence's order of gates 1 to 4.
    void lampsSayWhatTheyShow()
    {
        QLabel* lamp = h->child<QLabel>("gate2LampLabel");
        QCOMPARE(accessibleName(lamp), "Gate 2 ready");
        h->status(600, true, false);
        h->tick();
        QCOMPARE(accessibleName(lamp), "Gate 2 not ready");
        QCOMPARE(accessibleName(h->child<QLabel>("gate1LampLabel")), "Gate 1 ready");
        h->status(700);
        h->tick();
        QCOMPARE(accessibleName(lamp), "Gate 2 ready");
        h->startPastTheStartGate();
        QStringList shown;
        for (QLabel* lamp : h->child<QWidget>("scrollAreaWidgetContents")->findChildren<QLabel*>("lampLabel"))
            shown << accessibleName(lamp);
        QCOMPARE(shown, QStringList({"Gate 1 passed", "Gate 2 next", "Gate 3 ahead", "Gate 4 ahead"}));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
