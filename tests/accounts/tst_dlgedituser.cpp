// The edit-user dialog on rows of a users page built against the stand-in server: what it
// shows of a row and what its OK handler writes back.

#include "accountfields.h"
#include "accounttexts.h"
#include "dbctrl.h"
#include "dbrow.h"
#include "dialogrecorder.h"
#include "dlgaddgroup.h"
#include "dlgedituser.h"
#include "globaldata.h"
#include "listtexts.h"
#include "quseritem.h"
#include "pagesession.h"
#include "typing.h"
#include "usersfixture.h"
#include "wndprogress.h"
#include "wnduser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using AccountTexts::cell;

class TestDlgEditUser : public QObject
{
    Q_OBJECT

private slots:
    // A locale whose group separator is the comma, whatever the machine's.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init();
    void cleanup();

    void pin_data();
    void pin();
    void numberFields_data();
    void numberFields();
    void unitChosenUnderAStoredQuota_data();
    void unitChosenUnderAStoredQuota();
    void password_data();
    void password();
    void okFollowsPasswordsAndAuthentication_data();
    void okFollowsPasswordsAndAuthentication();
    void failedAuthTypesKeepStoredType();
    void language_data();
    void language();
    void flags_data();
    void flags();
    void groupsReadUnderTheWaitIndicator();
    void groupsSortedByNameWhateverTheHeader();

private:
    DBRow* userRow(const QString& name) const
    {
        for (const auto& row : m_page->m_users.m_rows) {
            if (cell(row.get(), "name") == name)
                return row.get();
        }
        return nullptr;
    }
    std::unique_ptr<DlgEditUser> openOn(DBRow* row) const
    {
        return std::make_unique<DlgEditUser>(row, m_session->connection(), &m_page->m_groups,
                                             &m_page->m_languages, m_page.get());
    }

    std::unique_ptr<PageSession> m_session;
    StandIn::TestServer* m_server = nullptr;
    DBCtrl* m_ctrl = nullptr;
    std::unique_ptr<WndUser> m_page;
};

void TestDlgEditUser::init()
{
    globalData.currentDomain.clear();
    m_session = std::make_unique<PageSession>();
    m_server = m_session->server.get();
    m_ctrl = &m_session->ctrl;
    UsersFixture::install(*m_server);
    QVERIFY(m_session->connect());
    m_page = std::make_unique<WndUser>(nullptr, m_session->connection(), m_ctrl, nullptr);
}

void TestDlgEditUser::cleanup()
{
    m_page.reset();
    m_session.reset();
}

void TestDlgEditUser::pin_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("pinAfter");
    QTest::addColumn<QString>("fullnameAfter");
    QTest::addColumn<QStringList>("warnings");

    const QStringList refused{"PIN for web access must exactly contain four numbers!"};
    QTest::newRow("four digits, leading zero") << "0123" << true << "NUL:0123" << "Typed Name" << QStringList();
    QTest::newRow("empty keeps the stored PIN") << "" << true << "" << "Typed Name" << QStringList();
    QTest::newRow("too short: nothing written") << "12" << false << "" << "Bob Okafor" << refused;
    QTest::newRow("a fifth digit is not taken") << "12345" << true << "NUL:1234" << "Typed Name"
                                                << QStringList();
    QTest::newRow("not digits: the letter is not taken") << "12a4" << false << "" << "Bob Okafor"
                                                         << refused;
}

// The quota, page size and PIN fields take the digits typed and nothing else, whatever the
// locale, as an integer validator up to their top takes them while typing, and OK writes the
// number shown without a question.
void TestDlgEditUser::numberFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("written");

    QTest::newRow("disk space, a group separator")
        << "m_editDiskSpace" << "1,000" << "1000" << "qstorage" << "1024000";
    QTest::newRow("messages, a group separator")
        << "m_editNumMess" << "2,500" << "2500" << "qmessage" << "2500";
    QTest::newRow("page size, a group separator")
        << "m_editNumMsg" << "1,5" << "15" << "msgperpage" << "15";
    QTest::newRow("PIN, a group separator")
        << "m_editPIN" << "1,234" << "1234" << "pin" << "NUL:1234";
    QTest::newRow("disk space beyond the validator's top")
        << "m_editDiskSpace" << "1000001" << "1000001" << "qstorage" << "1024001024";
    QTest::newRow("messages, seven nines")
        << "m_editNumMess" << "9999999" << "9999999" << "qmessage" << "9999999";
    QTest::newRow("messages, an eighth digit is not taken")
        << "m_editNumMess" << "10000001" << "1000000" << "qmessage" << "1000000";
    QTest::newRow("page size beyond the validator's top")
        << "m_editNumMsg" << "5000000" << "5000000" << "msgperpage" << "5000000";
}

void TestDlgEditUser::numberFields()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, column);
    QFETCH(QString, written);

    DBRow* row = userRow(QStringLiteral("bob"));
    auto dialog = openOn(row);
    QVERIFY(dialog->isReady());
    DialogRecorder recorder;
    auto* edit = dialog->findChild<QLineEdit*>(field);
    typeOver(edit, typed);
    QCOMPARE(edit->text(), shown);
    dialog->slotOK();
    QCOMPARE(recorder.messageTexts(), QStringList());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(cell(row, column.toLatin1().constData()), written);
}

// A unit chosen under a disk space left alone makes the number the administrator's: it is
// written as that many of the new unit. Only one the column cannot hold in that unit keeps
// the dialog open, whatever the answer, with the row as it was.
void TestDlgEditUser::unitChosenUnderAStoredQuota_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QStringList>("told");
    QTest::addColumn<QString>("written");

    // A gigabyte and a kilobyte: shown in KB, past the field's top.
    QTest::newRow("beyond the field's top, made GB")
        << "1073742848" << "1048577" << 2 << QStringList{} << "1125900980584448";
    QTest::newRow("in range, made MB") << "5120" << "5" << 1 << QStringList{} << "5242880";
    // 2^33 + 1 KB: as many GB would not fit 64 bits.
    QTest::newRow("beyond the column, made GB")
        << "8796093023232" << "8589934593" << 2
        << QStringList{"Disk space must be a number from 0 to 8589934591 GB."} << "8796093023232";
}

void TestDlgEditUser::unitChosenUnderAStoredQuota()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(int, unit);
    QFETCH(QStringList, told);
    QFETCH(QString, written);

    DBRow* row = userRow(QStringLiteral("bob"));
    setCell(row, "qstorage", stored);
    auto dialog = openOn(row);
    QVERIFY(dialog->isReady());
    QCOMPARE(dialog->m_editDiskSpace->text(), shown);
    QCOMPARE(dialog->m_comboKB->currentIndex(), 0);
    DialogRecorder recorder;
    dialog->m_comboKB->setCurrentIndex(unit);
    emit dialog->m_comboKB->activated(unit);
    dialog->slotOK();
    QCOMPARE(recorder.messageTexts(), told);
    QCOMPARE(dialog->result() == QDialog::Accepted, told.isEmpty());
    QCOMPARE(cell(row, "qstorage"), written);
}

void TestDlgEditUser::pin()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(QString, pinAfter);
    QFETCH(QString, fullnameAfter);
    QFETCH(QStringList, warnings);

    DBRow* row = userRow(QStringLiteral("bob"));
    auto dialog = openOn(row);
    QVERIFY(dialog->isReady());
    QCOMPARE(dialog->m_editPIN->text(), QString());
    DialogRecorder recorder;
    typeOver(dialog->m_editFull, QStringLiteral("Typed Name"));
    typeOver(dialog->m_editPIN, typed);
    dialog->slotOK();

    QCOMPARE(dialog->result() == QDialog::Accepted, accepted);
    QCOMPARE(recorder.messageTexts(), warnings);
    for (const DialogRecorder::Message& message : std::as_const(recorder.messages)) {
        QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
        QVERIFY(!message.parent);
    }
    QCOMPARE(cell(row, "pin"), pinAfter);
    QCOMPARE(cell(row, "fullname"), fullnameAfter);
}

void TestDlgEditUser::password_data()
{
    QTest::addColumn<bool>("retype");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written"); // "" : the stored value stays

    QTest::newRow("placeholder never written") << false << "" << "";
    QTest::newRow("cleared fields write an empty password") << true << "" << "NUL:";
    QTest::newRow("new password") << true << "s3cret!" << "NUL:s3cret!";
}

void TestDlgEditUser::password()
{
    QFETCH(bool, retype);
    QFETCH(QString, typed);
    QFETCH(QString, written);

    DBRow* row = userRow(QStringLiteral("bob"));
    const QString stored = cell(row, "password");
    auto dialog = openOn(row);
    QCOMPARE(dialog->m_editPass->text(), QStringLiteral("PlainFillText"));
    QCOMPARE(dialog->m_editConfPass->text(), QStringLiteral("PlainFillText"));
    if (retype) {
        dialog->m_editPass->setText(typed);
        dialog->m_editConfPass->setText(typed);
    }
    QVERIFY(dialog->m_btnOK->isEnabled());
    dialog->slotOK();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(cell(row, "password"), written.isEmpty() ? stored : written);
}

void TestDlgEditUser::okFollowsPasswordsAndAuthentication_data()
{
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<int>("authEntry");
    QTest::addColumn<bool>("okEnabled");
    QTest::addColumn<bool>("passwordFieldsEnabled");

    QTest::newRow("matching, internal") << "abc" << 0 << true << true;
    QTest::newRow("differing, internal") << "abd" << 0 << false << true;
    QTest::newRow("differing, another type") << "abd" << 1 << true << false;
}

void TestDlgEditUser::okFollowsPasswordsAndAuthentication()
{
    QFETCH(QString, confirmation);
    QFETCH(int, authEntry);
    QFETCH(bool, okEnabled);
    QFETCH(bool, passwordFieldsEnabled);

    DBRow* row = userRow(QStringLiteral("bob"));
    auto dialog = openOn(row);
    QCOMPARE(dialog->m_auth->count(), 4);
    QCOMPARE(dialog->m_auth->currentText(), QStringLiteral("Internal user database"));
    dialog->m_editPass->setText(QStringLiteral("abc"));
    dialog->m_editConfPass->setText(confirmation);
    dialog->m_auth->setCurrentIndex(authEntry);
    emit dialog->m_auth->activated(authEntry);
    QCOMPARE(dialog->m_btnOK->isEnabled(), okEnabled);
    QCOMPARE(dialog->m_editPass->isEnabled(), passwordFieldsEnabled);
    QCOMPARE(dialog->m_lblPass2->isEnabled(), passwordFieldsEnabled);
    if (!okEnabled)
        return;
    dialog->slotOK();
    // The typed password is written whatever the type; the type is the entry's ID.
    QCOMPARE(cell(row, "password"), QStringLiteral("NUL:abc"));
    QCOMPARE(cell(row, "auth_type"), QString::number(authEntry));
}

void TestDlgEditUser::failedAuthTypesKeepStoredType()
{
    DBRow* row = userRow(QStringLiteral("eve"));
    QCOMPARE(cell(row, "auth_type"), QStringLiteral("2"));
    QVERIFY(m_server->refuse("get_auth_types", 106));
    DialogRecorder recorder;
    auto dialog = openOn(row);
    QCOMPARE(recorder.messageTexts(), QStringList{"Operation failed."});
    QCOMPARE(recorder.messages.at(0).caption, QStringLiteral("Error"));
    QCOMPARE(dialog->m_auth->count(), 0);
    dialog->slotOK();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(cell(row, "auth_type"), QStringLiteral("2"));
}

void TestDlgEditUser::language_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("chosen"); // -1: the box as it was filled
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("written");

    QTest::newRow("stored entry") << "de" << -1 << "de" << "de";
    QTest::newRow("stored in upper case, kept") << "FR" << -1 << "fr" << "FR";
    QTest::newRow("stored in upper case, another entry chosen") << "FR" << 1 << "fr" << "de";
    QTest::newRow("empty, first entry: nothing written") << "" << -1 << "en" << "";
    QTest::newRow("empty, another entry chosen") << "" << 2 << "en" << "fr";
    QTest::newRow("unknown value kept") << "pt" << -1 << "pt" << "pt";
}

void TestDlgEditUser::language()
{
    QFETCH(QString, stored);
    QFETCH(int, chosen);
    QFETCH(QString, shown);
    QFETCH(QString, written);

    DBRow* row = userRow(QStringLiteral("bob"));
    setCell(row, "preflang", stored);
    auto dialog = openOn(row);
    QCOMPARE(dialog->m_comboLang->currentText(), shown);
    QCOMPARE(dialog->m_comboLang->itemText(0), QStringLiteral("en"));
    if (chosen >= 0)
        dialog->m_comboLang->setCurrentIndex(chosen);
    dialog->slotOK();
    QCOMPARE(cell(row, "preflang"), written);
}

void TestDlgEditUser::flags_data()
{
    QTest::addColumn<QByteArray>("column");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<bool>("shownOn");

    QTest::newRow("enabled account") << QByteArray("account_enabled") << "1" << QByteArray("m_chkDisabled") << false;
    QTest::newRow("disabled account") << QByteArray("account_enabled") << "0" << QByteArray("m_chkDisabled") << true;
    QTest::newRow("folder list hidden") << QByteArray("hidefldlist") << "1" << QByteArray("m_chkShowFldList") << false;
    QTest::newRow("folder list shown") << QByteArray("hidefldlist") << "0" << QByteArray("m_chkShowFldList") << true;
    QTest::newRow("subscribed only") << QByteArray("showsub") << "1" << QByteArray("m_chkShowSub") << true;
    QTest::newRow("all folders") << QByteArray("showsub") << "0" << QByteArray("m_chkShowSub") << false;
}

void TestDlgEditUser::flags()
{
    QFETCH(QByteArray, column);
    QFETCH(QString, stored);
    QFETCH(QByteArray, box);
    QFETCH(bool, shownOn);

    DBRow* row = userRow(QStringLiteral("bob"));
    setCell(row, column.constData(), stored);
    auto dialog = openOn(row);
    auto* check = dialog->findChild<QCheckBox*>(QString::fromLatin1(box));
    QCOMPARE(check->isChecked(), shownOn);
    dialog->slotOK();
    QCOMPARE(cell(row, column.constData()), stored); // written back as it was
    auto again = openOn(row);
    again->findChild<QCheckBox*>(QString::fromLatin1(box))->setChecked(!shownOn);
    again->slotOK();
    QCOMPARE(cell(row, column.constData()), stored == QLatin1String("1") ? QStringLiteral("0") : QStringLiteral("1"));
}

// A dialog's load that lasts shows the wait indicator over the window in front, as every
// wait does, and the dialog opens once the load is in.
void TestDlgEditUser::groupsReadUnderTheWaitIndicator()
{
    // Long enough for the indicator to be made, and shown.
    QVERIFY(m_server->delay("from group", 600, 1));
    m_page->show();
    WndProgress::setDefaultParent(m_page.get());
    QString shownText;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] {
        for (QWidget* widget : QApplication::allWidgets()) {
            auto* indicator = qobject_cast<WndProgress*>(widget);
            if (indicator && indicator->isVisible() && indicator->parentWidget() == m_page.get())
                shownText = indicator->findChild<QLabel*>(QStringLiteral("txtLabel"))->text();
        }
    });
    ticker.start(20);
    const int journalBefore = int(m_server->journal().size());
    auto dialog = openOn(userRow(QStringLiteral("bob")));
    ticker.stop();
    WndProgress::setDefaultParent(nullptr);

    QVERIFY(dialog->isReady());
    QCOMPARE(shownText, QStringLiteral("Transfering data ..."));
    QCOMPARE(journalFrom(*m_server, journalBefore).value(0),
             QStringLiteral("select name, domain, description, rights from group"));
}

// Sorting the list by a click on its header is no edit: the groups keep their stored order.
// Once a group joins, they are written in ascending order, whatever the header shows.
void TestDlgEditUser::groupsSortedByNameWhateverTheHeader()
{
    DBRow* row = userRow(QStringLiteral("bob"));
    QCOMPARE(cell(row, "groups"), QStringLiteral("support,staff"));
    for (const bool joined : {false, true}) {
        auto dialog = openOn(row);
        dialog->m_tab->setCurrentIndex(1);
        dialog->show();
        QCOMPARE(listedNames(dialog->m_listGroups), (QStringList{"[staff]", "[support]"}));
        clickHeader(dialog->m_listGroups, 0);
        QCOMPARE(listedNames(dialog->m_listGroups), (QStringList{"[support]", "[staff]"}));
        DialogRecorder recorder;
        if (joined) {
            // The picker offers the groups of the console's current domain.
            globalData.currentDomain = QStringLiteral("lakeside.example");
            recorder.answerDialog([](QDialog* picker) {
                qobject_cast<DlgAddGroup*>(picker)->m_listGroups->selectAll();
                return int(QDialog::Accepted);
            });
            dialog->slotAdd();
            QCOMPARE(listedNames(dialog->m_listGroups), (QStringList{"[support]", "[staff]", "[sales]"}));
        }
        dialog->slotOK();
        QCOMPARE(cell(row, "groups"), joined ? QStringLiteral("sales,staff,support") : QStringLiteral("support,staff"));
    }
}

QTEST_MAIN(TestDlgEditUser)
#include "tst_dlgedituser.moc"
