#include "dialogrecorder.h"
#include "shellharness.h"
#include "wndalias.h"
#include "wnddomain.h"

#include <QAbstractButton>
#include <QMenu>
#include <QtTest>

namespace {

enum class Page { Domains, Aliases };

struct PageFacts
{
    QString path;
    PageKind kind;
    QString load;
    QString list;
    int version;
    QStringList shownTitles;
};

PageFacts facts(Page page)
{
    if (page == Page::Domains)
        return {"Configuration/Domains", PageKind::Domains,
                "select domain, type, alias, fwhost, ntauthdomain, pamservice, kerberosrealm from domain",
                "domain", 4, {"Domain", "Type", "Alias of", "Forward to"}};
    return {"Domain Settings/Aliases", PageKind::Aliases, "select lhs, rhs, domain from alias", "alias", 2,
            {"Alias", "Address"}};
}

QStringList rowsShown(const QTreeWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells.append(list->topLevelItem(i)->text(c));
        rows.append(cells.join(" | "));
    }
    return rows;
}

} // namespace

Q_DECLARE_METATYPE(Page)

class TestShownListPages : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void buildsThroughThePageTable_data();
    void buildsThroughThePageTable();
    void keepsItsLayoutUnderMail_data();
    void keepsItsLayoutUnderMail();
    void ignoresALayoutOfAnotherVersion();
    void readsTheTableAgainOnApplyAndReset_data();
    void readsTheTableAgainOnApplyAndReset();
    void keepsWhatItShowsWhenTheReadFails_data();
    void keepsWhatItShowsWhenTheReadFails();
    void readsNothingOverALostLink_data();
    void readsNothingOverALostLink();
    void menuOnlyModifiesColumns_data();
    void menuOnlyModifiesColumns();
    void domainTypeNames_data();
    void domainTypeNames();

private:
    QTreeWidget* open(Page page);
    QWidget* pageWidget() const { return m_page; }

    std::unique_ptr<WindowOnStandIn> m_standIn;
    StandIn::TestServer* m_server = nullptr;
    WndMain* m_window = nullptr;
    QWidget* m_page = nullptr; // the page open() opened last
};

void TestShownListPages::init()
{
    using namespace StandIn;
    m_standIn = std::make_unique<WindowOnStandIn>();
    m_server = m_standIn->server.get();
    m_window = m_standIn->window;
    QVERIFY(m_window);
    m_server->setTable("domain",
                       {{"domain", TypeString, true}, {"type", TypeInt, false}, {"alias", TypeString, false},
                        {"fwhost", TypeString, false}, {"ntauthdomain", TypeString, false},
                        {"pamservice", TypeString, false}, {"kerberosrealm", TypeString, false}},
                       {{"corvane.example", "0", "", "", "CORVANE", "ornel", "CORVANE.EXAMPLE"},
                        {"relay.example", "3", "", "mx1.relay.example", "", "", ""},
                        {"alias.example", "2", "corvane.example", "", "", "", ""}});
    m_server->setTable("alias",
                       {{"lhs", TypeString, true}, {"rhs", TypeString, true}, {"domain", TypeString, true}},
                       {{"postmaster", "admin", ""}, {"info", "jonas", "lakeside.example"}, {"abuse", "admin", ""}});
}

void TestShownListPages::cleanup()
{
    m_standIn.reset();
}

QTreeWidget* TestShownListPages::open(Page page)
{
    const QString path = facts(page).path;
    m_page = page == Page::Domains ? static_cast<QWidget*>(openPage<WndDomain>(m_window, path))
                                   : openPage<WndAlias>(m_window, path);
    return m_page ? m_page->findChild<QTreeWidget*>("m_list") : nullptr;
}

void TestShownListPages::buildsThroughThePageTable_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("domains") << Page::Domains << "WndDomain"
                             << QStringList{"alias.example | Domain alias | corvane.example | ",
                                            "corvane.example | Primary domain |  | ",
                                            "relay.example | Forwarding domain |  | mx1.relay.example"};
    QTest::newRow("aliases") << Page::Aliases << "WndAlias"
                             << QStringList{"abuse | admin", "info@lakeside.example | jonas", "postmaster | admin"};
}

void TestShownListPages::buildsThroughThePageTable()
{
    QFETCH(Page, page);
    QFETCH(QString, className);
    QFETCH(QStringList, rows);

    const PageFacts expected = facts(page);
    QVERIFY(PageFactory::isRegistered(expected.kind));
    const int before = int(m_server->journal().size());
    QTreeWidget* list = open(page);
    QVERIFY(list);
    QCOMPARE(QString::fromLatin1(pageWidget()->metaObject()->className()), className);
    QCOMPARE(journalFrom(*m_server, before), QStringList{expected.load});
    QCOMPARE(headerTitles(list), expected.shownTitles);
    QCOMPARE(rowsShown(list), rows);
    // Nothing to edit with, nothing pending.
    QVERIFY(!pageWidget()->findChild<QAbstractButton*>());
    QVERIFY(m_window->getDBCtrl()->m_pending.isEmpty());
}

void TestShownListPages::keepsItsLayoutUnderMail_data()
{
    QTest::addColumn<Page>("page");
    QTest::newRow("domains") << Page::Domains;
    QTest::newRow("aliases") << Page::Aliases;
}

void TestShownListPages::keepsItsLayoutUnderMail()
{
    QFETCH(Page, page);

    const PageFacts expected = facts(page);
    QVERIFY(open(page));
    DialogRecorder recorder;
    recorder.answerDialog(QDialog::Accepted);
    QMetaObject::invokeMethod(pageWidget(), "slotCols");
    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.dialogs.at(0).caption, QStringLiteral("Modify Columns"));

    QCOMPARE(m_standIn->console->settings()->readNumEntry("/Admin/Mail/" + expected.list + "/ver", -1), expected.version);
    const QString text = adminFileText();
    QVERIFY2(text.contains("[Mail]\n"), qPrintable(text));
    QVERIFY2(text.contains(expected.list + "/ver=" + QString::number(expected.version) + "\n"), qPrintable(text));
}

// Domain type column moved in front, stored under version 3 and under 4.
void TestShownListPages::ignoresALayoutOfAnotherVersion()
{
    const QString prefix = "/Admin/Mail/domain/";
    SettingsStore* settings = m_standIn->console->settings();
    settings->writeEntry(prefix + "cols", QStringLiteral("000700010000000200030004-001-001"));
    settings->writeEntry(prefix + "disp", QStringLiteral("000700000001000200030004-001-001"));
    settings->writeEntry(prefix + "hid", QStringLiteral("000700050006-001-001-001-001-001"));
    settings->writeEntry(prefix + "show", QStringLiteral("00070001000100010001000100000000"));
    settings->writeEntry(prefix + "width", QStringLiteral("0007-001-001-001-001-001-001-001"));
    settings->writeEntry(prefix + "ver", 3);
    QTreeWidget* list = open(Page::Domains);
    QVERIFY(list);
    QCOMPARE(headerTitles(list), facts(Page::Domains).shownTitles);

    settings->writeEntry(prefix + "ver", 4);
    choose(m_window, "Domain Settings/Aliases");
    list = open(Page::Domains);
    QVERIFY(list);
    QCOMPARE(headerTitles(list), (QStringList{"Type", "Domain", "Alias of", "Forward to", "NT Domain"}));
}

void TestShownListPages::readsTheTableAgainOnApplyAndReset_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<bool>("apply");
    QTest::addColumn<QString>("added");

    QTest::newRow("domains, apply") << Page::Domains << true << "new.example | Local domain |  | ";
    QTest::newRow("domains, reset") << Page::Domains << false << "new.example | Local domain |  | ";
    QTest::newRow("aliases, apply") << Page::Aliases << true << "sales@new.example | #sales";
    QTest::newRow("aliases, reset") << Page::Aliases << false << "sales@new.example | #sales";
}

void TestShownListPages::readsTheTableAgainOnApplyAndReset()
{
    QFETCH(Page, page);
    QFETCH(bool, apply);
    QFETCH(QString, added);

    QTreeWidget* list = open(page);
    QVERIFY(list);
    const int shown = list->topLevelItemCount();
    // Another page's change reached the server.
    const QString table = page == Page::Domains ? "domain" : "alias";
    QList<QStringList> rows = m_server->rows(table);
    rows.append(page == Page::Domains ? QStringList{"new.example", "1", "", "", "", "", ""}
                                      : QStringList{"sales", "#sales", "new.example"});
    m_server->setTable(table, m_server->columns(table), rows);

    DialogRecorder recorder;
    const int before = int(m_server->journal().size());
    if (apply) {
        m_window->getDBCtrl()->set(QStringList{"update info set Version='5.0'"}, false);
        m_window->apply();
    } else {
        m_window->reset();
    }
    QCOMPARE(recorder.messageTexts(), QStringList{});
    QVERIFY(journalFrom(*m_server, before).endsWith(facts(page).load));
    QCOMPARE(list->topLevelItemCount(), shown + 1);
    QVERIFY2(rowsShown(list).contains(added), qPrintable(rowsShown(list).join('\n')));
}

void TestShownListPages::keepsWhatItShowsWhenTheReadFails_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<bool>("lost"); // else the read is refused
    QTest::addColumn<QStringList>("boxes");

    const QStringList lostBox{"Connection failed!\nConsole was disconnected from 127.0.0.1."};
    const QStringList refusedBox{"Query failed: Table does not exists"};
    QTest::newRow("domains, connection lost") << Page::Domains << true << lostBox;
    QTest::newRow("aliases, connection lost") << Page::Aliases << true << lostBox;
    QTest::newRow("domains, read refused") << Page::Domains << false << refusedBox;
    QTest::newRow("aliases, read refused") << Page::Aliases << false << refusedBox;
}

// Reset reads the table again, unless the connection is known to be lost: that read could
// only meet the loss again. A read that fails keeps the rows: a column change afterwards
// draws them again.
void TestShownListPages::keepsWhatItShowsWhenTheReadFails()
{
    QFETCH(Page, page);
    QFETCH(bool, lost);
    QFETCH(QStringList, boxes);

    QTreeWidget* list = open(page);
    QVERIFY(list);
    const QStringList shown = rowsShown(list);
    QVERIFY(!shown.isEmpty());
    DialogRecorder recorder;
    if (lost) {
        const QString statement = QStringLiteral("update info set Version='5.0'");
        QVERIFY(m_server->dropAt(statement, 1));
        m_window->getDBCtrl()->set(QStringList{statement}, false);
        m_window->apply();
    } else {
        QVERIFY(m_server->refuse(facts(page).load.section(' ', -1), 109, 1));
    }
    const int before = int(m_server->journal().size());
    m_window->reset();
    QCOMPARE(recorder.messageTexts(), boxes);
    QCOMPARE(journalFrom(*m_server, before), lost ? QStringList{} : QStringList{facts(page).load});
    QCOMPARE(rowsShown(list), shown);
    recorder.answerDialog(QDialog::Accepted);
    QMetaObject::invokeMethod(pageWidget(), "slotCols");
    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(rowsShown(list), shown);
}

void TestShownListPages::readsNothingOverALostLink_data()
{
    QTest::addColumn<Page>("page");
    QTest::newRow("domains") << Page::Domains;
    QTest::newRow("aliases") << Page::Aliases;
}

// Once the loss is reported, a page follows every reset, however many reach it, without a
// request: the request log, which lists every statement handed to the connection, sent or
// not, gains no line. The resets here reach the page past the controller's own guard.
void TestShownListPages::readsNothingOverALostLink()
{
    QFETCH(Page, page);

    // A window with the request log.
    WndMain* window = m_standIn->console->open(m_server->port(), 1);
    QVERIFY(window);
    QTreeWidget* requests = window->getLogList();
    QVERIFY(requests);
    const QString path = facts(page).path;
    QWidget* opened = page == Page::Domains ? static_cast<QWidget*>(openPage<WndDomain>(window, path))
                                            : openPage<WndAlias>(window, path);
    QVERIFY(opened);
    auto* list = opened->findChild<QTreeWidget*>("m_list");
    const QStringList shown = rowsShown(list);
    QVERIFY(!shown.isEmpty());

    DialogRecorder recorder;
    const QString statement = QStringLiteral("update info set Version='5.0'");
    QVERIFY(m_server->dropAt(statement, 1));
    window->getDBCtrl()->set(QStringList{statement}, false);
    window->apply();
    QCOMPARE(recorder.messageTexts(), QStringList{"Connection failed!\nConsole was disconnected from 127.0.0.1."});
    const int logged = requests->topLevelItemCount();

    for (int i = 0; i < 3; ++i)
        emit window->getDBCtrl()->sig_reset();
    window->reset();
    QCOMPARE(requests->topLevelItemCount(), logged);
    QCOMPARE(rowsShown(list), shown);
    QCOMPARE(recorder.messages.size(), 1);
}

void TestShownListPages::menuOnlyModifiesColumns_data()
{
    QTest::addColumn<Page>("page");
    QTest::newRow("domains") << Page::Domains;
    QTest::newRow("aliases") << Page::Aliases;
}

void TestShownListPages::menuOnlyModifiesColumns()
{
    QFETCH(Page, page);

    QTreeWidget* list = open(page);
    QVERIFY(list);
    auto* popup = dynamic_cast<T2Popup*>(pageWidget());
    QVERIFY(popup);
    for (QTreeWidgetItem* item : {list->topLevelItem(0), static_cast<QTreeWidgetItem*>(nullptr)}) {
        QMenu menu;
        QVERIFY(popup->fillPopupMenu(menu, pageWidget(), item));
        QStringList texts;
        for (const QAction* action : menu.actions())
            texts.append(action->text());
        QCOMPARE(texts, QStringList{"&Modify Columns..."});
    }
}

void TestShownListPages::domainTypeNames_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");

    QTest::newRow("0") << "0" << "Primary domain";
    QTest::newRow("1") << "1" << "Local domain";
    QTest::newRow("2") << "2" << "Domain alias";
    QTest::newRow("3") << "3" << "Forwarding domain";
    QTest::newRow("a type without a name") << "4" << "4";
    QTest::newRow("negative") << "-1" << "-1";
    QTest::newRow("null") << "" << "";
}

void TestShownListPages::domainTypeNames()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);

    QCOMPARE(WndDomain::typeName(stored), shown);
}

QTEST_MAIN(TestShownListPages)
#include "tst_shownlistpages.moc"
