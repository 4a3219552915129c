// The "Logging Messages" dialog swept over stored levels its check boxes show only as on or
// off (dialogsweep.h's rows): another event switched leaves the level as stored; the event's
// own box writes what it shows, and the stored level once it shows what it showed.

#include "dialogsweep.h"
#include "logfixture.h"
#include "wndlogconf.h"
#include "wndlogdbg.h"

#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace StandIn;

namespace {

const QString Event = QStringLiteral("debug event");

// A heading with two events; the sweep stores the level of the first.
void storeEvents(TestServer& server, const QString& incoming, int type)
{
    server.setTable(QStringLiteral("DebugEventList"),
                    {{QStringLiteral("parent"), TypeString, false},
                     {QStringLiteral("name"), TypeString, true},
                     {QStringLiteral("chkbox"), TypeInt, false},
                     {QStringLiteral("desc"), TypeString, false}},
                    {{"", "smtp", "0", "SMTP"}, {"smtp", "smtp_in", "1", "Incoming"},
                     {"smtp", "smtp_out", "1", "Outgoing"}});
    server.setTable(QStringLiteral("DebugEvent"),
                    {{QStringLiteral("smtp_in"), type, false},
                     {QStringLiteral("smtp_out"), TypeInt, false}},
                    {{incoming, "0"}});
}

// The one statement OK sends: every event's level, in the list's order.
QString levels(const QString& incoming, const QString& outgoing)
{
    return QStringLiteral("update DebugEvent set smtp_in = %1, smtp_out = %2").arg(incoming, outgoing);
}

} // namespace

class tst_UntouchedLogEvents : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_fix.start()); }
    void init() { QVERIFY(m_fix.keepConnected()); }
    void cleanup() { m_view.reset(); }

    void otherEventSwitchedKeepsTheStoredLevel_data() { sweep(); }
    void otherEventSwitchedKeepsTheStoredLevel();
    void ownBoxWritesWhatItShows_data() { sweep(); }
    void ownBoxWritesWhatItShows();

private:
    static void sweep();
    // The dialog as the debug view's menu opens it.
    WndLogConf* openFromTheDebugView();
    // OK pressed; what it sent.
    QStringList ok(WndLogConf* dialog);

    LogFixture m_fix;
    std::unique_ptr<WndLog> m_view;
};

void tst_UntouchedLogEvents::sweep()
{
    using namespace Admin;
    using DialogSweep::addRow;
    DialogSweep::addColumns();

    const WidgetAction incoming = toggle("m_lvConfLog", "Incoming");
    addRow(Event, "level", TypeInt, "2", {incoming}, "0");
    addRow(Event, "level", TypeInt, "2", {incoming, incoming}, "2");
    addRow(Event, "level", TypeInt, "-1", {incoming}, "0");
    addRow(Event, "level", TypeInt, "-1", {incoming, incoming}, "-1");
    addRow(Event, "level", TypeInt, "0", {incoming}, "1");
}

WndLogConf* tst_UntouchedLogEvents::openFromTheDebugView()
{
    m_fix.mark();
    m_view.reset(createLogView(nullptr, m_fix.connection(), QStringLiteral("debug"), Qt::Widget));
    m_view->show();
    // The view reads its first lines while it shows; that read is none of the dialog's.
    const bool read = QTest::qWaitFor([this] {
        return !m_fix.statements().filter(QStringLiteral("select LogData(\"debug\"")).isEmpty();
    });
    if (!read)
        return nullptr;
    m_view->slotPopupMenuSelect(WndLogDbg::LogEventsId);
    return m_view->findChild<WndLogConf*>(QStringLiteral("log_conf_dlg"));
}

QStringList tst_UntouchedLogEvents::ok(WndLogConf* dialog)
{
    m_fix.mark();
    QTest::keyClick(dialog->btnOk, Qt::Key_Space);
    return dialog->result() == QDialog::Accepted ? m_fix.statements() : QStringList{"(not accepted)"};
}

void tst_UntouchedLogEvents::otherEventSwitchedKeepsTheStoredLevel()
{
    QFETCH(int, type);
    QFETCH(QString, stored);
    storeEvents(*m_fix.server, stored, type);
    WndLogConf* dialog = openFromTheDebugView();
    QVERIFY(dialog);

    QVERIFY(perform(dialog, Admin::toggle("m_lvConfLog", "Outgoing")));
    QCOMPARE(ok(dialog), QStringList{levels(stored, "1")});
}

void tst_UntouchedLogEvents::ownBoxWritesWhatItShows()
{
    QFETCH(int, type);
    QFETCH(QString, stored);
    QFETCH(WidgetActions, action);
    QFETCH(QString, written);
    storeEvents(*m_fix.server, stored, type);
    WndLogConf* dialog = openFromTheDebugView();
    QVERIFY(dialog);

    QVERIFY(performAll(dialog, action));
    QCOMPARE(ok(dialog), QStringList{levels(written, "0")});
}

QTEST_MAIN(tst_UntouchedLogEvents)
#include "tst_untouchedlogevents.moc"
