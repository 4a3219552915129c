// The sorting rule dialog: the questions it asks before it lets a rule through, the
// recipients it finds in the current domain, and the tables it reads from the server.

#include "deliveryfixture.h"
#include "dialogrecorder.h"
#include "dlgbrowse.h"
#include "dlgrule.h"
#include "globaldata.h"
#include "pagesession.h"
#include "recipientfixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestDlgRule : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void okChecks_data();
    void okChecks();
    void currentDomainDecides();
    void finderFillsRecipientUnlessCancelled();
    void readsOnlyTablesNotLoaded();
    void stopsAtTheFirstFailedLoad();
};

void TestDlgRule::init()
{
    globalData.currentDomain.clear();
}

void TestDlgRule::okChecks_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("deliver");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<bool>("accepted");

    const QString empty = "You should fill both fields.\nDo you want to correct the problem?";
    const QString wrong = "The right side of the sorting rule is set incorrectly!\nDo you want to correct the problem?";
    using L = QList<int>;
    QTest::newRow("user") << "a@isp.example" << "john" << L{} << QStringList{} << true;
    QTest::newRow("alias") << "a@isp.example" << "info" << L{} << QStringList{} << true;
    QTest::newRow("group") << "a@isp.example" << "[sales]" << L{} << QStringList{} << true;
    // Looked up without its last letter ("sale"), which no group has: asked about, not
    // stored malformed unnoticed.
    QTest::newRow("group without its bracket, corrected") << "a@isp.example" << "[sales" << L{QMessageBox::Yes}
                                                          << QStringList{wrong} << false;
    QTest::newRow("group without its bracket, kept with No") << "a@isp.example" << "[sales" << L{QMessageBox::No}
                                                             << QStringList{wrong} << true;
    QTest::newRow("lone bracket") << "a@isp.example" << "[" << L{QMessageBox::Cancel} << QStringList{wrong} << false;
    QTest::newRow("no such group") << "a@isp.example" << "[sale]" << L{QMessageBox::Yes} << QStringList{wrong}
                                   << false;
    QTest::newRow("letter case counts, Cancel corrects") << "a@isp.example" << "John" << L{QMessageBox::Cancel}
                                                         << QStringList{wrong} << false;
    QTest::newRow("unknown kept with No") << "a@isp.example" << "nobody" << L{QMessageBox::No}
                                          << QStringList{wrong} << true;
    QTest::newRow("user of another domain") << "a@isp.example" << "ann" << L{QMessageBox::Yes}
                                            << QStringList{wrong} << false;
    QTest::newRow("address not looked up") << "a@isp.example" << "x@y" << L{} << QStringList{} << true;
    QTest::newRow("group of another domain") << "a@isp.example" << "[team@other.example]" << L{} << QStringList{}
                                             << true;
    QTest::newRow("empty address, Yes corrects") << "" << "john" << L{QMessageBox::Yes} << QStringList{empty}
                                                 << false;
    QTest::newRow("both empty, No twice") << "" << "" << L{QMessageBox::No, QMessageBox::No}
                                          << QStringList{empty, wrong} << true;
    QTest::newRow("empty recipient, No then Cancel") << "a@isp.example" << "" << L{QMessageBox::No, QMessageBox::Cancel}
                                                     << QStringList{empty, wrong} << false;
}

void TestDlgRule::okChecks()
{
    QFETCH(QString, address);
    QFETCH(QString, deliver);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, questions);
    QFETCH(bool, accepted);

    RecipientFixture::Tables tables;
    DialogRecorder recorder;
    for (int answer : answers)
        recorder.answer(answer);
    DlgRule dialog(nullptr, nullptr, true, {}, nullptr, &tables.domains, &tables.users, &tables.groups,
                   &tables.aliases);
    dialog.m_editContent->setText(address);
    dialog.m_editDeliver->setText(deliver);
    dialog.m_btnOK->click();
    QCOMPARE(recorder.messageTexts(), questions);
    for (const DialogRecorder::Message& message : std::as_const(recorder.messages)) {
        QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
        QVERIFY(!message.parent);
        QCOMPARE(message.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    // Every refusal leaves the fields as typed.
    QCOMPARE(dialog.m_editDeliver->text(), deliver);
}

void TestDlgRule::currentDomainDecides()
{
    RecipientFixture::Tables tables;
    DlgRule dialog(nullptr, nullptr, true, {}, nullptr, &tables.domains, &tables.users, &tables.groups,
                   &tables.aliases);
    QVERIFY(dialog.isLocalRecipient("john", ""));
    QVERIFY(!dialog.isLocalRecipient("ann", ""));
    QVERIFY(dialog.isLocalRecipient("ann", "other.example"));
    QVERIFY(!dialog.isLocalRecipient("john", "other.example"));
}

void TestDlgRule::finderFillsRecipientUnlessCancelled()
{
    RecipientFixture::Tables tables;
    DialogRecorder recorder;
    DlgRule dialog(nullptr, nullptr, true, {}, nullptr, &tables.domains, &tables.users, &tables.groups,
                   &tables.aliases);
    dialog.m_editDeliver->setText("kept");
    recorder.answerDialog(QDialog::Rejected);
    dialog.m_btnBrowse->click();
    QCOMPARE(dialog.m_editDeliver->text(), QStringLiteral("kept"));
    recorder.answerDialog([](QDialog* finder) {
        qobject_cast<DlgBrowse*>(finder)->m_result = QStringLiteral("[sales]");
        return int(QDialog::Accepted);
    });
    dialog.m_btnBrowse->click();
    QCOMPARE(dialog.m_editDeliver->text(), QStringLiteral("[sales]"));
    QCOMPARE(recorder.dialogs.size(), 2);
    QCOMPARE(recorder.dialogs.at(0).className, QStringLiteral("DlgBrowse"));
}

void TestDlgRule::readsOnlyTablesNotLoaded()
{
    PageSession session;
    RecipientFixture::install(*session.server);
    QVERIFY(session.connect());
    DBTable domains, users, groups, aliases;
    {
        DlgRule first(nullptr, nullptr, true, {}, session.connection(), &domains, &users, &groups, &aliases);
    }
    QCOMPARE(DeliveryFixture::statements(*session.server),
             (QStringList{"select domain, type, alias, fwhost, ntauthdomain, pamservice, kerberosrealm from domain",
                          "select lhs, rhs, domain from alias", "select name, domain, fullname, description from user",
                          "select name, domain, description, rights from group"}));
    DlgRule second(nullptr, nullptr, true, {}, session.connection(), &domains, &users, &groups, &aliases);
    QCOMPARE(DeliveryFixture::statements(*session.server).size(), 4);
    QVERIFY(second.isLocalRecipient("info", ""));
}

void TestDlgRule::stopsAtTheFirstFailedLoad()
{
    PageSession session;
    RecipientFixture::install(*session.server);
    QVERIFY(session.server->refuse("from alias", 100, 1));
    QVERIFY(session.connect());
    DialogRecorder recorder;
    DBTable domains, users, groups, aliases;
    DlgRule dialog(nullptr, nullptr, true, {}, session.connection(), &domains, &users, &groups, &aliases);
    // The aliases failed: users and groups were not asked for, and the dialog works on.
    QCOMPARE(DeliveryFixture::statements(*session.server).size(), 2);
    QVERIFY(domains.m_loaded);
    QVERIFY(!aliases.m_loaded && !users.m_loaded && !groups.m_loaded);
    QCOMPARE(recorder.messages.size(), 1);
    recorder.answer(QMessageBox::No);
    dialog.m_editContent->setText("a@isp.example");
    dialog.m_editDeliver->setText("john");
    dialog.m_btnOK->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(recorder.messages.size(), 2);
    // The next dialog reads what is missing, and only that.
    DlgRule again(nullptr, nullptr, true, {}, session.connection(), &domains, &users, &groups, &aliases);
    QCOMPARE(DeliveryFixture::statements(*session.server, 2),
             (QStringList{"select lhs, rhs, domain from alias", "select name, domain, fullname, description from user",
                          "select name, domain, description, rights from group"}));
    QVERIFY(again.isLocalRecipient("john", ""));
}

QTEST_MAIN(TestDlgRule)
#include "tst_dlgrule.moc"
