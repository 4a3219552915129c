// The ETRN entry, the POP3 account and sorting rule dialogs and the check boxes of the
// scheduled actions, swept over stored values their widgets cannot show exactly
// (dialogsweep.h): another field edited leaves the value as stored; the value's own widget
// writes what it shows and turns Apply on.

#include "deliveryfixture.h"
#include "dialogsweep.h"
#include "pagesession.h"
#include "pendingapply.h"
#include "recipientfixture.h"
#include "wndetrn.h"
#include "wndpop3.h"
#include "wndsched.h"

#include <QTabWidget>
#include <QtTest>

using namespace StandIn;

namespace {

const QString Etrn = QStringLiteral("ETRN entry");
const QString Account = QStringLiteral("POP3 account");
const QString SortingRule = QStringLiteral("POP3 sorting rule");
const QString Scheduled = QStringLiteral("scheduled action");

SweptRow etrnEntry()
{
    SweptRow swept;
    swept.row = {"odmr", DeliveryFixture::etrnColumns(),
                 {"mx.isp.example", "corvane.example", "1", "corvane", "secret"},
                 {"server", "domain"}};
    swept.path = {"m_list", "m_btnEdit", "m_btnOK", {}, {}};
    // The domain list: the user field is closed while authentication is off.
    swept.other = {Admin::type("m_editDomain", "other.example")};
    swept.otherWrites = "domain='other.example'";
    swept.otherColumn = "domain";
    swept.otherAlt = {Admin::type("m_editServer", "relay.example")};
    swept.otherAltWrites = "server='relay.example'";
    return swept;
}

// Delivered by a header rule, so that OK looks no address up; no SSL on port 110, so that
// the SSL check box, which proposes the standard port of its choice, leaves the port alone.
SweptRow pop3Account()
{
    SweptRow swept;
    swept.row = {"pop3",
                 {{"user", TypeString, true}, {"server", TypeString, true}, {"port", TypePort},
                  {"description", TypeString}, {"sslmode", TypeInt}, {"mbox", TypeString},
                  {"auth_type", TypeInt}, {"password", TypePwd}, {"max_msgcount", TypeInt}},
                 {"ann", "pop.isp.example", "110", "Ann", "0", "{Received}", "0", "secret", "200"},
                 {"user", "server"}};
    swept.path = {"m_list", "m_btnEdit", "m_btnOK", {}, {}};
    swept.other = {Admin::type("m_editDescription", "Typed")};
    swept.otherWrites = "description='Typed'";
    swept.otherColumn = "description";
    swept.otherAlt = {Admin::type("m_editMaxMsg", "300")};
    swept.otherAltWrites = "max_msgcount='300'";
    return swept;
}

SweptRow sortingRule()
{
    SweptRow swept;
    swept.row = {"sort", {{"to", TypeString, true}, {"account", TypeString, true}},
                 {"sales@corvane.example", "john@corvane.example"},
                 {"to", "account"}};
    swept.path = {"m_list_2", "m_btnEdit_2", "m_btnOK", {}, {}};
    swept.other = {Admin::type("m_editDeliver", "ann@other.example")};
    swept.otherWrites = "account='ann@other.example'";
    swept.otherColumn = "account";
    swept.otherAlt = {Admin::type("m_editContent", "info@corvane.example")};
    swept.otherAltWrites = "to='info@corvane.example'";
    return swept;
}

// Every two hours, no range; its check box is the entry's in the list.
SweptRow scheduledAction()
{
    SweptRow swept;
    swept.row = {"scheduler", DeliveryFixture::schedColumns(),
                 {"0", "120", "", "1", "nightly", "1", "5"},
                 {"timetype", "time", "timeint"}};
    swept.path = {"m_list", "m_btnEdit", "m_rbtnOK", {}, {}};
    swept.other = {Admin::type("m_editDesc", "Typed")};
    swept.otherWrites = "desc='Typed'";
    swept.listColumn = "enabled";
    return swept;
}

SweptRow swept(const QString& kind)
{
    if (kind == Etrn)
        return etrnEntry();
    if (kind == Account)
        return pop3Account();
    if (kind == SortingRule)
        return sortingRule();
    return scheduledAction();
}

WidgetAction rebuild(const QString& column)
{
    return Admin::columns("slotCols", column);
}

} // namespace

class tst_UntouchedDeliveryFields : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init()
    {
        m_session = std::make_unique<PageSession>();
        m_dialogs = std::make_unique<DialogRecorder>();
    }
    void cleanup()
    {
        m_page.reset();
        m_dialogs.reset();
        m_session.reset();
    }

    void otherFieldEditedKeepsTheStoredText_data() { sweep(); }
    void otherFieldEditedKeepsTheStoredText();
    void ownWidgetWritesWhatItShows_data() { sweep(); }
    void ownWidgetWritesWhatItShows();

private:
    static void sweep();
    // The row stored, then its page built on the tab that lists it; false when it did not
    // come up.
    bool storeAndBuild(const QString& kind, const StoredRow& row);
    QStringList pending() const { return m_session->ctrl.m_pending; }
    // The main window's Apply; the statements the server received.
    QStringList apply();

    std::unique_ptr<PageSession> m_session;
    std::unique_ptr<QWidget> m_page;
    std::unique_ptr<DialogRecorder> m_dialogs;
};

void tst_UntouchedDeliveryFields::sweep()
{
    using namespace Admin;
    using DialogSweep::addRow;
    DialogSweep::addColumns();

    addRow(Etrn, "auth", TypeInt, "2", {click("m_chkAuth")}, "0");
    addRow(Etrn, "auth", TypeInt, "2", {click("m_chkAuth"), click("m_chkAuth")}, "2");
    addRow(Etrn, "auth", TypeInt, "-1", {click("m_chkAuth")}, "0");
    addRow(Etrn, "auth", TypeInt, "", {click("m_chkAuth")}, "1");
    addRow(Etrn, "auth", TypeString, "yes", {click("m_chkAuth")}, "1");
    addRow(Etrn, "server", TypeString, "mx isp", {type("m_editServer", "relay.example")}, "relay.example");
    addRow(Etrn, "domain", TypeString, "", {type("m_editDomain", "corvane.example")}, "corvane.example");
    addRow(Etrn, "user", TypeString, "", {type("m_editUser", "bob")}, "bob");
    addRow(Etrn, "password", TypePwd, "secret", {type("m_editPass", "new")}, "NUL:new");

    addRow(Account, "sslmode", TypeInt, "-1", {click("m_chkUseSSL")}, "2");
    addRow(Account, "sslmode", TypeInt, "3", {click("m_chkUseSSL")}, "0");
    addRow(Account, "sslmode", TypeInt, "3", {click("m_chkUseSSL"), click("m_chkUseSSL")}, "3");
    addRow(Account, "sslmode", TypeInt, "", {click("m_chkUseSSL")}, "2");
    addRow(Account, "auth_type", TypeInt, "5", {choose("m_comboAuth", "APOP")}, "1");
    addRow(Account, "auth_type", TypeInt, "", {choose("m_comboAuth", "APOP")}, "1");
    addRow(Account, "auth_type", TypeString, "apop", {choose("m_comboAuth", "APOP")}, "1");
    addRow(Account, "mbox", TypeString, "{X-Envelope-To", {choose("m_comboRule", "Delivered-To")}, "{Delivered-To}");
    addRow(Account, "mbox", TypeString, "{}", {choose("m_comboRule", "Received")}, "{Received}");
    addRow(Account, "mbox", TypeString, "", {type("m_editAddress", "x@corvane.example")}, "x@corvane.example");
    addRow(Account, "server", TypeString, "pop isp", {type("m_editServer", "pop.new.example")}, "pop.new.example");
    addRow(Account, "user", TypeString, "Ann Lee", {type("m_editUser", "ann")}, "ann");
    addRow(Account, "port", TypeString, "pop3", {type("m_editPort", "7110")}, "7110");
    addRow(Account, "description", TypeString, "", {type("m_editDescription", "Home")}, "Home");
    addRow(Account, "password", TypePwd, "secret", {type("m_editPass", "new")}, "NUL:new");
    // A count the server holds beyond what the column takes: asked about only when typed.
    addRow(Account, "max_msgcount", TypeInt64, "99999999999", {type("m_editMaxMsg", "100")}, "100");
    addRow(Account, "max_msgcount", TypeInt, "", {type("m_editMaxMsg", "5")}, "5");

    addRow(SortingRule, "to", TypeString, "", {type("m_editContent", "info@corvane.example")}, "info@corvane.example");
    addRow(SortingRule, "to", TypeString, "Sales Team", {type("m_editContent", "info@corvane.example")},
           "info@corvane.example");
    addRow(SortingRule, "account", TypeString, "", {type("m_editDeliver", "x@y.example")}, "x@y.example");
    addRow(SortingRule, "account", TypeString, "nobody", {type("m_editDeliver", "x@y.example")}, "x@y.example");

    // The entry's check box, also across a rebuild of the list.
    const WidgetAction entry = toggle("m_list", {});
    addRow(Scheduled, "enabled", TypeInt, "2", {entry}, "0");
    addRow(Scheduled, "enabled", TypeInt, "2", {entry, rebuild("Description"), entry}, "2");
    addRow(Scheduled, "enabled", TypeInt, "2", {entry, rebuild("Description")}, "0");
    addRow(Scheduled, "enabled", TypeInt, "-1", {entry, rebuild("Action(s)"), entry}, "-1");
    addRow(Scheduled, "enabled", TypeInt, "", {entry}, "1");
    addRow(Scheduled, "enabled", TypeInt, "", {entry, rebuild("Description"), entry}, "");
    addRow(Scheduled, "enabled", TypeString, "on", {entry}, "1");
    addRow(Scheduled, "enabled", TypeString, "on", {entry, rebuild("Description"), entry}, "on");
}

bool tst_UntouchedDeliveryFields::storeAndBuild(const QString& kind, const StoredRow& row)
{
    TestServer& server = *m_session->server;
    row.install(server);
    if (kind == Account || kind == SortingRule) {
        if (kind == Account)
            server.setTable("sort", sortingRule().row.columns, {sortingRule().row.texts});
        else
            server.setTable("pop3", pop3Account().row.columns, {pop3Account().row.texts});
        RecipientFixture::install(server);
    }
    if (kind == Scheduled)
        server.setTable("timeintervals", DeliveryFixture::timeColumns(), DeliveryFixture::timeRanges());
    if (!m_session->connect())
        return false;
    DBConn* conn = m_session->connection();
    DBCtrl* ctrl = &m_session->ctrl;
    if (kind == Etrn) {
        m_page = std::make_unique<WndEtrn>(nullptr, conn, ctrl, nullptr);
    } else if (kind == Scheduled) {
        m_page = std::make_unique<WndSched>(nullptr, conn, ctrl, nullptr);
    } else {
        auto page = std::make_unique<WndPop3>(nullptr, conn, ctrl, nullptr);
        // The administrator opens the tab that lists the row.
        page->m_tabs->setCurrentIndex(kind == SortingRule ? 1 : 0);
        m_page = std::move(page);
    }
    return pending().isEmpty();
}

QStringList tst_UntouchedDeliveryFields::apply()
{
    const int mark = int(m_session->server->journal().size());
    if (applyPendingStatements(&m_session->owner, m_session->connection(), &m_session->ctrl)
        != ApplyOutcome::Applied)
        return {QStringLiteral("(not applied)")};
    return DeliveryFixture::statements(*m_session->server, mark);
}

void tst_UntouchedDeliveryFields::otherFieldEditedKeepsTheStoredText()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(int, type);
    QFETCH(QString, stored);
    const SweptRow swept = ::swept(kind);
    const StoredRow row = swept.row.with(column, stored, type);
    QVERIFY(storeAndBuild(kind, row));

    QVERIFY(DialogSweep::editThroughDialog(m_page.get(), swept.path, swept.otherEdit(column), *m_dialogs));
    QCOMPARE(apply(), swept.otherStatements(row, column));
}

void tst_UntouchedDeliveryFields::ownWidgetWritesWhatItShows()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(int, type);
    QFETCH(QString, stored);
    QFETCH(WidgetActions, action);
    QFETCH(QString, written);
    const SweptRow swept = ::swept(kind);
    const StoredRow row = swept.row.with(column, stored, type);
    QVERIFY(storeAndBuild(kind, row));

    if (column == swept.listColumn)
        QVERIFY(performAll(m_page.get(), action, m_dialogs.get()));
    else
        QVERIFY(DialogSweep::editThroughDialog(m_page.get(), swept.path, action, *m_dialogs));
    const QStringList expected = DialogSweep::ownStatements(row, column, written);
    // Apply is on exactly when something is pending: a change of the column's own widget
    // turns it on, one that ends where the stored text showed leaves it off.
    QCOMPARE(pending(), expected);
    if (!expected.isEmpty())
        QCOMPARE(apply(), expected);
}

QTEST_MAIN(tst_UntouchedDeliveryFields)
#include "tst_untoucheddeliveryfields.moc"
