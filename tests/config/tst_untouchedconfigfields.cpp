// The antispam and antivirus rules (their dialogs and the check boxes of their list entries)
// and the service properties, swept over stored values their widgets cannot show exactly
// (dialogsweep.h): another field edited leaves the value as stored; the value's own widget
// writes what it shows and turns Apply on.

#include "configpagefixture.h"
#include "dialogsweep.h"
#include "wndantispam.h"
#include "wndavir.h"
#include "wndservice.h"

#include <QtTest>

using namespace StandIn;

namespace {

const QString Antispam = QStringLiteral("antispam rule");
const QString Antivirus = QStringLiteral("antivirus rule");
const QString Service = QStringLiteral("service");

SweptRow antispamRule()
{
    SweptRow swept;
    swept.row = {"HeaderFilter",
                 {{"header", TypeString, true}, {"type", TypeInt, true}, {"content", TypeString, true},
                  {"enabled", TypeInt, false}},
                 {"Subject", "4", "free money", "1"},
                 {"header", "type", "content"}};
    swept.path = {"m_list", "m_btnEdit", "m_rbtnOK", {}, {}};
    // The header: the content field is hidden for the tests that look for no text.
    swept.other = {Admin::type("m_comboHeader", "Reply-To")};
    swept.otherWrites = "header='Reply-To'";
    swept.otherColumn = "header";
    swept.otherAlt = {Admin::type("m_editContent", "free cash")};
    swept.otherAltWrites = "content='free cash'";
    swept.listColumn = "enabled";
    return swept;
}

SweptRow antivirusRule()
{
    SweptRow swept;
    swept.row = {"AttachFilter",
                 {{"type", TypeInt, true}, {"pattern", TypeString, true}, {"action", TypeInt, true},
                  {"enabled", TypeInt, false}, {"order", TypeInt, false}},
                 {"0", "*.exe", "1", "1", "1"},
                 {"type", "pattern", "action"}};
    swept.path = {"m_list", "m_btnEdit", "m_btnOK", {}, {}};
    swept.other = {Admin::type("m_comboContent", "*.scr")};
    swept.otherWrites = "pattern='*.scr'";
    swept.otherColumn = "pattern";
    swept.otherAlt = {Admin::click("m_rbtnAccept")};
    swept.otherAltWrites = "action='0'";
    swept.listColumn = "enabled";
    return swept;
}

// POP3, the second service: its address groups are offered (SMTP's are not). Stopped, so that
// a port change asks nothing.
SweptRow pop3Service()
{
    SweptRow swept;
    swept.row = {"service-pop3",
                 {{"name", TypeString, true}, {"fullname", TypeString, false},
                  {"defaultport", TypePort, false}, {"port", TypePort, false},
                  {"autostart", TypeInt, false}, {"acl", TypeString, false},
                  {"group", TypeString, false}, {"running", TypeInt, false}},
                 {"POP3", "POP3 Server", "110", "110", "1", "", "Mail", "0"},
                 {}};
    // The list shows the services in their own order: the page makes POP3 current.
    swept.path = {{}, "m_btnProp", "m_btnOK", {}, {}};
    swept.other = {Admin::choose("m_comboStartup", "Manual")};
    swept.otherWrites = "autostart='0'";
    swept.otherColumn = "autostart";
    swept.otherAlt = {Admin::type("m_editPort", "1110")};
    swept.otherAltWrites = "port='1110'";
    return swept;
}

SweptRow swept(const QString& kind)
{
    if (kind == Antispam)
        return antispamRule();
    if (kind == Antivirus)
        return antivirusRule();
    return pop3Service();
}

// A rule list rebuilt as a column change rebuilds it: every entry made anew from its row.
WidgetAction rebuild(const QString& column)
{
    return Admin::columns("slotCols", column);
}

} // namespace

class tst_UntouchedConfigFields : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() { m_fixture.start(); }
    void cleanup() { m_fixture.stop(); }

    void otherFieldEditedKeepsTheStoredText_data() { sweep(); }
    void otherFieldEditedKeepsTheStoredText();
    void ownWidgetWritesWhatItShows_data() { sweep(); }
    void ownWidgetWritesWhatItShows();

private:
    static void sweep();
    // The row stored, then its page built; null when it did not load.
    QWidget* storeAndBuild(const QString& kind, const StoredRow& row);

    ConfigPageFixture m_fixture;
};

void tst_UntouchedConfigFields::sweep()
{
    using namespace Admin;
    using DialogSweep::addRow;
    DialogSweep::addColumns();

    // The antispam rule's dialog: the test, the header, the content.
    addRow(Antispam, "type", TypeInt, "9", {choose("m_comboType", "contains substring")}, "4");
    addRow(Antispam, "type", TypeString, "04", {choose("m_comboType", "contains address with domain")}, "3");
    addRow(Antispam, "type", TypeInt, "", {choose("m_comboType", "contains substring")}, "4");
    addRow(Antispam, "type", TypeString, "sub", {choose("m_comboType", "is missing")}, "1");
    addRow(Antispam, "header", TypeString, "X-Spam-Flag", {choose("m_comboHeader", "From")}, "From");
    addRow(Antispam, "header", TypeString, "", {type("m_comboHeader", "Subject")}, "Subject");
    addRow(Antispam, "content", TypeString, "", {type("m_editContent", "cash")}, "cash");
    // The rule's check box in the list, also across a rebuild of the list.
    const WidgetAction subject = toggle("m_list", "Subject");
    addRow(Antispam, "enabled", TypeInt, "2", {subject}, "0");
    addRow(Antispam, "enabled", TypeInt, "2", {subject, rebuild("Content"), subject}, "2");
    addRow(Antispam, "enabled", TypeInt, "2", {subject, rebuild("Content")}, "0");
    addRow(Antispam, "enabled", TypeInt, "-1", {subject, rebuild("Type"), subject}, "-1");
    addRow(Antispam, "enabled", TypeInt, "", {subject}, "1");
    addRow(Antispam, "enabled", TypeInt, "", {subject, rebuild("Content"), subject}, "");
    addRow(Antispam, "enabled", TypeString, "yes", {subject, rebuild("Content"), subject}, "yes");
    addRow(Antispam, "enabled", TypeString, "yes", {subject}, "1");

    // The antivirus rule's dialog: the kind, the pattern, the action.
    addRow(Antivirus, "type", TypeInt, "5", {choose("m_comboType", "File name")}, "0");
    addRow(Antivirus, "type", TypeString, "", {choose("m_comboType", "MIME type")}, "1");
    addRow(Antivirus, "pattern", TypeString, "*.ex?", {choose("m_comboContent", "*.com")}, "*.com");
    addRow(Antivirus, "pattern", TypeString, "", {type("m_comboContent", "*.pif")}, "*.pif");
    addRow(Antivirus, "action", TypeInt, "7", {click("m_rbtnAccept")}, "0");
    addRow(Antivirus, "action", TypeInt, "7", {click("m_rbtnAccept"), click("m_rbtnBlock")}, "7");
    addRow(Antivirus, "action", TypeInt, "-1", {click("m_rbtnAccept")}, "0");
    addRow(Antivirus, "action", TypeString, "", {click("m_rbtnBlock")}, "1");
    // The rule's check box, named by its kind in the first column.
    const WidgetAction fileName = toggle("m_list", "File name");
    addRow(Antivirus, "enabled", TypeInt, "2", {fileName}, "0");
    addRow(Antivirus, "enabled", TypeInt, "2", {fileName, rebuild("Action"), fileName}, "2");
    addRow(Antivirus, "enabled", TypeString, "", {fileName, rebuild("Content"), fileName}, "");
    addRow(Antivirus, "enabled", TypeString, "", {fileName}, "1");

    // The service's properties: the startup, the address group, the port.
    addRow(Service, "autostart", TypeInt, "2", {choose("m_comboStartup", "Automatic")}, "1");
    addRow(Service, "autostart", TypeInt, "2",
           {choose("m_comboStartup", "Automatic"), choose("m_comboStartup", "Manual")}, "2");
    addRow(Service, "autostart", TypeInt, "", {choose("m_comboStartup", "Automatic")}, "1");
    addRow(Service, "autostart", TypeString, "01", {choose("m_comboStartup", "Manual")}, "0");
    addRow(Service, "acl", TypeString, "Gone group", {click("m_chkOnlyAddressGroup")}, "");
    addRow(Service, "acl", TypeString, "", {click("m_chkOnlyAddressGroup")}, "Office LAN");
    addRow(Service, "acl", TypeString, "Admin hosts", {choose("m_comboAddressGroup", "Trusted relays")},
           "Trusted relays");
    addRow(Service, "port", TypeString, "abc", {type("m_editPort", "1110")}, "1110");
    addRow(Service, "port", TypeString, "", {type("m_editPort", "995")}, "995");
}

QWidget* tst_UntouchedConfigFields::storeAndBuild(const QString& kind, const StoredRow& row)
{
    row.install(*m_fixture.m_server);
    if (kind == Antispam) {
        // This page takes the workspace before the controller.
        auto* page = new WndAntispam(m_fixture.m_container.get(), m_fixture.m_conn->get(), nullptr,
                                     m_fixture.m_ctrl.get(), nullptr, Qt::WindowFlags());
        m_fixture.m_container->show();
        return page->isReady() ? page : nullptr;
    }
    if (kind == Antivirus) {
        // No question at Apply about rules that are all off.
        m_fixture.setCells("antivir", {{"FilterEnabled", "0"}});
        auto* page = m_fixture.build<WndAvir>(static_cast<Desktop*>(nullptr));
        return page->isReady() ? page : nullptr;
    }
    auto* page = m_fixture.build<WndService>(static_cast<Desktop*>(nullptr));
    page->m_list->setCurrentItem(page->serviceItem(1));
    return page->serviceItem(1) ? page : nullptr;
}

void tst_UntouchedConfigFields::otherFieldEditedKeepsTheStoredText()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(int, type);
    QFETCH(QString, stored);
    const SweptRow swept = ::swept(kind);
    const StoredRow row = swept.row.with(column, stored, type);
    QWidget* page = storeAndBuild(kind, row);
    QVERIFY(page);
    QCOMPARE(m_fixture.pending(), QStringList());

    QVERIFY(DialogSweep::editThroughDialog(page, swept.path, swept.otherEdit(column), *m_fixture.m_dialogs));
    const int mark = m_fixture.journalSize();
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QCOMPARE(m_fixture.journalSince(mark), swept.otherStatements(row, column));
}

void tst_UntouchedConfigFields::ownWidgetWritesWhatItShows()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(int, type);
    QFETCH(QString, stored);
    QFETCH(WidgetActions, action);
    QFETCH(QString, written);
    const SweptRow swept = ::swept(kind);
    const StoredRow row = swept.row.with(column, stored, type);
    QWidget* page = storeAndBuild(kind, row);
    QVERIFY(page);

    if (column == swept.listColumn) {
        QVERIFY(performAll(page, action, m_fixture.m_dialogs.get()));
    } else {
        QVERIFY(DialogSweep::editThroughDialog(page, swept.path, action, *m_fixture.m_dialogs));
    }
    const QStringList expected = DialogSweep::ownStatements(row, column, written);
    // Apply is on exactly when something is pending: a change of the column's own widget
    // turns it on, one that ends where the stored text showed leaves it off.
    QCOMPARE(m_fixture.pending(), expected);
    if (expected.isEmpty())
        return;
    const int mark = m_fixture.journalSize();
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QCOMPARE(m_fixture.journalSince(mark), expected);
}

QTEST_MAIN(tst_UntouchedConfigFields)
#include "tst_untouchedconfigfields.moc"
