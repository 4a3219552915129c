#include "dialogrecorder.h"
#include "dlglogexpr.h"
#include "logfixture.h"
#include "ownrequestfailure.h"
#include "wndlogdbg.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

// The "Log expression" dialog against the stand-in server's table Debug.
class tst_DlgLogExpr : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void loadsTheValue();
    void okWritesTheTextEscaped_data();
    void okWritesTheTextEscaped();
    void cancelSendsNothing();
    void updateFailureTold_data();
    void updateFailureTold();
    void refusedLoadLeavesTheFieldEmpty();
    void openedFromTheOtherDebugViewsMenu();

private:
    std::unique_ptr<DlgLogExpr> openDialog();

    LogFixture m_fix;
};

void tst_DlgLogExpr::initTestCase()
{
    QVERIFY(m_fix.start());
}

void tst_DlgLogExpr::init()
{
    QVERIFY(m_fix.keepConnected());
    m_fix.server->clearControls();
    m_fix.server->setTable(QStringLiteral("Debug"),
                           {{QStringLiteral("LogExpr"), StandIn::TypeString, false}},
                           {{QStringLiteral("port 25")}});
    m_fix.mark();
}

std::unique_ptr<DlgLogExpr> tst_DlgLogExpr::openDialog()
{
    const DBLOG log = makeLogDescriptor(QStringLiteral("debug"));
    return std::make_unique<DlgLogExpr>(m_fix.connection(), &log, nullptr, "log_conf_expr", true,
                                        Qt::WindowFlags());
}

void tst_DlgLogExpr::loadsTheValue()
{
    const std::unique_ptr<DlgLogExpr> dialog = openDialog();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Log expression"));
    QCOMPARE(dialog->m_edtLog->text(), QStringLiteral("port 25"));
    QCOMPARE(m_fix.statements(), QStringList{"select LogExpr from Debug"});
}

void tst_DlgLogExpr::okWritesTheTextEscaped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("statement");

    QTest::newRow("unchanged") << "port 25" << "update Debug set LogExpr = \"port 25\"";
    QTest::newRow("empty") << "" << "update Debug set LogExpr = \"\"";
    QTest::newRow("quotes, backslash, tab")
        << "a\"b'c\\d\te" << "update Debug set LogExpr = \"a\\\"b\\'c\\\\d\\te\"";
}

void tst_DlgLogExpr::okWritesTheTextEscaped()
{
    QFETCH(QString, text);
    QFETCH(QString, statement);

    const std::unique_ptr<DlgLogExpr> dialog = openDialog();
    dialog->m_edtLog->setText(text);
    m_fix.mark();
    QTest::mouseClick(dialog->PushButton16, Qt::LeftButton);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_fix.statements(), QStringList{statement});
    QCOMPARE(m_fix.server->rows(QStringLiteral("Debug")), QList<QStringList>{{text}});
}

void tst_DlgLogExpr::cancelSendsNothing()
{
    const std::unique_ptr<DlgLogExpr> dialog = openDialog();
    dialog->m_edtLog->setText(QStringLiteral("changed"));
    m_fix.mark();
    QTest::mouseClick(dialog->PushButton17, Qt::LeftButton);
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QTest::qWait(50);
    QCOMPARE(m_fix.statements(), QStringList());
    QCOMPARE(m_fix.server->rows(QStringLiteral("Debug")), QList<QStringList>{{"port 25"}});
}

void tst_DlgLogExpr::updateFailureTold_data()
{
    OwnRequestFailure::addRows();
}

void tst_DlgLogExpr::updateFailureTold()
{
    QFETCH(int, failure);
    const std::unique_ptr<DlgLogExpr> dialog = openDialog();
    OwnRequestFailure::MainWindow window;
    window.attach(m_fix.connection());
    QVERIFY(OwnRequestFailure::arrange(*m_fix.server, QStringLiteral("^update Debug"), failure));
    DialogRecorder recorder;
    dialog->m_edtLog->setText(QStringLiteral("port 110"));
    QTest::mouseClick(dialog->PushButton16, Qt::LeftButton);
    QVERIFY(OwnRequestFailure::told(recorder, window, failure));
    // Closed as on success; the server keeps its value.
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_fix.server->rows(QStringLiteral("Debug")), QList<QStringList>{{"port 25"}});
}

void tst_DlgLogExpr::refusedLoadLeavesTheFieldEmpty()
{
    QVERIFY(m_fix.server->refuse(QStringLiteral("from Debug"), 113));
    DialogRecorder recorder;
    const std::unique_ptr<DlgLogExpr> dialog = openDialog();
    QCOMPARE(dialog->m_edtLog->text(), QString());
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY(recorder.messages.first().text.startsWith(QLatin1String("Query failed: ")));
}

void tst_DlgLogExpr::openedFromTheOtherDebugViewsMenu()
{
    const DBLOG log = makeLogDescriptor(QStringLiteral("debug"));
    WndLogDbg view(nullptr, m_fix.connection(), &log, "Ferrox_Debug_Log", Qt::Widget, nullptr);
    view.show();
    view.slotPopupMenuSelect(WndLogDbg::LogExpressionId);
    auto* dialog = view.findChild<DlgLogExpr*>(QStringLiteral("log_conf_expr"));
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(dialog->isModal());
    QCOMPARE(dialog->m_edtLog->text(), QStringLiteral("port 25"));
    QTest::mouseClick(dialog->PushButton17, Qt::LeftButton);
    QTRY_VERIFY(!view.findChild<DlgLogExpr*>());
}

QTEST_MAIN(tst_DlgLogExpr)
#include "tst_dlglogexpr.moc"
