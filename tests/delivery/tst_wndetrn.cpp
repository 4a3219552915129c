// The ETRN download page against the stand-in server: its list and buttons, the dialog it
// runs to add and edit entries, the duplicate refusal, the password placeholder and the
// removals it hands to the main window's pending list.

#include "cols.h"
#include "dbctrl.h"
#include "deliveryfixture.h"
#include "deliverytexts.h"
#include "desktop.h"
#include "dialogrecorder.h"
#include "dlgetrn.h"
#include "pagesession.h"
#include "pendingapply.h"
#include "qetrnitem.h"
#include "settingsstore.h"
#include "typing.h"
#include "wndetrn.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using DeliveryTexts::cell;

namespace {

// What the test types into the dialog; a null text leaves the field as it opened.
struct Typing
{
    QString server;
    QString domain;
    int auth = -1; // -1 leaves the box alone
    QString user;
    QString password;
};

// What the dialog showed when it opened.
struct Shown
{
    QString server;
    QString domain;
    bool auth;
    bool userEnabled;
    QString password;
};

QString describe(const Shown& shown)
{
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(shown.server, shown.domain, shown.auth ? "auth" : "-", shown.userEnabled ? "user on" : "user off",
             shown.password);
}

// Records what the dialog showed, types and presses OK; the answer is what OK made of it.
std::function<int(QDialog*)> typeAndOk(const Typing& typing, QStringList* shown = nullptr)
{
    return [typing, shown](QDialog* dialog) {
        auto* etrn = qobject_cast<DlgEtrn*>(dialog);
        if (shown)
            *shown << describe({etrn->m_editServer->text(), etrn->m_editDomain->text(),
                                etrn->m_chkAuth->isChecked(), etrn->m_editUser->isEnabled(),
                                etrn->m_editPass->text()});
        if (!typing.server.isNull())
            etrn->m_editServer->setText(typing.server);
        if (!typing.domain.isNull())
            etrn->m_editDomain->setText(typing.domain);
        if (typing.auth >= 0)
            etrn->m_chkAuth->setChecked(typing.auth != 0);
        if (!typing.user.isNull())
            etrn->m_editUser->setText(typing.user);
        if (!typing.password.isNull())
            etrn->m_editPass->setText(typing.password);
        etrn->m_btnOK->click();
        return etrn->result();
    };
}

std::function<int(QDialog*)> cancelNoting(QStringList* shown)
{
    return [shown](QDialog* dialog) {
        auto* etrn = qobject_cast<DlgEtrn*>(dialog);
        *shown << describe({etrn->m_editServer->text(), etrn->m_editDomain->text(), etrn->m_chkAuth->isChecked(),
                            etrn->m_editUser->isEnabled(), etrn->m_editPass->text()});
        return int(QDialog::Rejected);
    };
}

QTreeWidgetItem* itemOf(const QTreeWidget* list, const QString& server, const QString& domain)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        auto* item = static_cast<QEtrnItem*>(list->topLevelItem(i));
        if (cell(item->row(), "server") == server && cell(item->row(), "domain") == domain)
            return item;
    }
    return nullptr;
}

QStringList menuEntries(QMenu& menu)
{
    QStringList entries;
    for (QAction* action : menu.actions()) {
        entries << (action->isSeparator() ? QStringLiteral("-")
                                          : (action->isEnabled() ? QString() : QStringLiteral("!")) + action->text());
    }
    return entries;
}

} // namespace

Q_DECLARE_METATYPE(Typing)

class TestWndEtrn : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listsTheEntries();
    void buttonsAndMenuWithoutItem();
    void addedEntries_data();
    void addedEntries();
    void addCancelledLeavesPendingAlone();
    void editedEntries_data();
    void editedEntries();
    void caseOnlyDuplicateReopensAndCancelRestores();
    void threeRemovedAtOnce();
    void layoutKeptUnderVersion2_data();
    void layoutKeptUnderVersion2();
    void editOfOneEntrySendsOnlyItsStatement_data();
    void editOfOneEntrySendsOnlyItsStatement();

private:
    std::unique_ptr<WndEtrn> makePage(Desktop* desktop = nullptr)
    {
        return std::make_unique<WndEtrn>(nullptr, m_session->connection(), m_ctrl, desktop);
    }

    std::unique_ptr<PageSession> m_session;
    StandIn::TestServer* m_server = nullptr;
    DBCtrl* m_ctrl = nullptr;
};

void TestWndEtrn::init()
{
    m_session = std::make_unique<PageSession>();
    m_server = m_session->server.get();
    m_ctrl = &m_session->ctrl;
    DeliveryFixture::install(*m_server);
    QVERIFY(m_session->connect());
}

void TestWndEtrn::cleanup()
{
    m_session.reset();
}

void TestWndEtrn::listsTheEntries()
{
    auto page = makePage();
    QCOMPARE(page->m_list->columnCount(), 2);
    QCOMPARE(page->m_list->headerItem()->text(0), QStringLiteral("Server"));
    QCOMPARE(page->m_list->headerItem()->text(1), QStringLiteral("Domain(s)"));
    QStringList shown;
    for (int i = 0; i < page->m_list->topLevelItemCount(); ++i)
        shown << page->m_list->topLevelItem(i)->text(0) + " " + page->m_list->topLevelItem(i)->text(1);
    // By server, then by domains.
    QCOMPARE(shown, (QStringList{"mx.isp.example corvane.example", "mx.isp.example lakeside.example;harbour.example",
                                 "relay.example corvane.example"}));
    QCOMPARE(DeliveryFixture::statements(*m_server), QStringList{"select server, domain, auth, user, password from odmr"});
}

void TestWndEtrn::buttonsAndMenuWithoutItem()
{
    auto page = makePage();
    QVERIFY(!page->m_btnEdit->isEnabled());
    QVERIFY(!page->m_btnRemove->isEnabled());
    QVERIFY(page->m_btnAdd->isEnabled());
    QMenu menu;
    QVERIFY(page->fillPopupMenu(menu, page.get(), nullptr));
    QCOMPARE(menuEntries(menu), (QStringList{"&Add...", "!&Edit...", "!&Remove", "-", "&Modify Columns..."}));
}

void TestWndEtrn::addedEntries_data()
{
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<QList<int>>("answers"); // to the empty-name question
    QTest::addColumn<int>("questions");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("password left empty")
        << Typing{"etrn.example", "new.example", 1, "me", QString()} << QList<int>() << 0
        << QStringList{"insert odmr set server='etrn.example', domain='new.example', auth='1', user='me', password='NUL:'"};
    QTest::newRow("password typed, quotes escaped")
        << Typing{"etrn.example", "o'hara.example", 0, "", "p\"w"} << QList<int>() << 0
        << QStringList{"insert odmr set server='etrn.example', domain='o\\'hara.example', auth='0', user='', password='NUL:p\\\"w'"};
    QTest::newRow("empty server let through with No")
        << Typing{"", "new.example", 0, "", QString()} << QList<int>{QMessageBox::No} << 1
        << QStringList{"insert odmr set server='', domain='new.example', auth='0', user='', password='NUL:'"};
    QTest::newRow("Yes keeps the dialog open")
        << Typing{"", "new.example", 0, "", QString()} << QList<int>{QMessageBox::Yes} << 1 << QStringList();
    QTest::newRow("Cancel keeps the dialog open")
        << Typing{"etrn.example", "", 0, "", QString()} << QList<int>{QMessageBox::Cancel} << 1 << QStringList();
}

void TestWndEtrn::addedEntries()
{
    QFETCH(Typing, typing);
    QFETCH(QList<int>, answers);
    QFETCH(int, questions);
    QFETCH(QStringList, pending);

    auto page = makePage();
    DialogRecorder recorder;
    for (int answer : answers)
        recorder.answer(answer);
    QStringList shown;
    recorder.answerDialog(typeAndOk(typing, &shown));
    page->slotAdd();

    // A new entry opens empty, without authentication, on the placeholder.
    QCOMPARE(shown, QStringList{"||-|user off|PlainFillText"});
    QCOMPARE(recorder.messages.size(), questions);
    for (const DialogRecorder::Message& message : std::as_const(recorder.messages)) {
        QCOMPARE(message.text, QStringLiteral("You should fill server and domain name.\nDo you want to correct the problem?"));
        QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
        QCOMPARE(message.icon, QMessageBox::Information);
        QVERIFY(!message.parent);
        QCOMPARE(message.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }
    QCOMPARE(m_ctrl->m_pending, pending);
    QCOMPARE(page->m_list->topLevelItemCount(), 3 + int(pending.size()));
}

void TestWndEtrn::addCancelledLeavesPendingAlone()
{
    auto page = makePage();
    m_ctrl->set(QStringList{"earlier"}, false);
    DialogRecorder recorder;
    recorder.answerDialog(QDialog::Rejected);
    page->slotAdd();
    QCOMPARE(m_ctrl->m_pending, QStringList{"earlier"});
    QCOMPARE(page->m_table.m_rows.size(), size_t(3));
    QCOMPARE(page->m_list->topLevelItemCount(), 3);
}

void TestWndEtrn::editedEntries_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("placeholder keeps the password")
        << "mx.isp.example" << "corvane.example" << Typing{QString(), QString(), -1, "other", QString()}
        << "mx.isp.example|corvane.example|auth|user on|PlainFillText"
        << QStringList{"update odmr set user='other' where server='mx.isp.example' and domain='corvane.example'"};
    QTest::newRow("placeholder typed again is no change")
        << "mx.isp.example" << "corvane.example" << Typing{QString(), QString(), -1, QString(), "PlainFillText"}
        << "mx.isp.example|corvane.example|auth|user on|PlainFillText" << QStringList();
    QTest::newRow("new password")
        << "mx.isp.example" << "corvane.example" << Typing{QString(), QString(), -1, QString(), "n3w"}
        << "mx.isp.example|corvane.example|auth|user on|PlainFillText"
        << QStringList{"update odmr set password='NUL:n3w' where server='mx.isp.example' and domain='corvane.example'"};
    QTest::newRow("authentication off keeps the user")
        << "mx.isp.example" << "corvane.example" << Typing{QString(), QString(), 0, QString(), QString()}
        << "mx.isp.example|corvane.example|auth|user on|PlainFillText"
        << QStringList{"update odmr set auth='0' where server='mx.isp.example' and domain='corvane.example'"};
    // Left alone, the box writes back what was stored, also a value it shows only as "on".
    QTest::newRow("auth 2 opens checked, kept untouched")
        << "relay.example" << "corvane.example" << Typing()
        << "relay.example|corvane.example|auth|user on|PlainFillText" << QStringList();
    QTest::newRow("auth 2 switched off")
        << "relay.example" << "corvane.example" << Typing{QString(), QString(), 0, QString(), QString()}
        << "relay.example|corvane.example|auth|user on|PlainFillText"
        << QStringList{"update odmr set auth='0' where server='relay.example' and domain='corvane.example'"};
    QTest::newRow("without authentication the user is off")
        << "mx.isp.example" << "lakeside.example;harbour.example" << Typing()
        << "mx.isp.example|lakeside.example;harbour.example|-|user off|PlainFillText" << QStringList();
    QTest::newRow("domains in another order are no duplicate")
        << "mx.isp.example" << "lakeside.example;harbour.example"
        << Typing{QString(), "harbour.example;lakeside.example", -1, QString(), QString()}
        << "mx.isp.example|lakeside.example;harbour.example|-|user off|PlainFillText"
        << QStringList{"update odmr set domain='harbour.example;lakeside.example' where server='mx.isp.example' and "
                       "domain='lakeside.example;harbour.example'"};
}

void TestWndEtrn::editedEntries()
{
    QFETCH(QString, server);
    QFETCH(QString, domain);
    QFETCH(Typing, typing);
    QFETCH(QString, opened);
    QFETCH(QStringList, pending);

    auto page = makePage();
    DialogRecorder recorder;
    QStringList shown;
    recorder.answerDialog(typeAndOk(typing, &shown));
    QTreeWidgetItem* item = itemOf(page->m_list, server, domain);
    page->m_list->setCurrentItem(item);
    page->slotEdit();
    QCOMPARE(shown, QStringList{opened});
    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(m_ctrl->m_pending, pending);
}

void TestWndEtrn::caseOnlyDuplicateReopensAndCancelRestores()
{
    auto page = makePage();
    DialogRecorder recorder;
    QStringList shown;
    recorder.answerDialog(typeAndOk({"MX.ISP.example", QString(), -1, "changed", "typed"}, &shown));
    recorder.answerDialog(cancelNoting(&shown));
    QTreeWidgetItem* item = itemOf(page->m_list, "relay.example", "corvane.example");
    page->m_list->setCurrentItem(item);
    page->slotEdit();

    QCOMPARE(recorder.messageTexts(), QStringList{"This item is already defined!"});
    QCOMPARE(recorder.messages.at(0).icon, QMessageBox::Warning);
    QCOMPARE(recorder.messages.at(0).parent.data(), page.get());
    // Re-opened on the values just entered, the password field on the placeholder again.
    QCOMPARE(shown, (QStringList{"relay.example|corvane.example|auth|user on|PlainFillText",
                                 "MX.ISP.example|corvane.example|auth|user on|PlainFillText"}));
    // The cancel restores the whole row, the password typed before included: the row
    // makes no statement.
    const DBRow* row = static_cast<QEtrnItem*>(item)->row();
    QCOMPARE(cell(row, "server"), QStringLiteral("relay.example"));
    QCOMPARE(cell(row, "user"), QStringLiteral("relay"));
    QCOMPARE(item->text(0), QStringLiteral("relay.example"));
    QCOMPARE(*page->m_table.diff(true), QStringList());
    QVERIFY(m_ctrl->m_pending.isEmpty());
}

void TestWndEtrn::threeRemovedAtOnce()
{
    auto page = makePage();
    DialogRecorder recorder;
    page->m_list->selectAll();
    QVERIFY(!page->m_btnEdit->isEnabled());
    QVERIFY(page->m_btnRemove->isEnabled());
    page->slotRemove();
    QCOMPARE(recorder.messages.size(), 0); // no question
    QCOMPARE(page->m_list->topLevelItemCount(), 0);
    QCOMPARE(m_ctrl->m_pending,
             (QStringList{"delete from odmr where server='mx.isp.example' and domain='corvane.example'",
                          "delete from odmr where server='mx.isp.example' and domain='lakeside.example;harbour.example'",
                          "delete from odmr where server='relay.example' and domain='corvane.example'"}));
    m_ctrl->reset();
    QCOMPARE(page->m_list->topLevelItemCount(), 3);
}

void TestWndEtrn::layoutKeptUnderVersion2_data()
{
    QTest::addColumn<int>("storedVersion");
    QTest::addColumn<QStringList>("headers");

    QTest::newRow("version 2 taken") << 2 << QStringList{"Server", "Domain(s)", "User"};
    QTest::newRow("version 1 ignored") << 1 << QStringList{"Server", "Domain(s)"};
}

void TestWndEtrn::layoutKeptUnderVersion2()
{
    QFETCH(int, storedVersion);
    QFETCH(QStringList, headers);

    Desktop desktop;
    Cols stored;
    QEtrnItem::addColumns(stored);
    stored.show(stored.hid.indexOf(QEtrnItem::User));
    stored.save(&desktop, QStringLiteral("Admin/Mail"), QStringLiteral("etrn"), storedVersion);

    auto page = makePage(&desktop);
    QStringList shown;
    for (int i = 0; i < page->m_list->columnCount(); ++i)
        shown << page->m_list->headerItem()->text(i);
    QCOMPARE(shown, headers);

    DialogRecorder recorder;
    recorder.answerDialog(QDialog::Accepted);
    page->slotCols();
    QCOMPARE(desktop.settings()->readNumEntry(QStringLiteral("/Admin/Mail/etrn/ver"), -1), 2);
}

// Entries the server holds with an empty "auth", a number other than 0 and 1, or an "auth"
// it keeps as text, are nobody's edit: typing another domain list into one entry and applying
// sends that and nothing else, whatever the entry's own "auth" holds.
void TestWndEtrn::editOfOneEntrySendsOnlyItsStatement_data()
{
    QTest::addColumn<int>("authType"); // how the server declares "auth"
    QTest::addColumn<QString>("editedAuth");
    QTest::addColumn<QStringList>("otherAuths");

    QTest::newRow("empty auth") << int(StandIn::TypeInt) << "1" << QStringList{"", "", ""};
    QTest::newRow("the edited entry's auth empty") << int(StandIn::TypeInt) << "" << QStringList{"", "2", "0"};
    QTest::newRow("auth neither 0 nor 1") << int(StandIn::TypeInt) << "7" << QStringList{"2", "-1", ""};
    QTest::newRow("auth kept as text by the server")
        << int(StandIn::TypeString) << "1" << QStringList{"yes", "", "no"};
    QTest::newRow("the edited entry's auth a text") << int(StandIn::TypeString) << "abc" << QStringList{"", "on", "1"};
}

void TestWndEtrn::editOfOneEntrySendsOnlyItsStatement()
{
    QFETCH(int, authType);
    QFETCH(QString, editedAuth);
    QFETCH(QStringList, otherAuths);
    QList<StandIn::Column> columns = DeliveryFixture::etrnColumns();
    columns[2].type = authType;
    m_server->setTable("odmr", columns,
                       {{"mx.isp.example", "corvane.example", editedAuth, "corvane", "secret"},
                        {"mx.isp.example", "lakeside.example", otherAuths.at(0), "", ""},
                        {"relay.example", "corvane.example", otherAuths.at(1), "relay", "pw"},
                        {"relay.example", "harbour.example", otherAuths.at(2), "", ""}});
    auto page = makePage();
    QCOMPARE(m_ctrl->m_pending, QStringList());
    DialogRecorder recorder;
    recorder.answerDialog([](QDialog* dialog) {
        auto* etrn = qobject_cast<DlgEtrn*>(dialog);
        typeOver(etrn->m_editDomain, "corvane.example;extra.example");
        QTest::mouseClick(etrn->m_btnOK, Qt::LeftButton);
        return etrn->result();
    });
    QCOMPARE(DeliveryFixture::editedThenApplied(page->m_list,
                                                itemOf(page->m_list, "mx.isp.example", "corvane.example"),
                                                page->m_btnEdit, *m_session),
             QStringList{"update odmr set domain='corvane.example;extra.example' where server='mx.isp.example' and "
                         "domain='corvane.example'"});
}

QTEST_MAIN(TestWndEtrn)
#include "tst_wndetrn.moc"
