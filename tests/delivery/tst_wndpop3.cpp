// The POP3 download page against the stand-in server: both tabs and their lists, the
// account dialog as the page fills and reads it, the duplicate refusals, the hidden "@"
// rule, the lookup tables lent to the dialogs and the order of the pending statements.

#include "dbctrl.h"
#include "deliveryfixture.h"
#include "deliverytexts.h"
#include "dialogrecorder.h"
#include "dlgpop3.h"
#include "dlgrule.h"
#include "openedlist.h"
#include "pagesession.h"
#include "pendingapply.h"
#include "qpop3item.h"
#include "qruleitem.h"
#include "recipientfixture.h"
#include "typing.h"
#include "wndpop3.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

using DeliveryTexts::cell;
using namespace StandIn;

namespace {

// user, server, port, description, sslmode, mbox, auth_type, password, max_msgcount
QList<QStringList> accounts()
{
    return {{"ann", "pop.isp.example", "995", "Ann's", "1", "{X-Envelope-To}", "0", "secret", "200"},
            {"bob", "mail.isp.example", "110", "", "0", "john", "1", "pw", ""}};
}

void installPop3(TestServer& server, const QList<QStringList>& rows = accounts())
{
    server.setTable("pop3",
                    {{"user", TypeString, true}, {"server", TypeString, true}, {"port", TypePort},
                     {"description", TypeString}, {"sslmode", TypeInt}, {"mbox", TypeString},
                     {"auth_type", TypeInt}, {"password", TypePwd}, {"max_msgcount", TypeInt}},
                    rows);
    server.setTable("sort", {{"to", TypeString, true}, {"account", TypeString, true}},
                    {{"sales@corvane.example", "john@corvane.example"}, {"@", "postmaster@corvane.example"}});
    RecipientFixture::install(server);
}

// What the account dialog showed when it opened, in one line.
QString shownAccount(DlgPop3* dialog)
{
    return QStringList{dialog->m_editServer->text(), dialog->m_editUser->text(), dialog->m_editPass->text(),
                       dialog->m_chkUseSSL->isChecked() ? "ssl" : "no ssl",
                       dialog->m_comboSSL->isEnabled() ? dialog->m_comboSSL->currentText() : "(off)",
                       dialog->m_editPort->text(), dialog->m_comboAuth->currentText(),
                       dialog->m_rbtnRule->isChecked() ? "rule " + dialog->m_comboRule->currentText()
                                                       : "to " + dialog->m_editAddress->text(),
                       dialog->m_editMaxMsg->text()}
        .join('|');
}

// Notes what the account dialog showed, lets `type` change it and presses OK.
std::function<int(QDialog*)> accountOk(QStringList* shown, std::function<void(DlgPop3*)> type = {})
{
    return [shown, type](QDialog* dialog) {
        auto* pop3 = qobject_cast<DlgPop3*>(dialog);
        if (shown)
            *shown << shownAccount(pop3);
        if (type)
            type(pop3);
        pop3->m_btnOK->click();
        return pop3->result();
    };
}

std::function<int(QDialog*)> ruleOk(const QString& to, const QString& account)
{
    return [to, account](QDialog* dialog) {
        auto* rule = qobject_cast<DlgRule*>(dialog);
        rule->m_editContent->setText(to);
        rule->m_editDeliver->setText(account);
        rule->m_btnOK->click();
        return rule->result();
    };
}

QTreeWidgetItem* accountItem(const QTreeWidget* list, const QString& user)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        auto* item = static_cast<QPop3Item*>(list->topLevelItem(i));
        if (cell(item->row(), "user") == user)
            return item;
    }
    return nullptr;
}

QStringList rowTexts(const DBRow* row)
{
    QStringList texts;
    for (const auto& value : row->m_values)
        texts << value->text();
    return texts;
}

QStringList columnTexts(const QTreeWidget* list, int column)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

const QStringList lookupLoads{"select domain, type, alias, fwhost, ntauthdomain, pamservice, kerberosrealm from domain",
                              "select name, domain, fullname, description from user",
                              "select name, domain, description, rights from group",
                              "select lhs, rhs, domain from alias"};

} // namespace

class TestWndPop3 : public QObject
{
    Q_OBJECT

private slots:
    // A locale whose group separator is the comma, whatever the machine's.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init();
    void cleanup();

    void listsBothTabs();
    void newAccountDefaultsAndInsert();
    void untouchedAccountKeepsItsValues_data();
    void untouchedAccountKeepsItsValues();
    void deliveryForms_data();
    void deliveryForms();
    void headerBoxHoldsTheHeaderShown_data();
    void headerBoxHoldsTheHeaderShown();
    void headerTypedStaysWhenTheListIsLookedAt_data();
    void headerTypedStaysWhenTheListIsLookedAt();
    void numberFields_data();
    void numberFields();
    void accountDuplicateReopensAndCancelRestores();
    void ruleDuplicateCountsTheHiddenRule();
    void hiddenRuleSurvivesReset();
    void lookupTablesLoadedOnce();
    void lookupFailureLeavesThePageWorking();
    void accountStatementsBeforeRuleStatements();
    void ruleEditsKeepTheButtonsOn();
    void returnOpensTheEntryOfItsOwnList_data();
    void returnOpensTheEntryOfItsOwnList();
    void menuActsOnTheShownTab();
    void editOfOneAccountSendsOnlyItsStatement_data();
    void editOfOneAccountSendsOnlyItsStatement();

private:
    std::unique_ptr<WndPop3> makePage()
    {
        return std::make_unique<WndPop3>(nullptr, m_session->connection(), m_ctrl, nullptr);
    }

    std::unique_ptr<PageSession> m_session;
    TestServer* m_server = nullptr;
    DBCtrl* m_ctrl = nullptr;
};

void TestWndPop3::init()
{
    m_session = std::make_unique<PageSession>();
    m_server = m_session->server.get();
    m_ctrl = &m_session->ctrl;
}

void TestWndPop3::cleanup()
{
    m_session.reset();
}

void TestWndPop3::listsBothTabs()
{
    installPop3(*m_server);
    QVERIFY(m_session->connect());
    auto page = makePage();
    QCOMPARE(page->m_tabs->tabText(0), QStringLiteral("Accounts"));
    QCOMPARE(page->m_tabs->tabText(1), QStringLiteral("Sorting Rules"));
    QCOMPARE(page->m_list->columnCount(), 4);
    QStringList titles;
    for (int i = 0; i < 4; ++i)
        titles << page->m_list->headerItem()->text(i);
    QCOMPARE(titles, (QStringList{"POP3 Server", "POP3 User", "Delivery", "Description"}));
    QCOMPARE(columnTexts(page->m_list, 2), (QStringList{"To mailbox john", "Sort with header \"X-Envelope-To\""}));
    // The "@" rule is not listed.
    QCOMPARE(columnTexts(page->m_list_2, 0), QStringList{"sales@corvane.example"});
    QVERIFY(!page->m_btnEdit->isEnabled() && !page->m_btnRemove_2->isEnabled());
    // The lookup tables wait for the first dialog.
    QCOMPARE(DeliveryFixture::statements(*m_server),
             (QStringList{"select user, server, port, description, sslmode, mbox, auth_type, password, "
                          "max_msgcount from pop3",
                          "select to, account from sort"}));
}

void TestWndPop3::newAccountDefaultsAndInsert()
{
    installPop3(*m_server, {});
    QVERIFY(m_session->connect());
    auto page = makePage();
    DialogRecorder recorder;
    QStringList shown;
    recorder.answerDialog(accountOk(&shown, [](DlgPop3* dialog) {
        dialog->m_editServer->setText("pop.new.example");
        dialog->m_editUser->setText("cid");
        dialog->m_editAddress->setText("john");
    }));
    page->slotAdd();
    QCOMPARE(shown, QStringList{"||PlainFillText|no ssl|(off)|110|Plain|to |"});
    QCOMPARE(m_ctrl->m_pending,
             QStringList{"insert pop3 set user='cid', server='pop.new.example', port='110', description='', "
                         "sslmode='0', mbox='john', auth_type='0', password='NUL:', max_msgcount=''"});
    QCOMPARE(page->m_list->topLevelItemCount(), 1);
}

void TestWndPop3::untouchedAccountKeepsItsValues_data()
{
    QTest::addColumn<QStringList>("account");
    QTest::addColumn<QString>("shown");

    QTest::newRow("no SSL") << QStringList{"u", "s", "7110", "", "0", "x@y", "0", "pw", "5"}
                            << "s|u|PlainFillText|no ssl|(off)|7110|Plain|to x@y|5";
    QTest::newRow("special port, APOP") << QStringList{"u", "s", "7995", "", "1", "x@y", "1", "pw", ""}
                                        << "s|u|PlainFillText|ssl|Special port|7995|APOP|to x@y|";
    QTest::newRow("STLS") << QStringList{"u", "s", "7111", "", "2", "x@y", "0", "pw", ""}
                          << "s|u|PlainFillText|ssl|STLS command|7111|Plain|to x@y|";
    // A stored number no entry stands for shows the first entry and is kept while the
    // box is left alone.
    QTest::newRow("unknown authentication kept") << QStringList{"u", "s", "110", "", "0", "x@y", "5", "pw", ""}
                                                 << "s|u|PlainFillText|no ssl|(off)|110|Plain|to x@y|";
    QTest::newRow("unknown SSL mode kept") << QStringList{"u", "s", "110", "", "3", "x@y", "0", "pw", ""}
                                           << "s|u|PlainFillText|ssl|STLS command|110|Plain|to x@y|";
    QTest::newRow("both 77 kept") << QStringList{"u", "s", "110", "", "77", "x@y", "77", "pw", ""}
                                  << "s|u|PlainFillText|ssl|STLS command|110|Plain|to x@y|";
    QTest::newRow("negative SSL mode kept") << QStringList{"u", "s", "110", "", "-1", "x@y", "0", "pw", ""}
                                            << "s|u|PlainFillText|no ssl|(off)|110|Plain|to x@y|";
    // A delivery text the header box shows only as well as it can is kept while the
    // delivery is left alone.
    QTest::newRow("header without its closing brace kept")
        << QStringList{"u", "s", "110", "", "0", "{X-Envelope-To", "0", "pw", ""}
        << "s|u|PlainFillText|no ssl|(off)|110|Plain|rule X-Envelope-To|";
    QTest::newRow("text after the header kept")
        << QStringList{"u", "s", "110", "", "0", "{X-Envelope-To}x", "0", "pw", ""}
        << "s|u|PlainFillText|no ssl|(off)|110|Plain|rule X-Envelope-To}x|";
    // A stored count outside what the field takes is what the server holds: kept as shown.
    QTest::newRow("negative message count kept")
        << QStringList{"u", "s", "110", "", "0", "x@y", "0", "pw", "-1"}
        << "s|u|PlainFillText|no ssl|(off)|110|Plain|to x@y|-1";
}

void TestWndPop3::untouchedAccountKeepsItsValues()
{
    QFETCH(QStringList, account);
    QFETCH(QString, shown);

    installPop3(*m_server, {account});
    QVERIFY(m_session->connect());
    auto page = makePage();
    DialogRecorder recorder;
    QStringList seen;
    recorder.answerDialog(accountOk(&seen));
    const QStringList before = rowTexts(page->m_tblPop3.m_rows.front().get());
    QCOMPARE(before.mid(0, 7), account.mid(0, 7));
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    page->slotEdit();
    QCOMPARE(seen, QStringList{shown});
    QCOMPARE(rowTexts(page->m_tblPop3.m_rows.front().get()), before);
    QCOMPARE(m_ctrl->m_pending, QStringList());
}

void TestWndPop3::deliveryForms_data()
{
    QTest::addColumn<QString>("mbox");
    QTest::addColumn<QString>("opens");
    QTest::addColumn<QString>("header"); // chosen when the dialog opens on an address; null: untouched
    QTest::addColumn<QString>("stored");

    QTest::newRow("header") << "{Received}" << "rule Received" << QString() << "{Received}";
    QTest::newRow("unclosed header keeps its text") << "{X-Envelope-To" << "rule X-Envelope-To" << QString()
                                                    << "{X-Envelope-To";
    QTest::newRow("unclosed header, another chosen")
        << "{X-Envelope-To" << "rule X-Envelope-To" << "Received" << "{Received}";
    QTest::newRow("empty header") << "{}" << "rule " << QString() << "{}";
    QTest::newRow("lone brace is an address") << "{" << "to {" << QString() << "{";
    QTest::newRow("address switched to rules") << "x@y" << "to x@y" << "Delivered-To" << "{Delivered-To}";
}

void TestWndPop3::deliveryForms()
{
    QFETCH(QString, mbox);
    QFETCH(QString, opens);
    QFETCH(QString, header);
    QFETCH(QString, stored);

    installPop3(*m_server, {{"u", "s", "110", "", "0", mbox, "0", "pw", ""}});
    QVERIFY(m_session->connect());
    auto page = makePage();
    DialogRecorder recorder;
    QStringList seen;
    recorder.answerDialog(accountOk(&seen, [header](DlgPop3* dialog) {
        if (header.isNull())
            return;
        dialog->m_rbtnRule->setChecked(true);
        dialog->m_comboRule->setCurrentText(header);
    }));
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    page->slotEdit();
    QCOMPARE(seen.value(0).section('|', 7, 7), opens);
    QCOMPARE(cell(page->m_tblPop3.m_rows.front().get(), "mbox"), stored);
}

void TestWndPop3::headerBoxHoldsTheHeaderShown_data()
{
    QTest::addColumn<QString>("mbox");
    QTest::addColumn<int>("entry");           // current in the header box; -1: none
    QTest::addColumn<QString>("highlighted"); // by its opened list

    QTest::newRow("the first header") << "{Received}" << 0 << "Received";
    QTest::newRow("a header further down") << "{X-Envelope-To}" << 1 << "X-Envelope-To";
    QTest::newRow("the last header") << "{Delivered-To}" << 2 << "Delivered-To";
    QTest::newRow("a header in other letters") << "{x-envelope-to}" << -1 << "";
    QTest::newRow("a header the box does not offer") << "{X-Original-To}" << -1 << "";
}

// The account dialog opens with the stored header as the box's current entry: a person who
// opens the list to look and presses Return on what seems current, then OK and Apply, has
// changed nothing, and nothing is written.
void TestWndPop3::headerBoxHoldsTheHeaderShown()
{
    QFETCH(QString, mbox);
    QFETCH(int, entry);
    QFETCH(QString, highlighted);

    installPop3(*m_server, {{"corvane-sales", "pop.isp.example", "110", "", "0", mbox, "0", "pw", ""}});
    QVERIFY(m_session->connect());
    auto page = makePage();
    DialogRecorder recorder;
    int index = -2;
    OpenedList::Look look;
    recorder.answerDialog(accountOk(nullptr, [&](DlgPop3* dialog) {
        index = dialog->m_comboRule->currentIndex();
        look = OpenedList::openAndReturn(dialog->m_comboRule);
    }));
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    page->slotEdit();

    QCOMPARE(index, entry);
    QVERIFY(look.opened);
    QCOMPARE(look.highlighted, highlighted);
    QVERIFY(look.closedByReturn);
    QCOMPARE("{" + look.heldAfterReturn + "}", mbox);
    QCOMPARE(look.indexAfterReturn, entry);
    QCOMPARE(m_ctrl->m_pending, QStringList());
    QCOMPARE(cell(page->m_tblPop3.m_rows.front().get(), "mbox"), mbox);
}

void TestWndPop3::headerTypedStaysWhenTheListIsLookedAt_data()
{
    QTest::addColumn<QStringList>("typings"); // each typed over the header, the box left between
    QTest::addColumn<bool>("leftAndBack");     // the box left and come back to before its list opens
    QTest::addColumn<QString>("written");

    QTest::newRow("a header of none, then an offered one") << QStringList{"Received", "Delivered-To"} << false
                                                          << "{Delivered-To}";
    QTest::newRow("an offered header") << QStringList{"Received"} << false << "{Received}";
    QTest::newRow("a header of none, left and come back to") << QStringList{"X-Original-To"} << true
                                                            << "{X-Original-To}";
    QTest::newRow("an offered header in other letters") << QStringList{"received"} << false << "{received}";
}

// A header typed over the stored one, key by key, and the box's list opened to look and closed
// with Return: the header typed last is kept, in its letters, and OK writes it.
void TestWndPop3::headerTypedStaysWhenTheListIsLookedAt()
{
    QFETCH(QStringList, typings);
    QFETCH(bool, leftAndBack);
    QFETCH(QString, written);

    installPop3(*m_server, {{"corvane-sales", "pop.isp.example", "110", "", "0", "{X-Envelope-To}", "0", "pw", ""}});
    QVERIFY(m_session->connect());
    auto page = makePage();
    DialogRecorder recorder;
    OpenedList::Look look;
    recorder.answerDialog(accountOk(nullptr, [&](DlgPop3* dialog) {
        look = OpenedList::typeAndLook(dialog->m_comboRule, typings, leftAndBack);
    }));
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    page->slotEdit();

    QVERIFY(look.opened);
    QVERIFY(look.closedByReturn);
    QCOMPARE("{" + look.heldAfterReturn + "}", written);
    QCOMPARE(m_ctrl->m_pending,
             QStringList{"update pop3 set mbox='" + written
                         + "' where user='corvane-sales' and server='pop.isp.example'"});
}

// The port and the message count take the digits typed and nothing else, whatever the
// locale, and OK writes them as shown, asking nothing: the server decides. Only a count
// beyond what its column holds keeps the dialog open, whatever the answer, and nothing of the
// account is written.
void TestWndPop3::numberFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("answer"); // to the box, when one is shown
    QTest::addColumn<QStringList>("told");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("written");

    const QString count = QStringLiteral("Messages must be a number from 0 to 2147483647.");
    const int ok = QMessageBox::Ok, closed = QMessageBox::Cancel;
    QTest::newRow("port, a group separator") << "m_editPort" << "1,995" << "1995" << ok
                                             << QStringList{} << true << "port" << "1995";
    QTest::newRow("port beyond 16 bits") << "m_editPort" << "70000" << "70000" << ok
                                         << QStringList{} << true << "port" << "70000";
    QTest::newRow("count, a group separator") << "m_editMaxMsg" << "1,000" << "1000" << ok
                                              << QStringList{} << true << "max_msgcount" << "1000";
    QTest::newRow("count, the column's top") << "m_editMaxMsg" << "2147483647" << "2147483647"
                                             << ok << QStringList{} << true << "max_msgcount"
                                             << "2147483647";
    QTest::newRow("count beyond the column, OK")
        << "m_editMaxMsg" << "4294967297" << "4294967297" << ok << QStringList{count} << false
        << "max_msgcount" << "5";
    QTest::newRow("count beyond the column, the box closed")
        << "m_editMaxMsg" << "2147483648" << "2147483648" << closed << QStringList{count} << false
        << "max_msgcount" << "5";
}

void TestWndPop3::numberFields()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, answer);
    QFETCH(QStringList, told);
    QFETCH(bool, accepted);
    QFETCH(QString, column);
    QFETCH(QString, written);

    installPop3(*m_server, {{"u", "s", "7110", "", "0", "x@y", "0", "pw", "5"}});
    QVERIFY(m_session->connect());
    auto page = makePage();
    DialogRecorder recorder;
    QString shownBeforeOk;
    bool closed = false;
    recorder.answerDialog([&](QDialog* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>(field);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, typed);
        shownBeforeOk = edit->text();
        recorder.answer(answer);
        qobject_cast<DlgPop3*>(dialog)->m_btnOK->click();
        closed = dialog->result() == QDialog::Accepted;
        return dialog->result();
    });
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    page->slotEdit();
    QCOMPARE(shownBeforeOk, shown);
    QCOMPARE(recorder.messageTexts(), told);
    QCOMPARE(closed, accepted);
    QCOMPARE(cell(page->m_tblPop3.m_rows.front().get(), column.toLatin1().constData()), written);
}

void TestWndPop3::accountDuplicateReopensAndCancelRestores()
{
    installPop3(*m_server);
    QVERIFY(m_session->connect());
    auto page = makePage();
    DBRow* bob = static_cast<QPop3Item*>(accountItem(page->m_list, "bob"))->row();
    const QStringList before = rowTexts(bob);
    DialogRecorder recorder;
    QStringList seen;
    // Ann's key in other letters, a new password; then the dialog again, cancelled.
    recorder.answerDialog(accountOk(&seen, [](DlgPop3* dialog) {
        dialog->m_editUser->setText("ANN");
        dialog->m_editServer->setText("POP.isp.example");
        dialog->m_editPass->setText("new");
    }));
    recorder.answerDialog(accountOk(&seen, [](DlgPop3* dialog) { dialog->m_editDescription->setText("x"); }));
    recorder.answerDialog([&seen](QDialog* dialog) {
        seen << shownAccount(qobject_cast<DlgPop3*>(dialog));
        return int(QDialog::Rejected);
    });
    page->m_list->setCurrentItem(accountItem(page->m_list, "bob"));
    page->slotEdit();
    QCOMPARE(recorder.messageTexts(), (QStringList{"POP3 account with this name and server is already defined!",
                                                   "POP3 account with this name and server is already defined!"}));
    QCOMPARE(recorder.messages.first().caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(recorder.messages.first().parent, static_cast<QWidget*>(page.get()));
    // Each new dialog opens on the values entered, the password hidden again.
    QCOMPARE(seen.size(), 3);
    QCOMPARE(seen.at(1), QStringLiteral("POP.isp.example|ANN|PlainFillText|no ssl|(off)|110|APOP|to john|"));
    QCOMPARE(rowTexts(bob), before);
    QCOMPARE(m_ctrl->m_pending, QStringList());
}

void TestWndPop3::ruleDuplicateCountsTheHiddenRule()
{
    installPop3(*m_server);
    QVERIFY(m_session->connect());
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(ruleOk("@", "POSTMASTER@corvane.example"));
    recorder.answerDialog(ruleOk("SALES@corvane.example", "John@corvane.example"));
    recorder.answerDialog(QDialog::Rejected);
    page->slotAdd2();
    QCOMPARE(recorder.messageTexts(),
             (QStringList{"This sorting rule is already defined!", "This sorting rule is already defined!"}));
    QCOMPARE(page->m_tblSort.m_rows.size(), size_t(2));
    QCOMPARE(page->m_list_2->topLevelItemCount(), 1);
    QCOMPARE(m_ctrl->m_pending, QStringList());
    // Not a duplicate: another recipient for the same address.
    recorder.answerDialog(ruleOk("sales@corvane.example", "[sales]"));
    page->slotAdd2();
    QCOMPARE(m_ctrl->m_pending, QStringList{"insert sort set to='sales@corvane.example', account='[sales]'"});
}

void TestWndPop3::hiddenRuleSurvivesReset()
{
    installPop3(*m_server);
    QVERIFY(m_session->connect());
    auto page = makePage();
    page->m_list_2->topLevelItem(0)->setSelected(true);
    page->slotRemove2();
    QCOMPARE(page->m_list_2->topLevelItemCount(), 0);
    QCOMPARE(m_ctrl->m_pending.size(), 1);
    emit m_ctrl->sig_reset();
    QCOMPARE(columnTexts(page->m_list_2, 0), QStringList{"sales@corvane.example"});
    QCOMPARE(page->m_tblSort.m_rows.size(), size_t(2));
    QCOMPARE(cell(page->m_tblSort.m_rows.back().get(), "to"), QStringLiteral("@"));
}

void TestWndPop3::lookupTablesLoadedOnce()
{
    installPop3(*m_server);
    QVERIFY(m_session->connect());
    auto page = makePage();
    const int loaded = int(DeliveryFixture::statements(*m_server).size());
    DialogRecorder recorder;
    page->slotAdd();
    page->slotAdd2();
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    page->slotEdit();
    QCOMPARE(recorder.dialogs.size(), 3);
    QCOMPARE(DeliveryFixture::statements(*m_server, loaded), lookupLoads);
    QVERIFY(page->m_tblAlias.m_loaded);
}

void TestWndPop3::lookupFailureLeavesThePageWorking()
{
    installPop3(*m_server);
    QVERIFY(m_server->refuse("from user", 100, 1));
    QVERIFY(m_session->connect());
    auto page = makePage();
    const int loaded = int(DeliveryFixture::statements(*m_server).size());
    DialogRecorder recorder;
    recorder.answer(QMessageBox::Ok);  // the failed load
    recorder.answer(QMessageBox::No);  // "Address is set incorrectly!": kept
    recorder.answerDialog(accountOk(nullptr, [](DlgPop3* dialog) {
        dialog->m_editServer->setText("s");
        dialog->m_editUser->setText("u");
        dialog->m_editAddress->setText("john");
    }));
    page->slotAdd();
    QCOMPARE(DeliveryFixture::statements(*m_server, loaded), lookupLoads.mid(0, 2));
    QVERIFY(!page->m_tblGroup.m_loaded && !page->m_tblAlias.m_loaded);
    QCOMPARE(recorder.messages.size(), 2);
    QCOMPARE(m_ctrl->m_pending.size(), 1);
    // The next dialog reads what is missing.
    recorder.answerDialog(ruleOk("a@b", "john"));
    page->slotAdd2();
    QCOMPARE(DeliveryFixture::statements(*m_server, loaded).size(), 2 + 3);
    QCOMPARE(m_ctrl->m_pending.size(), 2);
}

void TestWndPop3::accountStatementsBeforeRuleStatements()
{
    installPop3(*m_server);
    QVERIFY(m_session->connect());
    auto page = makePage();
    page->m_list_2->topLevelItem(0)->setSelected(true);
    page->slotRemove2();
    accountItem(page->m_list, "bob")->setSelected(true);
    page->slotRemove();
    QCOMPARE(m_ctrl->m_pending, (QStringList{"delete from pop3 where user='bob' and server='mail.isp.example'",
                                            "delete from sort where to='sales@corvane.example' and account='john@corvane.example'"}));
    // Apply commits both: nothing is pending against the committed rows.
    emit m_ctrl->sig_apply();
    page->slotRemove();
    QCOMPARE(m_ctrl->m_pending, QStringList());
}

void TestWndPop3::returnOpensTheEntryOfItsOwnList_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("dialog"); // the class of the dialog Return opens

    QTest::newRow("accounts") << 0 << "DlgPop3";
    QTest::newRow("sorting rules") << 1 << "DlgRule";
}

// Return on a list with an entry selected opens that entry's dialog, as the list's own Edit
// does, whichever tab shows the list.
void TestWndPop3::returnOpensTheEntryOfItsOwnList()
{
    QFETCH(int, tab);
    QFETCH(QString, dialog);

    installPop3(*m_server);
    QVERIFY(m_session->connect());
    auto page = makePage();
    page->m_tabs->setCurrentIndex(tab);
    QTreeWidget* list = tab == 0 ? page->m_list : page->m_list_2;
    list->setCurrentItem(list->topLevelItem(0));
    DialogRecorder recorder;
    recorder.answerDialog(int(QDialog::Rejected));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.dialogs.first().className, dialog);
}

// A rule edited while another rule's edit is pending leaves the pending list non-empty all
// along: Apply and Reset are not turned off and on again because the accounts, handed in
// first, have nothing pending.
void TestWndPop3::ruleEditsKeepTheButtonsOn()
{
    installPop3(*m_server);
    m_server->setTable("sort", {{"to", TypeString, true}, {"account", TypeString, true}},
                       {{"sales@corvane.example", "john@corvane.example"},
                        {"info@corvane.example", "ann@corvane.example"}});
    QVERIFY(m_session->connect());
    auto page = makePage();
    QCOMPARE(page->m_list_2->topLevelItemCount(), 2);
    page->m_list_2->topLevelItem(0)->setSelected(true);
    page->slotRemove2();
    QCOMPARE(m_ctrl->m_pending.size(), 1);
    QSignalSpy emptiness(m_ctrl, &DBCtrl::sig_empty);
    page->m_list_2->topLevelItem(0)->setSelected(true);
    page->slotRemove2();
    QCOMPARE(m_ctrl->m_pending.size(), 2);
    QCOMPARE(emptiness.size(), 0);
}

void TestWndPop3::menuActsOnTheShownTab()
{
    installPop3(*m_server);
    QVERIFY(m_session->connect());
    auto page = makePage();
    DialogRecorder recorder;
    page->m_tabs->setCurrentIndex(1);
    QMenu menu;
    QVERIFY(page->fillPopupMenu(menu, page.get(), nullptr));
    menu.actions().at(0)->trigger(); // "&Add..."
    page->m_tabs->setCurrentIndex(0);
    page->slotAdd();
    QCOMPARE(recorder.dialogs.size(), 2);
    QCOMPARE(recorder.dialogs.at(0).className, QStringLiteral("DlgRule"));
    QCOMPARE(recorder.dialogs.at(0).caption, QStringLiteral("Sorting Rule"));
    QCOMPARE(recorder.dialogs.at(1).className, QStringLiteral("DlgPop3"));
    QCOMPARE(recorder.dialogs.at(1).caption, QStringLiteral("POP3 Account"));
}

// Accounts the server holds with an empty SSL mode or authentication type, numbers the choices
// cannot show, or numbers it keeps as text, are nobody's edit: a description typed into one
// account sends that and nothing else, whatever that account's own cells hold.
void TestWndPop3::editOfOneAccountSendsOnlyItsStatement_data()
{
    QTest::addColumn<int>("numberType"); // how the server declares sslmode and auth_type
    QTest::addColumn<QStringList>("edited"); // sslmode, auth_type of ann's account
    QTest::addColumn<QStringList>("other");  // the same of bob's

    QTest::newRow("empty") << int(TypeInt) << QStringList{"", ""} << QStringList{"", ""};
    QTest::newRow("numbers outside the choices") << int(TypeInt) << QStringList{"7", "9"} << QStringList{"-1", "3"};
    QTest::newRow("kept as text by the server") << int(TypeString) << QStringList{"ssl", ""} << QStringList{"", "apop"};
}

void TestWndPop3::editOfOneAccountSendsOnlyItsStatement()
{
    QFETCH(int, numberType);
    QFETCH(QStringList, edited);
    QFETCH(QStringList, other);
    installPop3(*m_server, {{"ann", "pop.isp.example", "995", "Ann's", edited.at(0), "{X-Envelope-To}", edited.at(1),
                             "secret", "200"},
                            {"bob", "mail.isp.example", "110", "", other.at(0), "john", other.at(1), "pw", ""}});
    QList<Column> columns = m_server->columns("pop3");
    for (Column& column : columns) {
        if (column.name == "sslmode" || column.name == "auth_type")
            column.type = numberType;
    }
    m_server->setTable("pop3", columns, m_server->rows("pop3"));
    QVERIFY(m_session->connect());
    auto page = makePage();
    QCOMPARE(m_ctrl->m_pending, QStringList());
    DialogRecorder recorder;
    recorder.answerDialog([](QDialog* dialog) {
        auto* pop3 = qobject_cast<DlgPop3*>(dialog);
        typeOver(pop3->m_editDescription, "Typed");
        QTest::mouseClick(pop3->m_btnOK, Qt::LeftButton);
        return pop3->result();
    });
    QTreeWidgetItem* item = page->m_list->findItems("pop.isp.example", Qt::MatchExactly, 0).value(0);
    QVERIFY(item);
    QCOMPARE(DeliveryFixture::editedThenApplied(page->m_list, item, page->m_btnEdit, *m_session),
             QStringList{"update pop3 set description='Typed' where user='ann' and server='pop.isp.example'"});
    QCOMPARE(recorder.messages.size(), 0);
}

QTEST_MAIN(TestWndPop3)
#include "tst_wndpop3.moc"
