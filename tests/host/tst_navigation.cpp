// Choosing a navigation item by its title, as ornel-console's --open does, in the built
// module's main window in both layout modes. Layout mode 1 adds the request log, a list of
// its own below the tree and the page that lists every statement sent: the item is looked
// for in the navigation tree all the same, nested pages and logs alike.

#include "desktop.h"
#include "hostedconsole.h"
#include "navigation.h"
#include "testserver.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>

#include <memory>

using namespace StandIn;

namespace {

const char ModulePath[] = ORNEL_MODULE_PATH;

QString classOf(const QObject* object)
{
    return QString::fromLatin1(object->metaObject()->className());
}

// The shown widget of that class in window; null when there is none.
QWidget* shownWidget(const QWidget* window, const QString& className)
{
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (classOf(widget) == className && widget->isVisible())
            return widget;
    }
    return nullptr;
}

// Whether a list of window shows a statement sent to the server, as the request log does.
bool listsStatements(const QWidget* window)
{
    for (QTreeWidget* list : window->findChildren<QTreeWidget*>()) {
        for (QTreeWidgetItemIterator it(list); *it; ++it) {
            if ((*it)->text(0).startsWith(QLatin1String("select "), Qt::CaseInsensitive))
                return true;
        }
    }
    return false;
}

} // namespace

class TestNavigation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void itemChosenByTitle_data();
    void itemChosenByTitle();
    void unknownTitleNamesTheNavigationTitles_data();
    void unknownTitleNamesTheNavigationTitles();

private:
    std::unique_ptr<TestServer> m_server;
};

void TestNavigation::initTestCase()
{
    ServerOptions options;
    options.port = 0;
    m_server = std::make_unique<TestServer>(options);
    QString error;
    QVERIFY2(m_server->start(&error), qPrintable(error));
}

void TestNavigation::cleanupTestCase()
{
    m_server.reset();
}

void TestNavigation::itemChosenByTitle_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("parentTitle"); // of the item chosen
    QTest::addColumn<QString>("pageClass");   // what it shows

    for (int mode : {0, 1}) {
        QTest::addRow("layout mode %d, a page under a collapsed group", mode)
            << mode << "Users" << "Domain Settings" << "WndUser";
        QTest::addRow("layout mode %d, a log", mode) << mode << "smtp" << "Logs" << "WndLog";
        QTest::addRow("layout mode %d, a log in another letter case", mode)
            << mode << "IMAP" << "Logs" << "WndLog";
    }
}

void TestNavigation::itemChosenByTitle()
{
    QFETCH(int, mode);
    QFETCH(QString, title);
    QFETCH(QString, parentTitle);
    QFETCH(QString, pageClass);

    HostedConsole console(QString::fromLocal8Bit(ModulePath));
    QString error;
    QVERIFY2(console.load(&error), qPrintable(error));
    QWidget* window = console.openServer(m_server->port(), "admin", "admin", mode);
    QVERIFY(window);

    QString complaint;
    QVERIFY2(selectNavigationItem(console.desktop(), title, &complaint), qPrintable(complaint));
    QTreeWidget* tree = navigationTree(window);
    QVERIFY(tree && tree->currentItem());
    QCOMPARE(tree->currentItem()->text(0).toLower(), title.toLower());
    QVERIFY(tree->currentItem()->parent());
    QCOMPARE(tree->currentItem()->parent()->text(0), parentTitle);
    QVERIFY(tree->currentItem()->parent()->isExpanded());
    QVERIFY2(shownWidget(window, pageClass), qPrintable(pageClass));
    // The page's loads went through the request log, in layout mode 1 only.
    QCOMPARE(listsStatements(window), mode != 0);
}

void TestNavigation::unknownTitleNamesTheNavigationTitles_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("layout mode 0") << 0;
    QTest::newRow("layout mode 1") << 1;
}

// The complaint names the navigation's titles, in the tree's order, not the statements of
// the request log.
void TestNavigation::unknownTitleNamesTheNavigationTitles()
{
    QFETCH(int, mode);

    HostedConsole console(QString::fromLocal8Bit(ModulePath));
    QString error;
    QVERIFY2(console.load(&error), qPrintable(error));
    QVERIFY(console.openServer(m_server->port(), "admin", "admin", mode));

    QString complaint;
    QVERIFY(!selectNavigationItem(console.desktop(), QStringLiteral("Nowhere"), &complaint));
    const QString expected = QStringLiteral(
        "no navigation item titled \"Nowhere\"; the titles are \"Ornel Corvane\", \"Configuration\", ");
    QVERIFY2(complaint.startsWith(expected), qPrintable(complaint));
    QVERIFY2(complaint.contains(QLatin1String("\"Users\"")) && complaint.contains(QLatin1String("\"smtp\"")),
             qPrintable(complaint));
}

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
