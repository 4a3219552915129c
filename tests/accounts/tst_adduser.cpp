// The users page's add command: the template chooser when there are templates, the
// wizard on a row holding the defaults or a template's values, the domain and the
// subscription flag stamped on it, the duplicate check and the insert handed over.

#include "accounttexts.h"
#include "dbctrl.h"
#include "dbrow.h"
#include "dialogrecorder.h"
#include "dlgchoosetemp.h"
#include "globaldata.h"
#include "pagesession.h"
#include "usersfixture.h"
#include "wizadduser.h"
#include "wnduser.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using AccountTexts::cell;

namespace {

using Values = QList<QPair<QString, QString>>;

// Picks the chooser's entry whose first column reads `name`, and accepts.
std::function<int(QDialog*)> choose(const QString& name, QStringList* offered = nullptr)
{
    return [name, offered](QDialog* dialog) {
        auto* chooser = qobject_cast<DlgChooseTemp*>(dialog);
        QTreeWidget* list = chooser->m_list;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (offered)
                offered->append(list->topLevelItem(i)->text(0));
            if (list->topLevelItem(i)->text(0) == name) {
                list->clearSelection();
                list->topLevelItem(i)->setSelected(true);
            }
        }
        chooser->m_btnOK->click();
        return chooser->result();
    };
}

// Names the user in the wizard, notes what it shows, and finishes.
std::function<int(QDialog*)> finishAs(const QString& name, Values* shown = nullptr)
{
    return [name, shown](QDialog* dialog) {
        auto* wizard = qobject_cast<WizAddUser*>(dialog);
        wizard->show();
        if (shown)
            *shown = {{"description", wizard->m_editDesk->text()},
                      {"disk", wizard->m_editDiskSpace->text() + " " + wizard->m_comboKB->currentText()},
                      {"messages", wizard->m_editNumMess->text()},
                      {"groups", QString::number(wizard->m_listGroups->topLevelItemCount())}};
        wizard->m_editName->setText(name);
        wizard->helpButton()->click();
        return wizard->result();
    };
}

QStringList listedNames(const QTreeWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        names << list->topLevelItem(i)->text(0);
    names.sort();
    return names;
}

} // namespace

class TestAddUser : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void withoutTemplatesNoChooser();
    void chooserOffersDefaultAndTheDomainsTemplates();
    void cancelled_data();
    void cancelled();
    void startsFromChosenTemplate_data();
    void startsFromChosenTemplate();
    void insertHandedOver();
    void duplicateName_data();
    void duplicateName();
    void refusedUserLeavesNoTrace();
    void failedLoadAddsNothing_data();
    void failedLoadAddsNothing();

private:
    std::unique_ptr<WndUser> makePage()
    {
        return std::make_unique<WndUser>(nullptr, m_session->connection(), &m_session->ctrl, nullptr);
    }
    DBRow* addedRow(WndUser& page) const { return page.m_users.m_rows.back().get(); }

    std::unique_ptr<PageSession> m_session;
    StandIn::TestServer* m_server = nullptr;
};

void TestAddUser::init()
{
    globalData.currentDomain.clear();
    m_session = std::make_unique<PageSession>();
    m_server = m_session->server.get();
    UsersFixture::install(*m_server);
    QVERIFY(m_session->connect());
}

void TestAddUser::cleanup()
{
    m_session.reset();
    globalData.currentDomain.clear();
}

void TestAddUser::withoutTemplatesNoChooser()
{
    m_server->setTable(QStringLiteral("template"), m_server->columns(QStringLiteral("template")), {});
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(finishAs(QStringLiteral("zoe")));
    page->slotAdd();

    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.dialogs.at(0).className, QStringLiteral("WizAddUser"));
    DBRow* row = addedRow(*page);
    QCOMPARE(cell(row, "name"), QStringLiteral("zoe"));
    QCOMPARE(cell(row, "msgperpage"), QStringLiteral("20"));
    QCOMPARE(cell(row, "sentfolder"), QStringLiteral("Sent Items"));
    QCOMPARE(cell(row, "draftfolder"), QStringLiteral("Drafts"));
    QCOMPARE(cell(row, "preflang"), QStringLiteral("en"));
    QCOMPARE(cell(row, "hidefldlist"), QString());
}

void TestAddUser::chooserOffersDefaultAndTheDomainsTemplates()
{
    auto page = makePage();
    DialogRecorder recorder;
    QStringList offered;
    recorder.answerDialog(choose(QStringLiteral("Default"), &offered));
    recorder.answerDialog(finishAs(QStringLiteral("zoe")));
    globalData.currentDomain = QStringLiteral("lakeside.example");
    page->slotAdd();

    QCOMPARE(recorder.dialogs.size(), 2);
    QCOMPARE(recorder.dialogs.at(0).caption, QStringLiteral("User Templates"));
    // The fixture's one template is of no domain: it serves every domain.
    QCOMPARE(offered, (QStringList{"Default", "standard"}));
    QCOMPARE(cell(addedRow(*page), "domain"), QStringLiteral("lakeside.example"));
}

void TestAddUser::cancelled_data()
{
    QTest::addColumn<bool>("inChooser");
    QTest::newRow("chooser") << true;
    QTest::newRow("wizard") << false;
}

void TestAddUser::cancelled()
{
    QFETCH(bool, inChooser);
    auto page = makePage();
    const size_t before = page->m_users.m_rows.size();
    DialogRecorder recorder;
    if (!inChooser)
        recorder.answerDialog(choose(QStringLiteral("standard")));
    recorder.answerDialog(int(QDialog::Rejected));
    page->slotAdd();

    QCOMPARE(recorder.dialogs.size(), inChooser ? 1 : 2);
    QCOMPARE(page->m_users.m_rows.size(), before);
    QCOMPARE(page->m_users.diff(true)->size(), 0);
    QVERIFY(m_session->ctrl.m_pending.isEmpty());
}

void TestAddUser::startsFromChosenTemplate_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<Values>("shown");
    QTest::addColumn<Values>("written");

    QTest::newRow("Default") << "Default"
                             << Values{{"description", ""}, {"disk", "0 KB"}, {"messages", ""}, {"groups", "0"}}
                             << Values{{"sentfolder", "Sent Items"}, {"draftfolder", "Drafts"},
                                       {"msgperpage", "20"}, {"preflang", "en"}, {"showsub", "1"},
                                       {"hidefldlist", ""}, {"rights", "0"}, {"groups", ""}};
    // The template's showsub is 0 and its sentfolder "Mail/Sent"; the user gets "1".
    QTest::newRow("template") << "office"
                              << Values{{"description", "Office staff"}, {"disk", "5 MB"},
                                        {"messages", "300"}, {"groups", "2"}}
                              << Values{{"sentfolder", ""}, {"draftfolder", "Mail/Drafts"},
                                        {"msgperpage", "50"}, {"preflang", "de"}, {"showsub", "1"},
                                        {"hidefldlist", "1"}, {"rights", "3"}, {"groups", "staff,support"},
                                        {"qstorage", "5242880"}, {"auth_type", "0"}, {"domain", ""}};
}

void TestAddUser::startsFromChosenTemplate()
{
    QFETCH(QString, entry);
    QFETCH(Values, shown);
    QFETCH(Values, written);

    m_server->setTable(QStringLiteral("template"), m_server->columns(QStringLiteral("template")),
                       {{"office", "corvane.example", "Office staff", "0", "7", "support,staff", "5242880",
                         "300", "", "Mail/Drafts", "1", "0", "50", "de"}});
    auto page = makePage();
    DialogRecorder recorder;
    Values wizardShowed;
    recorder.answerDialog(choose(entry));
    recorder.answerDialog(finishAs(QStringLiteral("zoe"), &wizardShowed));
    page->slotAdd();

    QCOMPARE(wizardShowed, shown);
    DBRow* row = addedRow(*page);
    for (const auto& value : written)
        QCOMPARE(cell(row, value.first.toLatin1().constData()), value.second);
}

void TestAddUser::insertHandedOver()
{
    m_server->setTable(QStringLiteral("template"), m_server->columns(QStringLiteral("template")), {});
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog([](QDialog* dialog) {
        auto* wizard = qobject_cast<WizAddUser*>(dialog);
        wizard->show();
        wizard->m_editName->setText(QStringLiteral("o'neil"));
        wizard->m_editFull->setText(QStringLiteral("Pat O'Neil"));
        wizard->m_editPass->setText(QStringLiteral("pw"));
        wizard->m_editConfPass->setText(QStringLiteral("pw"));
        wizard->helpButton()->click();
        return wizard->result();
    });
    page->slotAdd();

    QCOMPARE(m_session->ctrl.m_pending,
             QStringList{"insert user set name='o\\'neil', domain='', account_enabled='1', auth_type='0', "
                         "rights='0', password='NUL:pw', groups='', qstorage='0', qmessage='', "
                         "fullname='Pat O\\'Neil', description='', sentfolder='Sent Items', "
                         "draftfolder='Drafts', hidefldlist='', showsub='1', msgperpage='20', "
                         "preflang='en', pin=''"});
    QVERIFY(listedNames(page->m_list).contains(QStringLiteral("o'neil")));
}

void TestAddUser::duplicateName_data()
{
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("refused");

    QTest::newRow("same name") << "" << "john" << true;
    QTest::newRow("other letter case") << "" << "JOHN" << true;
    QTest::newRow("name of another domain") << "" << "dan" << false;
    QTest::newRow("in that other domain") << "lakeside.example" << "DAN" << true;
    QTest::newRow("new name") << "" << "zoe" << false;
}

void TestAddUser::duplicateName()
{
    QFETCH(QString, domain);
    QFETCH(QString, name);
    QFETCH(bool, refused);

    globalData.currentDomain = domain;
    auto page = makePage();
    const size_t before = page->m_users.m_rows.size();
    const int listedBefore = page->m_list->topLevelItemCount();
    DialogRecorder recorder;
    recorder.answerDialog(choose(QStringLiteral("Default")));
    recorder.answerDialog(finishAs(name));
    page->slotAdd();

    QCOMPARE(recorder.dialogs.size(), 2); // the wizard is not shown again
    QCOMPARE(recorder.messageTexts(), refused ? QStringList{"This user already exists!"} : QStringList());
    if (refused)
        QCOMPARE(recorder.messages.at(0).caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(page->m_users.m_rows.size(), before + (refused ? 0 : 1));
    QCOMPARE(page->m_list->topLevelItemCount(), listedBefore + (refused ? 0 : 1));
    QCOMPARE(m_session->ctrl.m_pending.size(), refused ? 0 : 1);
}

void TestAddUser::refusedUserLeavesNoTrace()
{
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(choose(QStringLiteral("Default")));
    recorder.answerDialog(finishAs(QStringLiteral("Ann")));
    recorder.answerDialog(choose(QStringLiteral("Default")));
    recorder.answerDialog(finishAs(QStringLiteral("zoe")));
    page->slotAdd();
    page->slotAdd();

    QCOMPARE(recorder.messageTexts(), QStringList{"This user already exists!"});
    QCOMPARE(m_session->ctrl.m_pending.size(), 1);
    QVERIFY(m_session->ctrl.m_pending.at(0).startsWith(QStringLiteral("insert user set name='zoe', domain=''")));
    QCOMPARE(listedNames(page->m_list),
             (QStringList{"Ann", "ann", "bob", "cid", "eve", "john", "zoe"}));
}

void TestAddUser::failedLoadAddsNothing_data()
{
    QTest::addColumn<QString>("pattern"); // the load that fails
    QTest::addColumn<bool>("shortOfAColumn"); // else refused
    QTest::addColumn<QString>("button");

    for (const char* button : {"m_btnAdd", "m_btnImport"}) {
        QTest::addRow("users short of a column, %s", button) << "from user$" << true << button;
        QTest::addRow("users refused, %s", button) << "from user$" << false << button;
        QTest::addRow("templates refused, %s", button) << "from template$" << false << button;
    }
}

// A page whose load failed keeps its buttons as the form made them, but adds no user: the
// insert would go into a table it never loaded, or one it does not commit on Apply, and so
// be sent again on every Apply.
void TestAddUser::failedLoadAddsNothing()
{
    QFETCH(QString, pattern);
    QFETCH(bool, shortOfAColumn);
    QFETCH(QString, button);

    if (shortOfAColumn)
        QVERIFY(m_server->omitColumns(pattern, QStringList{"qstorage"}, 1));
    else
        QVERIFY(m_server->refuse(pattern, 109, 1));
    DialogRecorder recorder;
    auto page = makePage();
    QCOMPARE(recorder.messages.size(), 1);
    const size_t users = page->m_users.m_rows.size();
    const int asked = int(m_server->journal().size());

    // Should a dialog open all the same: the wizard is finished, anything else cancelled.
    recorder.answerDialog([](QDialog* dialog) {
        return qobject_cast<WizAddUser*>(dialog) ? finishAs(QStringLiteral("zoe"))(dialog)
                                                 : int(QDialog::Rejected);
    });
    auto* clicked = page->findChild<QPushButton*>(button);
    QVERIFY(clicked && clicked->isEnabled());
    clicked->click();
    QCOMPARE(recorder.dialogs.size(), 0);
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(page->m_users.m_rows.size(), users);
    QCOMPARE(page->m_list->topLevelItemCount(), 0);
    QCOMPARE(m_session->ctrl.m_pending, QStringList());
    QCOMPARE(int(m_server->journal().size()), asked);
}

QTEST_MAIN(TestAddUser)
#include "tst_adduser.moc"
