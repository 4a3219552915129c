// The ETRN dialog on its own: the authentication box and the fields it governs, and the
// question an empty server or domain list asks.

#include "dialogrecorder.h"
#include "dlgetrn.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestDlgEtrn : public QObject
{
    Q_OBJECT

private slots:
    void authenticationGovernsUserAndPassword();
    void okWithEmptyNames_data();
    void okWithEmptyNames();
    void passwordEchoHidden();
};

void TestDlgEtrn::authenticationGovernsUserAndPassword()
{
    DlgEtrn dialog;
    dialog.m_editUser->setText(QStringLiteral("me"));
    dialog.m_editPass->setText(QStringLiteral("pw"));
    dialog.m_chkAuth->setChecked(true);
    QVERIFY(dialog.m_editUser->isEnabled() && dialog.m_editPass->isEnabled());
    dialog.m_chkAuth->setChecked(false);
    QVERIFY(!dialog.m_editUser->isEnabled() && !dialog.m_editPass->isEnabled());
    // The texts stay either way.
    QCOMPARE(dialog.m_editUser->text(), QStringLiteral("me"));
    QCOMPARE(dialog.m_editPass->text(), QStringLiteral("pw"));
}

void TestDlgEtrn::okWithEmptyNames_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("both given") << "mx.example" << "a.example" << int(QMessageBox::Yes) << 0 << true;
    QTest::newRow("no server, Yes corrects") << "" << "a.example" << int(QMessageBox::Yes) << 1 << false;
    QTest::newRow("no domain, Cancel corrects") << "mx.example" << "" << int(QMessageBox::Cancel) << 1 << false;
    QTest::newRow("neither, No lets it through") << "" << "" << int(QMessageBox::No) << 1 << true;
}

void TestDlgEtrn::okWithEmptyNames()
{
    QFETCH(QString, server);
    QFETCH(QString, domain);
    QFETCH(int, answer);
    QFETCH(int, questions);
    QFETCH(bool, accepted);

    DialogRecorder recorder;
    recorder.answer(answer);
    DlgEtrn dialog;
    dialog.m_editServer->setText(server);
    dialog.m_editDomain->setText(domain);
    // User and password are not tested, authentication on or not.
    dialog.m_chkAuth->setChecked(true);
    dialog.m_btnOK->click();
    QCOMPARE(recorder.messages.size(), questions);
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
}

void TestDlgEtrn::passwordEchoHidden()
{
    DlgEtrn dialog;
    QCOMPARE(dialog.m_editPass->echoMode(), QLineEdit::Password);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("ETRN Download"));
    QVERIFY(dialog.m_btnOK->isDefault());
}

QTEST_MAIN(TestDlgEtrn)
#include "tst_dlgetrn.moc"
