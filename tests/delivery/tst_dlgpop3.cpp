// The POP3 account dialog on its own: the checks on OK, the standard port it proposes and
// the widgets each delivery choice enables.

#include "dialogrecorder.h"
#include "dlgbrowse.h"
#include "dlgpop3.h"
#include "globaldata.h"
#include "recipientfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

// A dialog with the boxes filled as the page fills them: SSL entries carry their mode.
struct Pop3Dialog
{
    Pop3Dialog()
        : dialog(nullptr, nullptr, true, {}, nullptr, &tables.domains, &tables.users, &tables.groups,
                 &tables.aliases)
    {
        dialog.m_comboSSL->addItem("STLS command", "2");
        dialog.m_comboSSL->addItem("Special port", "1");
        dialog.m_editServer->setText("pop.isp.example");
        dialog.m_editUser->setText("ann");
    }

    RecipientFixture::Tables tables;
    DlgPop3 dialog;
};

} // namespace

class TestDlgPop3 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void serverAndUserRequired_data();
    void serverAndUserRequired();
    void addressChecks_data();
    void addressChecks();
    void sortingRulesNeedNoAddress();
    void sslProposesPorts();
    void deliveryChoiceEnables();
    void finderFillsAddressUnlessCancelled();
};

void TestDlgPop3::init()
{
    globalData.currentDomain.clear();
}

void TestDlgPop3::serverAndUserRequired_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("refused");

    QTest::newRow("no user") << "pop.isp.example" << "" << true;
    QTest::newRow("no server") << "" << "ann" << true;
    QTest::newRow("blanks count as filled") << " " << " " << false;
}

void TestDlgPop3::serverAndUserRequired()
{
    QFETCH(QString, server);
    QFETCH(QString, user);
    QFETCH(bool, refused);

    DialogRecorder recorder;
    Pop3Dialog made;
    made.dialog.m_editServer->setText(server);
    made.dialog.m_editUser->setText(user);
    made.dialog.m_rbtnAddress->setChecked(true);
    made.dialog.m_editAddress->setText("x@y");
    made.dialog.m_btnOK->click();
    QCOMPARE(made.dialog.result() == QDialog::Accepted, !refused);
    QCOMPARE(recorder.messages.size(), refused ? 1 : 0);
    if (refused) {
        const DialogRecorder::Message& message = recorder.messages.first();
        QCOMPARE(message.text, QStringLiteral("You must fill server name and user name."));
        QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
        QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(!message.parent);
    }
}

void TestDlgPop3::addressChecks_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<bool>("accepted");

    const QString empty = "You should fill address field.\nDo you want to correct the problem?";
    const QString wrong = "Address is set incorrectly!\nDo you want to correct the problem?";
    QTest::newRow("user found") << "john" << 0 << QStringList{} << true;
    QTest::newRow("letter case counts") << "John" << int(QMessageBox::Yes) << QStringList{wrong} << false;
    QTest::newRow("kept with No") << "John" << int(QMessageBox::No) << QStringList{wrong} << true;
    QTest::newRow("alias") << "info" << 0 << QStringList{} << true;
    QTest::newRow("group") << "[sales]" << 0 << QStringList{} << true;
    // Looked up without its last letter ("sale"), which no group has: asked about, not
    // stored malformed unnoticed.
    QTest::newRow("group without its bracket, corrected") << "[sales" << int(QMessageBox::Yes) << QStringList{wrong}
                                                          << false;
    QTest::newRow("group without its bracket, kept with No") << "[sales" << int(QMessageBox::No)
                                                             << QStringList{wrong} << true;
    QTest::newRow("lone bracket") << "[" << int(QMessageBox::Cancel) << QStringList{wrong} << false;
    QTest::newRow("at sign not looked up") << "x@y" << 0 << QStringList{} << true;
    QTest::newRow("lone at sign") << "@" << 0 << QStringList{} << true;
    QTest::newRow("user of another domain") << "ann" << int(QMessageBox::Yes) << QStringList{wrong} << false;
    QTest::newRow("empty, No keeps it") << "" << int(QMessageBox::No) << QStringList{empty} << true;
    QTest::newRow("empty, Yes corrects") << "" << int(QMessageBox::Yes) << QStringList{empty} << false;
}

void TestDlgPop3::addressChecks()
{
    QFETCH(QString, address);
    QFETCH(int, answer);
    QFETCH(QStringList, questions);
    QFETCH(bool, accepted);

    DialogRecorder recorder;
    recorder.answer(answer);
    Pop3Dialog made;
    made.dialog.m_rbtnAddress->setChecked(true);
    made.dialog.m_editAddress->setText(address);
    made.dialog.m_btnOK->click();
    QCOMPARE(recorder.messageTexts(), questions);
    for (const DialogRecorder::Message& message : std::as_const(recorder.messages)) {
        QCOMPARE(message.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QVERIFY(!message.parent);
    }
    QCOMPARE(made.dialog.result() == QDialog::Accepted, accepted);
    QCOMPARE(made.dialog.m_editAddress->text(), address);
}

void TestDlgPop3::sortingRulesNeedNoAddress()
{
    DialogRecorder recorder;
    Pop3Dialog made;
    made.dialog.m_rbtnRule->setChecked(true);
    made.dialog.m_editAddress->setText("nobody");
    made.dialog.m_btnOK->click();
    QCOMPARE(made.dialog.result(), int(QDialog::Accepted));
    QVERIFY(recorder.messages.isEmpty());
}

void TestDlgPop3::sslProposesPorts()
{
    Pop3Dialog made;
    DlgPop3& dialog = made.dialog;
    dialog.m_editPort->setText("7110");
    dialog.m_comboSSL->setCurrentIndex(1);
    dialog.m_chkUseSSL->setChecked(true);
    QVERIFY(dialog.m_comboSSL->isEnabled());
    QCOMPARE(dialog.m_editPort->text(), QStringLiteral("995"));
    dialog.m_comboSSL->setCurrentIndex(0);
    emit dialog.m_comboSSL->activated(0);
    QCOMPARE(dialog.m_editPort->text(), QStringLiteral("110"));
    dialog.m_comboSSL->setCurrentIndex(1);
    dialog.m_btnDefault->click();
    QCOMPARE(dialog.m_editPort->text(), QStringLiteral("995"));
    dialog.m_chkUseSSL->setChecked(false);
    QVERIFY(!dialog.m_comboSSL->isEnabled());
    QCOMPARE(dialog.m_editPort->text(), QStringLiteral("110"));
}

void TestDlgPop3::deliveryChoiceEnables()
{
    Pop3Dialog made;
    DlgPop3& dialog = made.dialog;
    dialog.m_rbtnRule->setChecked(true);
    QVERIFY(dialog.m_comboRule->isEnabled());
    QVERIFY(!dialog.m_editAddress->isEnabled() && !dialog.m_btnBrowse->isEnabled());
    dialog.m_rbtnAddress->setChecked(true);
    QVERIFY(!dialog.m_rbtnRule->isChecked());
    QVERIFY(!dialog.m_comboRule->isEnabled());
    QVERIFY(dialog.m_editAddress->isEnabled() && dialog.m_btnBrowse->isEnabled());
}

void TestDlgPop3::finderFillsAddressUnlessCancelled()
{
    DialogRecorder recorder;
    Pop3Dialog made;
    made.dialog.m_editAddress->setText("kept");
    made.dialog.m_btnBrowse->click();
    QCOMPARE(made.dialog.m_editAddress->text(), QStringLiteral("kept"));
    recorder.answerDialog([](QDialog* finder) {
        qobject_cast<DlgBrowse*>(finder)->m_result = QStringLiteral("ann@other.example");
        return int(QDialog::Accepted);
    });
    made.dialog.m_btnBrowse->click();
    QCOMPARE(made.dialog.m_editAddress->text(), QStringLiteral("ann@other.example"));
}

QTEST_MAIN(TestDlgPop3)
#include "tst_dlgpop3.moc"
