// The connection-failure dialog, its form, and the short failure texts.

#include "dialogrecorder.h"
#include "errormessages.h"
#include "tdlgfailed.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
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

// What the dialog showed when it was run.
struct Shown
{
    QString className;
    QString caption;
    bool modal = false;
    QWidget* parent = nullptr;
    bool boldError = false;
    QString error;
    QString description;
    QString reasons;
};

Shown runFailureDialog(QWidget* parent, unsigned int code)
{
    Shown shown;
    DialogRecorder recorder;
    recorder.answerDialog([&shown](QDialog* dialog) {
        auto* failed = qobject_cast<TDlgFailed*>(dialog);
        if (failed) {
            shown.caption = failed->windowTitle();
            shown.modal = failed->isModal();
            shown.parent = failed->parentWidget();
            shown.error = failed->m_lbError->text();
            shown.boldError = failed->m_lbError->font().bold();
            shown.description = failed->m_lbDesc->text();
            shown.reasons = failed->m_lbReasons->text();
        }
        return int(QDialog::Accepted);
    });
    show_error_message(parent, code);
    if (recorder.dialogs.size() == 1)
        shown.className = recorder.dialogs.first().className;
    return shown;
}

} // namespace

class TestErrorMessages : public QObject
{
    Q_OBJECT

private slots:
    void failureDialog_data();
    void failureDialog();
    void failureDialogIsModalOverItsParentAndGoes();
    void parentGoingWhileTheDialogRuns();
    void formOkAccepts();
    void shortTexts_data();
    void shortTexts();
};

void TestErrorMessages::failureDialog_data()
{
    QTest::addColumn<uint>("code");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("reasons");

    QTest::newRow("authentication") << 102u << QStringLiteral("Authentication failed.") << CredentialReasons;
    QTest::newRow("socket error") << 1u << QStringLiteral("Connection has failed with error code 1.") << PathReasons;
    QTest::newRow("aborted") << 0u << QStringLiteral("Connection has failed with error code 0.") << PathReasons;
    QTest::newRow("timed out") << 10060u << QStringLiteral("Connection was refused.") << UnreachableReasons;
    QTest::newRow("refused") << 10061u << QStringLiteral("Connection was refused.") << UnreachableReasons;
    QTest::newRow("host not found") << 11001u
        << QStringLiteral("Remote host did not properly respond after a period of time.") << PathReasons;
    QTest::newRow("below the refusals") << 10059u << QStringLiteral("Connection has failed with error code 10059.") << PathReasons;
    QTest::newRow("above the refusals") << 10062u << QStringLiteral("Connection has failed with error code 10062.") << PathReasons;
    QTest::newRow("largest code") << 4294967295u
        << QStringLiteral("Connection has failed with error code 4294967295.") << PathReasons;
}

void TestErrorMessages::failureDialog()
{
    QFETCH(uint, code);
    QFETCH(QString, description);
    QFETCH(QString, reasons);

    const Shown shown = runFailureDialog(nullptr, code);
    QCOMPARE(shown.className, QStringLiteral("TDlgFailed"));
    QCOMPARE(shown.caption, QStringLiteral("Ornel Administration Console"));
    QCOMPARE(shown.error, QStringLiteral("Failed to connect to the server application."));
    QVERIFY(shown.boldError);
    QCOMPARE(shown.description, description);
    QCOMPARE(shown.reasons, reasons);
}

void TestErrorMessages::failureDialogIsModalOverItsParentAndGoes()
{
    QWidget parent;
    const Shown shown = runFailureDialog(&parent, 102);
    QVERIFY(shown.modal);
    QCOMPARE(shown.parent, &parent);
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

void TestErrorMessages::formOkAccepts()
{
    TDlgFailed dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("TDlgFailed"));
    QCOMPARE(dialog.PushButton5->text(), QStringLiteral("&OK"));
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    dialog.show();
    QTest::mouseClick(dialog.PushButton5, Qt::LeftButton);
    QCOMPARE(accepted.count(), 1);
    QVERIFY(!dialog.isVisible());
}

void TestErrorMessages::shortTexts_data()
{
    QTest::addColumn<uint>("code");
    QTest::addColumn<uint>("version");
    QTest::addColumn<QString>("text");

    QTest::newRow("authentication") << 102u << 5u << QStringLiteral("User or password incorrect!\n(version 5)");
    QTest::newRow("other, version ignored") << 1u << 5u << QStringLiteral("Error 1");
    QTest::newRow("timed out") << 10060u << 0u << QStringLiteral("Server application is not running!");
    QTest::newRow("refused") << 10061u << 5u << QStringLiteral("Server application is not running!");
    QTest::newRow("host not found") << 11001u << 0u << QStringLiteral("Remote computer not found!");
    QTest::newRow("below the refusals") << 10059u << 0u << QStringLiteral("Error 10059");
    QTest::newRow("above the refusals") << 10062u << 0u << QStringLiteral("Error 10062");
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
