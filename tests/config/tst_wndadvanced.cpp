#include "configpagefixture.h"
#include "dlggencert.h"
#include "globaldata.h"
#include "pagefactory.h"
#include "qmethoditem.h"
#include "wndadvanced.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using Answers = QList<int>;

// The Advanced Options page on the demo server: reverse lookups, the program name and the
// X-Envelope-To header on, the group "staff" administering public folders; secure
// authentication required except from "Office LAN", CRAM-MD5 switched off among six
// methods; a certificate issued by a root of its own.
class tst_WndAdvanced : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.start(); }
    void cleanup()
    {
        m_fixture.stop();
        globalData.currentDomain.clear();
    }

    void form();
    void formSlots_data();
    void formSlots();
    void registered();
    void showsTheStoredRows();
    void modeEnablesTheExceptions_data();
    void modeEnablesTheExceptions();
    void modeOutsideTheListIsKept_data();
    void modeOutsideTheListIsKept();
    void missingGroupsAreKept();
    void emptyGroupIsKeptUntilChosen_data();
    void emptyGroupIsKeptUntilChosen();
    void emptyGroupIsWrittenWhenItsExceptionIsTurnedOn_data();
    void emptyGroupIsWrittenWhenItsExceptionIsTurnedOn();
    void unlistedDisabledMethodsAreKept_data();
    void unlistedDisabledMethodsAreKept();
    void edits_data();
    void edits();
    void methodsMatchWholeNames();
    void tickingMethods_data();
    void tickingMethods();
    void certificateNameChoice();
    void generateSendsTheCallAndReloads_data();
    void generateSendsTheCallAndReloads();
    void refusedGenerateLeavesTheCertificate();
    void cancelledGenerateSendsNothing();
    void administratorCheck_data();
    void administratorCheck();
    void administratorTablesAreReadOnce();
    void unreadableGroupsLetTheApplyGoOn();
    void editAcceptedRefillsBothGroupBoxes();
    void resetRestoresTheRows();
    void refusedLoadLeavesThePageInert();

private:
    WndAdvanced* build() { return m_fixture.build<WndAdvanced>(static_cast<Desktop*>(nullptr)); }

    static QStringList rowsOf(const QTreeWidget* list)
    {
        QStringList rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            QStringList cells;
            for (int c = 0; c < list->columnCount(); ++c)
                cells.append(item->text(c));
            rows.append(cells.join(u'='));
        }
        return rows;
    }
    // The methods, each "name" ticked or "-name" unticked.
    static QStringList methodsOf(const QTreeWidget* list)
    {
        QStringList methods;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const auto* item = static_cast<const QMethodItem*>(list->topLevelItem(i));
            // The stored state and the tick shown agree; "?" marks where they do not.
            const bool ticked = item->checkState(0) == Qt::Checked;
            methods.append((item->isOn() != ticked ? QStringLiteral("?") : QString())
                           + (ticked ? QString() : QStringLiteral("-")) + item->text(0));
        }
        return methods;
    }
    QTreeWidgetItem* method(WndAdvanced* page, const QString& name)
    {
        const QList<QTreeWidgetItem*> found = page->m_listAuth->findItems(name, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }
    static void choose(QComboBox* box, int index)
    {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    void setMethods(const QStringList& names)
    {
        QList<QStringList> rows;
        for (const QString& name : names)
            rows.append({name, "1"});
        m_fixture.m_server->setTable("authmethods", m_fixture.m_server->columns("authmethods"), rows);
    }
    // Answers the next certificate dialog with these attributes and the country's name.
    void answerGenerate(const QStringList& fields, const QString& country)
    {
        m_fixture.m_dialogs->answerDialog([fields, country](QDialog* dialog) {
            auto* generate = static_cast<DlgGenCert*>(dialog);
            QLineEdit* edits[] = {generate->m_editHostname, generate->m_editOrgName, generate->m_editOrgUnit,
                                  generate->m_editCity, generate->m_editState};
            for (int i = 0; i < 5; ++i)
                edits[i]->setText(fields.at(i));
            generate->m_comboCountry->setCurrentIndex(generate->m_comboCountry->findText(country));
            generate->m_btnOK->click();
            return generate->result();
        });
    }
    QStringList selectsSince(int mark) const
    {
        QStringList selects;
        for (const QString& statement : m_fixture.journalSince(mark)) {
            if (statement.startsWith(QLatin1String("select"), Qt::CaseInsensitive))
                selects.append(statement);
        }
        return selects;
    }

    ConfigPageFixture m_fixture;
};

void tst_WndAdvanced::form()
{
    TWndAdvanced form;
    QCOMPARE(form.objectName(), QStringLiteral("TWndAdvanced"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Advanced Options"));
    QCOMPARE(form.size(), QSize(530, 342));
    QStringList tabs;
    for (int i = 0; i < form.TabWidget3->count(); ++i)
        tabs << form.TabWidget3->tabText(i);
    QCOMPARE(tabs, (QStringList{"Miscellaneous", "Security Policy", "Server SSL Certificate"}));
    QCOMPARE(ConfigPageFixture::entries(form.m_comboSec),
             (QStringList{"No restrictions", "Require secure authentication", "Require encrypted connection"}));
    QCOMPARE(ConfigPageFixture::entries(form.m_combo), (QStringList{"Issuer", "Subject"}));
    QCOMPARE(form.m_list->headerItem()->text(0), QStringLiteral("Field"));
    QCOMPARE(form.m_list->headerItem()->text(1), QStringLiteral("Value"));
    QCOMPARE(form.m_listAuth->columnCount(), 1);
    QCOMPARE(form.m_chkHide->text(),
             QStringLiteral("&Hide local IP (from address group set in antispam) in Received headers"));
    QCOMPARE(form.m_btnGen->text(), QStringLiteral("&Generate Certificate..."));
    QVERIFY(form.TextLabel2->wordWrap());
    QStringList chain{form.TabWidget3->objectName()};
    for (QWidget* widget = form.TabWidget3->nextInFocusChain(); widget != form.TabWidget3;
         widget = widget->nextInFocusChain()) {
        if (widget->objectName().startsWith(QLatin1String("m_")))
            chain << widget->objectName();
    }
    QCOMPARE(chain, (QStringList{"TabWidget3", "m_chkReverse", "m_chkShowName", "m_chkHide", "m_chkInsert",
                                 "m_editAdmin", "m_btnBrowse", "m_comboSec", "m_chkInsecure",
                                 "m_comboInsecure", "m_btnEditInsecure", "m_chkUnenc", "m_comboUnenc",
                                 "m_btnEditUnenc", "m_listAuth", "m_combo", "m_list", "m_btnGen"}));
}

void tst_WndAdvanced::formSlots_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("slot");

    for (const char* box : {"m_chkReverse", "m_chkShowName", "m_chkHide", "m_chkInsert", "m_editAdmin",
                            "m_comboInsecure", "m_comboUnenc"})
        QTest::newRow(box) << box << "slotChanged()";
    for (const char* box : {"m_chkInsecure", "m_chkUnenc", "m_comboSec", "m_combo"})
        QTest::newRow(box) << box << "slotUpdateView()";
    QTest::newRow("m_btnBrowse") << "m_btnBrowse" << "slotSelect()";
    QTest::newRow("m_btnGen") << "m_btnGen" << "slotGen()";
    QTest::newRow("m_btnEditInsecure") << "m_btnEditInsecure" << "slotEditInsecure()";
    QTest::newRow("m_btnEditUnenc") << "m_btnEditUnenc" << "slotEditUnenc()";
}

// Each edit reaches its slot, which on the bare form only complains.
void tst_WndAdvanced::formSlots()
{
    QFETCH(QString, widget);
    QFETCH(QString, slot);
    TWndAdvanced form;
    QWidget* target = form.findChild<QWidget*>(widget);
    QVERIFY(target);
    QTest::ignoreMessage(QtWarningMsg,
                         qPrintable(QStringLiteral("TWndAdvanced::%1: Not implemented yet!").arg(slot)));
    if (auto* button = qobject_cast<QAbstractButton*>(target))
        button->click();
    else if (auto* edit = qobject_cast<QLineEdit*>(target))
        edit->setText("x");
    else if (auto* box = qobject_cast<QComboBox*>(target))
        emit box->activated(0);
}

void tst_WndAdvanced::registered()
{
    QVERIFY(PageFactory::isRegistered(PageKind::AdvancedOptions));
    QCOMPARE(PageFactory::entry(PageKind::AdvancedOptions).title, "Advanced Options");
}

void tst_WndAdvanced::showsTheStoredRows()
{
    const int mark = m_fixture.journalSize();
    WndAdvanced* page = build();
    QCOMPARE(m_fixture.journalSince(mark),
             QStringList({"select ReverseLookup, PublicAdmin, ShowServerName, HideLocalIP, InsertEnvelopeTo from misc",
                          "select Mode, AuthException, AuthAcl, SslException, SslAcl, DisabledMethods from security",
                          "select Name, Value, Desc from ipaccesslist", "select show_certificate()",
                          "select get_auth_methods()"}));
    QVERIFY(page->m_chkReverse->isChecked());
    QVERIFY(page->m_chkShowName->isChecked());
    QVERIFY(!page->m_chkHide->isChecked());
    QVERIFY(page->m_chkInsert->isChecked());
    QCOMPARE(page->m_editAdmin->text(), QStringLiteral("[staff]"));
    QCOMPARE(page->m_comboSec->currentText(), QStringLiteral("Require secure authentication"));
    QVERIFY(page->m_chkInsecure->isChecked());
    QCOMPARE(page->m_comboInsecure->currentText(), QStringLiteral("Office LAN"));
    QVERIFY(!page->m_chkUnenc->isChecked());
    QCOMPARE(page->m_comboUnenc->currentText(), QStringLiteral("Trusted relays"));
    QCOMPARE(ConfigPageFixture::entries(page->m_comboUnenc),
             QStringList({"Office LAN", "Admin hosts", "Trusted relays", "Blocked senders"}));
    QVERIFY(page->m_listAuth->header()->isHidden());
    QCOMPARE(methodsOf(page->m_listAuth),
             QStringList({"PLAIN", "LOGIN", "-CRAM-MD5", "DIGEST-MD5", "NTLM", "GSSAPI"}));
    QCOMPARE(page->m_combo->currentText(), QStringLiteral("Issuer"));
    QCOMPARE(rowsOf(page->m_list),
             QStringList({"C=US", "O=Corvane Example Ltd.", "CN=Corvane Example Root"}));
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_WndAdvanced::modeEnablesTheExceptions_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("authException");
    QTest::addColumn<QString>("sslException");
    QTest::addColumn<QString>("shown");
    // Enabled: the insecure check box, its group box, the unencrypted check box, its box.
    QTest::addColumn<QList<bool>>("enabled");

    QTest::newRow("no restrictions") << "0" << "1" << "1" << "No restrictions"
                                     << QList<bool>{false, false, false, false};
    QTest::newRow("secure authentication") << "1" << "1" << "1" << "Require secure authentication"
                                           << QList<bool>{true, true, false, false};
    QTest::newRow("encrypted connection") << "2" << "1" << "1" << "Require encrypted connection"
                                          << QList<bool>{true, true, true, true};
    QTest::newRow("encrypted, exceptions off") << "2" << "0" << "0" << "Require encrypted connection"
                                               << QList<bool>{true, false, true, false};
}

void tst_WndAdvanced::modeEnablesTheExceptions()
{
    QFETCH(QString, mode);
    QFETCH(QString, authException);
    QFETCH(QString, sslException);
    QFETCH(QString, shown);
    QFETCH(QList<bool>, enabled);
    m_fixture.setCells("security", {{"Mode", mode}, {"AuthException", authException}, {"SslException", sslException}});
    WndAdvanced* page = build();
    QCOMPARE(page->m_comboSec->currentText(), shown);
    QCOMPARE(QList<bool>({page->m_chkInsecure->isEnabled(), page->m_comboInsecure->isEnabled(),
                          page->m_chkUnenc->isEnabled(), page->m_comboUnenc->isEnabled()}),
             enabled);
    QVERIFY(page->m_btnEditInsecure->isEnabled());
    QVERIFY(page->m_btnEditUnenc->isEnabled());
}

// A mode the box has no entry for is written only once the administrator chooses another
// entry than the one it shows: choosing that one again changes nothing the box shows.
void tst_WndAdvanced::modeOutsideTheListIsKept_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<bool>("unencryptedEnabled");
    QTest::addColumn<QStringList>("pending");

    const QString reverse = QStringLiteral("update misc set ReverseLookup='0'");
    QTest::newRow("another entry") << 2 << true
                                   << QStringList{reverse, "update security set Mode='2'"};
    QTest::newRow("the entry shown") << 0 << false << QStringList{reverse};
}

void tst_WndAdvanced::modeOutsideTheListIsKept()
{
    QFETCH(int, chosen);
    QFETCH(bool, unencryptedEnabled);
    QFETCH(QStringList, pending);
    m_fixture.setCells("security", {{"Mode", "7"}});
    WndAdvanced* page = build();
    QCOMPARE(page->m_comboSec->currentText(), QStringLiteral("No restrictions"));
    QVERIFY(!page->m_chkInsecure->isEnabled());
    page->m_chkReverse->click();
    QCOMPARE(m_fixture.pending(), QStringList{"update misc set ReverseLookup='0'"});

    choose(page->m_comboSec, chosen);
    QCOMPARE(m_fixture.pending(), pending);
    QCOMPARE(page->m_chkUnenc->isEnabled(), unencryptedEnabled);

    // Reset shows the stored mode again, kept as before.
    m_fixture.m_ctrl->reset();
    page->m_chkReverse->click();
    QCOMPARE(m_fixture.pending(), QStringList{"update misc set ReverseLookup='0'"});
}

void tst_WndAdvanced::missingGroupsAreKept()
{
    m_fixture.setCells("security", {{"AuthAcl", "Old partners"}});
    WndAdvanced* page = build();
    QCOMPARE(page->m_comboInsecure->currentText(), QStringLiteral("Old partners"));
    QCOMPARE(ConfigPageFixture::entries(page->m_comboInsecure),
             QStringList({"Office LAN", "Admin hosts", "Trusted relays", "Blocked senders", "Old partners"}));
    page->m_chkInsert->click();
    QCOMPARE(m_fixture.pending(), QStringList({"update misc set InsertEnvelopeTo='0'"}));

    choose(page->m_comboInsecure, 2);
    QCOMPARE(m_fixture.pending().last(),
             QStringLiteral("update security set AuthAcl='Trusted relays'"));
}

// An exception without a group shows the first group, which stands in until the
// administrator chooses another group; edits elsewhere, turning the exception off among
// them, write no group.
void tst_WndAdvanced::emptyGroupIsKeptUntilChosen_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("column");

    QTest::newRow("insecure authentication") << "m_comboInsecure" << "AuthAcl";
    QTest::newRow("unencrypted connections") << "m_comboUnenc" << "SslAcl";
}

void tst_WndAdvanced::emptyGroupIsKeptUntilChosen()
{
    QFETCH(QString, box);
    QFETCH(QString, column);
    m_fixture.setCells("security",
                       {{"Mode", "2"}, {"AuthException", "1"}, {"SslException", "1"}, {column, ""}});
    WndAdvanced* page = build();
    auto* groups = page->findChild<QComboBox*>(box);
    QCOMPARE(groups->currentText(), QStringLiteral("Office LAN"));
    page->m_chkInsert->click();
    page->m_chkInsecure->click();
    page->m_chkUnenc->click();
    choose(page->m_comboSec, 2);
    QCOMPARE(m_fixture.pending().size(), 2);
    QVERIFY(!m_fixture.pending().last().contains(column));

    choose(groups, 0);
    QVERIFY(!m_fixture.pending().last().contains(column));
    choose(groups, 1);
    QVERIFY(m_fixture.pending().last().contains(QStringLiteral("%1='Admin hosts'").arg(column)));
}

// Turning an exception on with no group stored allows it from the group the box shows:
// that group is written with it, and the box shows afterwards what the server holds.
// Turned off again, the box stands in again and nothing is left to send.
void tst_WndAdvanced::emptyGroupIsWrittenWhenItsExceptionIsTurnedOn_data()
{
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("insecure authentication turned on")
        << "m_chkInsecure" << "m_comboInsecure" << "AuthAcl" << 1
        << QStringList{"update security set AuthException='1', AuthAcl='Office LAN'"};
    QTest::newRow("unencrypted connections turned on")
        << "m_chkUnenc" << "m_comboUnenc" << "SslAcl" << 1
        << QStringList{"update security set SslException='1', SslAcl='Office LAN'"};
    QTest::newRow("insecure authentication turned on and off")
        << "m_chkInsecure" << "m_comboInsecure" << "AuthAcl" << 2 << QStringList{};
    QTest::newRow("unencrypted connections turned on and off")
        << "m_chkUnenc" << "m_comboUnenc" << "SslAcl" << 2 << QStringList{};
}

void tst_WndAdvanced::emptyGroupIsWrittenWhenItsExceptionIsTurnedOn()
{
    QFETCH(QString, check);
    QFETCH(QString, box);
    QFETCH(QString, column);
    QFETCH(int, clicks);
    QFETCH(QStringList, pending);
    m_fixture.setCells("security",
                       {{"Mode", "2"}, {"AuthException", "0"}, {"SslException", "0"}, {column, ""}});
    WndAdvanced* page = build();
    auto* groups = page->findChild<QComboBox*>(box);
    QCOMPARE(groups->currentText(), QStringLiteral("Office LAN"));
    for (int i = 0; i < clicks; ++i)
        page->findChild<QCheckBox*>(check)->click();
    QCOMPARE(m_fixture.pending(), pending);
    if (pending.isEmpty())
        return;

    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QCOMPARE(m_fixture.storedCell("security", column), QStringLiteral("Office LAN"));
    QCOMPARE(groups->currentText(), QStringLiteral("Office LAN"));
    // What the box shows is now stored: edits elsewhere leave it alone.
    page->m_chkInsert->click();
    QCOMPARE(m_fixture.pending(), QStringList{"update misc set InsertEnvelopeTo='0'"});
}

// Names the server's method list does not show stay in DisabledMethods.
void tst_WndAdvanced::unlistedDisabledMethodsAreKept_data()
{
    QTest::addColumn<QString>("name"); // the method ticked or unticked; empty: another edit
    QTest::addColumn<bool>("on");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("an unrelated edit")
        << "" << false << QStringList{"update misc set HideLocalIP='1'"};
    QTest::newRow("untick the first")
        << "PLAIN" << false
        << QStringList{"update misc set HideLocalIP='1'",
                       "update security set DisabledMethods='PLAIN,CRAM-MD5,X-LEGACY, NTLMv1'"};
    QTest::newRow("tick the listed one")
        << "CRAM-MD5" << true
        << QStringList{"update misc set HideLocalIP='1'",
                       "update security set DisabledMethods='X-LEGACY, NTLMv1'"};
}

void tst_WndAdvanced::unlistedDisabledMethodsAreKept()
{
    QFETCH(QString, name);
    QFETCH(bool, on);
    QFETCH(QStringList, pending);
    m_fixture.setCells("security", {{"DisabledMethods", "X-LEGACY,CRAM-MD5, NTLMv1"}});
    WndAdvanced* page = build();
    QCOMPARE(methodsOf(page->m_listAuth),
             QStringList({"PLAIN", "LOGIN", "-CRAM-MD5", "DIGEST-MD5", "NTLM", "GSSAPI"}));
    page->m_chkHide->click();
    if (!name.isEmpty())
        method(page, name)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    QCOMPARE(m_fixture.pending(), pending);
}

void tst_WndAdvanced::edits_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("reverse lookup") << "m_chkReverse" << QStringList{"update misc set ReverseLookup='0'"};
    QTest::newRow("program name") << "m_chkShowName" << QStringList{"update misc set ShowServerName='0'"};
    QTest::newRow("hide local IP") << "m_chkHide" << QStringList{"update misc set HideLocalIP='1'"};
    QTest::newRow("envelope header") << "m_chkInsert" << QStringList{"update misc set InsertEnvelopeTo='0'"};
    QTest::newRow("insecure exception")
        << "m_chkInsecure" << QStringList{"update security set AuthException='0'"};
}

void tst_WndAdvanced::edits()
{
    QFETCH(QString, box);
    QFETCH(QStringList, pending);
    WndAdvanced* page = build();
    auto* check = page->findChild<QCheckBox*>(box);
    check->click();
    QCOMPARE(m_fixture.pending(), pending);
    check->click();
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_WndAdvanced::methodsMatchWholeNames()
{
    setMethods({"PLAIN", "MD5", "CRAM-MD5"});
    WndAdvanced* page = build();
    QCOMPARE(methodsOf(page->m_listAuth), QStringList({"PLAIN", "MD5", "-CRAM-MD5"}));
    page->m_editAdmin->setText("[support]");
    QCOMPARE(m_fixture.pending(), QStringList{"update misc set PublicAdmin='[support]'"});

    method(page, "MD5")->setCheckState(0, Qt::Unchecked);
    QCOMPARE(m_fixture.pending().last(), QStringLiteral("update security set DisabledMethods='MD5,CRAM-MD5'"));
}

void tst_WndAdvanced::tickingMethods_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("tick the disabled one") << "CRAM-MD5" << true
                                           << QStringList{"update security set DisabledMethods=''"};
    QTest::newRow("untick the first") << "PLAIN" << false
                                      << QStringList{"update security set DisabledMethods='PLAIN,CRAM-MD5'"};
    QTest::newRow("untick the last") << "GSSAPI" << false
                                     << QStringList{"update security set DisabledMethods='CRAM-MD5,GSSAPI'"};
}

void tst_WndAdvanced::tickingMethods()
{
    QFETCH(QString, name);
    QFETCH(bool, on);
    QFETCH(QStringList, pending);
    WndAdvanced* page = build();
    QTreeWidgetItem* item = method(page, name);
    QVERIFY(item);
    item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    QCOMPARE(m_fixture.pending(), pending);
    item->setCheckState(0, on ? Qt::Unchecked : Qt::Checked);
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_WndAdvanced::certificateNameChoice()
{
    WndAdvanced* page = build();
    choose(page->m_combo, 1);
    QCOMPARE(rowsOf(page->m_list), QStringList({"C=US", "ST=Texas", "L=Austin", "O=Corvane Example Ltd.",
                                                "OU=Mail", "CN=mail.corvane.example"}));
    QVERIFY(m_fixture.pending().isEmpty());
    choose(page->m_combo, 0);
    QCOMPARE(rowsOf(page->m_list).size(), 3);
    QVERIFY(m_fixture.pending().isEmpty());

    // An edit made before the switch is written and stays pending.
    page->m_chkHide->click();
    choose(page->m_combo, 1);
    QCOMPARE(m_fixture.pending(), QStringList{"update misc set HideLocalIP='1'"});
    QVERIFY(page->m_chkHide->isChecked());
}

void tst_WndAdvanced::generateSendsTheCallAndReloads_data()
{
    QTest::addColumn<QStringList>("fields"); // host, organization, unit, city, state
    QTest::addColumn<QString>("country");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QStringList>("subject");

    QTest::newRow("unit before organization")
        << QStringList{"mx.corvane.example", "Corvane", "IT", "Leeds", "Yorkshire"} << "United Kingdom"
        << "SELECT create_certificate(\"mx.corvane.example\", \"IT\", \"Corvane\", \"Leeds\", \"Yorkshire\", \"UK\")"
        << QStringList{"C=UK", "ST=Yorkshire", "L=Leeds", "O=Corvane", "OU=IT", "CN=mx.corvane.example"};
    QTest::newRow("a double quote escaped")
        << QStringList{"mail", "The \"Raven\" Inn", "", "", ""} << "United States"
        << "SELECT create_certificate(\"mail\", \"\", \"The \\\"Raven\\\" Inn\", \"\", \"\", \"US\")"
        << QStringList{"C=US", "O=The \"Raven\" Inn", "CN=mail"};
}

void tst_WndAdvanced::generateSendsTheCallAndReloads()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, country);
    QFETCH(QString, call);
    QFETCH(QStringList, subject);
    WndAdvanced* page = build();
    page->m_chkHide->click();
    answerGenerate(fields, country);
    const int mark = m_fixture.journalSize();

    page->m_btnGen->click();

    QCOMPARE(m_fixture.m_dialogs->dialogs.size(), 1);
    QCOMPARE(m_fixture.m_dialogs->dialogs.first().caption, QStringLiteral("Generate Certificate"));
    QCOMPARE(m_fixture.journalSince(mark), QStringList({call, "select show_certificate()"}));
    QCOMPARE(m_fixture.messageTexts(),
             QStringList{"New certificate generated.\nYou should re-start Ornel Corvane now."});
    const DialogRecorder::Message& message = m_fixture.m_dialogs->messages.first();
    QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(message.icon, QMessageBox::Information);
    QCOMPARE(message.buttons, QMessageBox::Ok);
    QVERIFY(message.parent.isNull());
    // Self-signed: the issuer shown is the new subject.
    QCOMPARE(rowsOf(page->m_list), subject);
    choose(page->m_combo, 1);
    QCOMPARE(rowsOf(page->m_list), subject);
    // Generating takes effect at once; the pending edit is left as it was.
    QCOMPARE(m_fixture.pending(), QStringList{"update misc set HideLocalIP='1'"});
}

void tst_WndAdvanced::refusedGenerateLeavesTheCertificate()
{
    m_fixture.m_server->refuse(QStringLiteral("create_certificate"), 111);
    WndAdvanced* page = build();
    answerGenerate({"mail", "", "", "", ""}, "Germany");
    const int mark = m_fixture.journalSize();

    page->m_btnGen->click();

    QCOMPARE(m_fixture.journalSince(mark),
             QStringList{"SELECT create_certificate(\"mail\", \"\", \"\", \"\", \"\", \"DE\")"});
    QCOMPARE(m_fixture.messageTexts(), QStringList{"Operation failed."});
    QCOMPARE(m_fixture.m_dialogs->messages.first().caption, QStringLiteral("Error"));
    QCOMPARE(m_fixture.m_dialogs->messages.first().icon, QMessageBox::Warning);
    QCOMPARE(rowsOf(page->m_list), QStringList({"C=US", "O=Corvane Example Ltd.", "CN=Corvane Example Root"}));
}

void tst_WndAdvanced::cancelledGenerateSendsNothing()
{
    WndAdvanced* page = build();
    const int mark = m_fixture.journalSize();
    m_fixture.m_dialogs->answerDialog(int(QDialog::Rejected));
    page->m_btnGen->click();
    QCOMPARE(m_fixture.m_dialogs->dialogs.size(), 1);
    QVERIFY(m_fixture.journalSince(mark).isEmpty());
    QVERIFY(m_fixture.messageTexts().isEmpty());
}

void tst_WndAdvanced::administratorCheck_data()
{
    QTest::addColumn<QString>("currentDomain");
    QTest::addColumn<QString>("admin");
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("read"); // the table the check read, empty for none
    QTest::addColumn<bool>("sent");

    const int yes = QMessageBox::Yes, no = QMessageBox::No, cancel = QMessageBox::Cancel;
    QTest::newRow("empty: no check, no load") << "" << "" << Answers{} << false << "" << true;
    QTest::newRow("group without its bracket") << "" << "[staff" << Answers{} << false << "group" << true;
    QTest::newRow("group") << "" << "[Managers]" << Answers{} << false << "group" << true;
    QTest::newRow("group of another domain, cut with its bracket")
        << "" << "[sales@lakeside.example]" << Answers{yes} << true << "group" << false;
    QTest::newRow("the same in that domain") << "lakeside.example" << "[sales@lakeside.example]" << Answers{}
                                             << false << "group" << true;
    QTest::newRow("user") << "" << "alice" << Answers{} << false << "user" << true;
    QTest::newRow("user, domain dropped") << "" << "alice@anywhere.example" << Answers{} << false << "user"
                                          << true;
    QTest::newRow("unknown user, Yes") << "" << "john@x" << Answers{yes} << true << "user" << false;
    QTest::newRow("unknown user, Cancel") << "" << "john@x" << Answers{cancel} << true << "user" << false;
    QTest::newRow("unknown user, No") << "" << "john@x" << Answers{no} << true << "user" << true;
    QTest::newRow("at sign first: an empty user") << "" << "@corvane.example" << Answers{yes} << true << "user"
                                                  << false;
    QTest::newRow("case counts") << "" << "[STAFF]" << Answers{yes} << true << "group" << false;
}

void tst_WndAdvanced::administratorCheck()
{
    QFETCH(QString, currentDomain);
    QFETCH(QString, admin);
    QFETCH(Answers, answers);
    QFETCH(bool, asked);
    QFETCH(QString, read);
    QFETCH(bool, sent);
    WndAdvanced* page = build();
    globalData.currentDomain = currentDomain;
    page->m_editAdmin->setText(admin);
    page->m_chkHide->click(); // something to send in every row
    page->m_chkHide->setFocus();
    for (int answer : answers)
        m_fixture.m_dialogs->answer(answer);
    const int mark = m_fixture.journalSize();

    const ApplyOutcome outcome = m_fixture.apply();

    const QString question =
        QStringLiteral("Public folder administrator should be user or group!\nDo you want to correct the problem?");
    QCOMPARE(m_fixture.messageTexts(), asked ? QStringList{question} : QStringList{});
    if (asked) {
        const DialogRecorder::Message& message = m_fixture.m_dialogs->messages.first();
        QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
        QCOMPARE(message.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }
    QStringList reads;
    if (!read.isEmpty())
        reads.append(read);
    QStringList selected;
    for (const QString& select : selectsSince(mark))
        selected.append(select.section(QLatin1String(" from "), 1));
    QCOMPARE(selected, reads);
    QCOMPARE(outcome, sent ? ApplyOutcome::Applied : ApplyOutcome::Withdrawn);
    QCOMPARE(m_fixture.journalSince(mark).size() - selected.size(), sent ? 1 : 0);
    if (!sent) {
        QCOMPARE(m_fixture.focusedWidget(), page->m_editAdmin);
        QVERIFY(m_fixture.pending().isEmpty());
        m_fixture.m_ctrl->update_again();
        QCOMPARE(m_fixture.pending().size(), 1);
    }
}

void tst_WndAdvanced::administratorTablesAreReadOnce()
{
    WndAdvanced* page = build();
    page->m_editAdmin->setText("john");
    m_fixture.m_dialogs->answer(QMessageBox::No);
    int mark = m_fixture.journalSize();
    m_fixture.apply();
    QCOMPARE(selectsSince(mark).size(), 1);

    page->m_editAdmin->setText("alice");
    mark = m_fixture.journalSize();
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QVERIFY(selectsSince(mark).isEmpty());

    // The picker finds the users read already and reads only the rest.
    mark = m_fixture.journalSize();
    m_fixture.m_dialogs->answerDialog(int(QDialog::Rejected));
    page->m_btnBrowse->click();
    const QStringList picker = selectsSince(mark);
    QCOMPARE(picker.size(), 2);
    QVERIFY(picker.at(0).endsWith(QLatin1String(" from domain")));
    QVERIFY(picker.at(1).endsWith(QLatin1String(" from group")));
}

void tst_WndAdvanced::unreadableGroupsLetTheApplyGoOn()
{
    WndAdvanced* page = build();
    m_fixture.m_server->refuse(QStringLiteral("from group"), 109);
    page->m_editAdmin->setText("[nobody]");
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QCOMPARE(m_fixture.messageTexts(), QStringList{"Query failed: Table does not exists"});
    QCOMPARE(m_fixture.storedCell("misc", "PublicAdmin"), QStringLiteral("[nobody]"));
}

void tst_WndAdvanced::editAcceptedRefillsBothGroupBoxes()
{
    WndAdvanced* page = build();
    QString shownGroup;
    m_fixture.m_dialogs->answerDialog([&](QDialog* dialog) {
        shownGroup = dialog->findChild<QComboBox*>()->currentText();
        QList<QStringList> rows = m_fixture.m_server->rows("ipaccesslist");
        rows.append({"Partners", "198.51.100.0/24", ""});
        m_fixture.m_server->setTable("ipaccesslist", m_fixture.m_server->columns("ipaccesslist"), rows);
        return int(QDialog::Accepted);
    });
    page->m_btnEditUnenc->click();
    QCOMPARE(shownGroup, QStringLiteral("Trusted relays"));
    const QStringList groups{"Office LAN", "Admin hosts", "Trusted relays", "Blocked senders", "Partners"};
    QCOMPARE(ConfigPageFixture::entries(page->m_comboInsecure), groups);
    QCOMPARE(ConfigPageFixture::entries(page->m_comboUnenc), groups);
    QCOMPARE(page->m_comboInsecure->currentText(), QStringLiteral("Office LAN"));
    QCOMPARE(page->m_comboUnenc->currentText(), QStringLiteral("Trusted relays"));
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_WndAdvanced::resetRestoresTheRows()
{
    WndAdvanced* page = build();
    choose(page->m_comboSec, 2);
    page->m_chkUnenc->click();
    method(page, "PLAIN")->setCheckState(0, Qt::Unchecked);
    page->m_editAdmin->setText("alice");
    QCOMPARE(m_fixture.pending().size(), 2);

    m_fixture.m_ctrl->reset();

    QVERIFY(m_fixture.pending().isEmpty());
    QCOMPARE(page->m_comboSec->currentIndex(), 1);
    QVERIFY(!page->m_chkUnenc->isChecked());
    QVERIFY(!page->m_chkUnenc->isEnabled());
    QCOMPARE(page->m_editAdmin->text(), QStringLiteral("[staff]"));
    QCOMPARE(methodsOf(page->m_listAuth),
             QStringList({"PLAIN", "LOGIN", "-CRAM-MD5", "DIGEST-MD5", "NTLM", "GSSAPI"}));
}

void tst_WndAdvanced::refusedLoadLeavesThePageInert()
{
    m_fixture.m_server->refuse(QStringLiteral("get_auth_methods"), 110);
    WndAdvanced* page = build();
    QCOMPARE(m_fixture.messageTexts().size(), 1);
    QCOMPARE(page->m_listAuth->topLevelItemCount(), 0);
    QVERIFY(page->m_editAdmin->text().isEmpty());
    page->m_chkReverse->click();
    choose(page->m_comboSec, 2);
    QVERIFY(m_fixture.pending().isEmpty());
    page->m_btnGen->click();
    page->m_btnBrowse->click();
    QVERIFY(m_fixture.m_dialogs->dialogs.isEmpty());
}

QTEST_MAIN(tst_WndAdvanced)
#include "tst_wndadvanced.moc"
