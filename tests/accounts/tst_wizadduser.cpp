// The add-user wizard on a new row of the users page: what it shows of the row, the
// General page's rule for going on and finishing, the buttons on each page and what
// "&Finish" writes into the row.

#include "accountfields.h"
#include "accounttexts.h"
#include "dbrow.h"
#include "dbtable.h"
#include "dialogrecorder.h"
#include "dlgaddgroup.h"
#include "globaldata.h"
#include "pagesession.h"
#include "typing.h"
#include "usersfixture.h"
#include "wizadduser.h"
#include "wnduser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>

using AccountTexts::cell;

namespace {

using Values = QList<QPair<QString, QString>>;

QStringList listedTexts(const QTreeWidget* list, int column)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

void goToPage(WizAddUser& wizard, int index)
{
    while (wizard.indexOf(wizard.currentPage()) < index)
        wizard.nextButton()->click();
}

} // namespace

class TestWizAddUser : public QObject
{
    Q_OBJECT

private slots:
    // A locale whose group separator is the comma, whatever the machine's.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init();
    void cleanup();

    void newRowWithoutTemplate();
    void generalPageRule_data();
    void generalPageRule();
    void ruleReappliedWhenBackOnGeneralPage();
    void buttonsOnEachPage_data();
    void buttonsOnEachPage();
    void finishWritesTheRow_data();
    void finishWritesTheRow();
    void rightsFromTemplate_data();
    void rightsFromTemplate();
    void quotaFromTemplate_data();
    void quotaFromTemplate();
    void quotaNumbers_data();
    void quotaNumbers();
    void questionLeadsToTheFieldsPage_data();
    void questionLeadsToTheFieldsPage();
    void finishOnGroupsPageWritesRightsAndQuotaShown();
    void groupsInDisplayOrder();
    void pickerOffersUnlistedGroupsOfTheDomain();
    void failedGroupLoadStillOpens();

private:
    DBRow* newRow(const Values& values = {});
    std::unique_ptr<WizAddUser> makeWizard(DBRow* row);

    std::unique_ptr<PageSession> m_session;
    StandIn::TestServer* m_server = nullptr;
    std::unique_ptr<WndUser> m_page;
};

void TestWizAddUser::init()
{
    globalData.currentDomain.clear();
    m_session = std::make_unique<PageSession>();
    m_server = m_session->server.get();
    UsersFixture::install(*m_server);
    m_server->setAuthTypes({{0, QStringLiteral("Internal")}, {4, QStringLiteral("PAM")}});
    QVERIFY(m_session->connect());
    m_page = std::make_unique<WndUser>(nullptr, m_session->connection(), &m_session->ctrl, nullptr);
}

void TestWizAddUser::cleanup()
{
    m_page.reset();
    m_session.reset();
    globalData.currentDomain.clear();
}

DBRow* TestWizAddUser::newRow(const Values& values)
{
    DBRow* row = m_page->m_users.append();
    for (const auto& value : values)
        setCell(row, value.first.toLatin1().constData(), value.second);
    return row;
}

std::unique_ptr<WizAddUser> TestWizAddUser::makeWizard(DBRow* row)
{
    auto wizard = std::make_unique<WizAddUser>(row, m_session->connection(), &m_page->m_groups,
                                               m_page.get());
    wizard->show();
    return wizard;
}

void TestWizAddUser::newRowWithoutTemplate()
{
    auto wizard = makeWizard(newRow());

    for (QLineEdit* field : {wizard->m_editName, wizard->m_editFull, wizard->m_editDesk,
                             wizard->m_editPass, wizard->m_editConfPass, wizard->m_editNumMess})
        QCOMPARE(field->text(), QString());
    QVERIFY(wizard->m_rbtnNoAcc->isChecked());
    QCOMPARE(wizard->m_listGroups->topLevelItemCount(), 0);
    QCOMPARE(wizard->m_editDiskSpace->text(), QStringLiteral("0"));
    QCOMPARE(wizard->m_comboKB->currentText(), QStringLiteral("KB"));
    QCOMPARE(wizard->windowTitle(), QStringLiteral("Add User"));
    QVERIFY(!wizard->nextButton()->isEnabled());
    QVERIFY(!wizard->helpButton()->isEnabled());

    wizard->m_editName->setText(QStringLiteral("zoe"));
    QVERIFY(wizard->nextButton()->isEnabled());
    QVERIFY(wizard->helpButton()->isEnabled());
}

void TestWizAddUser::generalPageRule_data()
{
    QTest::addColumn<int>("authIndex");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<bool>("goesOn");

    QTest::newRow("name, both empty") << 0 << "zoe" << "" << "" << true;
    QTest::newRow("name, equal") << 0 << "zoe" << "pw" << "pw" << true;
    QTest::newRow("name, unequal") << 0 << "zoe" << "pw" << "pW" << false;
    QTest::newRow("no name, equal") << 0 << "" << "pw" << "pw" << false;
    QTest::newRow("blanks are a name") << 0 << "  " << "" << "" << true;
    QTest::newRow("other type, unequal") << 1 << "zoe" << "pw" << "x" << true;
    QTest::newRow("other type, no name") << 1 << "" << "" << "" << false;
}

void TestWizAddUser::generalPageRule()
{
    QFETCH(int, authIndex);
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, confirmation);
    QFETCH(bool, goesOn);

    auto wizard = makeWizard(newRow());
    wizard->m_auth->setCurrentIndex(authIndex);
    emit wizard->m_auth->activated(authIndex);
    wizard->m_editName->setText(name);
    wizard->m_editPass->setText(password);
    wizard->m_editConfPass->setText(confirmation);

    QCOMPARE(wizard->nextButton()->isEnabled(), goesOn);
    QCOMPARE(wizard->helpButton()->isEnabled(), goesOn);
    const bool internal = authIndex == 0;
    for (QWidget* field : {static_cast<QWidget*>(wizard->m_editPass), static_cast<QWidget*>(wizard->m_editConfPass),
                           static_cast<QWidget*>(wizard->m_lblPass), static_cast<QWidget*>(wizard->m_lblPass2)})
        QCOMPARE(field->isEnabled(), internal);
}

void TestWizAddUser::ruleReappliedWhenBackOnGeneralPage()
{
    auto wizard = makeWizard(newRow());
    wizard->m_editName->setText(QStringLiteral("zoe"));
    wizard->nextButton()->click();
    QCOMPARE(wizard->currentPage(), wizard->page2);

    wizard->m_editPass->setText(QStringLiteral("one"));
    QVERIFY(wizard->nextButton()->isEnabled()); // the Groups page has no rule of its own
    wizard->backButton()->click();

    QCOMPARE(wizard->currentPage(), wizard->page1);
    QVERIFY(!wizard->nextButton()->isEnabled());
    QVERIFY(!wizard->helpButton()->isEnabled());
    wizard->m_editConfPass->setText(QStringLiteral("one"));
    QVERIFY(wizard->nextButton()->isEnabled());
}

void TestWizAddUser::buttonsOnEachPage_data()
{
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("backEnabled");
    QTest::addColumn<bool>("lastPage");

    QTest::newRow("general") << 0 << "General - page 1 of 4" << false << false;
    QTest::newRow("groups") << 1 << "Groups - page 2 of 4" << true << false;
    QTest::newRow("rights") << 2 << "Rights - page 3 of 4" << true << false;
    QTest::newRow("quota") << 3 << "Quota - page 4 of 4" << true << true;
}

void TestWizAddUser::buttonsOnEachPage()
{
    QFETCH(int, pageIndex);
    QFETCH(QString, title);
    QFETCH(bool, backEnabled);
    QFETCH(bool, lastPage);

    auto wizard = makeWizard(newRow());
    wizard->m_editName->setText(QStringLiteral("zoe"));
    goToPage(*wizard, pageIndex);
    if (pageIndex == 0) { // arriving on the page, as every other row does
        wizard->nextButton()->click();
        wizard->backButton()->click();
    }

    QCOMPARE(wizard->title(wizard->currentPage()), title);
    QCOMPARE(wizard->cancelButton()->text(), QStringLiteral("&Cancel"));
    QCOMPARE(wizard->backButton()->text(), QStringLiteral("< &Back"));
    QCOMPARE(wizard->helpButton()->text(), QStringLiteral("&Finish"));
    QPushButton* inNextsPlace = lastPage ? wizard->finishButton() : wizard->nextButton();
    QVERIFY(inNextsPlace->isVisible());
    QCOMPARE(inNextsPlace->text(), QStringLiteral("&Next >"));
    QCOMPARE(inNextsPlace->isEnabled(), !lastPage);
    QCOMPARE(wizard->backButton()->isEnabled(), backEnabled);
    QVERIFY(wizard->helpButton()->isEnabled());
    QCOMPARE(wizard->focusWidget(), lastPage ? wizard->helpButton() : wizard->nextButton());
}

void TestWizAddUser::finishWritesTheRow_data()
{
    QTest::addColumn<int>("authIndex");
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<Values>("written");

    QTest::newRow("internal user") << 0 << false
                                   << Values{{"name", "zoe"}, {"fullname", "Zoe Park"},
                                             {"description", "night shift"}, {"password", "NUL:s3cr'et"},
                                             {"auth_type", "0"}, {"account_enabled", "1"},
                                             {"groups", ""}, {"rights", "0"}, {"qstorage", "0"},
                                             {"qmessage", ""}};
    QTest::newRow("other type, disabled") << 1 << true
                                          << Values{{"password", "NUL:"}, {"auth_type", "4"},
                                                    {"account_enabled", "0"}};
}

void TestWizAddUser::finishWritesTheRow()
{
    QFETCH(int, authIndex);
    QFETCH(bool, disabled);
    QFETCH(Values, written);

    DBRow* row = newRow({{"msgperpage", "20"}, {"preflang", "en"}});
    auto wizard = makeWizard(row);
    wizard->m_auth->setCurrentIndex(authIndex);
    emit wizard->m_auth->activated(authIndex);
    wizard->m_editName->setText(QStringLiteral("zoe"));
    wizard->m_editFull->setText(QStringLiteral("Zoe Park"));
    wizard->m_editDesk->setText(QStringLiteral("night shift"));
    wizard->m_editPass->setText(QStringLiteral("s3cr'et"));
    wizard->m_editConfPass->setText(authIndex == 0 ? QStringLiteral("s3cr'et") : QString());
    wizard->m_chkDisabled->setChecked(disabled);

    wizard->helpButton()->click();

    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    for (const auto& value : written)
        QCOMPARE(cell(row, value.first.toLatin1().constData()), value.second);
    // What the wizard does not write stays as the page gave it.
    QCOMPARE(cell(row, "msgperpage"), QStringLiteral("20"));
    QCOMPARE(cell(row, "preflang"), QStringLiteral("en"));
}

void TestWizAddUser::rightsFromTemplate_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("written");

    QTest::newRow("7") << "7" << "m_rbtnFullAcc" << "3";
    QTest::newRow("3") << "3" << "m_rbtnFullAcc" << "3";
    QTest::newRow("5") << "5" << "m_rbtnViewLogs" << "1";
    QTest::newRow("1") << "1" << "m_rbtnViewLogs" << "1";
    QTest::newRow("2") << "2" << "m_rbtnNoAcc" << "0";
    QTest::newRow("empty") << "" << "m_rbtnNoAcc" << "0";
}

void TestWizAddUser::rightsFromTemplate()
{
    QFETCH(QString, stored);
    QFETCH(QString, checked);
    QFETCH(QString, written);

    DBRow* row = newRow({{"rights", stored}});
    auto wizard = makeWizard(row);
    QVERIFY(wizard->findChild<QRadioButton*>(checked)->isChecked());
    wizard->m_editName->setText(QStringLiteral("zoe"));
    wizard->helpButton()->click();
    QCOMPARE(cell(row, "rights"), written);
}

void TestWizAddUser::quotaFromTemplate_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shownNumber");
    QTest::addColumn<QString>("shownUnit");
    QTest::addColumn<QString>("typed"); // empty: left as shown
    QTest::addColumn<QString>("written");

    QTest::newRow("3 GB") << "3221225472" << "3" << "GB" << "" << "3221225472";
    QTest::newRow("1536 MB") << "1610612736" << "1536" << "MB" << "" << "1610612736";
    QTest::newRow("2 KB") << "2048" << "2" << "KB" << "" << "2048";
    // No whole number of KB: shown as "0", kept while untouched, replaced once typed over.
    QTest::newRow("1536 bytes kept") << "1536" << "0" << "KB" << "" << "1536";
    QTest::newRow("100 bytes kept") << "100" << "0" << "KB" << "" << "100";
    QTest::newRow("1536 bytes retyped") << "1536" << "0" << "KB" << "5" << "5120";
    QTest::newRow("none") << "" << "0" << "KB" << "" << "0";
}

void TestWizAddUser::quotaFromTemplate()
{
    QFETCH(QString, stored);
    QFETCH(QString, shownNumber);
    QFETCH(QString, shownUnit);
    QFETCH(QString, typed);
    QFETCH(QString, written);

    DBRow* row = newRow({{"qstorage", stored}, {"qmessage", "250"}});
    auto wizard = makeWizard(row);
    QCOMPARE(wizard->m_editDiskSpace->text(), shownNumber);
    QCOMPARE(wizard->m_comboKB->currentText(), shownUnit);
    QCOMPARE(wizard->m_editNumMess->text(), QStringLiteral("250"));
    if (!typed.isEmpty())
        wizard->m_editDiskSpace->setText(typed);
    wizard->m_editName->setText(QStringLiteral("zoe"));
    wizard->helpButton()->click();
    QCOMPARE(cell(row, "qstorage"), written);
    QCOMPARE(cell(row, "qmessage"), QStringLiteral("250"));
}

// The quota fields take the digits typed and nothing else, whatever the locale, as an
// integer validator up to their top takes them while typing, and Finish writes the number
// shown without a question.
void TestWizAddUser::quotaNumbers_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("written");

    QTest::newRow("disk space in KB, a group separator")
        << "m_editDiskSpace" << "1,000" << "qstorage" << "1024000";
    QTest::newRow("messages, a group separator")
        << "m_editNumMess" << "2,500" << "qmessage" << "2500";
    QTest::newRow("disk space beyond the validator's top")
        << "m_editDiskSpace" << "1000001" << "qstorage" << "1024001024";
    QTest::newRow("messages, seven nines")
        << "m_editNumMess" << "9999999" << "qmessage" << "9999999";
}

void TestWizAddUser::quotaNumbers()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, column);
    QFETCH(QString, written);

    DBRow* row = newRow({{"qstorage", "2048"}, {"qmessage", "250"}});
    auto wizard = makeWizard(row);
    DialogRecorder recorder;
    typeOver(wizard->m_editName, QStringLiteral("zoe"));
    typeOver(wizard->findChild<QLineEdit*>(field), typed);
    wizard->helpButton()->click();
    QCOMPARE(recorder.messageTexts(), QStringList());
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    QCOMPARE(cell(row, column.toLatin1().constData()), written);
}

// "Finish" on the General page with a disk space the column cannot hold in the unit chosen
// on the Quota page (a template's quota shown in KB, put in GB): whatever the answer, the
// Quota page comes forward as the wizard's current page (its title, its buttons, the focus in
// the field), and the wizard goes on from there: Back walks the pages before it, and the
// General page's rule holds again on arrival.
void TestWizAddUser::questionLeadsToTheFieldsPage_data()
{
    QTest::addColumn<int>("answer");

    QTest::newRow("OK") << int(QMessageBox::Ok);
    QTest::newRow("the box closed") << int(QMessageBox::Cancel);
}

void TestWizAddUser::questionLeadsToTheFieldsPage()
{
    QFETCH(int, answer);

    // 2^33 + 1 KB: as many GB would not fit 64 bits.
    DBRow* row = newRow({{"qstorage", "8796093023232"}});
    auto wizard = makeWizard(row);
    auto* title = wizard->findChild<QLabel*>(QStringLiteral("title"));
    typeOver(wizard->m_editName, QStringLiteral("zoe"));
    for (int i = 0; i < 3; ++i)
        wizard->nextButton()->click();
    QLineEdit* edit = wizard->m_editDiskSpace;
    QCOMPARE(edit->text(), QStringLiteral("8589934593"));
    wizard->m_comboKB->setCurrentIndex(2);
    emit wizard->m_comboKB->activated(2);
    for (int i = 0; i < 3; ++i)
        wizard->backButton()->click();
    QCOMPARE(wizard->currentPage(), wizard->page1);

    DialogRecorder recorder;
    recorder.answer(answer);
    wizard->helpButton()->click();
    QCOMPARE(recorder.messageTexts(),
             QStringList{"Disk space must be a number from 0 to 8589934591 GB."});
    QVERIFY(wizard->result() != QDialog::Accepted);
    QCOMPARE(cell(row, "qstorage"), QStringLiteral("8796093023232"));
    QCOMPARE(wizard->currentPage(), wizard->page); // the Quota page
    QCOMPARE(title->text(), QStringLiteral("Quota - page 4 of 4"));
    QVERIFY(wizard->backButton()->isEnabled());
    QCOMPARE(wizard->focusWidget(), edit);

    // Passwords that differ close the way on from the General page once it is shown again.
    QTest::keyClicks(wizard->m_editPass, QStringLiteral("one"));
    wizard->backButton()->click();
    QCOMPARE(wizard->currentPage(), wizard->page3);
    QCOMPARE(title->text(), QStringLiteral("Rights - page 3 of 4"));
    wizard->backButton()->click();
    wizard->backButton()->click();
    QCOMPARE(wizard->currentPage(), wizard->page1);
    QCOMPARE(title->text(), QStringLiteral("General - page 1 of 4"));
    QVERIFY(!wizard->backButton()->isEnabled());
    QVERIFY(!wizard->nextButton()->isEnabled());
}

void TestWizAddUser::finishOnGroupsPageWritesRightsAndQuotaShown()
{
    DBRow* row = newRow({{"rights", "1"}, {"qstorage", "2097152"}, {"qmessage", "10"}});
    auto wizard = makeWizard(row);
    wizard->m_editName->setText(QStringLiteral("zoe"));
    wizard->nextButton()->click();
    QCOMPARE(wizard->currentPage(), wizard->page2);

    wizard->helpButton()->click();

    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    QCOMPARE(cell(row, "rights"), QStringLiteral("1"));
    QCOMPARE(cell(row, "qstorage"), QStringLiteral("2097152"));
    QCOMPARE(cell(row, "qmessage"), QStringLiteral("10"));
}

void TestWizAddUser::groupsInDisplayOrder()
{
    DBRow* row = newRow({{"groups", "support,nosuch,staff"}});
    auto wizard = makeWizard(row);
    QTreeWidget* list = wizard->m_listGroups;
    QCOMPARE(listedTexts(list, 0), (QStringList{"[nosuch]", "[staff]", "[support]"}));
    QCOMPARE(listedTexts(list, 1), (QStringList{"", "All staff", "Help desk"}));

    list->header()->setSortIndicator(0, Qt::DescendingOrder); // a click on "Name"
    wizard->m_editName->setText(QStringLiteral("zoe"));
    wizard->helpButton()->click();

    QCOMPARE(cell(row, "groups"), QStringLiteral("support,staff,nosuch"));
}

void TestWizAddUser::pickerOffersUnlistedGroupsOfTheDomain()
{
    DBRow* row = newRow({{"groups", "staff"}});
    auto wizard = makeWizard(row);
    DialogRecorder recorder;
    QStringList offered;
    recorder.answerDialog([&offered](QDialog* dialog) {
        auto* picker = qobject_cast<DlgAddGroup*>(dialog);
        offered = listedTexts(picker->m_listGroups, 0);
        picker->m_listGroups->topLevelItem(0)->setSelected(true);
        return int(QDialog::Accepted);
    });
    wizard->m_btnAdd->click();

    // "sales" belongs to another domain; "staff" is listed already.
    QCOMPARE(offered, QStringList{"[support]"});
    QCOMPARE(listedTexts(wizard->m_listGroups, 0), (QStringList{"[staff]", "[support]"}));
    QVERIFY(!wizard->m_btnRemove->isEnabled());
    wizard->m_listGroups->topLevelItem(1)->setSelected(true);
    QVERIFY(wizard->m_btnRemove->isEnabled());
    wizard->m_btnRemove->click();
    QCOMPARE(listedTexts(wizard->m_listGroups, 0), QStringList{"[staff]"});
}

void TestWizAddUser::failedGroupLoadStillOpens()
{
    m_server->refuse(QStringLiteral("from group"), 104);
    DialogRecorder recorder;
    DBRow* row = newRow({{"groups", "staff"}, {"rights", "3"}, {"description", "from template"}});
    auto wizard = makeWizard(row);

    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(wizard->m_listGroups->topLevelItemCount(), 0);
    QCOMPARE(wizard->m_editDesk->text(), QString());
    QCOMPARE(wizard->m_auth->count(), 0);
    QVERIFY(!wizard->m_editPass->isEnabled());
    QVERIFY(!wizard->nextButton()->isEnabled());
    wizard->m_editName->setText(QStringLiteral("zoe"));
    QVERIFY(wizard->nextButton()->isEnabled());
    wizard->helpButton()->click();
    QCOMPARE(cell(row, "password"), QStringLiteral("NUL:"));
    QCOMPARE(cell(row, "auth_type"), QStringLiteral("0"));
    QCOMPARE(cell(row, "groups"), QString());
}

QTEST_MAIN(TestWizAddUser)
#include "tst_wizadduser.moc"
