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

QByteArray checklistDocument()
{
    QFile file(QStringLiteral(":/quickchecklist.html"));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// The document read the forgiving way HTML 4 needs: tags (with their names in lower
// case) and the texts between them; end tags are not required.
struct HtmlToken
{
    bool isTag = false;
    bool isEndTag = false;
    QString name;   // tags
    QString text;   // texts, and a tag's whole source
};

QList<HtmlToken> readHtml(const QString& html)
{
    static const QRegularExpression tag(QStringLiteral("<(/?)([!A-Za-z][A-Za-z0-9]*)[^>]*>"));
    QList<HtmlToken> tokens;
    qsizetype position = 0;
    for (const QRegularExpressionMatch& match : tag.globalMatch(html)) {
        if (match.capturedStart() > position)
            tokens.append({false, false, QString(), html.mid(position, match.capturedStart() - position)});
        tokens.append({true, !match.captured(1).isEmpty(), match.captured(2).toLower(), match.captured(0)});
        position = match.capturedEnd();
    }
    if (position < html.size())
        tokens.append({false, false, QString(), html.mid(position)});
    return tokens;
}

// What the checklist consists of, gathered from the tokens.
struct Checklist
{
    QStringList tagNames;     // every start tag, in order
    QString title;
    QStringList headings;     // h3
    QStringList paragraphs;   // p, a br inside as "\n"
    QStringList items;        // li
    QList<int> itemBreaks;    // br inside each li
    int lists = 0;            // ol
};

Checklist readChecklist(const QString& html)
{
    Checklist checklist;
    QString* current = nullptr;
    int* breaks = nullptr;
    for (const HtmlToken& token : readHtml(html)) {
        if (!token.isTag) {
            if (current)
                current->append(token.text);
            continue;
        }
        if (token.isEndTag) {
            if (token.name == QLatin1String("title") || token.name == QLatin1String("h3")
                || token.name == QLatin1String("p") || token.name == QLatin1String("li")
                || token.name == QLatin1String("ol")) {
                current = nullptr;
                breaks = nullptr;
            }
            continue;
        }
        checklist.tagNames.append(token.name);
        if (token.name == QLatin1String("title")) {
            current = &checklist.title;
        } else if (token.name == QLatin1String("h3")) {
            checklist.headings.append(QString());
            current = &checklist.headings.last();
        } else if (token.name == QLatin1String("p")) {
            checklist.paragraphs.append(QString());
            current = &checklist.paragraphs.last();
        } else if (token.name == QLatin1String("li")) {
            checklist.items.append(QString());
            checklist.itemBreaks.append(0);
            current = &checklist.items.last();
            breaks = &checklist.itemBreaks.last();
        } else if (token.name == QLatin1String("ol")) {
            ++checklist.lists;
        } else if (token.name == QLatin1String("br")) {
            if (breaks)
                ++*breaks;
            else if (current)
                current->append(QLatin1Char('\n'));
        }
    }
    return checklist;
}

// The blocks of a laid-out document that belong to a list.
QList<QTextBlock> listBlocks(const QTextDocument& document)
{
    QList<QTextBlock> blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.textList())
            blocks.append(block);
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
    void titleWithoutConnection();

    void documentText();
    void documentStructure();
    void documentItems_data();
    void documentItems();
    void documentLaidOut();
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
    QTest::newRow("empty version") << QList<QStringList>{infoRow("Mailer", "")} << "Mailer ";
    QTest::newRow("empty name") << QList<QStringList>{infoRow("", "7.1")} << " 7.1";
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
    QVERIFY(box.parent.isNull());
    QCOMPARE(box.buttonTexts.size(), 1);
    QCOMPARE(box.defaultButton, 0);
    QCOMPARE(box.escapeButton, -1);
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

void tst_QuickChecklist::titleWithoutConnection()
{
    DialogRecorder recorder;
    QCOMPARE(checklistTitle(nullptr), QString());
    QVERIFY(recorder.messages.isEmpty());
}

void tst_QuickChecklist::documentText()
{
    const QByteArray raw = checklistDocument();
    QVERIFY(!raw.isEmpty());
    QVERIFY(raw.startsWith("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"));
    // One line of 8-bit text.
    QVERIFY(!raw.contains('\n'));
    QVERIFY(!raw.contains('\r'));
    for (char c : raw)
        QVERIFY2(c >= 0x20 && c < 0x7f, "plain ASCII expected");
    QCOMPARE(QString::fromLatin1(raw).count(ProductName), 6);
    // No address of any kind.
    for (const char* address : {"http", "www.", "@", "mailto", "ftp:", "file:"})
        QVERIFY2(!raw.contains(address), address);
}

void tst_QuickChecklist::documentStructure()
{
    const Checklist checklist = readChecklist(QString::fromLatin1(checklistDocument()));

    QCOMPARE(checklist.title, QStringLiteral("Ornel Corvane Quick Checklist"));
    QCOMPARE(checklist.headings, QStringList{QStringLiteral("Quick Checklist")});
    QCOMPARE(checklist.paragraphs.size(), 2);
    QCOMPARE(checklist.lists, 1);
    QCOMPARE(checklist.items.size(), 16);
    // A break between each item and the next, none after the last.
    QList<int> breaks(16, 1);
    breaks.last() = 0;
    QCOMPARE(checklist.itemBreaks, breaks);

    const QStringList allowed{"!doctype", "html", "head", "title", "body", "h3", "p", "br", "ol", "li"};
    for (const QString& name : checklist.tagNames)
        QVERIFY2(allowed.contains(name), qPrintable(name));

    // The product named once in each paragraph; the second holds a break.
    QCOMPARE(checklist.paragraphs[0].count(ProductName), 1);
    QCOMPARE(checklist.paragraphs[1].count(ProductName), 1);
    QVERIFY(checklist.paragraphs[0].contains(QStringLiteral("step-by-step")));
    QVERIFY(checklist.paragraphs[0].contains(QStringLiteral("TCP/IP")));
    const QStringList secondParts = checklist.paragraphs[1].split(QLatin1Char('\n'));
    QCOMPARE(secondParts.size(), 2);
    QVERIFY(secondParts[0].contains(QStringLiteral("manual")));
    QVERIFY(secondParts[1].contains(QStringLiteral("Internet service provider")));
}

void tst_QuickChecklist::documentItems_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("path");  // empty: the item names none
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

    const Checklist checklist = readChecklist(QString::fromLatin1(checklistDocument()));
    QCOMPARE(checklist.items.size(), 16);
    const QString text = checklist.items[item - 1];

    QVERIFY(text.startsWith(QLatin1Char(' ')));
    QVERIFY(!text.startsWith(QStringLiteral("  ")));
    QCOMPARE(text.count(ProductName), namesProduct ? 1 : 0);
    QVERIFY2(text.contains(keyword), qPrintable(text));
    static const QRegularExpression anyPath(
        QStringLiteral("(Configuration|Domain Settings|Status|Logs) / [A-Z]"));
    if (path.isEmpty()) {
        QVERIFY2(!text.contains(anyPath), qPrintable(text));
    } else {
        QVERIFY2(text.contains(path), qPrintable(text));
        QCOMPARE(text.count(anyPath), 1);
    }
}

void tst_QuickChecklist::documentLaidOut()
{
    QTextDocument document;
    document.setHtml(QString::fromLatin1(checklistDocument()));
    QCOMPARE(document.metaInformation(QTextDocument::DocumentTitle),
             QStringLiteral("Ornel Corvane Quick Checklist"));

    const QList<QTextBlock> items = listBlocks(document);
    QCOMPARE(items.size(), 16);
    QTextList* list = items.first().textList();
    QCOMPARE(list->format().style(), QTextListFormat::ListDecimal);
    for (const QTextBlock& block : items)
        QCOMPARE(block.textList(), list);
    QCOMPARE(list->itemText(items.last()), QStringLiteral("16."));
    QVERIFY(!hasAnchorsOrImages(document));
    QVERIFY(document.toPlainText().startsWith(QStringLiteral("Quick Checklist")));
}

void tst_QuickChecklist::browser()
{
    QWidget container;
    auto* layout = new QVBoxLayout(&container);
    auto* header = new QWidget(&container);
    layout->addWidget(header);

    QTextBrowser* browser = createChecklistBrowser(&container, layout);
    QVERIFY(browser);
    QCOMPARE(browser->parentWidget(), &container);
    QCOMPARE(layout->indexOf(browser), 1);
    QCOMPARE(layout->stretch(1), 1);
    QCOMPARE(browser->source(), QUrl(QStringLiteral("qrc:/quickchecklist.html")));
    QCOMPARE(browser->documentTitle(), QStringLiteral("Ornel Corvane Quick Checklist"));
    QCOMPARE(listBlocks(*browser->document()).size(), 16);
    QVERIFY(browser->isReadOnly());

    QWidget bare;
    QTextBrowser* alone = createChecklistBrowser(&bare);
    QCOMPARE(alone->parentWidget(), &bare);
    QCOMPARE(alone->documentTitle(), QStringLiteral("Ornel Corvane Quick Checklist"));
}

QTEST_MAIN(tst_QuickChecklist)
#include "tst_quickchecklist.moc"
