// The console quit, the module's window closed, or the console closed while a page or a
// dialog of the module waits for the server, with the answer delayed, refused or dropped.
// The module is the built one, loaded and unloaded by the console host's own code; the
// close comes from a timer, as the scripted quit and any close that arrives during a wait
// do. The close is carried out once the wait has returned, never under it: the page or
// dialog whose code waits, and the windows above it, stay until then (under
// AddressSanitizer, the run would end at the first use of a window gone).

#include "administrator.h"
#include "desktop.h"
#include "hostedconsole.h"
#include "navigation.h"
#include "testserver.h"

#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace StandIn;

namespace {

const char ModulePath[] = ORNEL_MODULE_PATH;

// Long enough for the close to come while the wait is on, short enough for a quick run.
constexpr int AnswerDelayMs = 800;
constexpr int CloseAfterMs = 250;
constexpr int QuitWithinMs = 20000;

enum class Waiting { PageLoad, DialogLoad };
enum class Answer { Delayed, Refused, Dropped };
enum class Closing { Quit, CloseWindow, CloseConsole };

// The Users page loads its users first; its edit dialog loads the groups on first use.
QString loadPattern(Waiting waiting)
{
    return waiting == Waiting::PageLoad ? QStringLiteral("^select .* from user( |$)")
                                        : QStringLiteral("^select .* from group( |$)");
}

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

class CloseDuringWait : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void closeCarriedOutAfterTheWait_data();
    void closeCarriedOutAfterTheWait();
    void cleanupTestCase();

private:
    int statementsMatching(const QString& pattern, int from) const;

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
    QVERIFY(m_server->delay(pattern, AnswerDelayMs, 1));
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
    bool closeAsked = false;
    QTimer::singleShot(CloseAfterMs, console.console(), [&] {
        // The wait is still on: its statement went out, and its answer is held back.
        QCOMPARE(statementsMatching(pattern, journalBefore), 1);
        closeAsked = true;
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
    QVERIFY(closeAsked);
    QVERIFY(!console.isLoaded());
    QVERIFY(!console.mainWindow());
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
