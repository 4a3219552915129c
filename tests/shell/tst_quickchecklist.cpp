// The quick checklist page: its title from the stand-in server, and the document it
// shows.

#include "dialogrecorder.h"
#include "quickchecklist.h"
#include "standinconnection.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextList>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

using namespace StandIn;

namespace {

const QString ProductName = QStringLiteral("Ornel Corvane");
const QString Title = QStringLiteral("Ornel Corvane Quick Checklist");

QByteArray checklistSource()
{
    QFile file(QStringLiteral(":/quickchecklist.html"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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

bool hasAnchorsOrImages(const QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isAnchor() || format.isImageFormat())
                return true;
        }
    }
    return false;
}

QStringList infoRow(const QString& name, const QString& version)
{
    return {name, version, QStringLiteral("os"), QStringLiteral("notice"), QStringLiteral("home"),
            QStringLiteral("0")};
}

} // namespace

class tst_QuickChecklist : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void title_data();
    void title();
    void titleFailure_data();
    void titleFailure();
    void titleWaitShowsNoProgressWindow();

    void document();
    void documentItems_data();
    void documentItems();
    void browser();

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

void tst_QuickChecklist::init()
{
    m_server->clearControls();
    m_server->setTable(QStringLiteral("info"), m_infoColumns, m_infoRows);
}

void tst_QuickChecklist::title_data()
{
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QString>("title");

    const QString name49(49, u'n');
    QTest::newRow("demo server") << m_infoRows << "Ornel Corvane 5.0";
    QTest::newRow("first row") << QList<QStringList>{infoRow("A", "1"), infoRow("B", "2")} << "A 1";
    QTest::newRow("no rows") << QList<QStringList>() << QString();
    QTest::newRow("49 characters fit") << QList<QStringList>{infoRow(name49, "5.0")} << name49 + " 5.0";
    QTest::newRow("50 characters are cut") << QList<QStringList>{infoRow(name49 + "X", "5.0")}
                                           << name49 + " 5.0";
    QTest::newRow("long name is cut") << QList<QStringList>{infoRow(QString(300, u'p'), "5.0")}
                                      << QString(49, u'p') + " 5.0";
    QTest::newRow("long version is cut") << QList<QStringList>{infoRow("Mailer", QString(80, u'9'))}
                                         << "Mailer " + QString(49, u'9');
}

void tst_QuickChecklist::title()
{
    QFETCH(QList<QStringList>, rows);
    QFETCH(QString, title);

    m_server->setTable(QStringLiteral("info"), m_infoColumns, rows);
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    DialogRecorder recorder;

    QCOMPARE(checklistTitle(conn.get()), title);
    QCOMPARE(recorder.messageTexts(), QStringList());
    QCOMPARE(m_server->journal().last().statement, QStringLiteral("SELECT productname, version FROM info"));
    QCOMPARE(checklistTitle(nullptr), QString());
}

void tst_QuickChecklist::titleFailure_data()
{
    QTest::addColumn<bool>("drop");
    QTest::newRow("refused") << false;
    QTest::newRow("connection lost") << true;
}

void tst_QuickChecklist::titleFailure()
{
    QFETCH(bool, drop);

    if (drop)
        QVERIFY(m_server->dropAt(QStringLiteral("FROM info"), 1));
    else
        QVERIFY(m_server->refuse(QStringLiteral("FROM info"), 113, 1));
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    DialogRecorder recorder;

    QCOMPARE(checklistTitle(conn.get()), QString());
    QCOMPARE(recorder.messages.size(), 1);
    const DialogRecorder::Message& box = recorder.messages[0];
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.caption, QStringLiteral("Error"));
    QCOMPARE(box.text, QStringLiteral("Operation failed."));
    QCOMPARE(box.buttonTexts.size(), 1);
    // This page does not mark the connection lost.
    QVERIFY(!conn->m_lost);
}

void tst_QuickChecklist::titleWaitShowsNoProgressWindow()
{
    QVERIFY(m_server->delay(QStringLiteral("FROM info"), 900, 1));
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());

    // A progress window would have appeared after about 450 ms.
    QStringList shownDuringWait;
    QTimer::singleShot(700, this, [&shownDuringWait] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible())
                shownDuringWait.append(QString::fromLatin1(window->metaObject()->className()));
        }
    });
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(checklistTitle(conn.get()), QStringLiteral("Ornel Corvane 5.0"));
    QVERIFY(clock.elapsed() >= 800);
    QCOMPARE(shownDuringWait, QStringList());
}

void tst_QuickChecklist::document()
{
    const QByteArray source = checklistSource();
    QVERIFY(source.startsWith("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"));
    for (char c : source)
        QVERIFY2(c >= 0x20 && c < 0x7f, "one line of plain ASCII expected");
    for (const char* address : {"http", "www.", "@", "mailto", "ftp:", "file:"})
        QVERIFY2(!source.contains(address), address);

    QTextDocument document;
    document.setHtml(QString::fromLatin1(source));
    QCOMPARE(document.metaInformation(QTextDocument::DocumentTitle), Title);
    QVERIFY(!hasAnchorsOrImages(document));

    // The heading and two paragraphs, each naming the product once, then one numbered list
    // of sixteen items.
    const Blocks blocks = blocksOf(document);
    QCOMPARE(blocks.others.size(), 3);
    QCOMPARE(blocks.others[0], QStringLiteral("Quick Checklist"));
    QCOMPARE(blocks.others[1].count(ProductName), 1);
    QVERIFY(blocks.others[1].contains(QStringLiteral("TCP/IP")));
    QCOMPARE(blocks.others[2].count(ProductName), 1);
    QVERIFY(blocks.others[2].contains(QStringLiteral("Internet service provider")));
    QCOMPARE(blocks.items.size(), 16);
    QCOMPARE(blocks.lists.size(), 1);
    QCOMPARE(blocks.lists[0]->format().style(), QTextListFormat::ListDecimal);
}

void tst_QuickChecklist::documentItems_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("path"); // empty: the item names none
    QTest::addColumn<bool>("namesProduct");
    QTest::addColumn<QString>("keyword");

    QTest::newRow("1") << 1 << QString() << true << "console";
    QTest::newRow("2") << 2 << "Configuration / Services" << false << "VazAzuz";
    QTest::newRow("3") << 3 << "Configuration / Domains" << false << "primary domain";
    QTest::newRow("4") << 4 << "Domain Settings / Users" << false << "imported";
    QTest::newRow("5") << 5 << "Domain Settings / Groups" << false << "groups";
    QTest::newRow("6") << 6 << "Domain Settings / Aliases" << false << "aliases";
    QTest::newRow("7") << 7 << "Configuration / Internet Connection" << false << "dial-up";
    QTest::newRow("8") << 8 << QString() << true << "RAS";
    QTest::newRow("9") << 9 << "Configuration / Scheduling" << false << "ETRN";
    QTest::newRow("10") << 10 << "Configuration / POP3 Download" << false << "sorting rules";
    QTest::newRow("11") << 11 << "Configuration / ETRN Download" << false << "secondary server";
    QTest::newRow("12") << 12 << "Configuration / Antivirus" << false << "attachment";
    QTest::newRow("13") << 13 << QString() << true << "firewall";
    QTest::newRow("14") << 14 << "Configuration / Antispam" << false << "spam";
    QTest::newRow("15") << 15 << "Configuration / Backup" << false << "backup";
    QTest::newRow("16") << 16 << QString() << false << "certificate";
}

void tst_QuickChecklist::documentItems()
{
    QFETCH(int, item);
    QFETCH(QString, path);
    QFETCH(bool, namesProduct);
    QFETCH(QString, keyword);

    QTextDocument document;
    document.setHtml(QString::fromLatin1(checklistSource()));
    const QStringList items = blocksOf(document).items;
    QCOMPARE(items.size(), 16);
    const QString text = items[item - 1];

    QCOMPARE(text.count(ProductName), namesProduct ? 1 : 0);
    QVERIFY2(text.contains(keyword), qPrintable(text));
    static const QRegularExpression anyPath(
        QStringLiteral("(Configuration|Domain Settings|Status|Logs) / [A-Z]"));
    QCOMPARE(text.count(anyPath), path.isEmpty() ? 0 : 1);
    if (!path.isEmpty())
        QVERIFY2(text.contains(path), qPrintable(text));
}

void tst_QuickChecklist::browser()
{
    QWidget container;
    auto* layout = new QVBoxLayout(&container);
    layout->addWidget(new QWidget(&container));

    QTextBrowser* browser = createChecklistBrowser(&container, layout);
    QVERIFY(browser);
    QCOMPARE(browser->parentWidget(), &container);
    QCOMPARE(layout->indexOf(browser), 1);
    QCOMPARE(layout->stretch(1), 1);
    QCOMPARE(browser->documentTitle(), Title);
    QCOMPARE(blocksOf(*browser->document()).items.size(), 16);
}

QTEST_MAIN(tst_QuickChecklist)
#include "tst_quickchecklist.moc"
