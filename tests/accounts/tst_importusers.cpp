// The users page's import from a Windows NT domain: the call the server is sent, the
// boxes for a refused or lost call and an empty domain, the accounts offered and ticked, the
// values new users get with and without a template, their order, and the accounts that
// are not taken because their names are empty, repeated or taken.

#include "accounttexts.h"
#include "dbctrl.h"
#include "dbrow.h"
#include "dialogrecorder.h"
#include "dlgimport.h"
#include "dlgimport2.h"
#include "globaldata.h"
#include "pagesession.h"
#include "qimport2item.h"
#include "shellharness.h"
#include "usersfixture.h"
#include "wnduser.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using AccountTexts::cell;

namespace {

using Values = QList<QPair<QString, QString>>;

const QList<QStringList> CorpAccounts{{"walt", "Walt Kim", "Accounts"},
                                      {"amy", "Amy Fox", ""},
                                      {"lee", "Lee Tran", "Warehouse"}};

std::function<int(QDialog*)> fromDomain(const QString& ntDomain)
{
    return [ntDomain](QDialog* dialog) {
        auto* source = qobject_cast<DlgImport*>(dialog);
        source->m_editDomain->setText(ntDomain);
        source->m_btnOK->click();
        return source->result();
    };
}

// Unticks the accounts named, picks the template entry, and presses OK.
std::function<int(QDialog*)> take(int templateEntry, const QStringList& untick = {},
                                  QStringList* offered = nullptr, QStringList* templates = nullptr)
{
    return [=](QDialog* dialog) {
        auto* found = qobject_cast<DlgImport2*>(dialog);
        for (int i = 0; i < found->m_list->topLevelItemCount(); ++i) {
            auto* item = static_cast<QImport2Item*>(found->m_list->topLevelItem(i));
            if (offered)
                offered->append(item->text(0) + "|" + item->text(1) + "|" + item->text(2) + "|"
                                + (item->isOn() ? "on" : "off"));
            if (untick.contains(item->text(0)))
                item->setCheckState(0, Qt::Unchecked);
        }
        if (templates) {
            for (int i = 0; i < found->m_combo->count(); ++i)
                templates->append(found->m_combo->itemText(i));
        }
        found->m_combo->setCurrentIndex(templateEntry);
        found->m_btnOK->click();
        return found->result();
    };
}

// The name each insert statement gives its user, in order.
QStringList insertedNames(const QStringList& statements)
{
    QStringList names;
    for (const QString& statement : statements)
        names << statement.section(QLatin1Char('\''), 1, 1);
    return names;
}

} // namespace

class TestImportUsers : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void callSentWithItsArgumentsQuoted_data();
    void callSentWithItsArgumentsQuoted();
    void failedCall_data();
    void failedCall();
    void domainWithoutUsers();
    void accountsOfferedTicked();
    void cancelled_data();
    void cancelled();
    void untickingAllAddsNothing();
    void valuesWithoutTemplate();
    void templateApplied_data();
    void templateApplied();
    void insertsInNameOrder();
    void unusableNamesSkippedAndWarnedOnce();

private:
    std::unique_ptr<WndUser> makePage()
    {
        return std::make_unique<WndUser>(nullptr, m_session->connection(), &m_session->ctrl, nullptr);
    }
    DBRow* userNamed(WndUser& page, const QString& name) const
    {
        for (const auto& row : page.m_users.m_rows) {
            if (cell(row.get(), "name") == name)
                return row.get();
        }
        return nullptr;
    }

    std::unique_ptr<PageSession> m_session;
    StandIn::TestServer* m_server = nullptr;
};

void TestImportUsers::init()
{
    globalData.currentDomain.clear();
    m_session = std::make_unique<PageSession>();
    m_server = m_session->server.get();
    UsersFixture::install(*m_server);
    m_server->setNtDomain(QStringLiteral("CORP"), CorpAccounts);
    QVERIFY(m_session->connect());
}

void TestImportUsers::cleanup()
{
    m_session.reset();
    globalData.currentDomain.clear();
}

void TestImportUsers::callSentWithItsArgumentsQuoted_data()
{
    QTest::addColumn<QString>("ntDomain");
    QTest::addColumn<QString>("mailDomain");
    QTest::addColumn<QString>("sent");

    QTest::newRow("primary domain") << "CORP" << "" << "select ImportNtUsers(\"CORP\", \"\")";
    QTest::newRow("other domain") << "CORP" << "lakeside.example"
                                  << "select ImportNtUsers(\"CORP\", \"lakeside.example\")";
    QTest::newRow("quotes escaped") << "a\"b'c" << "" << "select ImportNtUsers(\"a\\\"b\\'c\", \"\")";
    QTest::newRow("untrimmed") << " CORP " << "" << "select ImportNtUsers(\" CORP \", \"\")";
}

void TestImportUsers::callSentWithItsArgumentsQuoted()
{
    QFETCH(QString, ntDomain);
    QFETCH(QString, mailDomain);
    QFETCH(QString, sent);

    globalData.currentDomain = mailDomain;
    auto page = makePage();
    const int before = int(m_server->journal().size());
    DialogRecorder recorder;
    recorder.answerDialog(fromDomain(ntDomain));
    page->slotImport();

    QCOMPARE(journalFrom(*m_server, before), QStringList{sent});
}

void TestImportUsers::failedCall_data()
{
    QTest::addColumn<bool>("lost");
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("refused") << false
                             << QStringList{"Query failed: Function does not exists",
                                            "Import from the specified domain \"CORP\" failed!"};
    // The console's box says it all: one is enough.
    QTest::newRow("connection lost")
        << true << QStringList{"Connection failed!\nConsole was disconnected from 127.0.0.1."};
}

void TestImportUsers::failedCall()
{
    QFETCH(bool, lost);
    QFETCH(QStringList, boxes);

    if (lost)
        QVERIFY(m_server->dropAt(QStringLiteral("ImportNtUsers"), 1));
    else
        m_server->setNtDomain(QStringLiteral("CORP"), {}, 110);
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(fromDomain(QStringLiteral("CORP")));
    page->slotImport();

    QCOMPARE(recorder.messageTexts(), boxes);
    QCOMPARE(recorder.messages.last().caption,
             lost ? QStringLiteral("Ornel Corvane Administration") : QStringLiteral("Error"));
    QCOMPARE(recorder.dialogs.size(), 1);
    QVERIFY(m_session->ctrl.m_pending.isEmpty());
}

void TestImportUsers::domainWithoutUsers()
{
    m_server->setNtDomain(QStringLiteral("CORP"), {});
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(fromDomain(QStringLiteral("CORP")));
    page->slotImport();

    QCOMPARE(recorder.messageTexts(), QStringList{"Domain \"CORP\" contains no users!"});
    QCOMPARE(recorder.messages.at(0).caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(recorder.dialogs.size(), 1);
}

void TestImportUsers::accountsOfferedTicked()
{
    auto page = makePage();
    DialogRecorder recorder;
    QStringList offered, templates;
    recorder.answerDialog(fromDomain(QStringLiteral("CORP")));
    recorder.answerDialog(take(0, {}, &offered, &templates));
    page->slotImport();

    QCOMPARE(recorder.dialogs.size(), 2);
    QCOMPARE(recorder.dialogs.at(1).caption, QStringLiteral("Import Users"));
    QCOMPARE(offered, (QStringList{"amy|Amy Fox||on", "lee|Lee Tran|Warehouse|on", "walt|Walt Kim|Accounts|on"}));
    QCOMPARE(templates, (QStringList{"Default", "standard"}));
}

void TestImportUsers::cancelled_data()
{
    QTest::addColumn<bool>("atSource");
    QTest::newRow("first step") << true;
    QTest::newRow("second step") << false;
}

void TestImportUsers::cancelled()
{
    QFETCH(bool, atSource);
    auto page = makePage();
    const int before = int(m_server->journal().size());
    DialogRecorder recorder;
    if (!atSource)
        recorder.answerDialog(fromDomain(QStringLiteral("CORP")));
    recorder.answerDialog(int(QDialog::Rejected));
    page->slotImport();

    QCOMPARE(journalFrom(*m_server, before).size(), atSource ? 0 : 1);
    QCOMPARE(page->m_users.diff(true)->size(), 0);
    QVERIFY(m_session->ctrl.m_pending.isEmpty());
    QVERIFY(recorder.messages.isEmpty());
}

void TestImportUsers::untickingAllAddsNothing()
{
    auto page = makePage();
    const size_t before = page->m_users.m_rows.size();
    DialogRecorder recorder;
    recorder.answerDialog(fromDomain(QStringLiteral("CORP")));
    recorder.answerDialog(take(0, {"walt", "amy", "lee"}));
    page->slotImport();

    QCOMPARE(page->m_users.m_rows.size(), before);
    QVERIFY(m_session->ctrl.m_pending.isEmpty());
    QVERIFY(recorder.messages.isEmpty());
}

void TestImportUsers::valuesWithoutTemplate()
{
    globalData.currentDomain = QStringLiteral("lakeside.example");
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(fromDomain(QStringLiteral("CORP")));
    recorder.answerDialog(take(0, {"amy", "lee"}));
    page->slotImport();

    QCOMPARE(m_session->ctrl.m_pending,
             QStringList{"insert user set name='walt', domain='lakeside.example', account_enabled='', "
                         "auth_type='1', rights='0', password='', groups='', qstorage='0', qmessage='0', "
                         "fullname='Walt Kim', description='Accounts', sentfolder='Sent Items', "
                         "draftfolder='Drafts', hidefldlist='0', showsub='1', msgperpage='20', "
                         "preflang='en', pin=''"});
    QCOMPARE(page->m_list->topLevelItemCount(), 2); // dan and walt
}

void TestImportUsers::templateApplied_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("account");
    QTest::addColumn<Values>("written");

    const Values fromTemplate{{"auth_type", "2"}, {"rights", "3"}, {"groups", "staff"},
                              {"qstorage", "1048576"}, {"qmessage", ""}, {"sentfolder", ""},
                              {"draftfolder", "D"}, {"hidefldlist", "1"}, {"showsub", "0"},
                              {"msgperpage", "40"}, {"preflang", "fr"}};
    // The entry "Default" applies nothing; the template that is itself called "Default"
    // is applied like any other.
    QTest::newRow("Default entry") << 0 << "amy"
                                   << Values{{"auth_type", "1"}, {"rights", "0"}, {"qstorage", "0"},
                                             {"showsub", "1"}, {"hidefldlist", "0"}, {"description", ""},
                                             {"sentfolder", "Sent Items"}};
    QTest::newRow("template, no description of its own")
        << 2 << "amy" << (Values{{"description", "From template"}} + fromTemplate);
    QTest::newRow("template, own description")
        << 2 << "walt" << (Values{{"description", "Accounts"}} + fromTemplate);
    QTest::newRow("template called Default")
        << 3 << "amy" << Values{{"description", "Named Default"}, {"preflang", "nl"}, {"rights", "1"}};
}

void TestImportUsers::templateApplied()
{
    QFETCH(int, entry);
    QFETCH(QString, account);
    QFETCH(Values, written);

    const auto columns = m_server->columns(QStringLiteral("template"));
    m_server->setTable(QStringLiteral("template"), columns,
                       {{"standard", "", "Standard user", "0", "0", "staff", "0", "0", "Sent", "Drafts", "0",
                         "0", "20", "en"},
                        {"remote", "elsewhere.example", "From template", "2", "3", "staff", "1048576", "",
                         "", "D", "1", "0", "40", "fr"},
                        {"Default", "", "Named Default", "0", "1", "", "0", "0", "S", "D", "0", "1", "20",
                         "nl"}});
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(fromDomain(QStringLiteral("CORP")));
    recorder.answerDialog(take(entry));
    page->slotImport();

    DBRow* row = userNamed(*page, account);
    QVERIFY(row);
    for (const auto& value : written)
        QCOMPARE(cell(row, value.first.toLatin1().constData()), value.second);
    QCOMPARE(cell(row, "domain"), QString());
}

void TestImportUsers::insertsInNameOrder()
{
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(fromDomain(QStringLiteral("CORP")));
    recorder.answerDialog(take(0));
    page->slotImport();

    const QStringList names = insertedNames(m_session->ctrl.m_pending);
    QCOMPARE(names, (QStringList{"amy", "lee", "walt"}));
}

void TestImportUsers::unusableNamesSkippedAndWarnedOnce()
{
    m_server->setNtDomain(QStringLiteral("CORP"),
                          {{"JOHN", "John Again", ""}, {"kim", "Kim One", ""}, {"Kim", "Kim Two", ""},
                           {"", "Nobody", ""}, {"dan", "Dan of lakeside", ""}});
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(fromDomain(QStringLiteral("CORP")));
    recorder.answerDialog(take(0));
    page->slotImport();

    // In the list's order: the empty name, then the names as a person reads them, lower
    // case before capitals. "john" is a user of the primary domain; "dan" only of another
    // domain.
    const QStringList names = insertedNames(m_session->ctrl.m_pending);
    QCOMPARE(names, (QStringList{"dan", "kim"}));
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages.at(0).caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(recorder.messages.at(0).text,
             QStringLiteral("These accounts were not imported: their names are empty, repeated or "
                            "already used in this domain:\n(no name)\nJOHN\nKim"));
}

QTEST_MAIN(TestImportUsers)
#include "tst_importusers.moc"
