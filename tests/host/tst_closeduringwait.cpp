// The console quit, the module's window closed, or the console closed while a page or a
// dialog of the module waits for the server, the answer then given, refused or dropped.
// The module is the built one, loaded and unloaded by the console host's own code. The
// server holds the answer back until the close has come, so the close always arrives
// during the wait, from the event loop, as the scripted quit and any close that arrives
// during a wait do. The close is carried out once the wait has returned, never under it:
// the page or dialog whose code waits, and the windows above it, stay until then (under
// AddressSanitizer, the run would end at the first use of a window gone).

#include "administrator.h"
#include "desktop.h"
#include "hostedconsole.h"
#include "navigation.h"
#include "testserver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

using namespace StandIn;

namespace {

const char ModulePath[] = ORNEL_MODULE_PATH;

constexpr int QuitWithinMs = 20000;
// How often the test looks whether the server holds an answer back.
constexpr int GatePollMs = 10;

enum class Waiting { PageLoad, DialogLoad };
enum class Answer { Delayed, Refused, Dropped };
enum class Closing { Quit, CloseWindow, CloseConsole };
enum class Applying { ApplyButton, YesOnClosing };

// The Users page loads its users first; its edit dialog loads the groups on first use.
QString loadPattern(Waiting waiting)
{
    return waiting == Waiting::PageLoad ? QStringLiteral("^select .* from user( |$)")
                                        : QStringLiteral("^select .* from group( |$)");
}

// Runs an action (the close) from the event loop as soon as the server holds back the
// answer that the module waits for, and lets the answer go once the action has returned: the
// action always comes while the wait is on, however slow the machine. Going, it lets go any
// answer still held, so that a test that failed before never leaves the module waiting.
class AtTheGate
{
public:
    AtTheGate(TestServer& server, QObject* context, std::function<void()> action)
        : m_server(server)
    {
        QObject::connect(&m_poll, &QTimer::timeout, context, [this, action] {
            if (m_ran || m_server.heldAnswers() == 0)
                return;
            m_ran = true;
            m_poll.stop();
            action();
            m_server.releaseHeld();
        });
        m_poll.start(GatePollMs);
    }
    ~AtTheGate() { m_server.releaseHeld(); }
    AtTheGate(const AtTheGate&) = delete;
    AtTheGate& operator=(const AtTheGate&) = delete;

    bool ran() const { return m_ran; }

private:
    TestServer& m_server;
    QTimer m_poll;
    bool m_ran = false;
};

QWidget* shownPage(QWidget* mainWindow, const QString& className)
{
    QTreeWidget* tree = mainWindow ? navigationTree(mainWindow) : nullptr;
    auto* split = tree ? qobject_cast<QSplitter*>(tree->parentWidget()) : nullptr;
    if (!split || split->count() != 2)
        return nullptr;
    for (QWidget* widget : split->widget(1)->findChildren<QWidget*>()) {
        if (classOf(widget) == className && widget->isVisible())
            return widget;
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Waiting)
Q_DECLARE_METATYPE(Answer)
Q_DECLARE_METATYPE(Closing)
Q_DECLARE_METATYPE(Applying)

class CloseDuringWait : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void closeCarriedOutAfterTheWait_data();
    void closeCarriedOutAfterTheWait();
    void closeCarriedOutAfterTheApply_data();
    void closeCarriedOutAfterTheApply();
    void dialogLeftAloneUnderItsWait_data();
    void dialogLeftAloneUnderItsWait();
    void cleanupTestCase();

private:
    int statementsMatching(const QString& pattern, int from) const;
    QString storedSmtp(const QString& column) const;

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<Administrator> m_administrator;
};

void CloseDuringWait::initTestCase()
{
    ServerOptions options;
    options.port = 0;
    m_server = std::make_unique<TestServer>(options);
    QString error;
    QVERIFY2(m_server->start(&error), qPrintable(error));
    // Answers the boxes a refused or lost load raises: escape, as nothing is queued.
    m_administrator = std::make_unique<Administrator>();
}

void CloseDuringWait::init()
{
    m_server->clearControls();
    m_server->releaseHeld();
}

void CloseDuringWait::cleanupTestCase()
{
    m_administrator.reset();
    m_server.reset();
}

void CloseDuringWait::closeCarriedOutAfterTheWait_data()
{
    QTest::addColumn<Waiting>("waiting");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<Closing>("closing");

    const QList<std::pair<Waiting, const char*>> waits = {{Waiting::PageLoad, "a page load"},
                                                          {Waiting::DialogLoad, "a dialog's load"}};
    const QList<std::pair<Answer, const char*>> answers = {
        {Answer::Delayed, "answered late"}, {Answer::Refused, "refused late"}, {Answer::Dropped, "dropped late"}};
    const QList<std::pair<Closing, const char*>> closings = {{Closing::Quit, "the console quits"},
                                                             {Closing::CloseWindow, "the window closes"}};
    for (const auto& [waiting, waitName] : waits) {
        for (const auto& [answer, answerName] : answers) {
            for (const auto& [closing, closingName] : closings) {
                QTest::addRow("%s %s, %s", waitName, answerName, closingName) << waiting << answer << closing;
            }
        }
        QTest::addRow("%s answered late, the console closes", waitName)
            << waiting << Answer::Delayed << Closing::CloseConsole;
    }
}

void CloseDuringWait::closeCarriedOutAfterTheWait()
{
    QFETCH(Waiting, waiting);
    QFETCH(Answer, answer);
    QFETCH(Closing, closing);

    HostedConsole console(QString::fromLocal8Bit(ModulePath));
    QString error;
    QVERIFY2(console.load(&error), qPrintable(error));
    QVERIFY(console.openServer(m_server->port()));
    QWidget* usersPage = nullptr;
    if (waiting == Waiting::DialogLoad) {
        QVERIFY(selectNavigationItem(console.desktop(), QStringLiteral("Users")));
        usersPage = shownPage(console.mainWindow(), QStringLiteral("WndUser"));
        QVERIFY(usersPage);
        auto* list = usersPage->findChild<QTreeWidget*>(QStringLiteral("m_list"));
        QVERIFY(list && list->topLevelItemCount() > 0);
        list->setCurrentItem(list->topLevelItem(0));
    }

    const QString pattern = loadPattern(waiting);
    QVERIFY(m_server->hold(pattern, 1));
    if (answer == Answer::Refused)
        QVERIFY(m_server->refuse(pattern, 109, 1));
    if (answer == Answer::Dropped)
        QVERIFY(m_server->dropAt(pattern, 1));
    const int journalBefore = int(m_server->journal().size());

    // As a click would: from the event loop, not from a call of the host into the module.
    QTimer::singleShot(0, console.console(), [&] {
        if (waiting == Waiting::PageLoad)
            QVERIFY(selectNavigationItem(console.desktop(), QStringLiteral("Users")));
        else
            QVERIFY(clickButton(usersPage, QStringLiteral("m_btnEdit")));
    });
    int sentAtClose = 0;
    bool waitingAtClose = false;
    const AtTheGate gate(*m_server, console.console(), [&] {
        sentAtClose = statementsMatching(pattern, journalBefore);
        waitingAtClose = console.desktop()->isModuleWaiting();
        switch (closing) {
        case Closing::Quit:
            console.console()->shutDown(true);
            break;
        case Closing::CloseWindow:
            console.frame()->close();
            break;
        case Closing::CloseConsole:
            console.console()->close();
            break;
        }
    });
    QCOMPARE(console.runUntilQuit(QuitWithinMs), 0);
    QVERIFY(gate.ran());
    // The close came during the wait: its statement had gone out, and the module said it
    // was waiting for the answer.
    QCOMPARE(sentAtClose, 1);
    QVERIFY(waitingAtClose);
    QVERIFY(!console.isLoaded());
    QVERIFY(!console.mainWindow());
}

void CloseDuringWait::closeCarriedOutAfterTheApply_data()
{
    QTest::addColumn<Applying>("applying");
    QTest::addColumn<Closing>("closing");

    QTest::newRow("Apply, the console quits") << Applying::ApplyButton << Closing::Quit;
    QTest::newRow("Apply, the console closes") << Applying::ApplyButton << Closing::CloseConsole;
    QTest::newRow("Yes on closing, the console quits") << Applying::YesOnClosing << Closing::Quit;
}

// An apply sends its statements one at a time behind one indicator, each answer awaited with
// the event loop running: that is a wait of the module as much as a page's load, and the
// close or quit that comes meanwhile is carried out once the apply is done. The statement
// the server was sending an answer to is then carried out and stored, and the window goes.
void CloseDuringWait::closeCarriedOutAfterTheApply()
{
    QFETCH(Applying, applying);
    QFETCH(Closing, closing);

    m_administrator->clearSeen();
    HostedConsole console(QString::fromLocal8Bit(ModulePath));
    QString error;
    QVERIFY2(console.load(&error), qPrintable(error));
    QVERIFY(console.openServer(m_server->port()));
    QVERIFY(selectNavigationItem(console.desktop(), QStringLiteral("SMTP Properties")));
    QWidget* page = shownPage(console.mainWindow(), QStringLiteral("WndSmtp"));
    QVERIFY(page);
    auto* hops = page->findChild<QLineEdit*>(QStringLiteral("m_editHops"));
    QVERIFY(hops);
    // Another value than the one stored.
    const bool stored31 = storedSmtp(QStringLiteral("MaxHops")) == QLatin1String("31");
    const QString typed = stored31 ? QStringLiteral("32") : QStringLiteral("31");
    hops->setFocus();
    hops->selectAll();
    QTest::keyClicks(hops, typed);
    QAbstractButton* apply = findButton(console.mainWindow(), QStringLiteral("A&pply"));
    QVERIFY(apply && apply->isEnabled());

    const QString pattern = QStringLiteral("^update smtp ");
    QVERIFY(m_server->hold(pattern, 1));
    const int journalBefore = int(m_server->journal().size());
    if (applying == Applying::YesOnClosing)
        m_administrator->answerBox(QStringLiteral("&Yes"));
    QTimer::singleShot(0, console.console(), [&] {
        if (applying == Applying::ApplyButton)
            QTest::mouseClick(apply, Qt::LeftButton);
        else
            console.frame()->close();
    });
    int sentAtClose = 0;
    bool waitingAtClose = false;
    const AtTheGate gate(*m_server, console.console(), [&] {
        // The apply waits: its statement went out, and its answer is held back.
        sentAtClose = statementsMatching(pattern, journalBefore);
        waitingAtClose = console.desktop()->isModuleWaiting();
        if (closing == Closing::Quit)
            console.console()->shutDown(true);
        else
            console.console()->close();
    });
    QCOMPARE(console.runUntilQuit(QuitWithinMs), 0);
    QVERIFY(gate.ran());
    QCOMPARE(sentAtClose, 1);
    QVERIFY(waitingAtClose);
    QVERIFY(m_administrator->answeredAll());
    QCOMPARE(m_administrator->unexpected, QStringList());
    QCOMPARE(statementsMatching(pattern, journalBefore), 1);
    QCOMPARE(storedSmtp(QStringLiteral("MaxHops")), typed);
    QVERIFY(!console.isLoaded());
    QVERIFY(!console.mainWindow());
}

void CloseDuringWait::dialogLeftAloneUnderItsWait_data()
{
    QTest::addColumn<Closing>("closing");
    QTest::addColumn<QString>("range"); // a new one in each run: the server keeps them
    QTest::newRow("the console quits") << Closing::Quit << "Weekend";
    QTest::newRow("the console closes") << Closing::CloseConsole << "Holidays";
}

// A dialog whose OK sends its changes waits inside its own modal loop. The console ends a
// box or dialog of the module before it closes the windows, but not under that wait: the
// dialog stays as it is, its indicator over it, until the statement is answered and OK has
// closed it; then the console closes.
void CloseDuringWait::dialogLeftAloneUnderItsWait()
{
    QFETCH(Closing, closing);
    QFETCH(QString, range);

    m_administrator->clearSeen();
    HostedConsole console(QString::fromLocal8Bit(ModulePath));
    QString error;
    QVERIFY2(console.load(&error), qPrintable(error));
    QVERIFY(console.openServer(m_server->port()));
    QVERIFY(selectNavigationItem(console.desktop(), QStringLiteral("Time Ranges")));
    QWidget* page = shownPage(console.mainWindow(), QStringLiteral("WndTimeInt"));
    QVERIFY(page);

    const QString pattern = QStringLiteral("^insert timeintervals set name='%1'").arg(range);
    QVERIFY(m_server->hold(pattern, 1));
    const int journalBefore = int(m_server->journal().size());
    m_administrator->workDialog(QStringLiteral("DlgTimeIntEx"), [range](QDialog* dialog) {
        auto* rangeName = dialog->findChild<QComboBox*>(QStringLiteral("m_comboRange"));
        auto* description = dialog->findChild<QLineEdit*>(QStringLiteral("m_editDesc"));
        QVERIFY(rangeName && rangeName->lineEdit() && description);
        QTest::keyClicks(rangeName->lineEdit(), range);
        QTest::keyClicks(description, QStringLiteral("Days off"));
        QVERIFY(clickButton(dialog, QStringLiteral("m_btnAdd")));
        QVERIFY(clickButton(dialog, QStringLiteral("m_btnOK")));
    });
    QTimer::singleShot(0, console.console(), [&] { QVERIFY(clickButton(page, QStringLiteral("m_btnAdd"))); });
    int sentAtClose = 0;
    bool waitingAtClose = false;
    QString dialogAtClose;
    bool shownAfterClose = false;
    const AtTheGate gate(*m_server, console.console(), [&] {
        sentAtClose = statementsMatching(pattern, journalBefore);
        waitingAtClose = console.desktop()->isModuleWaiting();
        const QPointer<QWidget> dialog(QApplication::activeModalWidget());
        dialogAtClose = dialog ? classOf(dialog) : QString();
        if (closing == Closing::Quit)
            console.console()->shutDown(true);
        else
            console.console()->close();
        shownAfterClose = dialog && dialog->isVisible();
    });
    QCOMPARE(console.runUntilQuit(QuitWithinMs), 0);
    QVERIFY(gate.ran());
    QCOMPARE(sentAtClose, 1);
    QVERIFY(waitingAtClose);
    QCOMPARE(dialogAtClose, QStringLiteral("DlgTimeIntEx"));
    QVERIFY(shownAfterClose);
    QVERIFY(m_administrator->answeredAll());
    QCOMPARE(m_administrator->unexpected, QStringList());
    QCOMPARE(statementsMatching(pattern, journalBefore), 1);
    QVERIFY(!console.isLoaded());
}

QString CloseDuringWait::storedSmtp(const QString& column) const
{
    const QList<Column> columns = m_server->columns(QStringLiteral("smtp"));
    const QList<QStringList> rows = m_server->rows(QStringLiteral("smtp"));
    for (int i = 0; i < columns.size() && !rows.isEmpty(); ++i) {
        if (columns.at(i).name.compare(column, Qt::CaseInsensitive) == 0)
            return rows.first().value(i);
    }
    return QString();
}

int CloseDuringWait::statementsMatching(const QString& pattern, int from) const
{
    const QRegularExpression expression(pattern);
    const QList<JournalEntry> entries = m_server->journal();
    int matching = 0;
    for (int i = from; i < entries.size(); ++i)
        matching += expression.match(entries.at(i).statement).hasMatch() ? 1 : 0;
    return matching;
}

QTEST_MAIN(CloseDuringWait)
#include "tst_closeduringwait.moc"
