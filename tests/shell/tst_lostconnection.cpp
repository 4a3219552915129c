// The connection lost while a page of the tree is current and another page is chosen, the
// pages registered as the module registers them: the loss is told once, the pending list is
// reset once, nothing is asked of the lost link afterwards, and the page that was current
// keeps showing what it held.

#include "dialogrecorder.h"
#include "shellharness.h"

#include <QTreeWidget>

using namespace StandIn;

namespace {

const QString LostText = QStringLiteral("Connection failed!\nConsole was disconnected from 127.0.0.1.");
const QString LostCaption = QStringLiteral("Ornel Corvane - 127.0.0.1 - NOT CONNECTED!");

// The texts of every list the widget shows, row by row.
QStringList listTexts(const QWidget* widget)
{
    QStringList texts;
    for (const QTreeWidget* list : widget->findChildren<QTreeWidget*>()) {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            QStringList cells;
            for (int c = 0; c < item->columnCount(); ++c)
                cells.append(item->text(c));
            texts.append(cells.join(QLatin1Char('|')));
        }
    }
    return texts;
}

} // namespace

class tst_LostConnection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lostWhileAnotherPageLoads_data();
    void lostWhileAnotherPageLoads();

private:
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ConsoleStandIn> m_console;
};

void tst_LostConnection::init()
{
    m_server = startStandIn();
    m_console = std::make_unique<ConsoleStandIn>();
    m_console->storeSize(900, 650);
}

void tst_LostConnection::cleanup()
{
    m_console.reset();
    m_server.reset();
}

void tst_LostConnection::lostWhileAnotherPageLoads_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("next");
    for (const PageFactory::PageEntry& page : PageFactory::pages()) {
        const QString title = QString::fromLatin1(page.title);
        QTest::newRow(page.title) << title
                                  << (title == QLatin1String("Users") ? QStringLiteral("Groups")
                                                                      : QStringLiteral("Users"));
    }
}

void tst_LostConnection::lostWhileAnotherPageLoads()
{
    QFETCH(QString, current);
    QFETCH(QString, next);
    DialogRecorder dialogs;
    WndMain* window = m_console->open(m_server->port());
    QVERIFY(window);
    chooseTitled(window, current);
    QVERIFY(dialogs.messages.isEmpty());
    QWidget* page = window->getCurrentPane();
    QVERIFY(page);
    const QPointer<QWidget> guardedPage(page);
    const QStringList shownBefore = listTexts(page);
    CtrlSignalLog log(*window->getDBCtrl());

    // Whatever the next page asks first finds the link gone, and so would anything after.
    QVERIFY(m_server->dropAt(QStringLiteral("."), 1));
    const int mark = int(m_server->journal().size());
    chooseTitled(window, next);

    QCOMPARE(dialogs.messageTexts(), QStringList{LostText});
    QCOMPARE(window->windowTitle(), LostCaption);
    QCOMPARE(log.events.count(QStringLiteral("reset")), 1);
    // The one statement that met the drop; the lost link is asked nothing more.
    QCOMPARE(journalFrom(*m_server, mark).size(), 1);
    if (guardedPage)
        QCOMPARE(listTexts(guardedPage), shownBefore);

    // The administrator goes on choosing: nothing more is told or sent.
    chooseTitled(window, current);
    chooseTitled(window, next);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(journalFrom(*m_server, mark).size(), 1);
}

QTEST_MAIN(tst_LostConnection)
#include "tst_lostconnection.moc"
