#include "configpagefixture.h"
#include "wndremote.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

// The Remote Administration page on the demo server: administration from the network only
// from the group "Admin hosts"; the groups are "Office LAN", "Admin hosts", "Trusted relays"
// and "Blocked senders".
class tst_WndRemote : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.start(); }
    void cleanup() { m_fixture.stop(); }

    void showsTheStoredRow_data();
    void showsTheStoredRow();
    void checkBoxClickedTwiceLeavesNothingPending_data();
    void checkBoxClickedTwiceLeavesNothingPending();
    void groupChoice_data();
    void groupChoice();
    void missingGroupIsKept();
    void editAccepted();
    void editCancelled();
    void resetRestoresTheChecksAndTheirEnabling();
    void applyCommits();
    void refusedLoadLeavesThePageInert();

private:
    WndRemote* build() { return m_fixture.build<WndRemote>(static_cast<Desktop*>(nullptr)); }
    static void choose(QComboBox* box, const QString& text)
    {
        const int index = box->findText(text);
        QVERIFY(index >= 0);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    ConfigPageFixture m_fixture;
};

void tst_WndRemote::showsTheStoredRow_data()
{
    QTest::addColumn<QString>("netEnabled");
    QTest::addColumn<QString>("adminAcl");
    QTest::addColumn<bool>("enable");
    QTest::addColumn<bool>("only");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("onlyEnabled");
    QTest::addColumn<bool>("groupEnabled");

    QTest::newRow("restricted") << "1" << "Admin hosts" << true << true << "Admin hosts" << true << true;
    QTest::newRow("unrestricted") << "1" << "" << true << false << "Office LAN" << true << false;
    QTest::newRow("off") << "0" << "" << false << false << "Office LAN" << false << false;
    QTest::newRow("off, group kept") << "0" << "Trusted relays" << false << true << "Trusted relays"
                                     << false << false;
    QTest::newRow("any number but 0 is on") << "5" << "" << true << false << "Office LAN" << true << false;
}

void tst_WndRemote::showsTheStoredRow()
{
    QFETCH(QString, netEnabled);
    QFETCH(QString, adminAcl);
    QFETCH(bool, enable);
    QFETCH(bool, only);
    QFETCH(QString, group);
    QFETCH(bool, onlyEnabled);
    QFETCH(bool, groupEnabled);
    m_fixture.setCells("administration", {{"NetEnabled", netEnabled}, {"AdminAcl", adminAcl}});
    WndRemote* page = build();
    QCOMPARE(page->m_chkEnable->isChecked(), enable);
    QCOMPARE(page->m_chkOnly->isChecked(), only);
    QCOMPARE(ConfigPageFixture::entries(page->m_combo),
             QStringList({"Office LAN", "Admin hosts", "Trusted relays", "Blocked senders"}));
    QCOMPARE(page->m_combo->currentText(), group);
    QVERIFY(page->m_chkEnable->isEnabled());
    QCOMPARE(page->m_chkOnly->isEnabled(), onlyEnabled);
    QCOMPARE(page->m_combo->isEnabled(), groupEnabled);
    QCOMPARE(page->m_btnEdit->isEnabled(), groupEnabled);
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_WndRemote::checkBoxClickedTwiceLeavesNothingPending_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("afterOne");
    QTest::addColumn<QStringList>("afterTwo");

    QTest::newRow("1") << "1" << QStringList{"update administration set NetEnabled='0'"} << QStringList{};
    // A stored 5 shows as on, and the box turned back on leaves it as the server holds it.
    QTest::newRow("5") << "5" << QStringList{"update administration set NetEnabled='0'"}
                       << QStringList{};
}

void tst_WndRemote::checkBoxClickedTwiceLeavesNothingPending()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, afterOne);
    QFETCH(QStringList, afterTwo);
    m_fixture.setCells("administration", {{"NetEnabled", stored}});
    WndRemote* page = build();
    page->m_chkEnable->click();
    QCOMPARE(m_fixture.pending(), afterOne);
    QVERIFY(!page->m_chkOnly->isEnabled());
    QVERIFY(!page->m_combo->isEnabled());
    page->m_chkEnable->click();
    QCOMPARE(m_fixture.pending(), afterTwo);
    QVERIFY(page->m_combo->isEnabled());
}

void tst_WndRemote::groupChoice_data()
{
    QTest::addColumn<bool>("switchOff");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("another group") << false << "Office LAN"
                                   << QStringList{"update administration set AdminAcl='Office LAN'"};
    QTest::newRow("the same group") << false << "Admin hosts" << QStringList{};
    QTest::newRow("no restriction") << true << "" << QStringList{"update administration set AdminAcl=''"};
}

void tst_WndRemote::groupChoice()
{
    QFETCH(bool, switchOff);
    QFETCH(QString, chosen);
    QFETCH(QStringList, pending);
    WndRemote* page = build();
    if (switchOff)
        page->m_chkOnly->click();
    else
        choose(page->m_combo, chosen);
    QCOMPARE(m_fixture.pending(), pending);
    QCOMPARE(page->m_combo->isEnabled(), !switchOff);
}

// A group the server no longer has stays chosen and is written back unchanged until the
// administrator picks another.
void tst_WndRemote::missingGroupIsKept()
{
    m_fixture.setCells("administration", {{"AdminAcl", "Retired hosts"}});
    WndRemote* page = build();
    QVERIFY(page->m_chkOnly->isChecked());
    QCOMPARE(page->m_combo->currentText(), QStringLiteral("Retired hosts"));
    QCOMPARE(ConfigPageFixture::entries(page->m_combo).last(), QStringLiteral("Retired hosts"));

    page->m_chkEnable->click();
    QCOMPARE(m_fixture.pending(), QStringList{"update administration set NetEnabled='0'"});
    page->m_chkEnable->click();
    QVERIFY(m_fixture.pending().isEmpty());

    choose(page->m_combo, "Office LAN");
    QCOMPARE(m_fixture.pending(), QStringList{"update administration set AdminAcl='Office LAN'"});
    choose(page->m_combo, "Retired hosts");
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_WndRemote::editAccepted()
{
    WndRemote* page = build();
    choose(page->m_combo, "Trusted relays");
    const QStringList pending = m_fixture.pending();
    QString shownGroup;
    m_fixture.m_dialogs->answerDialog([&](QDialog* dialog) {
        shownGroup = dialog->findChild<QComboBox*>()->currentText();
        // What the dialog would have sent: a group renamed and a new one.
        QList<QStringList> rows = m_fixture.m_server->rows("ipaccesslist");
        for (QStringList& row : rows) {
            if (row.at(0) == QLatin1String("Office LAN"))
                row[0] = QStringLiteral("Head office");
        }
        rows.append({"Partners", "198.51.100.0/24", ""});
        m_fixture.m_server->setTable("ipaccesslist", m_fixture.m_server->columns("ipaccesslist"), rows);
        return int(QDialog::Accepted);
    });
    const int mark = m_fixture.journalSize();

    page->m_btnEdit->click();

    QCOMPARE(m_fixture.m_dialogs->dialogs.size(), 1);
    QCOMPARE(m_fixture.m_dialogs->dialogs.first().className, QStringLiteral("DlgIPGroup"));
    QCOMPARE(shownGroup, QStringLiteral("Trusted relays"));
    QCOMPARE(m_fixture.journalSince(mark),
             QStringList({"select Name, Value, Desc from ipaccesslist",
                          "select Name, Value, Desc from ipaccesslist"}));
    QCOMPARE(ConfigPageFixture::entries(page->m_combo),
             QStringList({"Head office", "Admin hosts", "Trusted relays", "Blocked senders", "Partners"}));
    // Refilled on the group the row holds; the row and the pending list are untouched.
    QCOMPARE(page->m_combo->currentText(), QStringLiteral("Trusted relays"));
    QCOMPARE(m_fixture.pending(), pending);
}

void tst_WndRemote::editCancelled()
{
    WndRemote* page = build();
    const QStringList before = ConfigPageFixture::entries(page->m_combo);
    m_fixture.m_dialogs->answerDialog(int(QDialog::Rejected));
    const int mark = m_fixture.journalSize();

    page->m_btnEdit->click();

    QCOMPARE(m_fixture.journalSince(mark), QStringList{"select Name, Value, Desc from ipaccesslist"});
    QCOMPARE(ConfigPageFixture::entries(page->m_combo), before);
    QCOMPARE(page->m_combo->currentText(), QStringLiteral("Admin hosts"));
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_WndRemote::resetRestoresTheChecksAndTheirEnabling()
{
    WndRemote* page = build();
    page->m_chkEnable->click();
    QVERIFY(!page->m_combo->isEnabled());
    m_fixture.m_ctrl->reset();
    QVERIFY(m_fixture.pending().isEmpty());
    QVERIFY(page->m_chkEnable->isChecked());
    QVERIFY(page->m_chkOnly->isEnabled());
    QVERIFY(page->m_combo->isEnabled());
    QVERIFY(page->m_btnEdit->isEnabled());
}

void tst_WndRemote::applyCommits()
{
    WndRemote* page = build();
    page->m_chkOnly->click();
    const int mark = m_fixture.journalSize();
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QCOMPARE(m_fixture.journalSince(mark), QStringList{"update administration set AdminAcl=''"});
    QCOMPARE(m_fixture.storedCell("administration", "AdminAcl"), QString());
    page->m_chkEnable->click();
    page->m_chkEnable->click();
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_WndRemote::refusedLoadLeavesThePageInert()
{
    m_fixture.m_server->refuse(QStringLiteral("from ipaccesslist"), 109);
    WndRemote* page = build();
    QCOMPARE(m_fixture.messageTexts(), QStringList{"Query failed: Table does not exists"});
    QVERIFY(!page->m_chkEnable->isChecked());
    QCOMPARE(page->m_combo->count(), 0);
    page->m_chkEnable->click();
    page->m_btnEdit->click();
    QVERIFY(m_fixture.pending().isEmpty());
    QVERIFY(m_fixture.m_dialogs->dialogs.isEmpty());
}

QTEST_MAIN(tst_WndRemote)
#include "tst_wndremote.moc"
