#include "desktop.h"
#include "settingsstore.h"
#include "wndlog.h"
#include "wndlogdbg.h"

#include <QAction>
#include <QMenu>
#include <QtTest>

#include <memory>

namespace {

// A menu as "text=id" per entry ("text" for an entry without id) and "-" per separator.
QStringList entries(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator())
            texts.append(QStringLiteral("-"));
        else if (action->data().isValid())
            texts.append(action->text() + QLatin1Char('=') + action->data().toString());
        else
            texts.append(action->text());
    }
    return texts;
}

std::unique_ptr<WndLog> makeView(bool debug, const char* name, Desktop* desktop = nullptr)
{
    const DBLOG log = makeLogDescriptor(QStringLiteral("debug"));
    if (debug)
        return std::make_unique<WndLogDbg>(nullptr, nullptr, &log, name, Qt::Widget, desktop);
    return std::make_unique<WndLog>(nullptr, nullptr, &log, name, Qt::Widget, desktop);
}

} // namespace

// The context menus of the log viewers by their object names, and the character set.
class tst_WndLogDbg : public QObject
{
    Q_OBJECT

private slots:
    void menuByObjectName_data();
    void menuByObjectName();
    void theConsoleBuildsTheDebugViewForTheDebugLog_data();
    void theConsoleBuildsTheDebugViewForTheDebugLog();
    void charsetMenu();
    void charsetChoice_data();
    void charsetChoice();
    void sizeOfASeparateWindow_data();
    void sizeOfASeparateWindow();
};

void tst_WndLogDbg::menuByObjectName_data()
{
    QTest::addColumn<bool>("debug");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("menu");

    const QStringList full{"&Copy=1", "-", "Select &font...=2", "C&harset coding=3", "-",
                           "&Clear log=4"};
    QTest::newRow("plain log") << false << "Corvane_Log" << QStringList{"&Copy=1"};
    QTest::newRow("plain viewer under another name") << false << "Other_Log" << full;
    QTest::newRow("console's debug log")
        << true << "Corvane_Debug_Log"
        << QStringList{"&Copy=1", "-", "Set log events...=20", "-", "&Clear log=4"};
    QTest::newRow("the other debug view name")
        << true << "Ferrox_Debug_Log"
        << full + QStringList{"-", "IP Traffic...=21", "Messages...=20"};
    QTest::newRow("debug viewer under any other name")
        << true << "Some_Log" << full + QStringList{"-", "Messages...=20"};
}

void tst_WndLogDbg::menuByObjectName()
{
    QFETCH(bool, debug);
    QFETCH(QString, name);
    QFETCH(QStringList, menu);

    const std::unique_ptr<WndLog> view = makeView(debug, name.toLatin1().constData());
    QMenu popup;
    view->popupMenuCreate(&popup);
    QCOMPARE(entries(popup), menu);
    // Nothing is selected: "&Copy" cannot be chosen.
    QVERIFY(!popup.actions().first()->isEnabled());
    QCOMPARE(popup.actions().first()->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
}

void tst_WndLogDbg::theConsoleBuildsTheDebugViewForTheDebugLog_data()
{
    QTest::addColumn<QString>("log");
    QTest::addColumn<bool>("debug");
    QTest::addColumn<QString>("name");

    QTest::newRow("debug") << "debug" << true << "Corvane_Debug_Log";
    QTest::newRow("DEBUG") << "DEBUG" << true << "Corvane_Debug_Log";
    QTest::newRow("another log") << "smtp" << false << "Corvane_Log";
}

void tst_WndLogDbg::theConsoleBuildsTheDebugViewForTheDebugLog()
{
    QFETCH(QString, log);
    QFETCH(bool, debug);
    QFETCH(QString, name);

    const std::unique_ptr<WndLog> view(createLogView(nullptr, nullptr, log, Qt::Widget));
    QCOMPARE(qobject_cast<WndLogDbg*>(view.get()) != nullptr, debug);
    QCOMPARE(view->objectName(), name);
}

void tst_WndLogDbg::charsetMenu()
{
    const std::unique_ptr<WndLog> view = makeView(false, "Other_Log");
    QCOMPARE(entries(*view->charsetMenu()),
             (QStringList{"&Unicode=10", "-", "Western (ISO 8859-&1)=11", "Western (ISO 8859-15)=12",
                          "-", "Central European (ISO 8859-&2)=13",
                          "Central European (&CP 1250)=14"}));
    // "&Unicode" carries the check mark at first.
    QStringList checked;
    for (const QAction* action : view->charsetMenu()->actions()) {
        if (action->isChecked())
            checked.append(action->text());
    }
    QCOMPARE(checked, QStringList{"&Unicode"});
}

void tst_WndLogDbg::charsetChoice_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QByteArray>("codec");

    QTest::newRow("Unicode") << 10 << 0 << "&Unicode" << QByteArray();
    QTest::newRow("CP 1250") << 14 << 14 << "Central European (&CP 1250)" << QByteArray("CP 1250");
    QTest::newRow("ISO 8859-1") << 11 << 11 << "Western (ISO 8859-&1)" << QByteArray("ISO 8859-1");
}

void tst_WndLogDbg::charsetChoice()
{
    QFETCH(int, id);
    QFETCH(int, stored);
    QFETCH(QString, checked);
    QFETCH(QByteArray, codec);

    Desktop desktop;
    desktop.settings()->writeEntry(QStringLiteral("/Admin/Logs/charset"), 12);
    const std::unique_ptr<WndLog> view = makeView(false, "Other_Log", &desktop);
    QCOMPARE(view->charset(), 12);
    for (QAction* action : view->charsetMenu()->actions()) {
        if (action->data().toInt() == id)
            action->trigger();
    }
    QCOMPARE(desktop.settings()->readNumEntry(QStringLiteral("/Admin/Logs/charset"), -1), stored);
    QCOMPARE(view->charset(), stored);
    QCOMPARE(WndLog::charsetName(view->charset()), codec);
    QStringList marked;
    for (const QAction* action : view->charsetMenu()->actions()) {
        if (action->isChecked())
            marked.append(action->text());
    }
    QCOMPARE(marked, QStringList{checked});
}

void tst_WndLogDbg::sizeOfASeparateWindow_data()
{
    QTest::addColumn<bool>("separate");
    QTest::addColumn<bool>("withWorkspace");
    QTest::addColumn<bool>("stored");

    QTest::newRow("separate window with a workspace") << true << true << true;
    QTest::newRow("separate window without a workspace") << true << false << false;
    QTest::newRow("in a pane, with a workspace") << false << true << false;
}

void tst_WndLogDbg::sizeOfASeparateWindow()
{
    QFETCH(bool, separate);
    QFETCH(bool, withWorkspace);
    QFETCH(bool, stored);

    Desktop desktop;
    // The store outlives the workspace: start from a size no view writes.
    desktop.settings()->writeEntry(QStringLiteral("/Admin/Logs/debug/width"), -1);
    desktop.settings()->writeEntry(QStringLiteral("/Admin/Logs/debug/height"), -1);
    QWidget pane;
    const DBLOG log = makeLogDescriptor(QStringLiteral("debug"));
    WndLogDbg view(separate ? static_cast<QWidget*>(&desktop) : &pane, nullptr, &log,
                   "Corvane_Debug_Log", Qt::Widget, withWorkspace ? &desktop : nullptr);
    QCOMPARE(view.isDetached(), separate);
    view.resize(321, 234);
    view.parentWidget()->show();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(view.window()));
    view.resize(333, 222);
    QTRY_COMPARE(view.size(), QSize(333, 222));
    const SettingsStore* settings = desktop.settings();
    QCOMPARE(settings->readNumEntry(QStringLiteral("/Admin/Logs/debug/width"), -1),
             stored ? 333 : -1);
    QCOMPARE(settings->readNumEntry(QStringLiteral("/Admin/Logs/debug/height"), -1),
             stored ? 222 : -1);
}

QTEST_MAIN(tst_WndLogDbg)
#include "tst_wndlogdbg.moc"
