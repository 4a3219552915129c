// The whole console as an administrator meets it. The built module is loaded, opened on the
// stand-in server (with its demo data) and unloaded by the console host's own code, and every
// item of the navigation tree is chosen in the tree's order: each opens a page of its own,
// each page that edits the server makes one real edit through its widgets that Apply sends
// and the server then holds, and Reset is tried once on each kind of editing page. Half-way
// the server drops the connection: the loss is reported once, nothing more happens in that
// window, it closes without a question, the module is unloaded, and the walk goes on in a
// second session of a module loaded anew.
//
// The module's symbols are hidden, so nothing of it is linked here: its widgets are found
// by their classes, object names and texts, and its boxes and dialogs are the real ones,
// answered by the stand-in administrator.

#include "administrator.h"
#include "desktop.h"
#include "hostedconsole.h"
#include "navigation.h"
#include "testserver.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>

#include <functional>
#include <memory>

using namespace StandIn;

class ConsoleWalk;

namespace {

const char ModulePath[] = ORNEL_MODULE_PATH;
const QString Host = QStringLiteral("127.0.0.1");
const QString Caption = QStringLiteral("Ornel Corvane - 127.0.0.1");
const QString LostMark = QStringLiteral(" - NOT CONNECTED!");

// How long the console may take to unload the module once its window has closed.
constexpr int QuitWithinMs = 20000;

// One real edit of a page, as the administrator makes it, and where it shows.
struct PageEdit
{
    std::function<void()> make;     // everything up to Apply
    std::function<QString()> shown; // what the page shows of the edited value, if anything
    std::function<QString()> stored; // what the server holds of it
    QString shownAfter;
    QString storedAfter;
};

// A row of a list page edited in its dialog.
struct RowEdit
{
    QString row;       // shown in the row to edit
    QString dialog;    // the dialog's class
    QString field;     // the line edit typed over
    QString typed;
    QString ok;        // the dialog's OK button
    QString table;     // where the server keeps the row: in its column `keyColumn` is `key`
    QString keyColumn;
    QString key;
    QString column;    // where `typed` is kept
};

using EditMaker = PageEdit (ConsoleWalk::*)(QWidget* page);

enum StopFlag {
    NoFlags = 0,
    Bar = 1,            // the page edits through the pending list: the Apply/Reset bar shows
    TryReset = 2,       // the edit is made, reset, and made again before Apply
    LoseConnection = 4, // in the first session the server drops the connection as Apply sends the edit
};

// One item of the navigation tree, in the tree's order.
struct Stop
{
    QString path;      // titles from the top, joined by "/"
    QString pageClass; // the class of what the item shows in the right pane
    int flags;
    EditMaker edit;    // the page's edit; null for a page that edits nothing
};

QString checked(const QAbstractButton* button)
{
    return button->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
}

template<class Widget>
Widget* named(const QWidget* within, const QString& objectName)
{
    Widget* found = within->findChild<Widget*>(objectName);
    if (!found)
        qWarning("no %s named %s", Widget::staticMetaObject.className(), qPrintable(objectName));
    return found;
}

// As typed over the field's whole text.
void typeInto(QLineEdit* field, const QString& text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

// The first row (at any depth) that shows text in one of its columns.
QTreeWidgetItem* rowShowing(const QTreeWidget* list, const QString& text)
{
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(list)); *it; ++it) {
        for (int column = 0; column < list->columnCount(); ++column) {
            if ((*it)->text(column) == text)
                return *it;
        }
    }
    return nullptr;
}

// The cell of row under the column titled title; empty when either is missing.
QString cellUnder(const QTreeWidgetItem* row, const QString& title)
{
    if (!row)
        return QString();
    const QTreeWidget* list = row->treeWidget();
    for (int column = 0; column < list->columnCount(); ++column) {
        if (list->headerItem()->text(column) == title)
            return row->text(column);
    }
    return QString();
}

// As a click on the row: it becomes the list's only selected row.
bool chooseRow(QTreeWidget* list, const QString& text)
{
    QTreeWidgetItem* row = rowShowing(list, text);
    if (!row)
        return false;
    list->setCurrentItem(row, 0, QItemSelectionModel::ClearAndSelect);
    return true;
}

} // namespace

class ConsoleWalk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void treeHoldsTheWalk();
    void walk_data();
    void walk();
    void closesWithoutAQuestion();
    void cleanupTestCase();

private:
    static const QList<Stop>& stops();

    void openSession();
    void visit(const Stop& stop);
    void checkPage(const Stop& stop, QWidget* page, int journalBefore);
    void applyIntoLostConnection(const PageEdit& edit, const QString& storedBefore);
    void closeAndUnload();
    void makeEdit(const Stop& stop, QWidget* page);

    QWidget* mainWindow() const { return m_console ? m_console->mainWindow() : nullptr; }
    QTreeWidget* tree() const;
    QWidget* rightPane() const;
    QWidget* shownPage(const QString& className) const;
    QAbstractButton* applyButton() const;
    QAbstractButton* resetButton() const;
    int journalSize() const { return int(m_server->journal().size()); }
    QStringList journalSince(int from) const;
    QString stored(const QString& table, const QString& keyColumn, const QString& key,
                   const QString& column) const;
    int storedRows(const QString& table, const QString& column, const QString& value) const;

    // The pages' edits, and the kinds of edit several pages share.
    PageEdit clickOn(QWidget* page, const QString& button, const QString& table, const QString& column,
                     bool checkedAfter, const QString& storedAfter);
    PageEdit editInDialog(QWidget* page, const RowEdit& edit);
    PageEdit removeSet(QWidget* page, const QString& set, const QString& table, const QString& nameColumn);
    PageEdit services(QWidget* page);
    PageEdit smtp(QWidget* page);
    PageEdit antivirus(QWidget* page);
    PageEdit antispam(QWidget* page);
    PageEdit backup(QWidget* page);
    PageEdit internetConnection(QWidget* page);
    PageEdit scheduling(QWidget* page);
    PageEdit pop3(QWidget* page);
    PageEdit etrn(QWidget* page);
    PageEdit remote(QWidget* page);
    PageEdit advanced(QWidget* page);
    PageEdit timeRanges(QWidget* page);
    PageEdit addressGroups(QWidget* page);
    PageEdit templates(QWidget* page);
    PageEdit users(QWidget* page);
    PageEdit groups(QWidget* page);
    PageEdit queue(QWidget* page);
    PageEdit debugLog(QWidget* page);

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<Administrator> m_administrator;
    std::unique_ptr<HostedConsole> m_console;
    int m_sessions = 0;
};

const QList<Stop>& ConsoleWalk::stops()
{
    using W = ConsoleWalk;
    static const QList<Stop> walk = {
        {"Ornel Corvane", "WndDlgLogo", NoFlags, nullptr},
        {"Configuration", "WndNavigation", NoFlags, nullptr},
        {"Configuration/Services", "WndService", Bar, &W::services},
        {"Configuration/Domains", "WndDomain", Bar, nullptr},
        {"Configuration/SMTP Properties", "WndSmtp", Bar | TryReset, &W::smtp},
        {"Configuration/Antivirus", "WndAvir", Bar, &W::antivirus},
        {"Configuration/Antispam", "WndAntispam", Bar, &W::antispam},
        {"Configuration/Backup", "WndBackup", Bar, &W::backup},
        {"Configuration/Internet Connection", "WndInterCon", Bar, &W::internetConnection},
        {"Configuration/Scheduling", "WndSched", Bar, &W::scheduling},
        {"Configuration/POP3 Download", "WndPop3", Bar, &W::pop3},
        {"Configuration/ETRN Download", "WndEtrn", Bar, &W::etrn},
        {"Configuration/Remote Administration", "WndRemote", Bar, &W::remote},
        {"Configuration/Advanced Options", "WndAdvanced", Bar, &W::advanced},
        {"Configuration/Definitions", "WndNavigation", NoFlags, nullptr},
        {"Configuration/Definitions/Time Ranges", "WndTimeInt", Bar, &W::timeRanges},
        {"Configuration/Definitions/IP Address Groups", "WndIPGroup", Bar | TryReset, &W::addressGroups},
        {"Configuration/Definitions/User Templates", "WndTemplate", Bar, &W::templates},
        {"Domain Settings", "WndNavigation", NoFlags, nullptr},
        {"Domain Settings/Users", "WndUser", Bar | TryReset | LoseConnection, &W::users},
        {"Domain Settings/Groups", "WndGroup", Bar, &W::groups},
        {"Domain Settings/Aliases", "WndAlias", Bar, nullptr},
        {"Status", "WndNavigation", NoFlags, nullptr},
        {"Status/Mail Queue", "WndQueue", NoFlags, &W::queue},
        {"Status/Connections", "WndConnection", NoFlags, nullptr},
        {"Logs", "WndNavigation", NoFlags, nullptr},
        {"Logs/smtp", "WndLog", NoFlags, nullptr},
        {"Logs/pop3", "WndLog", NoFlags, nullptr},
        {"Logs/imap", "WndLog", NoFlags, nullptr},
        {"Logs/admin", "WndLog", NoFlags, nullptr},
        {"Logs/debug", "WndLogDbg", NoFlags, &W::debugLog},
        {"Quick Checklist", "QTextBrowser", NoFlags, nullptr},
    };
    return walk;
}

void ConsoleWalk::initTestCase()
{
    ServerOptions options;
    options.port = 0;
    m_server = std::make_unique<TestServer>(options);
    QString error;
    QVERIFY2(m_server->start(&error), qPrintable(error));
    m_administrator = std::make_unique<Administrator>();
    openSession();
}

void ConsoleWalk::cleanupTestCase()
{
    m_console.reset();
    m_administrator.reset();
    m_server.reset();
}

void ConsoleWalk::openSession()
{
    m_console = std::make_unique<HostedConsole>(QString::fromLocal8Bit(ModulePath));
    QString error;
    QVERIFY2(m_console->load(&error), qPrintable(error));
    QVERIFY(m_console->openServer(m_server->port()));
    ++m_sessions;
    QCOMPARE(classOf(mainWindow()), QStringLiteral("WndMain"));
    QCOMPARE(mainWindow()->windowTitle(), Caption);
    // It opens on the product page.
    QVERIFY(shownPage(QStringLiteral("WndDlgLogo")));
}

QTreeWidget* ConsoleWalk::tree() const
{
    return mainWindow() ? navigationTree(mainWindow()) : nullptr;
}

QWidget* ConsoleWalk::rightPane() const
{
    // The tree and the pages share a splitter: the pages are on its other side.
    auto* split = tree() ? qobject_cast<QSplitter*>(tree()->parentWidget()) : nullptr;
    return split && split->count() == 2 ? split->widget(1) : nullptr;
}

QWidget* ConsoleWalk::shownPage(const QString& className) const
{
    QWidget* pane = rightPane();
    if (!pane)
        return nullptr;
    QWidget* found = nullptr;
    for (QWidget* widget : pane->findChildren<QWidget*>()) {
        if (classOf(widget) != className || !widget->isVisible())
            continue;
        if (found)
            return nullptr; // a page that went is still shown beside the new one
        found = widget;
    }
    return found;
}

QAbstractButton* ConsoleWalk::applyButton() const
{
    return findButton(mainWindow(), QStringLiteral("A&pply"));
}

QAbstractButton* ConsoleWalk::resetButton() const
{
    return findButton(mainWindow(), QStringLiteral("Re&set"));
}

QStringList ConsoleWalk::journalSince(int from) const
{
    QStringList statements;
    const QList<JournalEntry> journal = m_server->journal();
    for (int i = from; i < journal.size(); ++i)
        statements.append(journal.at(i).statement);
    return statements;
}

QString ConsoleWalk::stored(const QString& table, const QString& keyColumn, const QString& key,
                            const QString& column) const
{
    const QList<Column> columns = m_server->columns(table);
    int keyIndex = -1;
    int valueIndex = -1;
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).name.compare(keyColumn, Qt::CaseInsensitive) == 0)
            keyIndex = i;
        if (columns.at(i).name.compare(column, Qt::CaseInsensitive) == 0)
            valueIndex = i;
    }
    for (const QStringList& row : m_server->rows(table)) {
        if (keyColumn.isEmpty() || row.value(keyIndex) == key)
            return row.value(valueIndex, QStringLiteral("(no column %1)").arg(column));
    }
    return QStringLiteral("(no row)");
}

int ConsoleWalk::storedRows(const QString& table, const QString& column, const QString& value) const
{
    const QList<Column> columns = m_server->columns(table);
    int index = -1;
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).name.compare(column, Qt::CaseInsensitive) == 0)
            index = i;
    }
    int count = 0;
    for (const QStringList& row : m_server->rows(table))
        count += row.value(index) == value ? 1 : 0;
    return count;
}

// The table below is the whole tree, item for item in the tree's order.
void ConsoleWalk::treeHoldsTheWalk()
{
    QVERIFY(tree());
    QStringList paths;
    for (QTreeWidgetItemIterator it(tree()); *it; ++it) {
        QString path = (*it)->text(0);
        for (const QTreeWidgetItem* parent = (*it)->parent(); parent; parent = parent->parent())
            path.prepend(parent->text(0) + QLatin1Char('/'));
        paths.append(path);
    }
    QStringList walked;
    for (const Stop& stop : stops())
        walked.append(stop.path);
    QCOMPARE(paths, walked);
}

void ConsoleWalk::walk_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < stops().size(); ++i)
        QTest::newRow(qPrintable(stops().at(i).path)) << i;
}

void ConsoleWalk::walk()
{
    QFETCH(int, index);
    const Stop& stop = stops().at(index);
    QVERIFY(mainWindow());
    m_administrator->clearSeen();
    visit(stop);
    QVERIFY2(m_administrator->unexpected.isEmpty(), qPrintable(m_administrator->unexpected.join(u'\n')));
    QVERIFY(m_administrator->answeredAll());
}

void ConsoleWalk::visit(const Stop& stop)
{
    const QString title = stop.path.section(QLatin1Char('/'), -1);
    const int before = journalSize();
    QVERIFY(selectNavigationItem(m_console->desktop(), title));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(tree()->currentItem()->text(0), title);

    QWidget* page = shownPage(stop.pageClass);
    QVERIFY2(page, qPrintable(QStringLiteral("no %1 shown").arg(stop.pageClass)));
    QCOMPARE(applyButton()->isVisible(), bool(stop.flags & Bar));
    checkPage(stop, page, before);
    if (stop.edit && !QTest::currentTestFailed())
        makeEdit(stop, page);
}

// That the page is the item's own.
void ConsoleWalk::checkPage(const Stop& stop, QWidget* page, int journalBefore)
{
    const QString title = stop.path.section(QLatin1Char('/'), -1);
    if (stop.pageClass == QLatin1String("WndNavigation")) {
        // A group lists its children, one row each.
        auto* list = page->findChild<QTreeWidget*>();
        QVERIFY(list);
        const QTreeWidgetItem* item = tree()->currentItem();
        QCOMPARE(list->topLevelItemCount(), item->childCount());
        for (int i = 0; i < item->childCount(); ++i)
            QCOMPARE(list->topLevelItem(i)->text(0), item->child(i)->text(0));
    } else if (stop.pageClass.startsWith(QLatin1String("WndLog"))) {
        // The viewer asks the server for its log's lines.
        const QString ask = QStringLiteral("select LogData(\"%1\"").arg(title);
        QTRY_VERIFY2(journalSince(journalBefore).join(u'\n').contains(ask), qPrintable(ask));
    } else if (stop.pageClass == QLatin1String("QTextBrowser")) {
        QVERIFY(static_cast<QTextBrowser*>(page)->toPlainText().startsWith(QLatin1String("Quick Checklist")));
    } else if (stop.pageClass != QLatin1String("WndDlgLogo")) {
        // Every other page loads what it shows from the server and names itself above it.
        QVERIFY(journalSize() > journalBefore);
        bool captioned = false;
        for (const QLabel* label : rightPane()->findChildren<QLabel*>())
            captioned = captioned || (label->isVisible() && label->text() == title);
        QVERIFY2(captioned, qPrintable(title));
    }
}

void ConsoleWalk::makeEdit(const Stop& stop, QWidget* page)
{
    const PageEdit edit = (this->*stop.edit)(page);
    const auto shown = [&edit] { return edit.shown ? edit.shown() : QString(); };
    const QString storedBefore = edit.stored();
    const QString shownBefore = shown();
    QVERIFY(storedBefore != edit.storedAfter);
    QVERIFY(!edit.shown || shownBefore != edit.shownAfter);

    edit.make();
    QTRY_VERIFY(m_administrator->answeredAll());
    QCOMPARE(shown(), edit.shownAfter);
    if (stop.flags & Bar) {
        QVERIFY(applyButton()->isEnabled());
        QCOMPARE(edit.stored(), storedBefore);
        if (stop.flags & TryReset) {
            QTest::mouseClick(resetButton(), Qt::LeftButton);
            QVERIFY(!applyButton()->isEnabled());
            QVERIFY(!resetButton()->isEnabled());
            QCOMPARE(shown(), shownBefore);
            QCOMPARE(edit.stored(), storedBefore);
            edit.make();
            QTRY_VERIFY(m_administrator->answeredAll());
            QCOMPARE(shown(), edit.shownAfter);
        }
        if ((stop.flags & LoseConnection) && m_sessions == 1) {
            applyIntoLostConnection(edit, storedBefore);
            if (QTest::currentTestFailed())
                return;
            // The walk goes on in a new session, from this same item.
            visit(stop);
            return;
        }
        const int before = journalSize();
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        QVERIFY(journalSize() > before);
        QVERIFY(!applyButton()->isEnabled());
        QVERIFY(!resetButton()->isEnabled());
    }
    QTRY_COMPARE(edit.stored(), edit.storedAfter);
    QCOMPARE(shown(), edit.shownAfter);
}

// The server drops the connection as Apply sends the pending edit: the loss is reported once,
// the edit stays pending and unsent, and from then on the window neither switches pages nor
// asks about the pending edit, not even as it closes. The console then unloads the module
// and opens the server in a module loaded anew.
void ConsoleWalk::applyIntoLostConnection(const PageEdit& edit, const QString& storedBefore)
{
    QVERIFY(m_server->dropAt(QStringLiteral("."), 1));
    m_administrator->answerBox(QStringLiteral("OK"));
    QTest::mouseClick(applyButton(), Qt::LeftButton);
    QTRY_VERIFY(m_administrator->answeredAll());

    QCOMPARE(m_administrator->boxes.size(), 1);
    const Administrator::Box box = m_administrator->boxes.constFirst();
    QCOMPARE(box.caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(box.text, QStringLiteral("Connection failed!\nConsole was disconnected from %1.").arg(Host));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(mainWindow()->windowTitle(), Caption + LostMark);
    QCOMPARE(edit.stored(), storedBefore);
    QVERIFY(applyButton()->isEnabled());

    // Choosing another item does nothing: no question, no page, no statement.
    const QList<QWidget*> shown = rightPane()->findChildren<QWidget*>();
    const int statements = journalSize();
    QVERIFY(selectNavigationItem(m_console->desktop(), QStringLiteral("Groups")));
    QTest::qWait(50);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(rightPane()->findChildren<QWidget*>(), shown);
    QCOMPARE(journalSize(), statements);
    QCOMPARE(m_administrator->boxes.size(), 1);
    QCOMPARE(mainWindow()->windowTitle(), Caption + LostMark);

    closeAndUnload();
    QCOMPARE(m_administrator->boxes.size(), 1);
    m_server->clearControls();
    openSession();
}

// The window closes without a question, the module asks to be unloaded, and the console
// unloads it and quits.
void ConsoleWalk::closeAndUnload()
{
    QMdiSubWindow* frame = m_console->frame();
    QVERIFY(frame);
    frame->close();
    QCOMPARE(m_console->runUntilQuit(QuitWithinMs), 0);
    QVERIFY(!m_console->isLoaded());
    QVERIFY(!m_console->mainWindow());
    m_console.reset();
}

void ConsoleWalk::closesWithoutAQuestion()
{
    QVERIFY(mainWindow());
    m_administrator->clearSeen();
    closeAndUnload();
    QVERIFY(m_administrator->boxes.isEmpty());
    // Each session's connection has ended.
    QTRY_VERIFY([this] {
        for (const SessionInfo& session : m_server->sessions()) {
            if (session.connected)
                return false;
        }
        return true;
    }());
    QCOMPARE(m_sessions, 2);
}

// The pages' edits. Values are the demo server's (testserver/fixtures/).

// A click on a check box or radio button of a page whose one row the server keeps in table.
PageEdit ConsoleWalk::clickOn(QWidget* page, const QString& button, const QString& table,
                              const QString& column, bool checkedAfter, const QString& storedAfter)
{
    auto* clicked = named<QAbstractButton>(page, button);
    return {[=] { clicked->click(); },
            [=] { return checked(clicked); },
            [=] { return stored(table, QString(), QString(), column); },
            checkedAfter ? QStringLiteral("checked") : QStringLiteral("unchecked"), storedAfter};
}

// A row of the page's list edited in its dialog: one field typed over, then OK. The list
// shows the new text once the dialog has closed.
PageEdit ConsoleWalk::editInDialog(QWidget* page, const RowEdit& edit)
{
    auto* list = named<QTreeWidget>(page, QStringLiteral("m_list"));
    return {[=] {
                QVERIFY(chooseRow(list, edit.row));
                m_administrator->workDialog(edit.dialog, [edit](QDialog* dialog) {
                    typeInto(named<QLineEdit>(dialog, edit.field), edit.typed);
                    QVERIFY(clickButton(dialog, edit.ok));
                });
                QVERIFY(clickButton(page, QStringLiteral("m_btnEdit")));
            },
            [=] { return rowShowing(list, edit.typed) ? edit.typed : QString(); },
            [=] { return stored(edit.table, edit.keyColumn, edit.key, edit.column); },
            edit.typed, edit.typed};
}

// The set of a definition page taken out with Remove.
PageEdit ConsoleWalk::removeSet(QWidget* page, const QString& set, const QString& table,
                                const QString& nameColumn)
{
    auto* list = page->findChild<QTreeWidget*>();
    return {[=] {
                QVERIFY(chooseRow(list, set));
                QVERIFY(clickButton(page, QStringLiteral("m_btnRemove")));
            },
            [=] { return rowShowing(list, set) ? set : QString(); },
            [=] { return QString::number(storedRows(table, nameColumn, set)); },
            QString(), QStringLiteral("0")};
}

PageEdit ConsoleWalk::services(QWidget* page)
{
    auto* list = named<QTreeWidget>(page, QStringLiteral("m_list"));
    return {[=] {
                QVERIFY(chooseRow(list, QStringLiteral("POP3 Server")));
                m_administrator->workDialog(QStringLiteral("DlgService"), [](QDialog* dialog) {
                    typeInto(named<QLineEdit>(dialog, QStringLiteral("m_editPort")), QStringLiteral("1110"));
                    QVERIFY(clickButton(dialog, QStringLiteral("OK")));
                });
                // The service runs: the new port is taken only once it is started again.
                m_administrator->answerBox(QStringLiteral("OK"));
                QVERIFY(clickButton(page, QStringLiteral("Edit...")));
            },
            [=] { return cellUnder(rowShowing(list, QStringLiteral("POP3 Server")), QStringLiteral("Port")); },
            [=] { return stored(QStringLiteral("service-pop3"), QString(), QString(), QStringLiteral("port")); },
            QStringLiteral("1110"), QStringLiteral("1110")};
}

PageEdit ConsoleWalk::smtp(QWidget* page)
{
    auto* hops = named<QLineEdit>(page, QStringLiteral("m_editHops"));
    return {[=] { typeInto(hops, QStringLiteral("25")); },
            [=] { return hops->text(); },
            [=] { return stored(QStringLiteral("smtp"), QString(), QString(), QStringLiteral("MaxHops")); },
            QStringLiteral("25"), QStringLiteral("25")};
}

PageEdit ConsoleWalk::antivirus(QWidget* page)
{
    return clickOn(page, QStringLiteral("m_chkCheckEnable"), QStringLiteral("antivir"),
                   QStringLiteral("AvirEnabled"), false, QStringLiteral("0"));
}

PageEdit ConsoleWalk::antispam(QWidget* page)
{
    return clickOn(page, QStringLiteral("m_chkAuth"), QStringLiteral("antispam"), QStringLiteral("AllowAuth"),
                   false, QStringLiteral("0"));
}

PageEdit ConsoleWalk::backup(QWidget* page)
{
    return clickOn(page, QStringLiteral("m_chkEnable"), QStringLiteral("backup"), QStringLiteral("Enabled"),
                   false, QStringLiteral("0"));
}

PageEdit ConsoleWalk::internetConnection(QWidget* page)
{
    return clickOn(page, QStringLiteral("m_rbtnOnline"), QStringLiteral("connection"),
                   QStringLiteral("OnlineMode"), true, QStringLiteral("1"));
}

PageEdit ConsoleWalk::scheduling(QWidget* page)
{
    return editInDialog(page, {"Night delivery", "DlgSched", "m_editDesc", "Night delivery run", "m_rbtnOK",
                               "scheduler", "timeint", "Night", "desc"});
}

PageEdit ConsoleWalk::pop3(QWidget* page)
{
    return editInDialog(page, {"support", "DlgPop3", "m_editDescription", "Support desk mailbox", "m_btnOK",
                               "pop3", "user", "support", "description"});
}

// A new account through Add.
PageEdit ConsoleWalk::etrn(QWidget* page)
{
    auto* list = named<QTreeWidget>(page, QStringLiteral("m_list"));
    const QString server = QStringLiteral("etrn.walk.example");
    return {[=] {
                m_administrator->workDialog(QStringLiteral("DlgEtrn"), [=](QDialog* dialog) {
                    typeInto(named<QLineEdit>(dialog, QStringLiteral("m_editServer")), server);
                    typeInto(named<QLineEdit>(dialog, QStringLiteral("m_editDomain")), QStringLiteral("walk.example"));
                    QVERIFY(clickButton(dialog, QStringLiteral("m_btnOK")));
                });
                QVERIFY(clickButton(page, QStringLiteral("m_btnAdd")));
            },
            [=] { return rowShowing(list, server) ? server : QString(); },
            [=] { return stored(QStringLiteral("odmr"), QStringLiteral("server"), server, QStringLiteral("domain")); },
            server, QStringLiteral("walk.example")};
}

PageEdit ConsoleWalk::remote(QWidget* page)
{
    return clickOn(page, QStringLiteral("m_chkEnable"), QStringLiteral("administration"),
                   QStringLiteral("NetEnabled"), false, QStringLiteral("0"));
}

PageEdit ConsoleWalk::advanced(QWidget* page)
{
    return clickOn(page, QStringLiteral("m_chkReverse"), QStringLiteral("misc"), QStringLiteral("ReverseLookup"),
                   false, QStringLiteral("0"));
}

PageEdit ConsoleWalk::timeRanges(QWidget* page)
{
    return removeSet(page, QStringLiteral("Christmas closure"), QStringLiteral("timeintervals"),
                     QStringLiteral("name"));
}

PageEdit ConsoleWalk::addressGroups(QWidget* page)
{
    return removeSet(page, QStringLiteral("Blocked senders"), QStringLiteral("ipaccesslist"), QStringLiteral("Name"));
}

PageEdit ConsoleWalk::templates(QWidget* page)
{
    return editInDialog(page, {"standard", "DlgEditTemplate", "m_editDesk", "Standard mailbox, 1 GB", "m_btnOK",
                               "template", "tempname", "standard", "description"});
}

PageEdit ConsoleWalk::users(QWidget* page)
{
    return editInDialog(page, {"bob", "DlgEditUser", "m_editFull", "Bob Okafor-Lind", "m_btnOK", "user", "name", "bob",
                               "fullname"});
}

PageEdit ConsoleWalk::groups(QWidget* page)
{
    return editInDialog(page, {"staff", "DlgEditGroup", "m_editDesk", "Everyone at the head office", "m_btnOK",
                               "group", "name", "staff", "description"});
}

// A message taken out of the queue: the page asks first, then tells the server at once.
PageEdit ConsoleWalk::queue(QWidget* page)
{
    auto* list = named<QTreeWidget>(page, QStringLiteral("m_list"));
    const QString message = QStringLiteral("A7F3C2102");
    auto queued = [this, message] {
        for (const QStringList& entry : m_server->queue()) {
            if (entry.value(0) == message)
                return QStringLiteral("queued");
        }
        return QStringLiteral("gone");
    };
    return {[=] {
                QVERIFY(chooseRow(list, message));
                m_administrator->answerBox(QMessageBox::Yes);
                QVERIFY(clickButton(page, QStringLiteral("m_btnRemove")));
            },
            [=] { return rowShowing(list, message) ? QStringLiteral("queued") : QStringLiteral("gone"); },
            queued, QStringLiteral("gone"), QStringLiteral("gone")};
}

// The debug log's menu opens the log-event settings, which go to the server at once.
PageEdit ConsoleWalk::debugLog(QWidget* page)
{
    auto* view = qobject_cast<QAbstractScrollArea*>(page);
    return {[=] {
                QVERIFY(view);
                m_administrator->chooseFromMenu(QStringLiteral("Set log events..."));
                m_administrator->workDialog(QStringLiteral("WndLogConf"), [](QDialog* dialog) {
                    auto* events = named<QTreeWidget>(dialog, QStringLiteral("m_lvConfLog"));
                    QTreeWidgetItem* protocol = events ? rowShowing(events, QStringLiteral("Protocol dialogue")) : nullptr;
                    QVERIFY(protocol);
                    QCOMPARE(protocol->checkState(0), Qt::Unchecked);
                    protocol->setCheckState(0, Qt::Checked);
                    QVERIFY(clickButton(dialog, QStringLiteral("&Ok")));
                });
                QTest::mouseClick(view->viewport(), Qt::RightButton, {}, QPoint(20, 10));
            },
            nullptr,
            [=] { return stored(QStringLiteral("DebugEvent"), QString(), QString(), QStringLiteral("smtp_proto")); },
            QString(), QStringLiteral("1")};
}

QTEST_MAIN(ConsoleWalk)
#include "tst_consolewalk.moc"
