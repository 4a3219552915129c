// The connection-failure dialog and the short failure texts.

#include "dialogrecorder.h"
#include "errormessages.h"
#include "tdlgfailed.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

const QString UnreachableReasons = QStringLiteral(
    "Possible reasons:\n"
    "- you have entered wrong host name or IP address of server application\n"
    "- server application is not running on specified host machine\n"
    "- server application does not allow connection over the network\n"
    "- IP traffic is blocked along the network path to the server application");

const QString PathReasons = QStringLiteral(
    "Possible reasons:\n"
    "- you have entered wrong host name or IP address of server application\n"
    "- failure along the network path to the server application\n"
    "- IP traffic is blocked along the network path to the server application");

const QString CredentialReasons = QStringLiteral(
    "Possible reasons:\n"
    "- you have entered wrong username or password\n"
    "- you don't have permission to connect the server application");

} // namespace

class TestErrorMessages : public QObject
{
    Q_OBJECT

private slots:
    void failureDialog_data();
    void failureDialog();
    void parentGoingWhileTheDialogRuns();
    void shortTexts_data();
    void shortTexts();
};

void TestErrorMessages::failureDialog_data()
{
    QTest::addColumn<uint>("code");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("reasons");

    QTest::newRow("authentication") << 102u << "Authentication failed." << CredentialReasons;
    QTest::newRow("socket error") << 1u << "Connection has failed with error code 1." << PathReasons;
    QTest::newRow("aborted") << 0u << "Connection has failed with error code 0." << PathReasons;
    QTest::newRow("timed out") << 10060u << "Connection was refused." << UnreachableReasons;
    QTest::newRow("refused") << 10061u << "Connection was refused." << UnreachableReasons;
    QTest::newRow("host not found")
        << 11001u << "Remote host did not properly respond after a period of time." << PathReasons;
}

void TestErrorMessages::failureDialog()
{
    QFETCH(uint, code);
    QFETCH(QString, description);
    QFETCH(QString, reasons);

    QWidget parent;
    QStringList shown;
    DialogRecorder recorder;
    recorder.answerDialog([&](QDialog* dialog) {
        auto* failed = qobject_cast<TDlgFailed*>(dialog);
        if (!failed)
            return -1;
        shown << failed->windowTitle() << failed->m_lbError->text() << failed->m_lbDesc->text()
              << failed->m_lbReasons->text() << failed->PushButton5->text();
        if (failed->m_lbError->font().bold() && failed->isModal() && failed->parentWidget() == &parent)
            shown << QStringLiteral("bold, modal over its parent");
        // The form's button closes it.
        failed->PushButton5->click();
        return failed->result();
    });
    show_error_message(&parent, code);

    QCOMPARE(shown, QStringList({"Ornel Administration Console",
                                 "Failed to connect to the server application.", description,
                                 reasons, "&OK", "bold, modal over its parent"}));
    QCOMPARE(recorder.dialogs.size(), 1);
    QVERIFY(parent.findChildren<TDlgFailed*>().isEmpty());
}

void TestErrorMessages::parentGoingWhileTheDialogRuns()
{
    QPointer<QWidget> parent = new QWidget;
    QPointer<QDialog> shown;
    DialogRecorder recorder;
    recorder.answerDialog([&](QDialog* dialog) {
        shown = dialog;
        delete parent.data();
        return int(QDialog::Rejected);
    });
    show_error_message(parent, 1);
    QVERIFY(parent.isNull());
    QVERIFY(shown.isNull());
    QCOMPARE(recorder.dialogs.size(), 1);
}

void TestErrorMessages::shortTexts_data()
{
    QTest::addColumn<uint>("code");
    QTest::addColumn<uint>("version");
    QTest::addColumn<QString>("text");

    QTest::newRow("authentication") << 102u << 5u << "User or password incorrect!\n(version 5)";
    QTest::newRow("other, version ignored") << 1u << 5u << "Error 1";
    QTest::newRow("timed out") << 10060u << 0u << "Server application is not running!";
    QTest::newRow("refused") << 10061u << 5u << "Server application is not running!";
    QTest::newRow("host not found") << 11001u << 0u << "Remote computer not found!";
    QTest::newRow("below the refusals") << 10059u << 0u << "Error 10059";
    QTest::newRow("above the refusals") << 10062u << 0u << "Error 10062";
}

void TestErrorMessages::shortTexts()
{
    QFETCH(uint, code);
    QFETCH(uint, version);
    QFETCH(QString, text);
    QCOMPARE(getErrorMessage(code, version), text);
}

QTEST_MAIN(TestErrorMessages)
#include "tst_errormessages.moc"
