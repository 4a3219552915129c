// The quick checklist page: its title from the stand-in server, and the document it
// shows.

#include "dialogrecorder.h"
#include "ownrequestfailure.h"
#include "quickchecklist.h"
#include "standinconnection.h"
#include "vexadbblocks.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextList>
#include <QVBoxLayout>
#include <QtTest>

using namespace StandIn;

namespace {

const QString ProductName = QStringLiteral("Ornel Corvane");

// A "SELECT productname, version FROM info" answer of one row of these cells, sent as
// they are.
QByteArray titleAnswer(const QByteArray& nameCell, const QByteArray& versionCell)
{
    using namespace vexablocks;
    BlockParts parts;
    parts.columns = 2;
    parts.rows = 1;
    parts.descriptors = descriptor(VEXADB_STRING, "productname") + descriptor(VEXADB_STRING, "version");
    parts.cells = cell(nameCell) + cell(versionCell);
    return answer(block(parts));
}
const QString Title = QStringLiteral("Ornel Corvane Quick Checklist");

// The document's blocks as a browser lays them out: the list's items, and the rest.
struct Blocks
{
    QStringList others;
    QStringList items;
    QList<QTextList*> lists;
};

Blocks blocksOf(const QTextDocument& document)
{
    Blocks blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.textList()) {
            blocks.items.append(block.text());
            if (!blocks.lists.contains(block.textList()))
                blocks.lists.append(block.textList());
        } else if (!block.text().isEmpty()) {
            blocks.others.append(block.text());
        }
    }
    return blocks;
}

QList<QStringList> infoRows(const QString& name, const QString& version)
{
    return {{name, version, QStringLiteral("os"), QStringLiteral("notice"), QStringLiteral("home"),
             QStringLiteral("0")}};
}

} // namespace

class tst_QuickChecklist : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void title_data();
    void title();
    void failureTold_data();
    void failureTold();
    void document();

private:
    std::unique_ptr<TestServer> m_server;
    QList<Column> m_infoColumns;
    QList<QStringList> m_infoRows;
};

void tst_QuickChecklist::initTestCase()
{
    m_server = startStandIn();
    m_infoColumns = m_server->columns(QStringLiteral("info"));
    m_infoRows = m_server->rows(QStringLiteral("info"));
    QVERIFY(!m_infoColumns.isEmpty());
}

void tst_QuickChecklist::title_data()
{
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QByteArray>("sent"); // else the server's own answer
    QTest::addColumn<QString>("title");

    const QString name49(49, u'n');
    const QByteArray none;
    QTest::newRow("demo server") << m_infoRows << none << "Ornel Corvane 5.0";
    QTest::newRow("no rows") << QList<QStringList>() << none << QString();
    QTest::newRow("49 characters fit") << infoRows(name49, "5.0") << none << name49 + " 5.0";
    QTest::newRow("50 characters are cut") << infoRows(name49 + "X", "5.0") << none << name49 + " 5.0";
    QTest::newRow("long version is cut") << infoRows("M", QString(80, u'9')) << none << "M " + QString(49, u'9');
    // The version follows a long name, which a value read past its length would show.
    QTest::newRow("cells without their zero byte")
        << m_infoRows << titleAnswer(name49.toLatin1() + '\0', "5.1") << name49 + " 5.1";
    QTest::newRow("empty cells") << m_infoRows << titleAnswer(name49.toLatin1() + '\0', "") << name49 + " ";
}

void tst_QuickChecklist::title()
{
    QFETCH(QList<QStringList>, rows);
    QFETCH(QByteArray, sent);
    QFETCH(QString, title);

    m_server->clearControls();
    m_server->setTable(QStringLiteral("info"), m_infoColumns, rows);
    if (!sent.isEmpty())
        QVERIFY(m_server->answerRaw(QStringLiteral("FROM info"), sent, 1));
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    DialogRecorder recorder;
    QWidget page;

    QCOMPARE(checklistTitle(conn.get(), &page), title);
    QCOMPARE(m_server->journal().last().statement, QStringLiteral("SELECT productname, version FROM info"));
    QCOMPARE(recorder.messageTexts(), QStringList());
    QCOMPARE(checklistTitle(nullptr, &page), QString());
}

void tst_QuickChecklist::failureTold_data()
{
    OwnRequestFailure::addRows();
}

void tst_QuickChecklist::failureTold()
{
    QFETCH(int, failure);
    m_server->clearControls();
    m_server->setTable(QStringLiteral("info"), m_infoColumns, m_infoRows);
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    OwnRequestFailure::MainWindow window;
    window.attach(conn.get());
    QVERIFY(OwnRequestFailure::arrange(*m_server, QStringLiteral("FROM info"), failure));
    DialogRecorder recorder;
    QWidget page;

    // The page is built all the same, with an empty title.
    QCOMPARE(checklistTitle(conn.get(), &page), QString());
    QVERIFY(OwnRequestFailure::told(recorder, window, failure));
}

void tst_QuickChecklist::document()
{
    QFile file(QStringLiteral(":/quickchecklist.html"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray source = file.readAll().toLower();
    QVERIFY(source.startsWith("<!doctype html public \"-//w3c//dtd html 4.0 transitional//en\">"));
    for (const char* unwanted : {"<a ", "<img", "http", "www.", "@", "mailto", "file:"})
        QVERIFY2(!source.contains(unwanted), unwanted);

    // As the page shows it: below the header row, taking the room.
    QWidget container;
    auto* layout = new QVBoxLayout(&container);
    layout->addWidget(new QWidget(&container));
    QTextBrowser* browser = createChecklistBrowser(&container, layout);
    QCOMPARE(browser->parentWidget(), &container);
    QCOMPARE(layout->indexOf(browser), 1);
    QCOMPARE(browser->documentTitle(), Title);

    // The heading and two paragraphs, each naming the product once, then one numbered list
    // of sixteen items.
    const Blocks blocks = blocksOf(*browser->document());
    QCOMPARE(blocks.others.size(), 3);
    QCOMPARE(blocks.others[0], QStringLiteral("Quick Checklist"));
    QCOMPARE(blocks.others[1].count(ProductName), 1);
    QVERIFY(blocks.others[1].contains(QStringLiteral("TCP/IP")));
    QCOMPARE(blocks.others[2].count(ProductName), 1);
    QVERIFY(blocks.others[2].contains(QStringLiteral("Internet service provider")));
    QCOMPARE(blocks.lists.size(), 1);
    QCOMPARE(blocks.lists[0]->format().style(), QTextListFormat::ListDecimal);

    // Each item: a word of its subject, and the page it points to (none for an empty
    // path); the product is named in items 1, 8 and 13 only.
    const QList<std::pair<const char*, const char*>> items = {
        {"console", ""}, {"VazAzuz", "Configuration / Services"},
        {"primary domain", "Configuration / Domains"}, {"imported", "Domain Settings / Users"},
        {"groups", "Domain Settings / Groups"}, {"aliases", "Domain Settings / Aliases"},
        {"dial-up", "Configuration / Internet Connection"}, {"RAS", ""},
        {"ETRN", "Configuration / Scheduling"}, {"sorting rules", "Configuration / POP3 Download"},
        {"secondary server", "Configuration / ETRN Download"},
        {"attachment", "Configuration / Antivirus"}, {"firewall", ""},
        {"spam", "Configuration / Antispam"}, {"backup", "Configuration / Backup"},
        {"certificate", ""},
    };
    QCOMPARE(blocks.items.size(), items.size());
    static const QRegularExpression anyPath(
        QStringLiteral("(Configuration|Domain Settings|Status|Logs) / [A-Z]"));
    for (int i = 0; i < items.size(); ++i) {
        const QString& text = blocks.items.at(i);
        const QString path = QString::fromLatin1(items.at(i).second);
        QVERIFY2(text.contains(QLatin1String(items.at(i).first)), qPrintable(text));
        QCOMPARE(text.count(ProductName), (i == 0 || i == 7 || i == 12) ? 1 : 0);
        QCOMPARE(text.count(anyPath), path.isEmpty() ? 0 : 1);
        QVERIFY2(path.isEmpty() || text.contains(path), qPrintable(text));
    }
}

QTEST_MAIN(tst_QuickChecklist)
#include "tst_quickchecklist.moc"
