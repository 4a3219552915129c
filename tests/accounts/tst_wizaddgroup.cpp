// The add-group wizard on a new row of a group table: its pages and buttons, the General
// page's rule for going on and finishing, the users its picker offers, and what "&Finish"
// writes into the row from any page.

#include "accountcolumns.h"
#include "accountfields.h"
#include "accounttexts.h"
#include "dbrow.h"
#include "dbtable.h"
#include "dialogrecorder.h"
#include "dlgadduser.h"
#include "globaldata.h"
#include "groupsfixture.h"
#include "pagesession.h"
#include "quseritem.h"
#include "wizaddgroup.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>

using AccountTexts::cell;

namespace {

QStringList names(const QTreeWidget* list)
{
    QStringList shown;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        shown << cell(static_cast<QUserItem*>(list->topLevelItem(i))->row(), "name");
    return shown;
}

void selectNamed(QTreeWidget* list, const QStringList& chosen)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        item->setSelected(chosen.contains(cell(static_cast<QUserItem*>(item)->row(), "name")));
    }
}

void goToPage(WizAddGroup& wizard, int index)
{
    while (wizard.indexOf(wizard.currentPage()) < index)
        wizard.nextButton()->click();
}

} // namespace

class TestWizAddGroup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void form();
    void generalPageRule_data();
    void generalPageRule();
    void ruleReappliedWhenBackOnGeneralPage();
    void buttonsOnEachPage_data();
    void buttonsOnEachPage();
    void finishWritesTheRow_data();
    void finishWritesTheRow();
    void cancelWritesNothing();
    void pickerOffersEachRowOnce();
    void failedUsersLoadStillRuns();

private:
    std::unique_ptr<WizAddGroup> makeWizard()
    {
        m_row = m_groups->append();
        setCell(m_row, "domain", globalData.currentDomain);
        auto wizard = std::make_unique<WizAddGroup>(m_row, m_session->connection(), m_users.get());
        wizard->show();
        return wizard;
    }

    std::unique_ptr<PageSession> m_session;
    std::unique_ptr<DBTable> m_groups;
    std::unique_ptr<DBTable> m_users; // left to the wizard to load
    DBRow* m_row = nullptr;
};

void TestWizAddGroup::init()
{
    globalData.currentDomain.clear();
    m_session = std::make_unique<PageSession>();
    GroupsFixture::install(*m_session->server);
    QVERIFY(m_session->connect());
    m_groups = std::make_unique<DBTable>();
    m_users = std::make_unique<DBTable>();
    QVERIFY(m_groups->select(nullptr, m_session->connection(), "group", dbcol_group, 0));
}

void TestWizAddGroup::cleanup()
{
    m_users.reset();
    m_groups.reset();
    m_session.reset();
    globalData.currentDomain.clear();
}

void TestWizAddGroup::form()
{
    const auto wizard = makeWizard();
    QCOMPARE(wizard->objectName(), QStringLiteral("TWizAddGroup"));
    QCOMPARE(wizard->windowTitle(), QStringLiteral("Add Group"));
    QCOMPARE(wizard->pageCount(), 3);
    QCOMPARE(wizard->page(1), wizard->page2);
    QCOMPARE(wizard->m_editName->text(), QString());
    QCOMPARE(wizard->m_editDesk->text(), QString());
    QVERIFY(wizard->m_rbtnNoAcc->isChecked());
    QCOMPARE(wizard->m_rbtnViewLogs->focusPolicy(), Qt::NoFocus);
    QCOMPARE(wizard->m_listUsers->topLevelItemCount(), 0);
    QVERIFY(!wizard->m_btnRemove->isEnabled());
    QVERIFY(wizard->m_btnAdd->isEnabled());
}

void TestWizAddGroup::generalPageRule_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("goesOn");

    QTest::newRow("no name") << "" << false;
    QTest::newRow("one character") << "x" << true;
    QTest::newRow("blanks are a name") << "  " << true;
}

void TestWizAddGroup::generalPageRule()
{
    QFETCH(QString, name);
    QFETCH(bool, goesOn);

    const auto wizard = makeWizard();
    QVERIFY(!wizard->nextButton()->isEnabled());
    QVERIFY(!wizard->helpButton()->isEnabled());
    wizard->m_editName->setText(name);
    QCOMPARE(wizard->nextButton()->isEnabled(), goesOn);
    QCOMPARE(wizard->helpButton()->isEnabled(), goesOn);
    wizard->m_editName->clear();
    QVERIFY(!wizard->nextButton()->isEnabled());
    QVERIFY(!wizard->helpButton()->isEnabled());
}

void TestWizAddGroup::ruleReappliedWhenBackOnGeneralPage()
{
    const auto wizard = makeWizard();
    wizard->m_editName->setText(QStringLiteral("team"));
    wizard->nextButton()->click();
    QCOMPARE(wizard->currentPage(), wizard->page2);
    wizard->m_editName->clear(); // the Users page has no rule of its own
    QVERIFY(wizard->nextButton()->isEnabled());
    QVERIFY(wizard->helpButton()->isEnabled());

    wizard->backButton()->click();
    QCOMPARE(wizard->currentPage(), wizard->page1);
    QVERIFY(!wizard->nextButton()->isEnabled());
    QVERIFY(!wizard->helpButton()->isEnabled());
}

void TestWizAddGroup::buttonsOnEachPage_data()
{
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("backEnabled");
    QTest::addColumn<bool>("lastPage");

    QTest::newRow("general") << 0 << "General - page 1 of 3" << false << false;
    QTest::newRow("users") << 1 << "Users - page 2 of 3" << true << false;
    QTest::newRow("rights") << 2 << "Rights - page 3 of 3" << true << true;
}

void TestWizAddGroup::buttonsOnEachPage()
{
    QFETCH(int, pageIndex);
    QFETCH(QString, title);
    QFETCH(bool, backEnabled);
    QFETCH(bool, lastPage);

    const auto wizard = makeWizard();
    wizard->m_editName->setText(QStringLiteral("team"));
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

void TestWizAddGroup::finishWritesTheRow_data()
{
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("rightsButton"); // empty: as the form checks it
    QTest::addColumn<QString>("rights");

    QTest::newRow("on the first page") << 0 << "Our team" << "" << "0";
    QTest::newRow("on the users page") << 1 << "" << "" << "0";
    QTest::newRow("read/write") << 2 << "x" << "m_rbtnFullAcc" << "3";
    QTest::newRow("read only") << 2 << "x" << "m_rbtnViewLogs" << "1";
    QTest::newRow("no access") << 2 << "x" << "m_rbtnNoAcc" << "0";
}

void TestWizAddGroup::finishWritesTheRow()
{
    QFETCH(int, pageIndex);
    QFETCH(QString, description);
    QFETCH(QString, rightsButton);
    QFETCH(QString, rights);

    const auto wizard = makeWizard();
    wizard->m_editName->setText(QStringLiteral("team"));
    wizard->m_editDesk->setText(description);
    goToPage(*wizard, pageIndex);
    if (!rightsButton.isEmpty())
        wizard->findChild<QRadioButton*>(rightsButton)->setChecked(true);
    wizard->helpButton()->click();

    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    QCOMPARE(cell(m_row, "name"), QStringLiteral("team"));
    QCOMPARE(cell(m_row, "description"), description);
    QCOMPARE(cell(m_row, "rights"), rights);
    QCOMPARE(cell(m_row, "domain"), QString()); // the page's, never the wizard's
    QVERIFY(wizard->memberRows().empty());
}

void TestWizAddGroup::cancelWritesNothing()
{
    const auto wizard = makeWizard();
    wizard->m_editName->setText(QStringLiteral("team"));
    wizard->cancelButton()->click();
    QCOMPARE(wizard->result(), int(QDialog::Rejected));
    QCOMPARE(cell(m_row, "name"), QString());
    QCOMPARE(cell(m_row, "rights"), QString());
}

void TestWizAddGroup::pickerOffersEachRowOnce()
{
    globalData.currentDomain = QStringLiteral("lakeside.example");
    const auto wizard = makeWizard();
    DialogRecorder recorder;
    QStringList offered;
    recorder.answerDialog([&offered](QDialog* picker) {
        auto* users = qobject_cast<DlgAddUser*>(picker);
        offered = names(users->m_listUsers);
        selectNamed(users->m_listUsers, {"dan"});
        users->m_btnOK->click();
        return users->result();
    });
    wizard->slotAdd();
    // The users of the domain only: the primary domain's ann is another row.
    QCOMPARE(offered, (QStringList{"ann", "dan"}));
    QCOMPARE(names(wizard->m_listUsers), QStringList{"dan"});
    const DBRow* dan = wizard->memberRows().front();
    QVERIFY(wizard->existInList(dan));

    recorder.answerDialog([&offered](QDialog* picker) {
        offered = names(qobject_cast<DlgAddUser*>(picker)->m_listUsers);
        return int(QDialog::Rejected);
    });
    wizard->slotAdd();
    QCOMPARE(offered, QStringList{"ann"});

    selectNamed(wizard->m_listUsers, {"dan"});
    QVERIFY(wizard->m_btnRemove->isEnabled());
    wizard->m_btnRemove->click();
    QCOMPARE(wizard->m_listUsers->topLevelItemCount(), 0);
    QVERIFY(!wizard->existInList(dan));
    recorder.answerDialog([&offered](QDialog* picker) {
        offered = names(qobject_cast<DlgAddUser*>(picker)->m_listUsers);
        return int(QDialog::Rejected);
    });
    wizard->slotAdd();
    QCOMPARE(offered, (QStringList{"ann", "dan"}));
}

void TestWizAddGroup::failedUsersLoadStillRuns()
{
    QVERIFY(m_session->server->refuse("from user$", 109, 1));
    DialogRecorder recorder;
    const auto wizard = makeWizard();
    QCOMPARE(recorder.messages.size(), 1); // the table layer's failure box
    QVERIFY(!m_users->m_loaded);
    // Still not to be finished without a name.
    QVERIFY(!wizard->nextButton()->isEnabled());
    QVERIFY(!wizard->helpButton()->isEnabled());
    QStringList offered{"not asked"};
    recorder.answerDialog([&offered](QDialog* picker) {
        offered = names(qobject_cast<DlgAddUser*>(picker)->m_listUsers);
        return int(QDialog::Rejected);
    });
    wizard->slotAdd();
    QCOMPARE(offered, QStringList());
}

QTEST_MAIN(TestWizAddGroup)
#include "tst_wizaddgroup.moc"
