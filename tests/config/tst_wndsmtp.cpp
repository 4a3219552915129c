#include "configpagefixture.h"
#include "typing.h"
#include "wndsmtp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

// The SMTP Properties page on the demo server: the relay smtp.provider.example:587 with
// authentication as corvane-relay, 10 MB messages, 10 threads, retries every 30 minutes,
// a warning after 4 hours, the return after 5 days, 30 hops, SSL when available.
class tst_WndSmtp : public QObject
{
    Q_OBJECT

private slots:
    // A locale whose group separator is the comma, whatever the machine's.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() { m_fixture.start(); }
    void cleanup() { m_fixture.stop(); }

    void showsTheStoredRows();
    void sizeShownAndWrittenBack_data();
    void sizeShownAndWrittenBack();
    void timeShownAndWrittenBack_data();
    void timeShownAndWrittenBack();
    void unitOnlyChangeWritesTheConvertedValue();
    void unitChosenUnderANumberBeyondTheColumnStopsEveryApply();
    void amountTypedAfterAnApplyIsWritten();
    void numberFieldsTakeDigitsOnly_data();
    void numberFieldsTakeDigitsOnly();
    void typedNumbersAreWrittenAsShown_data();
    void typedNumbersAreWrittenAsShown();
    void amountsBeyondTheColumnStopEveryApply_data();
    void amountsBeyondTheColumnStopEveryApply();
    void amountBeyondTheColumnStopsTheApplyAfterEveryNo();
    void largestAmountsAreWrittenExactly_data();
    void largestAmountsAreWrittenExactly();
    void toggleOnAndOffLeavesNothingPending();
    void buttonsComeOnOnceWhileTyping_data();
    void buttonsComeOnOnceWhileTyping();
    void everyVisibleEditIsWritten_data();
    void everyVisibleEditIsWritten();
    void passwordPlaceholder_data();
    void passwordPlaceholder();
    void passwordChangedOnlyInCaseIsWritten();
    void relayChoiceEnablesItsWidgets();
    void defaultPort_data();
    void defaultPort();
    void questions_data();
    void questions();
    void withdrawnApplyIsHandedInAgain();
    void portBeyondSixteenBitsGoesAsTyped_data();
    void portBeyondSixteenBitsGoesAsTyped();
    void resetRestoresTheLoadedRows();
    void appliedEditIsKept();
    void refusedLoadLeavesThePageInert();
    void rowlessTableLeavesThePageInert();
    void pageClosedWhileItLoads();

private:
    WndSmtp* build() { return m_fixture.build<WndSmtp>(); }
    static void choose(QComboBox* box, int index)
    {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    // An apply answered with `answer`: withdrawn, having told `told` alone (one OK button, no
    // parent), sent nothing, and left the focus on `field`.
    void stoppedAt(int answer, const QString& told, const QString& field)
    {
        m_fixture.m_dialogs->answer(answer);
        const int mark = m_fixture.journalSize();
        QCOMPARE(m_fixture.apply(), ApplyOutcome::Withdrawn);
        QCOMPARE(m_fixture.messageTexts(), QStringList{told});
        const DialogRecorder::Message& message = m_fixture.m_dialogs->messages.first();
        QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
        QCOMPARE(message.icon, QMessageBox::Warning);
        QCOMPARE(message.buttons, Dialogs::Buttons(QMessageBox::Ok));
        QVERIFY(message.parent.isNull());
        QVERIFY(m_fixture.journalSince(mark).isEmpty());
        QCOMPARE(m_fixture.focusedWidget()->objectName(), field);
    }

    ConfigPageFixture m_fixture;
};

void tst_WndSmtp::showsTheStoredRows()
{
    WndSmtp* page = build();
    QVERIFY(page->isReady());
    QVERIFY(page->m_rbtnSMTP->isChecked());
    QVERIFY(!page->m_rbtnDNS->isChecked());
    QCOMPARE(page->m_editHostname->text(), QStringLiteral("smtp.provider.example"));
    QCOMPARE(page->m_editPort->text(), QStringLiteral("587"));
    QVERIFY(page->m_chkAuth->isChecked());
    QCOMPARE(page->m_editUser->text(), QStringLiteral("corvane-relay"));
    QCOMPARE(page->m_editPassword->text(), QStringLiteral("PlainFillText"));
    QCOMPARE(page->m_comboAuth->currentText(), QStringLiteral("SMTP AUTH Command"));
    QCOMPARE(page->m_editMessageSize->text(), QStringLiteral("10"));
    QCOMPARE(page->m_comboKB->currentText(), QStringLiteral("MB"));
    QCOMPARE(page->m_editThreads->text(), QStringLiteral("10"));
    QCOMPARE(page->m_editRetry->text(), QStringLiteral("30"));
    QCOMPARE(page->m_comboSec->currentText(), QStringLiteral("minutes"));
    QCOMPARE(page->m_editWarning->text(), QStringLiteral("4"));
    QCOMPARE(page->m_comboWarn->currentText(), QStringLiteral("hours"));
    QCOMPARE(page->m_editBounce->text(), QStringLiteral("5"));
    QCOMPARE(page->m_comboMin->currentText(), QStringLiteral("days"));
    QCOMPARE(page->m_editHops->text(), QStringLiteral("30"));
    QVERIFY(page->m_chkUseSSL->isChecked());
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_WndSmtp::sizeShownAndWrittenBack_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("pendingAfterAnEdit");

    const QString threads = QStringLiteral("update smtp set MaxConcurrency='11'");
    QTest::newRow("unlimited") << "0" << "0" << "KB" << QStringList{threads};
    QTest::newRow("1 MB") << "1048576" << "1" << "MB" << QStringList{threads};
    QTest::newRow("1.5 MB") << "1572864" << "1536" << "KB" << QStringList{threads};
    QTest::newRow("1500 bytes, shown as 1 KB, kept")
        << "1500" << "1" << "KB" << QStringList{threads};
    QTest::newRow("the column's largest, beyond what the field takes, kept")
        << "2147483647" << "2097151" << "KB" << QStringList{threads};
    QTest::newRow("negative, kept") << "-1" << "0" << "KB" << QStringList{threads};
}

// An edit anywhere writes every column; a size left alone goes back as the server holds it,
// also one that is no whole number of the unit shown.
void tst_WndSmtp::sizeShownAndWrittenBack()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(QString, unit);
    QFETCH(QStringList, pendingAfterAnEdit);
    m_fixture.setCells("smtp", {{"MaxMessageSize", stored}});
    WndSmtp* page = build();
    QCOMPARE(page->m_editMessageSize->text(), shown);
    QCOMPARE(page->m_comboKB->currentText(), unit);

    typeOver(page->m_editThreads, "11");
    QCOMPARE(m_fixture.pending(), pendingAfterAnEdit);
}

void tst_WndSmtp::timeShownAndWrittenBack_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("pendingAfterAnEdit");

    const QString hops = QStringLiteral("update smtp set MaxHops='31'");
    QTest::newRow("a day") << "86400" << "1" << "days" << QStringList{hops};
    QTest::newRow("25 hours") << "90000" << "25" << "hours" << QStringList{hops};
    QTest::newRow("59 seconds, shown as 0 minutes, kept") << "59" << "0" << "minutes" << QStringList{hops};
    QTest::newRow("90 seconds, shown as 1 minute, kept") << "90" << "1" << "minutes" << QStringList{hops};
}

void tst_WndSmtp::timeShownAndWrittenBack()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(QString, unit);
    QFETCH(QStringList, pendingAfterAnEdit);
    m_fixture.setCells("smtp", {{"QueueRetryInterval", stored}});
    WndSmtp* page = build();
    QCOMPARE(page->m_editRetry->text(), shown);
    QCOMPARE(page->m_comboSec->currentText(), unit);

    typeOver(page->m_editHops, "31");
    QCOMPARE(m_fixture.pending(), pendingAfterAnEdit);
}

void tst_WndSmtp::unitOnlyChangeWritesTheConvertedValue()
{
    m_fixture.setCells("smtp", {{"QueueNotifyTimeout", "7200"}});
    WndSmtp* page = build();
    QCOMPARE(page->m_editWarning->text(), QStringLiteral("2"));

    choose(page->m_comboWarn, 2);
    QCOMPARE(m_fixture.pending(), QStringList{"update smtp set QueueNotifyTimeout='172800'"});
}

// A unit chosen under a number left alone makes the number the administrator's: one the
// column cannot hold in that unit is an edit held back, never written cut to the column,
// and every apply stops at it, whatever the answer.
void tst_WndSmtp::unitChosenUnderANumberBeyondTheColumnStopsEveryApply()
{
    m_fixture.setCells("smtp", {{"QueueRetryInterval", "1500060"}});
    WndSmtp* page = build();
    QCOMPARE(page->m_editRetry->text(), QStringLiteral("25001"));
    QCOMPARE(page->m_comboSec->currentText(), QStringLiteral("minutes"));

    choose(page->m_comboSec, 2);
    QVERIFY2(m_fixture.pending().isEmpty(), qPrintable(m_fixture.pending().join(u'\n')));
    QVERIFY(!m_fixture.m_ctrl->isEmpty());
    typeOver(page->m_editUser, "someone");
    const QString told = QStringLiteral("Delivery retry interval must be a number from 0 to 24855 days.");
    for (int answer : {int(QMessageBox::Ok), int(QMessageBox::Cancel)}) {
        m_fixture.m_dialogs->messages.clear();
        m_fixture.m_ctrl->update_again();
        stoppedAt(answer, told, "m_editRetry");
    }
    QCOMPARE(m_fixture.storedCell("smtp", "QueueRetryInterval"), QStringLiteral("1500060"));
    QCOMPARE(m_fixture.storedCell("relay", "AuthUser"), QStringLiteral("corvane-relay"));
    QCOMPARE(page->m_editRetry->text(), QStringLiteral("25001"));
    QCOMPARE(page->m_comboSec->currentText(), QStringLiteral("days"));
}

// What the server holds after an apply is what an amount left alone keeps: a number typed
// afterwards, the one shown before the apply included, is the administrator's.
void tst_WndSmtp::amountTypedAfterAnApplyIsWritten()
{
    m_fixture.setCells("smtp", {{"MaxMessageSize", "1500"}});
    WndSmtp* page = build();
    QCOMPARE(page->m_editMessageSize->text(), QStringLiteral("1"));
    typeOver(page->m_editMessageSize, "2");
    QCOMPARE(m_fixture.pending(), QStringList{"update smtp set MaxMessageSize='2048'"});
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QCOMPARE(m_fixture.storedCell("smtp", "MaxMessageSize"), QStringLiteral("2048"));

    typeOver(page->m_editMessageSize, "1");
    QCOMPARE(m_fixture.pending(), QStringList{"update smtp set MaxMessageSize='1024'"});
    typeOver(page->m_editMessageSize, "2");
    QCOMPARE(m_fixture.pending(), QStringList());
}

// Every number field takes the digits typed and nothing else, whatever the locale (the
// suite sets one whose group separator is the comma): what is written is what is shown.
void tst_WndSmtp::numberFieldsTakeDigitsOnly_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("port, a group separator")
        << "m_editPort" << "1,025" << "1025" << QStringList{"update relay set ServerPort='1025'"};
    QTest::newRow("port, blanks and a sign")
        << "m_editPort" << " +2525 " << "2525" << QStringList{"update relay set ServerPort='2525'"};
    QTest::newRow("threads, a group separator")
        << "m_editThreads" << "1,234" << "1234"
        << QStringList{"update smtp set MaxConcurrency='1234'"};
    QTest::newRow("hops, a decimal point")
        << "m_editHops" << "4.5" << "45" << QStringList{"update smtp set MaxHops='45'"};
    QTest::newRow("size in MB, a group separator")
        << "m_editMessageSize" << "1,024" << "1024"
        << QStringList{"update smtp set MaxMessageSize='1073741824'"};
    QTest::newRow("retry in minutes, a minus sign")
        << "m_editRetry" << "-15" << "15" << QStringList{"update smtp set QueueRetryInterval='900'"};
}

void tst_WndSmtp::numberFieldsTakeDigitsOnly()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QStringList, pending);
    WndSmtp* page = build();
    auto* edit = page->findChild<QLineEdit*>(field);
    typeOver(edit, typed);
    QCOMPARE(edit->text(), shown);
    QCOMPARE(m_fixture.pending(), pending);
}

// A number the field takes while typing is written exactly as shown, with no question of
// the page's own: the server's answer decides. One it refuses is told as every refusal is,
// and the edit stays pending and on screen.
void tst_WndSmtp::typedNumbersAreWrittenAsShown_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("refusal");

    QTest::newRow("port beyond 16 bits, typed over 587 key by key")
        << "m_editPort" << "70000" << "update relay set ServerPort='70000'"
        << "Query failed: Wrong SQL query";
    QTest::newRow("threads beyond the validator's top")
        << "m_editThreads" << "1000001" << "update smtp set MaxConcurrency='1000001'" << "";
    QTest::newRow("hops of seven nines")
        << "m_editHops" << "9999999" << "update smtp set MaxHops='9999999'" << "";
    QTest::newRow("retry beyond the validator's top, in minutes")
        << "m_editRetry" << "2000000" << "update smtp set QueueRetryInterval='120000000'" << "";
    QTest::newRow("size beyond the validator's top, in KB")
        << "m_editMessageSize" << "1048577"
        << "update smtp set MaxMessageSize='1073742848'" << "";
}

void tst_WndSmtp::typedNumbersAreWrittenAsShown()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, statement);
    QFETCH(QString, refusal);
    WndSmtp* page = build();
    auto* edit = page->findChild<QLineEdit*>(field);
    if (field == QLatin1String("m_editMessageSize"))
        choose(page->m_comboKB, 0);
    typeOver(edit, typed);
    QCOMPARE(edit->text(), typed);
    QCOMPARE(m_fixture.pending(), QStringList{statement});

    const int mark = m_fixture.journalSize();
    const ApplyOutcome outcome = m_fixture.apply();
    QVERIFY(m_fixture.journalSince(mark).contains(statement));
    QCOMPARE(m_fixture.messageTexts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
    QCOMPARE(outcome, refusal.isEmpty() ? ApplyOutcome::Applied : ApplyOutcome::Refused);
    QCOMPARE(m_fixture.pending().contains(statement), !refusal.isEmpty());
    QCOMPARE(edit->text(), typed);
}

// An amount the column cannot hold in the unit chosen is an edit held back: Apply and Reset
// come on though no statement stands for it, and every apply stops at it, the administrator
// told once with one button and sent to the field on its tab, whatever the answer; nothing
// of the page goes out meanwhile.
void tst_WndSmtp::amountsBeyondTheColumnStopEveryApply_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("unitIndex");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("told");

    QTest::newRow("size in MB")
        << "m_editMessageSize" << "m_comboKB" << 1 << "3000"
        << "Maximum incoming message size must be a number from 0 to 2047 MB.";
    QTest::newRow("size in KB, seven nines")
        << "m_editMessageSize" << "m_comboKB" << 0 << "9999999"
        << "Maximum incoming message size must be a number from 0 to 2097151 KB.";
    QTest::newRow("warning in hours")
        << "m_editWarning" << "m_comboWarn" << 1 << "596524"
        << "The time before a warning to the sender must be a number from 0 to 596523 hours.";
    QTest::newRow("return in days")
        << "m_editBounce" << "m_comboMin" << 2 << "30000"
        << "The time before the message returns to the sender must be a number from 0 to 24855 "
           "days.";
}

void tst_WndSmtp::amountsBeyondTheColumnStopEveryApply()
{
    QFETCH(QString, field);
    QFETCH(QString, unit);
    QFETCH(int, unitIndex);
    QFETCH(QString, typed);
    QFETCH(QString, told);
    WndSmtp* page = build();
    auto* edit = page->findChild<QLineEdit*>(field);
    QSignalSpy emptiness(m_fixture.m_ctrl.get(), &DBCtrl::sig_empty);
    choose(page->findChild<QComboBox*>(unit), unitIndex);
    typeOver(edit, typed);
    QCOMPARE(edit->text(), typed);
    QVERIFY2(m_fixture.pending().isEmpty(), qPrintable(m_fixture.pending().join(u'\n')));
    QVERIFY(!m_fixture.m_ctrl->isEmpty());
    QCOMPARE(emptiness.size(), 1);
    QCOMPARE(emptiness.first().first().toBool(), false);

    typeOver(page->m_editHops, "29");
    page->m_tabs->setCurrentIndex(0);
    for (int answer : {int(QMessageBox::Ok), int(QMessageBox::Cancel)}) {
        m_fixture.m_dialogs->messages.clear();
        m_fixture.m_ctrl->update_again();
        stoppedAt(answer, told, field);
    }
    QCOMPARE(edit->text(), typed);
    QCOMPARE(m_fixture.storedCell("smtp", "MaxHops"), QStringLiteral("30"));
}

// The page's own questions come first; whatever their answers, the amount then stops the
// apply.
void tst_WndSmtp::amountBeyondTheColumnStopsTheApplyAfterEveryNo()
{
    WndSmtp* page = build();
    page->m_rbtnSMTP->click();
    typeOver(page->m_editHostname, "");
    typeOver(page->m_editUser, "");
    choose(page->m_comboKB, 1);
    typeOver(page->m_editMessageSize, "2048");
    for (int answer : {int(QMessageBox::No), int(QMessageBox::No), int(QMessageBox::Ok)})
        m_fixture.m_dialogs->answer(answer);
    const int mark = m_fixture.journalSize();
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Withdrawn);
    QCOMPARE(m_fixture.messageTexts(),
             (QStringList{"You should fill relay server hostname and port.\n"
                          "Do you want to correct the problem?",
                          "You should user name.\nDo you want to correct the problem?",
                          "Maximum incoming message size must be a number from 0 to 2047 MB."}));
    QVERIFY(m_fixture.journalSince(mark).isEmpty());
    QCOMPARE(m_fixture.focusedWidget()->objectName(), QStringLiteral("m_editMessageSize"));
}

// The largest number each unit allows is written as exactly that many units.
void tst_WndSmtp::largestAmountsAreWrittenExactly_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("2047 MB") << "m_editMessageSize" << "2047"
                             << QStringList{"update smtp set MaxMessageSize='2146435072'"};
    QTest::newRow("24855 days") << "m_editBounce" << "24855"
                                << QStringList{"update smtp set QueueBounceTimeout='2147472000'"};
}

void tst_WndSmtp::largestAmountsAreWrittenExactly()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QStringList, pending);
    WndSmtp* page = build();
    typeOver(page->findChild<QLineEdit*>(field), typed);
    QCOMPARE(m_fixture.pending(), pending);
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QVERIFY(m_fixture.messageTexts().isEmpty());
}

void tst_WndSmtp::toggleOnAndOffLeavesNothingPending()
{
    WndSmtp* page = build();
    page->m_chkUseSSL->click();
    QCOMPARE(m_fixture.pending(), QStringList{"update smtp set ClientUseSSL='0'"});
    page->m_chkUseSSL->click();
    QVERIFY(m_fixture.pending().isEmpty());

    page->m_rbtnDNS->click();
    QCOMPARE(m_fixture.pending(), QStringList{"update smtp set DeliveryMode='1'"});
    page->m_rbtnSMTP->click();
    QVERIFY(m_fixture.pending().isEmpty());
}

// Typed key by key, an edit of either row makes the pending list non-empty once and keeps it
// so: Apply and Reset come on with the first key and never go off and on again between keys,
// whichever of the two rows the field writes.
void tst_WndSmtp::buttonsComeOnOnceWhileTyping_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("the relay's host name") << "m_editHostname" << "relay.example"
                                           << QStringList{"update relay set ServerName='relay.example'"};
    QTest::newRow("the hops") << "m_editHops" << "2961"
                              << QStringList{"update smtp set MaxHops='2961'"};
}

void tst_WndSmtp::buttonsComeOnOnceWhileTyping()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QStringList, pending);
    WndSmtp* page = build();
    QSignalSpy emptiness(m_fixture.m_ctrl.get(), &DBCtrl::sig_empty);
    typeOver(page->findChild<QLineEdit*>(field), typed);
    QCOMPARE(m_fixture.pending(), pending);
    QCOMPARE(emptiness.size(), 1);
    QCOMPARE(emptiness.first().first().toBool(), false);
}

void tst_WndSmtp::everyVisibleEditIsWritten_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("host name") << "m_editHostname" << "relay.example"
                               << QStringList{"update relay set ServerName='relay.example'"};
    QTest::newRow("host name, case only") << "m_editHostname" << "SMTP.Provider.example"
                                          << QStringList{"update relay set ServerName='SMTP.Provider.example'"};
    QTest::newRow("user, case only") << "m_editUser" << "Corvane-Relay"
                                     << QStringList{"update relay set AuthUser='Corvane-Relay'"};
    QTest::newRow("value with an apostrophe") << "m_editUser" << "o'brien"
                                              << QStringList{"update relay set AuthUser='o\\'brien'"};
    QTest::newRow("edited back") << "m_editThreads" << "10" << QStringList{};
}

void tst_WndSmtp::everyVisibleEditIsWritten()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QStringList, pending);
    WndSmtp* page = build();
    typeOver(page->findChild<QLineEdit*>(field), text);
    QCOMPARE(m_fixture.pending(), pending);
}

void tst_WndSmtp::passwordPlaceholder_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("placeholder left") << QStringList{} << QStringList{};
    QTest::newRow("cleared") << QStringList{""} << QStringList{"update relay set AuthPass='NUL:'"};
    QTest::newRow("new password") << QStringList{"s3cret"}
                                  << QStringList{"update relay set AuthPass='NUL:s3cret'"};
    QTest::newRow("placeholder typed back leaves the stored one")
        << QStringList{"s3cret", "PlainFillText"} << QStringList{};
}

void tst_WndSmtp::passwordPlaceholder()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, pending);
    WndSmtp* page = build();
    for (const QString& text : typed)
        typeOver(page->m_editPassword, text);
    // Another edit rewrites every column: the placeholder is still never written.
    typeOver(page->m_editThreads, "12");
    pending.prepend(QStringLiteral("update smtp set MaxConcurrency='12'"));
    QCOMPARE(m_fixture.pending(), pending);
}

void tst_WndSmtp::passwordChangedOnlyInCaseIsWritten()
{
    WndSmtp* page = build();
    typeOver(page->m_editPassword, "secret");
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QCOMPARE(m_fixture.storedCell("relay", "AuthPass"), QStringLiteral("secret"));

    typeOver(page->m_editPassword, "SECRET");
    QCOMPARE(m_fixture.pending(), QStringList{"update relay set AuthPass='NUL:SECRET'"});
}

void tst_WndSmtp::relayChoiceEnablesItsWidgets()
{
    WndSmtp* page = build();
    const QList<QWidget*> relay{page->m_editHostname, page->m_editPort, page->m_btnDefault,
                                page->m_chkAuth};
    const QList<QWidget*> auth{page->m_editUser, page->m_editPassword, page->m_comboAuth};
    auto enabled = [](const QList<QWidget*>& widgets) {
        QList<bool> states;
        for (QWidget* widget : widgets)
            states.append(widget->isEnabled());
        return states;
    };
    QCOMPARE(enabled(relay), QList<bool>(4, true));
    QCOMPARE(enabled(auth), QList<bool>(3, true));
    page->m_rbtnSMTP->click(); // the chosen one stays chosen
    QVERIFY(page->m_rbtnSMTP->isChecked());
    QVERIFY(m_fixture.pending().isEmpty());

    page->m_chkAuth->click();
    QCOMPARE(enabled(relay), QList<bool>(4, true));
    QCOMPARE(enabled(auth), QList<bool>(3, false));

    page->m_chkAuth->click();
    page->m_rbtnDNS->click();
    QVERIFY(!page->m_rbtnSMTP->isChecked());
    QCOMPARE(enabled(relay), QList<bool>(4, false));
    QCOMPARE(enabled(auth), QList<bool>(3, false));
    QVERIFY(page->m_editHops->isEnabled());
}

void tst_WndSmtp::defaultPort_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("another port") << "587" << QStringList{"update relay set ServerPort='25'"};
    QTest::newRow("already 25") << "25" << QStringList{};
}

void tst_WndSmtp::defaultPort()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, pending);
    m_fixture.setCells("relay", {{"ServerPort", stored}});
    WndSmtp* page = build();
    page->m_btnDefault->click();
    QCOMPARE(page->m_editPort->text(), QStringLiteral("25"));
    QCOMPARE(m_fixture.pending(), pending);
}

using Answers = QList<int>;

void tst_WndSmtp::questions_data()
{
    QTest::addColumn<bool>("relay");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("user");
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<bool>("sent");

    const QString hostAndPort = QStringLiteral(
        "You should fill relay server hostname and port.\nDo you want to correct the problem?");
    const QString user = QStringLiteral("You should user name.\nDo you want to correct the problem?");
    const int yes = QMessageBox::Yes, no = QMessageBox::No, cancel = QMessageBox::Cancel;

    QTest::newRow("direct delivery asks nothing")
        << false << "" << "" << "" << Answers{} << QStringList{} << "" << true;
    QTest::newRow("relay filled in") << true << "relay.example" << "25" << "me" << Answers{}
                                     << QStringList{} << "" << true;
    QTest::newRow("port empty, Yes") << true << "relay.example" << "" << "me" << Answers{yes}
                                     << QStringList{hostAndPort} << "m_editHostname" << false;
    QTest::newRow("host empty, Cancel") << true << "" << "25" << "me" << Answers{cancel}
                                        << QStringList{hostAndPort} << "m_editHostname" << false;
    QTest::newRow("user empty, Yes") << true << "relay.example" << "25" << "" << Answers{yes}
                                     << QStringList{user} << "m_editUser" << false;
    QTest::newRow("No goes on to the user")
        << true << "" << "" << "" << Answers{no, yes} << QStringList{hostAndPort, user}
        << "m_editUser" << false;
    QTest::newRow("No to both applies") << true << "" << "" << "" << Answers{no, no}
                                        << QStringList{hostAndPort, user} << "" << true;
    // The port is the server's to judge: one beyond 16 bits is asked nothing about.
    QTest::newRow("port beyond 16 bits, user empty, Yes")
        << true << "relay.example" << "99999" << "" << Answers{yes} << QStringList{user}
        << "m_editUser" << false;
}

void tst_WndSmtp::questions()
{
    QFETCH(bool, relay);
    QFETCH(QString, host);
    QFETCH(QString, port);
    QFETCH(QString, user);
    QFETCH(Answers, answers);
    QFETCH(QStringList, asked);
    QFETCH(QString, focused);
    QFETCH(bool, sent);

    WndSmtp* page = build();
    // Typed while the relay's fields take keys.
    typeOver(page->m_editHostname, host);
    typeOver(page->m_editPort, port);
    typeOver(page->m_editUser, user);
    typeOver(page->m_editHops, "29"); // something to send in every row
    (relay ? page->m_rbtnSMTP : page->m_rbtnDNS)->click();
    page->m_editHops->setFocus();
    m_fixture.applyAnswering(answers, asked, focused, sent);
}

void tst_WndSmtp::withdrawnApplyIsHandedInAgain()
{
    WndSmtp* page = build();
    typeOver(page->m_editUser, "");
    typeOver(page->m_editHops, "29");
    const QStringList before = m_fixture.pending();
    QCOMPARE(before.size(), 2);
    m_fixture.m_dialogs->answer(QMessageBox::Yes);

    QCOMPARE(m_fixture.apply(), ApplyOutcome::Withdrawn);
    QVERIFY(m_fixture.pending().isEmpty());

    m_fixture.m_ctrl->update_again();
    QCOMPARE(m_fixture.pending(), before);
}

// A port beyond 16 bits is written as typed, in either delivery mode, never cut to another
// port: the server refuses it, and the edit stays pending and on screen.
void tst_WndSmtp::portBeyondSixteenBitsGoesAsTyped_data()
{
    QTest::addColumn<bool>("relay");

    QTest::newRow("relay") << true;
    QTest::newRow("direct delivery") << false;
}

void tst_WndSmtp::portBeyondSixteenBitsGoesAsTyped()
{
    QFETCH(bool, relay);
    WndSmtp* page = build();
    typeOver(page->m_editPort, "70000");
    if (!relay)
        page->m_rbtnDNS->click();
    const QString port = QStringLiteral("update relay set ServerPort='70000'");
    QVERIFY2(m_fixture.pending().contains(port), qPrintable(m_fixture.pending().join(u'\n')));

    const int mark = m_fixture.journalSize();
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Refused);
    QVERIFY(m_fixture.journalSince(mark).contains(port));
    QCOMPARE(m_fixture.messageTexts(), QStringList{"Query failed: Wrong SQL query"});
    QVERIFY(m_fixture.pending().contains(port));
    QCOMPARE(m_fixture.storedCell("relay", "ServerPort"), QStringLiteral("587"));
    QCOMPARE(page->m_editPort->text(), QStringLiteral("70000"));
}

void tst_WndSmtp::resetRestoresTheLoadedRows()
{
    WndSmtp* page = build();
    page->m_rbtnDNS->click();
    typeOver(page->m_editHostname, "other.example");
    typeOver(page->m_editPassword, "typed");
    choose(page->m_comboKB, 0);
    QVERIFY(!m_fixture.pending().isEmpty());

    m_fixture.m_ctrl->reset();

    QVERIFY(m_fixture.pending().isEmpty());
    QVERIFY(page->m_rbtnSMTP->isChecked());
    QVERIFY(!page->m_rbtnDNS->isChecked());
    QVERIFY(page->m_editHostname->isEnabled());
    QCOMPARE(page->m_editHostname->text(), QStringLiteral("smtp.provider.example"));
    QCOMPARE(page->m_editPassword->text(), QStringLiteral("PlainFillText"));
    QCOMPARE(page->m_comboKB->currentText(), QStringLiteral("MB"));
    typeOver(page->m_editHops, "30");
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_WndSmtp::appliedEditIsKept()
{
    WndSmtp* page = build();
    typeOver(page->m_editHostname, "mail.harbour-relay.example");
    const int mark = m_fixture.journalSize();
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QCOMPARE(m_fixture.journalSince(mark),
             QStringList{"update relay set ServerName='mail.harbour-relay.example'"});
    // Committed: the same text again is no change.
    typeOver(page->m_editHops, "30");
    QVERIFY(m_fixture.pending().isEmpty());

    WndSmtp* again = build();
    QCOMPARE(again->m_editHostname->text(), QStringLiteral("mail.harbour-relay.example"));
}

void tst_WndSmtp::refusedLoadLeavesThePageInert()
{
    m_fixture.m_server->refuse(QStringLiteral("from relay"), 109);
    const int mark = m_fixture.journalSize();
    WndSmtp* page = build();

    QCOMPARE(m_fixture.messageTexts(), QStringList{"Query failed: Table does not exists"});
    QCOMPARE(m_fixture.m_dialogs->messages.first().caption, QStringLiteral("Ornel Corvane Administration"));
    QVERIFY(!page->isReady());
    QVERIFY(!page->m_rbtnSMTP->isChecked());
    QVERIFY(!page->m_rbtnDNS->isChecked());
    QVERIFY(page->m_editUser->isEnabled());
    QVERIFY(page->m_editHops->validator() == nullptr);

    typeOver(page->m_editHostname, "relay.example");
    page->m_chkUseSSL->click();
    QVERIFY(m_fixture.pending().isEmpty());
    m_fixture.m_ctrl->reset();
    QCOMPARE(page->m_editHostname->text(), QStringLiteral("relay.example"));
    QCOMPARE(m_fixture.journalSince(mark).size(), 2); // smtp, then relay: nothing after
}

void tst_WndSmtp::rowlessTableLeavesThePageInert()
{
    m_fixture.emptyTable("smtp");
    WndSmtp* page = build();
    QVERIFY(!page->isReady());
    QVERIFY(m_fixture.messageTexts().isEmpty());
    typeOver(page->m_editThreads, "4");
    page->m_rbtnDNS->click();
    QVERIFY(m_fixture.pending().isEmpty());
}

// The administrator may close the page while it waits for its second table: nothing of it
// is touched afterwards, and the request it waited for is given up.
void tst_WndSmtp::pageClosedWhileItLoads()
{
    QVERIFY(m_fixture.m_server->delay(QStringLiteral("from relay"), 300, 1));
    QPointer<QWidget> container = new QWidget;
    QObject closer;
    QTimer::singleShot(50, &closer, [&container] { delete container.data(); });

    new WndSmtp(container, m_fixture.m_conn->get(), m_fixture.m_ctrl.get(), nullptr, {}); // owned by container

    QVERIFY(container.isNull());
    QVERIFY(m_fixture.pending().isEmpty());
    // The connection goes on serving.
    WndSmtp* page = build();
    QVERIFY(page->isReady());
}

QTEST_MAIN(tst_WndSmtp)
#include "tst_wndsmtp.moc"
