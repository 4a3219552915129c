// A number the administrator types, key by key, reaches the server exactly as the field
// shows it, in a main window on the stand-in server: through the list pages' dialogs and on
// SMTP Properties, with no question of the console's own; the server's answer decides. Only a
// number the console cannot hold (an amount beyond its column) stops the OK or the apply, and
// then nothing of it goes out. An edit in a field always counts as an edit.

#include "dialogrecorder.h"
#include "shellharness.h"
#include "typing.h"
#include "wndsmtp.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

namespace {

const char* const Smtp = "Configuration/SMTP Properties";
const char* const Antivirus = "Configuration/Antivirus";

const QString UnsavedQuestion = QStringLiteral(
    "You have modified some data in the current view.\nSave changes on 127.0.0.1?");
// Its buttons, by their place: "&Yes", "&No", "&Cancel".
enum UnsavedAnswer { Yes = 0, No = 1 };

// A field typed over, key by key: "objectName=text".
struct Typing
{
    QString field;
    QString text;
};

QList<Typing> typings(const QStringList& pairs)
{
    QList<Typing> list;
    for (const QString& pair : pairs)
        list.append({pair.section(u'=', 0, 0), pair.section(u'=', 1)});
    return list;
}

// The dialog's answer: its fields typed over, its choice boxes set ("box:index"), then its
// OK button clicked; what the dialog made of it (it may stay open).
std::function<int(QDialog*)> typedThenOk(const QStringList& pairs, bool* closedByOk)
{
    return [pairs, closedByOk](QDialog* dialog) {
        for (const Typing& typing : typings(pairs)) {
            if (typing.field.contains(u':')) {
                auto* box = dialog->findChild<QComboBox*>(typing.field.section(u':', 0, 0));
                const int index = typing.field.section(u':', 1).toInt();
                box->setCurrentIndex(index);
                emit box->activated(index);
                continue;
            }
            typeOver(dialog->findChild<QLineEdit*>(typing.field), typing.text);
        }
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == QLatin1String("OK")) {
                button->click();
                break;
            }
        }
        *closedByOk = dialog->result() == QDialog::Accepted;
        return dialog->result();
    };
}

// The first entry of the list with a column reading `text`.
QTreeWidgetItem* itemShowing(const QTreeWidget* list, const QString& text)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        for (int column = 0; column < list->columnCount(); ++column) {
            if (item->text(column) == text)
                return item;
        }
    }
    return nullptr;
}

// The first of object and its parents that has the slot `name()`: the page around a list.
QObject* ownerOfSlot(QObject* object, const QString& name)
{
    const QByteArray signature = QMetaObject::normalizedSignature(qPrintable(name + "()"));
    for (; object; object = object->parent()) {
        if (object->metaObject()->indexOfSlot(signature.constData()) >= 0)
            return object;
    }
    return nullptr;
}

} // namespace

class TestTypedNumbers : public QObject
{
    Q_OBJECT

private slots:
    // A locale whose group separator is the comma, whatever the machine's.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init();
    void cleanup();

    void dialogSendsTheNumbersAsTyped_data();
    void dialogSendsTheNumbersAsTyped();
    void smtpNumbersGoAsTypedWithTheRestOfTheEdit();
    void smtpNumberAloneCountsAsAnEdit();
    void smtpAmountBeyondTheColumnKeepsThePage();

private:
    WndSmtp* openSmtp();

    std::unique_ptr<WindowOnStandIn> m_standIn;
    StandIn::TestServer* m_server = nullptr;
    WndMain* m_window = nullptr;
};

void TestTypedNumbers::init()
{
    m_standIn = std::make_unique<WindowOnStandIn>();
    m_server = m_standIn->server.get();
    m_window = m_standIn->window;
    QVERIFY(m_window);
}

void TestTypedNumbers::cleanup()
{
    m_standIn.reset();
}

WndSmtp* TestTypedNumbers::openSmtp()
{
    return openPage<WndSmtp>(m_window, QString::fromLatin1(Smtp));
}

// An edit dialog of a list page: the fields typed, OK, then Apply. What the server received,
// and the boxes shown on the way; a refusal keeps the statement pending.
void TestTypedNumbers::dialogSendsTheNumbersAsTyped_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("action"); // the page's slot that opens the dialog
    QTest::addColumn<QString>("item");   // the list entry made current first
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("received");
    QTest::addColumn<QStringList>("told");

    const QString refused = QStringLiteral("Query failed: Wrong SQL query");
    QTest::newRow("POP3, description and a port beyond 16 bits")
        << "Configuration/POP3 Download" << "slotEdit" << "corvane-sales"
        << QStringList{"m_editDescription=Moved", "m_editPort=70000"} << true
        << QStringList{"update pop3 set port='70000', description='Moved' where "
                       "user='corvane-sales' and server='pop.isp-mail.example'"}
        << QStringList{refused};
    QTest::newRow("POP3, a port the server takes")
        << "Configuration/POP3 Download" << "slotEdit" << "corvane-sales"
        << QStringList{"m_editDescription=Moved", "m_editPort=1100"} << true
        << QStringList{"update pop3 set port='1100', description='Moved' where "
                       "user='corvane-sales' and server='pop.isp-mail.example'"}
        << QStringList{};
    QTest::newRow("Users, full name and disk space beyond the validator's top")
        << "Domain Settings/Users" << "slotEdit" << "bob"
        << QStringList{"m_editFull=Robert Okafor", "m_comboKB:0=", "m_editDiskSpace=1000001"}
        << true
        << QStringList{"update user set qstorage='1024001024', fullname='Robert Okafor' where "
                       "name='bob' and domain=''"}
        << QStringList{};
    QTest::newRow("Services, a port beyond 16 bits")
        << "Configuration/Services" << "slotProp" << "POP3 Server (SSL)"
        << QStringList{"m_editPort=70000"} << true
        << QStringList{"update service-pop3s set port='70000'"} << QStringList{refused};
    QTest::newRow("Scheduling, an interval beyond the column in hours")
        << "Configuration/Scheduling" << "slotEdit" << "Night delivery"
        << QStringList{"m_comboMin:1=", "m_editDesc=Later", "m_edit=40000000"} << false
        << QStringList{}
        << QStringList{"Interval must be a number from 0 to 35791394 Hours."};
}

void TestTypedNumbers::dialogSendsTheNumbersAsTyped()
{
    QFETCH(QString, page);
    QFETCH(QString, action);
    QFETCH(QString, item);
    QFETCH(QStringList, typed);
    QFETCH(bool, accepted);
    QFETCH(QStringList, received);
    QFETCH(QStringList, told);

    choose(m_window, page);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* list = m_window->findChild<QTreeWidget*>(QStringLiteral("m_list"));
    QVERIFY(list);
    QTreeWidgetItem* current = itemShowing(list, item);
    QVERIFY2(current, qPrintable(item));
    list->setCurrentItem(current);
    QObject* shown = ownerOfSlot(list, action);
    QVERIFY(shown);

    DialogRecorder recorder;
    bool closedByOk = false;
    recorder.answerDialog(typedThenOk(typed, &closedByOk));
    QVERIFY(QMetaObject::invokeMethod(shown, qPrintable(action)));
    QCOMPARE(closedByOk, accepted);
    QCOMPARE(m_window->getApplyButton()->isEnabled(), accepted);

    const QStringList sent = applied(m_window, *m_server);
    QCOMPARE(sent, received);
    QCOMPARE(recorder.messageTexts(), told);
    // A refusal keeps the edit pending, and the Apply button on.
    const bool refused = accepted && !told.isEmpty();
    QCOMPARE(m_window->getApplyButton()->isEnabled(), refused);
}

// Typed over 587 key by key, the port goes as typed beside the option edited with it: the
// server takes the one and refuses the other, and the refused one stays on screen and pending.
void TestTypedNumbers::smtpNumbersGoAsTypedWithTheRestOfTheEdit()
{
    WndSmtp* page = openSmtp();
    QVERIFY(page);
    typeOver(page->m_editPort, QStringLiteral("70000"));
    page->m_tabs->setCurrentIndex(1);
    typeOver(page->m_editHops, QStringLiteral("31"));

    DialogRecorder recorder;
    QCOMPARE(applied(m_window, *m_server),
             (QStringList{"update smtp set MaxHops='31'", "update relay set ServerPort='70000'"}));
    QCOMPARE(recorder.messageTexts(), QStringList{"Query failed: Wrong SQL query"});
    QCOMPARE(page->m_editPort->text(), QStringLiteral("70000"));
    QCOMPARE(m_window->getDBCtrl()->m_pending,
             QStringList{"update relay set ServerPort='70000'"});
    QVERIFY(m_window->getApplyButton()->isEnabled());
}

// A number beyond the validator's top, and nothing else: Apply comes on, leaving the page
// asks, and Yes sends it; the page shows it again when it is chosen once more.
void TestTypedNumbers::smtpNumberAloneCountsAsAnEdit()
{
    WndSmtp* page = openSmtp();
    QVERIFY(page);
    page->m_tabs->setCurrentIndex(1);
    typeOver(page->m_editThreads, QStringLiteral("1000001"));
    QTest::keyClick(page->m_editThreads, Qt::Key_Tab);
    QCOMPARE(page->m_editThreads->text(), QStringLiteral("1000001"));
    QVERIFY(m_window->getApplyButton()->isEnabled());

    DialogRecorder recorder;
    recorder.answer(Yes);
    const int mark = int(m_server->journal().size());
    choose(m_window, QString::fromLatin1(Antivirus));
    QCOMPARE(recorder.messageTexts(), QStringList{UnsavedQuestion});
    QCOMPARE(journalFrom(*m_server, mark).first(), QStringLiteral("update smtp set MaxConcurrency='1000001'"));

    page = openSmtp();
    QVERIFY(page);
    QCOMPARE(page->m_editThreads->text(), QStringLiteral("1000001"));
}

// An amount the column cannot hold: Apply comes on; Yes at leaving the page tells why the
// apply stops, sends nothing, and keeps the page with the number as typed; No drops it.
void TestTypedNumbers::smtpAmountBeyondTheColumnKeepsThePage()
{
    WndSmtp* page = openSmtp();
    QVERIFY(page);
    page->m_tabs->setCurrentIndex(1);
    page->m_comboKB->setCurrentIndex(1);
    emit page->m_comboKB->activated(1);
    typeOver(page->m_editMessageSize, QStringLiteral("3000"));
    page->m_tabs->setCurrentIndex(0);
    typeOver(page->m_editUser, QStringLiteral("someone"));
    QVERIFY(m_window->getApplyButton()->isEnabled());

    const QPointer<WndSmtp> kept(page);
    const int mark = int(m_server->journal().size());
    {
        DialogRecorder recorder;
        recorder.answer(Yes);
        recorder.answer(QMessageBox::Ok);
        choose(m_window, QString::fromLatin1(Antivirus));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(recorder.messageTexts(),
                 (QStringList{UnsavedQuestion, "Maximum incoming message size must be a number "
                                               "from 0 to 2047 MB."}));
    }
    QVERIFY(kept);
    QCOMPARE(m_window->getTree()->currentItem()->text(0), QStringLiteral("SMTP Properties"));
    QCOMPARE(journalFrom(*m_server, mark), QStringList());
    QCOMPARE(page->m_editMessageSize->text(), QStringLiteral("3000"));
    QCOMPARE(page->m_tabs->currentIndex(), 1);
    QVERIFY(m_window->getApplyButton()->isEnabled());

    // The withdrawn apply turns the next change of the tree back, as a Cancel does.
    QVERIFY(m_window->isReverting());
    choose(m_window, QString::fromLatin1(Antivirus));
    QVERIFY(kept);
    DialogRecorder recorder;
    recorder.answer(No);
    choose(m_window, QString::fromLatin1(Antivirus));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(recorder.messageTexts(), QStringList{UnsavedQuestion});
    QVERIFY(!kept);
    QCOMPARE(journalFrom(*m_server, mark).filter(QStringLiteral("smtp")), QStringList());
    QVERIFY(!m_window->getApplyButton()->isEnabled());
}

QTEST_MAIN(TestTypedNumbers)
#include "tst_typednumbers.moc"
