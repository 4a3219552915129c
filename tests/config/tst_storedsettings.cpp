// Every column a configuration page fills from a stored cell, stored as its widgets cannot
// show it exactly (2 or -1 behind a check box or a pair of radio buttons, a number beyond a
// choice, an empty cell, a word, an amount that is no whole number of its units, a group or
// line the lists do not hold): an edit of another field of the page writes that field alone,
// and the column's own widget, clicked, chosen or typed into as the administrator does, writes
// what it shows and turns Apply on.

#include "configpagefixture.h"
#include "widgetactions.h"
#include "wndadvanced.h"
#include "wndantispam.h"
#include "wndavir.h"
#include "wndbackup.h"
#include "wndintercon.h"
#include "wndremote.h"
#include "wndsmtp.h"

#include <QtTest>

namespace {

enum class Page { Smtp, Antivirus, Antispam, Backup, InternetConnection, Remote, Advanced };

using Cells = QMap<QString, QString>;

// Another field of the same table to edit, and the statement that edit alone makes; a
// second one for the rows whose column is the first, or whose widget the odd value leaves
// disabled.
struct OtherEdit
{
    WidgetActions actions;
    QString statement;
};

QList<OtherEdit> otherEdits(const QString& table)
{
    static const QHash<QString, QList<OtherEdit>> edits{
        {"smtp",
         {{{Admin::type("m_editHops", "31")}, "update smtp set MaxHops='31'"},
          {{Admin::type("m_editThreads", "12")}, "update smtp set MaxConcurrency='12'"}}},
        {"relay",
         {{{Admin::type("m_editHostname", "relay.example")}, "update relay set ServerName='relay.example'"},
          {{Admin::type("m_editUser", "someone")}, "update relay set AuthUser='someone'"}}},
        {"antivir",
         {{{Admin::click("m_chkFilterEnable")}, "update antivir set FilterEnabled='0'"},
          {{Admin::type("m_editAdminNotify", "admin@corvane.example")},
           "update antivir set AdminNotify='admin@corvane.example'"}}},
        {"antispam",
         {{{Admin::click("m_chkAuth")}, "update antispam set AllowAuth='0'"},
          {{Admin::click("m_chkLogDUL")}, "update antispam set DbLog='11'"}}},
        {"backup",
         {{{Admin::type("m_editRemote", "backup@corvane.example")},
           "update backup set Address='backup@corvane.example'"},
          {{Admin::type("m_editFormat", "%Y")}, "update backup set Format='%Y'"}}},
        {"connection",
         {{{Admin::type("m_editUser", "someone")}, "update connection set RASUser='someone'"},
          {{Admin::click("m_rbtnOnline")}, "update connection set OnlineMode='1'"}}},
        {"administration",
         {{{Admin::choose("m_combo", "Office LAN")}, "update administration set AdminAcl='Office LAN'"},
          {{Admin::click("m_chkEnable")}, "update administration set NetEnabled='0'"}}},
        {"misc",
         {{{Admin::click("m_chkHide")}, "update misc set HideLocalIP='1'"},
          {{Admin::click("m_chkInsert")}, "update misc set InsertEnvelopeTo='0'"}}},
        {"security",
         {{{Admin::click("m_chkInsecure")}, "update security set AuthException='0'"},
          {{Admin::toggle("m_listAuth", "LOGIN")}, "update security set DisabledMethods='LOGIN,CRAM-MD5'"}}},
    };
    return edits.value(table);
}

} // namespace

Q_DECLARE_METATYPE(Page)

class tst_StoredSettings : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.start(); }
    void cleanup() { m_fixture.stop(); }

    void unshownStoredValue_data();
    void unshownStoredValue();
    void measuredFromWhatTheServerHoldsNow_data();
    void measuredFromWhatTheServerHoldsNow();
    void groupBoxRefilledAfterTheEditor_data();
    void groupBoxRefilledAfterTheEditor();

private:
    QWidget* build(Page page);
    // Stores the cell, as a text column when the server is to keep a word in it.
    void store(const QString& table, const QString& column, const QString& value, bool asText);

    ConfigPageFixture m_fixture;
};

QWidget* tst_StoredSettings::build(Page page)
{
    Desktop* const noDesktop = nullptr;
    switch (page) {
    case Page::Smtp:
        return m_fixture.build<WndSmtp>();
    case Page::Antivirus:
        return m_fixture.build<WndAvir>(noDesktop);
    case Page::Antispam: {
        auto* built = new WndAntispam(m_fixture.m_container.get(), m_fixture.m_conn->get(), noDesktop,
                                      m_fixture.m_ctrl.get(), nullptr, Qt::WindowFlags());
        m_fixture.m_container->show();
        return built;
    }
    case Page::Backup:
        return m_fixture.build<WndBackup>();
    case Page::InternetConnection:
        return m_fixture.build<WndInterCon>();
    case Page::Remote:
        return m_fixture.build<WndRemote>(noDesktop);
    case Page::Advanced:
        return m_fixture.build<WndAdvanced>(noDesktop);
    }
    return nullptr;
}

void tst_StoredSettings::store(const QString& table, const QString& column, const QString& value,
                               bool asText)
{
    QList<StandIn::Column> columns = m_fixture.m_server->columns(table);
    if (asText) {
        for (StandIn::Column& declared : columns) {
            if (declared.name == column)
                declared.type = StandIn::TypeString;
        }
        m_fixture.m_server->setTable(table, columns, m_fixture.m_server->rows(table));
    }
    m_fixture.setCells(table, {{column, value}});
}

void tst_StoredSettings::unshownStoredValue_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("asText");
    QTest::addColumn<Cells>("around"); // other cells of the row, as needed
    QTest::addColumn<int>("other");                     // the other edit: 0, 1, or -1 for none
    QTest::addColumn<WidgetActions>("actions");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QStringList>("pending");

    const auto row = [](const char* name, Page page, const char* table, const char* column,
                        const char* stored, int other, const WidgetActions& actions, const char* written,
                        const Cells& around = {}, bool asText = false,
                        const QStringList& alsoPending = {}) {
        QStringList pending{QStringLiteral("update %1 set %2='%3'")
                                .arg(QLatin1String(table), QLatin1String(column), QLatin1String(written))};
        pending += alsoPending;
        QTest::newRow(name) << page << QString::fromLatin1(table) << QString::fromLatin1(column)
                            << QString::fromLatin1(stored) << asText << around << other << actions
                            << QString::fromLatin1(written)
                            << pending;
    };

    // SMTP Properties: the server delivers through the relay, which requires authentication.
    row("SMTP DeliveryMode 2", Page::Smtp, "smtp", "DeliveryMode", "2", 0, WidgetActions{Admin::click("m_rbtnSMTP")}, "0");
    row("SMTP DeliveryMode -1", Page::Smtp, "smtp", "DeliveryMode", "-1", 0, WidgetActions{Admin::click("m_rbtnSMTP")}, "0");
    row("SMTP DeliveryMode empty", Page::Smtp, "smtp", "DeliveryMode", "", 0, WidgetActions{Admin::click("m_rbtnDNS")}, "1");
    row("SMTP DeliveryMode word", Page::Smtp, "smtp", "DeliveryMode", "mx", 0, WidgetActions{Admin::click("m_rbtnDNS")}, "1",
        {}, true);
    row("SMTP MaxMessageSize below a unit", Page::Smtp, "smtp", "MaxMessageSize", "1000", 0,
        WidgetActions{Admin::type("m_editMessageSize", "2")}, "2048");
    row("SMTP MaxMessageSize empty", Page::Smtp, "smtp", "MaxMessageSize", "", 0,
        WidgetActions{Admin::type("m_editMessageSize", "5")}, "5120");
    row("SMTP QueueRetryInterval not whole minutes", Page::Smtp, "smtp", "QueueRetryInterval", "61", 0,
        WidgetActions{Admin::type("m_editRetry", "2")}, "120");
    row("SMTP QueueNotifyTimeout empty", Page::Smtp, "smtp", "QueueNotifyTimeout", "", 0,
        WidgetActions{Admin::type("m_editWarning", "3")}, "180");
    row("SMTP QueueBounceTimeout -1", Page::Smtp, "smtp", "QueueBounceTimeout", "-1", 0,
        WidgetActions{Admin::type("m_editBounce", "4")}, "240");
    row("SMTP MaxConcurrency word", Page::Smtp, "smtp", "MaxConcurrency", "many", 0,
        WidgetActions{Admin::type("m_editThreads", "12")}, "12", {}, true);
    row("SMTP MaxHops empty", Page::Smtp, "smtp", "MaxHops", "", 1, WidgetActions{Admin::type("m_editHops", "31")}, "31");
    row("SMTP ClientUseSSL 2", Page::Smtp, "smtp", "ClientUseSSL", "2", 0, WidgetActions{Admin::click("m_chkUseSSL")}, "0");
    row("SMTP ClientUseSSL empty", Page::Smtp, "smtp", "ClientUseSSL", "", 0, WidgetActions{Admin::click("m_chkUseSSL")}, "1");
    row("SMTP ServerName empty", Page::Smtp, "relay", "ServerName", "", 1,
        WidgetActions{Admin::type("m_editHostname", "relay.example")}, "relay.example");
    row("SMTP ServerPort empty", Page::Smtp, "relay", "ServerPort", "", 0, WidgetActions{Admin::type("m_editPort", "25")}, "25");
    row("SMTP AuthEnabled 2", Page::Smtp, "relay", "AuthEnabled", "2", 0, WidgetActions{Admin::click("m_chkAuth")}, "0");
    row("SMTP AuthEnabled empty", Page::Smtp, "relay", "AuthEnabled", "", 0, WidgetActions{Admin::click("m_chkAuth")}, "1");
    row("SMTP AuthType beyond the choice", Page::Smtp, "relay", "AuthType", "7", 0,
        WidgetActions{Admin::choose("m_comboAuth", "POP3 before SMTP")}, "1");
    row("SMTP AuthType -1", Page::Smtp, "relay", "AuthType", "-1", 0, WidgetActions{Admin::choose("m_comboAuth", "POP3 before SMTP")}, "1");
    row("SMTP AuthType empty", Page::Smtp, "relay", "AuthType", "", 0, WidgetActions{Admin::choose("m_comboAuth", "POP3 before SMTP")}, "1");
    row("SMTP AuthUser empty", Page::Smtp, "relay", "AuthUser", "", 0, WidgetActions{Admin::type("m_editUser", "someone")},
        "someone");

    // Antivirus: checking and the filter on, rejected messages delivered, the sender warned.
    row("Antivirus AvirEnabled 2", Page::Antivirus, "antivir", "AvirEnabled", "2", 0,
        WidgetActions{Admin::click("m_chkCheckEnable")}, "0");
    row("Antivirus AvirEnabled empty", Page::Antivirus, "antivir", "AvirEnabled", "", 0,
        WidgetActions{Admin::click("m_chkCheckEnable")}, "1");
    row("Antivirus UsedPlugin no longer listed", Page::Antivirus, "antivir", "UsedPlugin", "oldscanner", 0,
        WidgetActions{Admin::choose("m_plugin", "Resident scanner daemon")}, "avdaemon");
    row("Antivirus UsedPlugin empty", Page::Antivirus, "antivir", "UsedPlugin", "", 0, WidgetActions{Admin::choose("m_plugin", "Resident scanner daemon")},
        "avdaemon");
    row("Antivirus DelayIfFailed 2", Page::Antivirus, "antivir", "DelayIfFailed", "2", 0,
        WidgetActions{Admin::click("m_rbtnLeave")}, "1");
    row("Antivirus DelayIfFailed -1", Page::Antivirus, "antivir", "DelayIfFailed", "-1", 0,
        WidgetActions{Admin::click("m_rbtnLeave")}, "1");
    row("Antivirus DelayIfFailed empty", Page::Antivirus, "antivir", "DelayIfFailed", "", 0,
        WidgetActions{Admin::click("m_rbtnLeave")}, "1");
    row("Antivirus FilterEnabled 2", Page::Antivirus, "antivir", "FilterEnabled", "2", 1,
        WidgetActions{Admin::click("m_chkFilterEnable")}, "0");
    row("Antivirus FilterEnabled empty", Page::Antivirus, "antivir", "FilterEnabled", "", 1,
        WidgetActions{Admin::click("m_chkFilterEnable")}, "1");
    row("Antivirus AdminNotify empty", Page::Antivirus, "antivir", "AdminNotify", "", 0,
        WidgetActions{Admin::click("m_chkForward"), Admin::type("m_editAdminNotify", "admin@corvane.example")}, "admin@corvane.example");
    row("Antivirus SenderNotify 3", Page::Antivirus, "antivir", "SenderNotify", "3", 0,
        WidgetActions{Admin::click("m_chOnlyLocal")}, "2");
    row("Antivirus SenderNotify -1", Page::Antivirus, "antivir", "SenderNotify", "-1", 0,
        WidgetActions{Admin::click("m_chkSendWarning")}, "0");
    row("Antivirus SenderNotify empty", Page::Antivirus, "antivir", "SenderNotify", "", 0,
        WidgetActions{Admin::click("m_chkSendWarning")}, "1");
    row("Antivirus Bounce 2", Page::Antivirus, "antivir", "Bounce", "2", 0, WidgetActions{Admin::click("m_rbtnDeliver")}, "0");
    row("Antivirus Bounce empty", Page::Antivirus, "antivir", "Bounce", "", 0, WidgetActions{Admin::click("m_rbtnBounce")}, "1");

    // Antispam: relaying for "Office LAN" and authenticated senders, RBL and RSS logged.
    row("Antispam Enabled 2", Page::Antispam, "antispam", "Enabled", "2", 0, WidgetActions{Admin::click("m_chkEnabled")}, "0");
    row("Antispam Enabled empty", Page::Antispam, "antispam", "Enabled", "", 1, WidgetActions{Admin::click("m_chkEnabled")}, "1");
    row("Antispam AllowAuth 2", Page::Antispam, "antispam", "AllowAuth", "2", 1, WidgetActions{Admin::click("m_chkAuth")}, "0");
    row("Antispam AllowAuth empty", Page::Antispam, "antispam", "AllowAuth", "", 1, WidgetActions{Admin::click("m_chkAuth")}, "1");
    row("Antispam AllowAcl not listed", Page::Antispam, "antispam", "AllowAcl", "Old partners", 0,
        WidgetActions{Admin::choose("m_addressGroup", "Office LAN")}, "Office LAN");
    row("Antispam AllowAcl empty", Page::Antispam, "antispam", "AllowAcl", "", 0, WidgetActions{Admin::click("m_chkAddrGroup")},
        "Office LAN");
    row("Antispam AclBlock not listed", Page::Antispam, "antispam", "AclBlock", "Old partners", 0,
        WidgetActions{Admin::choose("m_addressGroup2", "Office LAN")}, "Office LAN");
    row("Antispam AclBlock empty", Page::Antispam, "antispam", "AclBlock", "", 0, WidgetActions{Admin::click("m_chkAddrGroup2")},
        "Office LAN");
    row("Antispam DbLog a bit not shown", Page::Antispam, "antispam", "DbLog", "64", 0,
        WidgetActions{Admin::click("m_chkLogRBL")}, "66");
    row("Antispam DbLog empty", Page::Antispam, "antispam", "DbLog", "", 0, WidgetActions{Admin::click("m_chkLogRSS")}, "1");
    row("Antispam DbLog -1", Page::Antispam, "antispam", "DbLog", "-1", 0, WidgetActions{Admin::click("m_chkLogDUL")}, "-9");
    row("Antispam DbBlock a bit not shown", Page::Antispam, "antispam", "DbBlock", "64", 0,
        WidgetActions{Admin::click("m_chkBlockRBL")}, "66");
    row("Antispam DbBlock word", Page::Antispam, "antispam", "DbBlock", "all", 0, WidgetActions{Admin::click("m_chkBlockDUL")},
        "8", {}, true);

    // Backup: on, a full backup sent away and kept locally.
    row("Backup Enabled 2", Page::Backup, "backup", "Enabled", "2", 0, WidgetActions{Admin::click("m_chkEnable")}, "0");
    // Off, the page leaves no other field to edit.
    row("Backup Enabled empty", Page::Backup, "backup", "Enabled", "", -1, WidgetActions{Admin::click("m_chkEnable")}, "1");
    row("Backup Mode 2", Page::Backup, "backup", "Mode", "2", 0, WidgetActions{Admin::click("m_rbtnBackup")}, "0");
    row("Backup Mode empty", Page::Backup, "backup", "Mode", "", 0, WidgetActions{Admin::click("m_rbtnOnly")}, "1");
    row("Backup Remote 2", Page::Backup, "backup", "Remote", "2", 0, WidgetActions{Admin::click("m_chkRemote")}, "0");
    row("Backup Remote empty", Page::Backup, "backup", "Remote", "", 1,
        WidgetActions{Admin::click("m_chkRemote")}, "1");
    row("Backup Local 2", Page::Backup, "backup", "Local", "2", 0, WidgetActions{Admin::click("m_chkLocal")}, "0");
    row("Backup Local empty", Page::Backup, "backup", "Local", "", 0, WidgetActions{Admin::click("m_chkLocal")}, "1");
    row("Backup Address empty", Page::Backup, "backup", "Address", "", 1,
        WidgetActions{Admin::type("m_editRemote", "backup@corvane.example")}, "backup@corvane.example");
    row("Backup Format empty", Page::Backup, "backup", "Format", "", 0, WidgetActions{Admin::type("m_editFormat", "%Y")}, "%Y");
    row("Backup Admin empty", Page::Backup, "backup", "Admin", "", 0, WidgetActions{Admin::type("m_editFolder", "[staff]")},
        "[staff]");

    // Internet Connection: offline, dialling "Provider ISDN".
    // Online, the page leaves no other field to edit.
    row("Connection OnlineMode 2", Page::InternetConnection, "connection", "OnlineMode", "2", -1,
        WidgetActions{Admin::click("m_rbtnOffline")}, "0");
    row("Connection OnlineMode empty", Page::InternetConnection, "connection", "OnlineMode", "", 0,
        WidgetActions{Admin::click("m_rbtnOnline")}, "1");
    row("Connection UseRAS 2", Page::InternetConnection, "connection", "UseRAS", "2", 0,
        WidgetActions{Admin::click("m_chkUseRAS")}, "0");
    row("Connection UseRAS empty", Page::InternetConnection, "connection", "UseRAS", "", 1,
        WidgetActions{Admin::click("m_chkUseRAS")}, "1");
    row("Connection RASLine not listed", Page::InternetConnection, "connection", "RASLine", "Old line", 0,
        WidgetActions{Admin::choose("m_rasLine", "Provider ISDN")}, "Provider ISDN");
    row("Connection RASLine empty", Page::InternetConnection, "connection", "RASLine", "", 0,
        WidgetActions{Admin::choose("m_rasLine", "Provider DSL fallback")}, "Provider DSL fallback");
    row("Connection RASUser empty", Page::InternetConnection, "connection", "RASUser", "", 1,
        WidgetActions{Admin::type("m_editUser", "someone")}, "someone");

    // Remote Administration: on, from "Admin hosts" only.
    row("Remote NetEnabled 2", Page::Remote, "administration", "NetEnabled", "2", 0, WidgetActions{Admin::click("m_chkEnable")}, "0");
    // Off, the page leaves no other field to edit.
    row("Remote NetEnabled empty", Page::Remote, "administration", "NetEnabled", "", -1,
        WidgetActions{Admin::click("m_chkEnable")}, "1");
    row("Remote AdminAcl not listed", Page::Remote, "administration", "AdminAcl", "Old group", 1,
        WidgetActions{Admin::choose("m_combo", "Office LAN")}, "Office LAN");
    row("Remote AdminAcl empty", Page::Remote, "administration", "AdminAcl", "", 1, WidgetActions{Admin::click("m_chkOnly")},
        "Office LAN");

    // Advanced Options: secure authentication required but from "Office LAN".
    row("Advanced ReverseLookup 2", Page::Advanced, "misc", "ReverseLookup", "2", 0, WidgetActions{Admin::click("m_chkReverse")}, "0");
    row("Advanced ReverseLookup empty", Page::Advanced, "misc", "ReverseLookup", "", 0, WidgetActions{Admin::click("m_chkReverse")},
        "1");
    row("Advanced ShowServerName 2", Page::Advanced, "misc", "ShowServerName", "2", 0,
        WidgetActions{Admin::click("m_chkShowName")}, "0");
    row("Advanced HideLocalIP -1", Page::Advanced, "misc", "HideLocalIP", "-1", 1, WidgetActions{Admin::click("m_chkHide")}, "0");
    row("Advanced InsertEnvelopeTo empty", Page::Advanced, "misc", "InsertEnvelopeTo", "", 0,
        WidgetActions{Admin::click("m_chkInsert")}, "1");
    row("Advanced PublicAdmin empty", Page::Advanced, "misc", "PublicAdmin", "", 0, WidgetActions{Admin::type("m_editAdmin", "[staff]")},
        "[staff]");
    row("Advanced Mode beyond the choice", Page::Advanced, "security", "Mode", "7", 1, WidgetActions{Admin::choose("m_comboSec", "Require encrypted connection")},
        "2");
    row("Advanced Mode empty", Page::Advanced, "security", "Mode", "", 1, WidgetActions{Admin::choose("m_comboSec", "Require secure authentication")}, "1");
    row("Advanced AuthException 2", Page::Advanced, "security", "AuthException", "2", 1,
        WidgetActions{Admin::click("m_chkInsecure")}, "0");
    row("Advanced AuthException empty", Page::Advanced, "security", "AuthException", "", 1,
        WidgetActions{Admin::click("m_chkInsecure")}, "1");
    row("Advanced AuthAcl not listed", Page::Advanced, "security", "AuthAcl", "Old partners", 0,
        WidgetActions{Admin::choose("m_comboInsecure", "Office LAN")}, "Office LAN");
    row("Advanced AuthAcl empty", Page::Advanced, "security", "AuthAcl", "", 0, WidgetActions{Admin::choose("m_comboInsecure", "Admin hosts")},
        "Admin hosts");
    const Cells encrypted{{"Mode", "2"}, {"SslException", "1"}};
    row("Advanced SslException 2", Page::Advanced, "security", "SslException", "2", 0, WidgetActions{Admin::click("m_chkUnenc")},
        "0", {{"Mode", "2"}});
    row("Advanced SslException empty", Page::Advanced, "security", "SslException", "", 0,
        WidgetActions{Admin::click("m_chkUnenc")}, "1", {{"Mode", "2"}});
    row("Advanced SslAcl not listed", Page::Advanced, "security", "SslAcl", "Old relays", 0,
        WidgetActions{Admin::choose("m_comboUnenc", "Office LAN")}, "Office LAN", encrypted);
    row("Advanced SslAcl empty", Page::Advanced, "security", "SslAcl", "", 0, WidgetActions{Admin::choose("m_comboUnenc", "Admin hosts")},
        "Admin hosts", encrypted);
    row("Advanced DisabledMethods not listed", Page::Advanced, "security", "DisabledMethods", "KERBEROS4", 0,
        WidgetActions{Admin::toggle("m_listAuth", "PLAIN")}, "PLAIN,KERBEROS4");
    row("Advanced DisabledMethods empty", Page::Advanced, "security", "DisabledMethods", "", 0,
        WidgetActions{Admin::toggle("m_listAuth", "GSSAPI")}, "GSSAPI");
}

void tst_StoredSettings::unshownStoredValue()
{
    QFETCH(Page, page);
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, stored);
    QFETCH(bool, asText);
    QFETCH(Cells, around);
    QFETCH(int, other);
    QFETCH(WidgetActions, actions);
    QFETCH(QString, written);
    QFETCH(QStringList, pending);

    if (!around.isEmpty())
        m_fixture.setCells(table, around);
    store(table, column, stored, asText);
    QWidget* shown = build(page);
    QVERIFY(shown);
    QVERIFY(dynamic_cast<ConfigPage*>(shown)->isReady());
    QCOMPARE(m_fixture.pending(), QStringList());

    // Another field edited: that field alone is written.
    if (other >= 0) {
        const OtherEdit edit = otherEdits(table).value(other);
        QVERIFY2(performAll(shown, edit.actions), qPrintable(describe(edit.actions)));
        QCOMPARE(m_fixture.pending(), QStringList{edit.statement});
        m_fixture.m_ctrl->reset();
        QCOMPARE(m_fixture.pending(), QStringList());
    }

    // The column's own widget changed: what it shows is written, and Apply turns on.
    QVERIFY2(performAll(shown, actions), qPrintable(describe(actions)));
    QCOMPARE(m_fixture.pending(), pending);
    QVERIFY(!m_fixture.m_ctrl->isEmpty());
    for (int i = 0; i < 3; ++i)
        m_fixture.m_dialogs->answer(QMessageBox::No);
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QCOMPARE(m_fixture.storedCell(table, column), written);
}

// Once an apply carried a column out, what its widgets show is what the server holds: turning
// it back is an edit again, and turning it back once more leaves nothing to send. Reset
// measures from what the server holds as well. An apply that stopped part-way settles only
// what the server carried out.
void tst_StoredSettings::measuredFromWhatTheServerHoldsNow_data()
{
    QTest::addColumn<QString>("refused"); // a statement the server refuses, if any
    QTest::addColumn<QStringList>("afterBack");
    QTest::addColumn<QStringList>("afterForth");

    const QString relay = QStringLiteral("update relay set AuthUser='someone'");
    QTest::newRow("applied") << QString() << QStringList{"update smtp set DeliveryMode='1'"}
                             << QStringList{};
    QTest::newRow("applied part-way")
        << QString("relay") << QStringList{"update smtp set DeliveryMode='1'", relay}
        << QStringList{relay};
}

void tst_StoredSettings::measuredFromWhatTheServerHoldsNow()
{
    QFETCH(QString, refused);
    QFETCH(QStringList, afterBack);
    QFETCH(QStringList, afterForth);

    m_fixture.setCells("smtp", {{"DeliveryMode", "2"}});
    QWidget* page = build(Page::Smtp);
    QVERIFY(perform(page, Admin::click("m_rbtnSMTP")));
    m_fixture.m_ctrl->reset();
    QVERIFY(perform(page, Admin::type("m_editHops", "31")));
    QCOMPARE(m_fixture.pending(), QStringList{"update smtp set MaxHops='31'"});
    m_fixture.m_ctrl->reset();

    QVERIFY(performAll(page, {Admin::click("m_rbtnSMTP"), Admin::type("m_editUser", "someone")}));
    if (!refused.isEmpty())
        QVERIFY(m_fixture.m_server->refuse(refused, 104, 1));
    m_fixture.apply();
    QCOMPARE(m_fixture.storedCell("smtp", "DeliveryMode"), QStringLiteral("0"));
    QVERIFY(perform(page, Admin::click("m_rbtnDNS")));
    QCOMPARE(m_fixture.pending(), afterBack);
    QVERIFY(perform(page, Admin::click("m_rbtnSMTP")));
    QCOMPARE(m_fixture.pending(), afterForth);
}

// The address groups edited from a page: each group box the editor refills is filled as from
// what the server holds, so the refill is no change of its own. A group the administrator
// chose stays chosen while the server holds it, and a check box turned on still writes the
// group its box shows. Each row's editor removes one group ("Remove Group" and OK).
void tst_StoredSettings::groupBoxRefilledAfterTheEditor_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<QString>("table");
    QTest::addColumn<Cells>("stored");
    QTest::addColumn<WidgetActions>("before"); // before the editor
    QTest::addColumn<QString>("editButton");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<WidgetActions>("after");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("shown"); // by the box after the editor
    QTest::addColumn<QStringList>("pending");

    const Cells noInsecure{{"Mode", "1"}, {"AuthException", "0"}, {"AuthAcl", ""}};
    const Cells insecure{{"Mode", "1"}, {"AuthException", "1"}, {"AuthAcl", "Office LAN"}};
    const QStringList hidden{"update misc set HideLocalIP='1'"};
    QTest::newRow("Advanced, insecure group not stored, first group removed")
        << Page::Advanced << "security" << noInsecure << WidgetActions{} << "m_btnEditInsecure" << "Office LAN"
        << WidgetActions{Admin::click("m_chkHide")} << "m_comboInsecure" << "Admin hosts" << hidden;
    QTest::newRow("Advanced, insecure group chosen, another removed")
        << Page::Advanced << "security" << insecure << WidgetActions{Admin::choose("m_comboInsecure", "Trusted relays")}
        << "m_btnEditInsecure" << "Blocked senders" << WidgetActions{} << "m_comboInsecure" << "Trusted relays"
        << QStringList{"update security set AuthAcl='Trusted relays'"};
    QTest::newRow("Advanced, insecure group chosen, then removed")
        << Page::Advanced << "security" << insecure << WidgetActions{Admin::choose("m_comboInsecure", "Trusted relays")}
        << "m_btnEditInsecure" << "Trusted relays" << WidgetActions{} << "m_comboInsecure" << "Office LAN"
        << QStringList{};
    // The refill shows the group chosen for the empty stored one: still a choice.
    QTest::newRow("Advanced, insecure group chosen, the group shown before it removed")
        << Page::Advanced << "security" << Cells{{"Mode", "1"}, {"AuthException", "1"}, {"AuthAcl", ""}}
        << WidgetActions{Admin::choose("m_comboInsecure", "Admin hosts")} << "m_btnEditInsecure" << "Office LAN"
        << WidgetActions{} << "m_comboInsecure" << "Admin hosts"
        << QStringList{"update security set AuthAcl='Admin hosts'"};
    QTest::newRow("Advanced, insecure exception turned on, the group it showed removed")
        << Page::Advanced << "security" << noInsecure << WidgetActions{Admin::click("m_chkInsecure")}
        << "m_btnEditInsecure" << "Office LAN" << WidgetActions{} << "m_comboInsecure" << "Admin hosts"
        << QStringList{"update security set AuthException='1', AuthAcl='Admin hosts'"};
    QTest::newRow("Advanced, unencrypted group not stored, first group removed")
        << Page::Advanced << "security" << Cells{{"Mode", "2"}, {"SslException", "0"}, {"SslAcl", ""}}
        << WidgetActions{} << "m_btnEditUnenc" << "Office LAN" << WidgetActions{Admin::click("m_chkHide")}
        << "m_comboUnenc" << "Admin hosts" << hidden;
    QTest::newRow("Antispam, allowed group removed")
        << Page::Antispam << "antispam" << Cells{{"AllowAcl", "Office LAN"}} << WidgetActions{} << "m_btnEdit1"
        << "Office LAN" << WidgetActions{Admin::click("m_chkAuth")} << "m_addressGroup" << "Office LAN"
        << QStringList{"update antispam set AllowAuth='0'"};
    QTest::newRow("Antispam, allowed group chosen, another removed")
        << Page::Antispam << "antispam" << Cells{{"AllowAcl", "Office LAN"}}
        << WidgetActions{Admin::choose("m_addressGroup", "Admin hosts")} << "m_btnEdit1" << "Trusted relays"
        << WidgetActions{} << "m_addressGroup" << "Admin hosts"
        << QStringList{"update antispam set AllowAcl='Admin hosts'"};
    QTest::newRow("Antispam, blocked list refilled from the allowed group's editor")
        << Page::Antispam << "antispam" << Cells{{"AllowAcl", "Office LAN"}, {"AclBlock", "Trusted relays"}}
        << WidgetActions{} << "m_btnEdit1" << "Trusted relays" << WidgetActions{Admin::click("m_chkAuth")}
        << "m_addressGroup2" << "Trusted relays" << QStringList{"update antispam set AllowAuth='0'"};
    QTest::newRow("Antispam, a group removed from the blocked list's editor leaves the allowed list")
        << Page::Antispam << "antispam" << Cells{{"AllowAcl", "Office LAN"}, {"AclBlock", ""}}
        << WidgetActions{} << "m_btnEdit2" << "Admin hosts" << WidgetActions{Admin::click("m_chkAuth")}
        << "m_addressGroup" << "Office LAN" << QStringList{"update antispam set AllowAuth='0'"};
    QTest::newRow("Antispam, blocked group not stored, first group removed")
        << Page::Antispam << "antispam" << Cells{{"AclBlock", ""}} << WidgetActions{} << "m_btnEdit2"
        << "Office LAN" << WidgetActions{Admin::click("m_chkAuth")} << "m_addressGroup2" << "Admin hosts"
        << QStringList{"update antispam set AllowAuth='0'"};
    QTest::newRow("Remote, group removed")
        << Page::Remote << "administration" << Cells{{"AdminAcl", "Admin hosts"}} << WidgetActions{} << "m_btnEdit"
        << "Admin hosts" << WidgetActions{Admin::click("m_chkEnable")} << "m_combo" << "Admin hosts"
        << QStringList{"update administration set NetEnabled='0'"};
    QTest::newRow("Remote, another group removed")
        << Page::Remote << "administration" << Cells{{"AdminAcl", "Admin hosts"}} << WidgetActions{} << "m_btnEdit"
        << "Office LAN" << WidgetActions{Admin::click("m_chkEnable")} << "m_combo" << "Admin hosts"
        << QStringList{"update administration set NetEnabled='0'"};
    QTest::newRow("Remote, restriction turned on, the group it showed removed")
        << Page::Remote << "administration" << Cells{{"AdminAcl", ""}} << WidgetActions{Admin::click("m_chkOnly")}
        << "m_btnEdit" << "Office LAN" << WidgetActions{} << "m_combo" << "Admin hosts"
        << QStringList{"update administration set AdminAcl='Admin hosts'"};
}

void tst_StoredSettings::groupBoxRefilledAfterTheEditor()
{
    QFETCH(Page, page);
    QFETCH(QString, table);
    QFETCH(Cells, stored);
    QFETCH(WidgetActions, before);
    QFETCH(QString, editButton);
    QFETCH(QString, removed);
    QFETCH(WidgetActions, after);
    QFETCH(QString, box);
    QFETCH(QString, shown);
    QFETCH(QStringList, pending);

    m_fixture.setCells(table, stored);
    QWidget* built = build(page);
    QVERIFY(built);
    QVERIFY2(performAll(built, before), qPrintable(describe(before)));

    StandIn::TestServer& server = *m_fixture.m_server;
    bool edited = false;
    m_fixture.m_dialogs->answerDialog([&](QDialog*) {
        QList<QStringList> rows = server.rows("ipaccesslist");
        rows.removeIf([&](const QStringList& row) { return row.at(0) == removed; });
        server.setTable("ipaccesslist", server.columns("ipaccesslist"), rows);
        edited = true;
        return int(QDialog::Accepted);
    });
    QVERIFY(perform(built, Admin::click(editButton)));
    QVERIFY(edited);
    auto* refilled = built->findChild<QComboBox*>(box);
    QVERIFY(refilled);
    QVERIFY(refilled->findText(removed) < 0 || refilled->currentText() == removed);
    QCOMPARE(refilled->currentText(), shown);

    QVERIFY2(performAll(built, after), qPrintable(describe(after)));
    QCOMPARE(m_fixture.pending(), pending);
    QCOMPARE(m_fixture.m_ctrl->isEmpty(), pending.isEmpty());
}

QTEST_MAIN(tst_StoredSettings)
#include "tst_storedsettings.moc"
