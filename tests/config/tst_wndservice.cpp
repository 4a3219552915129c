#include "activewindow.h"
#include "configpagefixture.h"
#include "cols.h"
#include "desktop.h"
#include "dlgservice.h"
#include "globaldata.h"
#include "qserviceitem.h"
#include "settingsstore.h"
#include "typing.h"
#include "wndservice.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

// The Services page on the demo server. In order: SMTP (25, running), POP3 (110, running),
// POP3S (995, stopped, manual), IMAP (143, running, only "Office LAN"), IMAPS (993, running),
// WEBMAIL (8080, default 80, running), WEBMAILS (443, stopped, manual), SIEVE (2000,
// default 4190, stopped, manual, only "Admin hosts").
class tst_WndService : public QObject
{
    Q_OBJECT

private slots:
    // A locale whose group separator is the comma, whatever the machine's.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init()
    {
        globalData.sslInstalled = true;
        m_fixture.start();
    }
    void cleanup() { m_fixture.stop(); }

    void loadsEveryServiceTwiceInOrder();
    void showsTheServices();
    void orderSurvivesEverySort_data();
    void orderSurvivesEverySort();
    void layoutHidesDefaultPortAndKeepsAMove();
    void startStop_data();
    void startStop();
    void refusedPortUpdateIsReportedAndTheStartStillSent();
    void serviceThatDoesNotStartShowsStopped();
    void failedStateQueryKeepsTheState();
    void lostConnectionIsToldOnce_data();
    void lostConnectionIsToldOnce();
    void missingRowsKeepTheStateOrEmptyTheList();
    void ownStatementsAreEscaped();
    void buttonsFollowTheCurrentService_data();
    void buttonsFollowTheCurrentService();
    void requestWaitsWithThePageDisabledAndSurvivesItsClosing();
    void portChangeWaitsForTheNextStart_data();
    void portChangeWaitsForTheNextStart();
    void runningOnlyWhenTheStateIsOne_data();
    void runningOnlyWhenTheStateIsOne();
    void noSortArrowAfterAnyRebuild();
    void propertiesWriteTheRow_data();
    void propertiesWriteTheRow();
    void emptyPortIsQuestioned_data();
    void emptyPortIsQuestioned();
    void portTakesDigitsOnlyAndIsNeverCut_data();
    void portTakesDigitsOnlyAndIsNeverCut();
    void portChangeOfARunningServiceWarnsOnce_data();
    void portChangeOfARunningServiceWarnsOnce();
    void accessTab_data();
    void accessTab();
    void missingAddressGroupIsKept();
    void greyOnlyWhileSslIsMissing_data();
    void greyOnlyWhileSslIsMissing();
    void menus_data();
    void menus();
    void applyAndResetKeepTheStatesReadBack();
    void refusedLoadLeavesThePageInert();
    void editedPortKeepsTheStoredStartup_data();
    void editedPortKeepsTheStoredStartup();
    void returnPressesTheFocusedButton_data();
    void returnPressesTheFocusedButton();
    void returnOnTheAccessTabsEditPressesIt();

private:
    WndService* build(Desktop* desktop = nullptr) { return m_fixture.build<WndService>(desktop); }
    // The texts of the column shown at this place, top to bottom.
    static QStringList texts(const QTreeWidget* list, int place)
    {
        const int column = list->header()->logicalIndex(place);
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts.append(list->topLevelItem(i)->text(column));
        return texts;
    }
    static QStringList headers(const QTreeWidget* list)
    {
        QStringList titles;
        // In the order shown.
        for (int i = 0; i < list->columnCount(); ++i)
            titles.append(list->headerItem()->text(list->header()->logicalIndex(i)));
        return titles;
    }
    static void choose(WndService* page, int index)
    {
        page->m_list->setCurrentItem(page->serviceItem(index));
    }
    // The next service dialog gets this port (and OK); its checks are not reached.
    void answerPort(const QString& port)
    {
        m_fixture.m_dialogs->answerDialog([port](QDialog* dialog) {
            auto* service = qobject_cast<DlgService*>(dialog);
            typeOver(service->m_editPort, port);
            return int(QDialog::Accepted);
        });
    }
    QStringList statementsOf(const std::function<void()>& action)
    {
        const int mark = m_fixture.journalSize();
        action();
        return m_fixture.journalSince(mark);
    }

    ConfigPageFixture m_fixture;
};

static const QStringList Names{"SMTP Server", "POP3 Server", "POP3 Server (SSL)", "IMAP Server",
                               "IMAP Server (SSL)", "WebMail Server", "WebMail Server (SSL)",
                               "Sieve Filter Server"};

void tst_WndService::loadsEveryServiceTwiceInOrder()
{
    const int mark = m_fixture.journalSize();
    build();
    QStringList expected;
    for (const char* table : {"service-smtp", "service-pop3", "service-pop3s", "service-imap",
                              "service-imaps", "service-webmail", "service-webmails",
                              "service-sieve"}) {
        expected << QStringLiteral("select name, fullname, defaultport, port, autostart, acl, group from ")
                + table
                 << QStringLiteral("select name, running from ") + table;
    }
    QCOMPARE(m_fixture.journalSince(mark), expected);
}

void tst_WndService::showsTheServices()
{
    WndService* page = build();
    QCOMPARE(texts(page->m_list, 0), Names);
    QCOMPARE(texts(page->m_list, 1),
             QStringList({"Running", "Running", "Stopped", "Running", "Running", "Running",
                          "Stopped", "Stopped"}));
    QCOMPARE(texts(page->m_list, 2),
             QStringList({"Automatic", "Automatic", "Manual", "Automatic", "Automatic",
                          "Automatic", "Manual", "Manual"}));
    QCOMPARE(texts(page->m_list, 3),
             QStringList({"25", "110", "995", "143", "993", "8080", "443", "2000"}));
    QCOMPARE(texts(page->m_list, 4),
             QStringList({"", "", "", "Office LAN", "", "", "", "Admin hosts"}));
    QVERIFY(!page->m_list->topLevelItem(0)->icon(0).isNull());
    QVERIFY(page->m_list->topLevelItem(0)->icon(1).isNull());
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_WndService::orderSurvivesEverySort_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<Qt::SortOrder>("order");
    for (int column = 0; column < 5; ++column) {
        QTest::addRow("column %d ascending", column) << column << Qt::AscendingOrder;
        QTest::addRow("column %d descending", column) << column << Qt::DescendingOrder;
    }
}

void tst_WndService::orderSurvivesEverySort()
{
    QFETCH(int, column);
    QFETCH(Qt::SortOrder, order);
    WndService* page = build();
    page->m_list->sortItems(column, order);
    QCOMPARE(texts(page->m_list, 0), Names);
    // As a click on the header sorts.
    page->m_list->header()->setSortIndicator(column, order == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                                : Qt::AscendingOrder);
    QCOMPARE(texts(page->m_list, 0), Names);
}

void tst_WndService::layoutHidesDefaultPortAndKeepsAMove()
{
    Desktop desktop;
    {
        WndService* page = build(&desktop);
        QCOMPARE(headers(page->m_list),
                 QStringList({"Service", "Status", "Startup Type", "Port", "Limit access"}));
        page->m_list->header()->moveSection(3, 0);
        // The layout follows a move from a queued call.
        QCoreApplication::processEvents();
        QTRY_COMPARE(headers(page->m_list),
                     QStringList({"Port", "Service", "Status", "Startup Type", "Limit access"}));
        QCOMPARE(texts(page->m_list, 0).first(), QStringLiteral("25"));
        QCOMPARE(texts(page->m_list, 1), Names);
        delete page;
    }
    WndService* again = build(&desktop);
    QCOMPARE(headers(again->m_list),
             QStringList({"Port", "Service", "Status", "Startup Type", "Limit access"}));
    QCOMPARE(desktop.settings()->readNumEntry(QStringLiteral("/Admin/Mail/service/ver"), -1), 3);
}

void tst_WndService::startStop_data()
{
    QTest::addColumn<int>("service");
    QTest::addColumn<QString>("newPort");
    QTest::addColumn<bool>("start");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("warnings");

    QTest::newRow("start after a port change")
        << 2 << "1995" << true
        << QStringList{"UPDATE service-pop3s SET port = '1995'", "SELECT start_service(\"POP3S\")",
                       "SELECT running FROM service-pop3s"}
        << QStringList{"SELECT start_service(\"POP3S\")", "SELECT running FROM service-pop3s"}
        << "Running" << QStringList{};
    QTest::newRow("start without a port change")
        << 2 << "" << true
        << QStringList{"SELECT start_service(\"POP3S\")", "SELECT running FROM service-pop3s"}
        << QStringList{"SELECT start_service(\"POP3S\")", "SELECT running FROM service-pop3s"}
        << "Running" << QStringList{};
    QTest::newRow("stop after a port change")
        << 1 << "1110" << false
        << QStringList{"SELECT stop_service(\"POP3\")", "SELECT running FROM service-pop3"}
        << QStringList{"SELECT stop_service(\"POP3\")", "SELECT running FROM service-pop3"}
        << "Stopped"
        << QStringList{"Service is running and using the old port.\nYou should stop and re-start "
                       "the service!"};
}

void tst_WndService::startStop()
{
    QFETCH(int, service);
    QFETCH(QString, newPort);
    QFETCH(bool, start);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QString, status);
    QFETCH(QStringList, warnings);
    WndService* page = build();
    choose(page, service);
    if (!newPort.isEmpty()) {
        answerPort(newPort);
        page->m_btnProp->click();
        QVERIFY(page->portChanged(service));
    }
    choose(page, service);
    QPushButton* button = start ? page->m_btnStart : page->m_btnStop;
    QCOMPARE(statementsOf([&] { button->click(); }), first);
    QCOMPARE(page->serviceItem(service)->text(1), status);
    QCOMPARE(statementsOf([&] { page->startStop(start, page->serviceItem(service)); }), second);
    // A stop leaves the port waiting for the next start.
    QCOMPARE(page->portChanged(service), !start && !newPort.isEmpty());
    QCOMPARE(m_fixture.messageTexts(), warnings);
}

void tst_WndService::refusedPortUpdateIsReportedAndTheStartStillSent()
{
    WndService* page = build();
    choose(page, 6);
    answerPort("8443");
    page->slotProp();
    m_fixture.m_server->refuse("^UPDATE service-webmails", 111, 1);
    QCOMPARE(statementsOf([&] { page->slotStart(); }),
             QStringList({"UPDATE service-webmails SET port = '8443'",
                          "SELECT start_service(\"WEBMAILS\")", "SELECT running FROM service-webmails"}));
    QCOMPARE(m_fixture.messageTexts(), QStringList{"Operation failed."});
    QCOMPARE(m_fixture.m_dialogs->messages.first().caption, QStringLiteral("Error"));
    QCOMPARE(m_fixture.m_dialogs->messages.first().icon, QMessageBox::Warning);
    QVERIFY(!page->portChanged(6));
    QCOMPARE(page->serviceItem(6)->text(1), QStringLiteral("Running"));
}

void tst_WndService::serviceThatDoesNotStartShowsStopped()
{
    m_fixture.m_server->setServiceStartsIgnored(true);
    WndService* page = build();
    choose(page, 7);
    page->m_btnStart->click();
    QCOMPARE(page->serviceItem(7)->text(1), QStringLiteral("Stopped"));
    QVERIFY(!page->serviceItem(7)->running());
    QVERIFY(page->m_btnStart->isEnabled());
    QVERIFY(!page->m_btnStop->isEnabled());
    QVERIFY(m_fixture.messageTexts().isEmpty());
}

void tst_WndService::failedStateQueryKeepsTheState()
{
    WndService* page = build();
    choose(page, 0);
    m_fixture.m_server->refuse("^SELECT running", 111, 1);
    page->m_btnStop->click();
    QCOMPARE(m_fixture.messageTexts(), QStringList{"Operation failed."});
    // The server did stop it, but what the page read last is that it ran.
    QCOMPARE(m_fixture.storedCell("service-smtp", "running"), QStringLiteral("0"));
    QCOMPARE(page->serviceItem(0)->text(1), QStringLiteral("Running"));
    QVERIFY(page->m_btnStop->isEnabled());
    QVERIFY(page->m_list->isEnabled());
}

void tst_WndService::lostConnectionIsToldOnce_data()
{
    QTest::addColumn<QString>("lostAt");
    QTest::addColumn<QStringList>("sent");

    const QStringList all{"UPDATE service-webmails SET port = '8443'",
                          "SELECT start_service(\"WEBMAILS\")",
                          "SELECT running FROM service-webmails"};
    QTest::newRow("at the port update") << "^UPDATE service-webmails" << all.mid(0, 1);
    QTest::newRow("at the start") << "start_service" << all.mid(0, 2);
    QTest::newRow("at the state query") << "^SELECT running" << all;
}

// The sequence goes on after a failure, but a lost connection is told once, as everywhere:
// the console's box, the caption mark and the pending list dropped, nothing on top.
void tst_WndService::lostConnectionIsToldOnce()
{
    QFETCH(QString, lostAt);
    QFETCH(QStringList, sent);

    WndService* page = build();
    choose(page, 6);
    answerPort("8443");
    page->slotProp();
    QVERIFY(!m_fixture.pending().isEmpty());
    QVERIFY(m_fixture.m_server->dropAt(lostAt, 1));
    choose(page, 6);
    QCOMPARE(statementsOf([&] { page->slotStart(); }), sent);
    QCOMPARE(m_fixture.messageTexts(), QStringList{ConfigPageFixture::lostConnectionText()});
    QCOMPARE(m_fixture.m_dialogs->messages.first().icon, QMessageBox::Critical);
    QVERIFY(m_fixture.markedNotConnected());
    QVERIFY(m_fixture.pending().isEmpty());
    // Reset with the pending list: the page shows what it loaded, and takes input again.
    QCOMPARE(page->serviceItem(6)->text(3), QStringLiteral("443"));
    QCOMPARE(page->serviceItem(6)->text(1), QStringLiteral("Stopped"));
    QVERIFY(page->m_list->isEnabled());
}

void tst_WndService::missingRowsKeepTheStateOrEmptyTheList()
{
    WndService* page = build();
    QVERIFY(page->serviceItem(3)->running());
    // The server lost the service: the stop is refused and the state query answers no row.
    m_fixture.emptyTable("service-imap");
    choose(page, 3);
    page->m_btnStop->click();
    QCOMPARE(m_fixture.messageTexts(), QStringList{"Operation failed."});
    QVERIFY(page->serviceItem(3)->running());
    QCOMPARE(page->serviceItem(3)->text(1), QStringLiteral("Running"));

    // A configuration without its row: the columns, and no service at all.
    WndService* second = build();
    QCOMPARE(second->m_list->topLevelItemCount(), 0);
    QCOMPARE(headers(second->m_list).size(), 5);
}

void tst_WndService::ownStatementsAreEscaped()
{
    m_fixture.setCells("service-sieve", {{"name", "SIE'VE\"X"}});
    WndService* page = build();
    choose(page, 7);
    QCOMPARE(statementsOf([&] { page->m_btnStart->click(); }).first(),
             QStringLiteral("SELECT start_service(\"SIE\\'VE\\\"X\")"));
    QCOMPARE(m_fixture.storedCell("service-sieve", "running"), QStringLiteral("1"));
}

void tst_WndService::buttonsFollowTheCurrentService_data()
{
    QTest::addColumn<int>("service");
    QTest::addColumn<bool>("start");
    QTest::addColumn<bool>("stop");
    QTest::addColumn<bool>("prop");

    QTest::newRow("none") << -1 << false << false << false;
    QTest::newRow("running") << 0 << false << true << true;
    QTest::newRow("stopped") << 2 << true << false << true;
}

void tst_WndService::buttonsFollowTheCurrentService()
{
    QFETCH(int, service);
    QFETCH(bool, start);
    QFETCH(bool, stop);
    QFETCH(bool, prop);
    WndService* page = build();
    if (service >= 0)
        choose(page, service);
    QCOMPARE(page->m_btnStart->isEnabled(), start);
    QCOMPARE(page->m_btnStop->isEnabled(), stop);
    QCOMPARE(page->m_btnProp->isEnabled(), prop);
}

void tst_WndService::requestWaitsWithThePageDisabledAndSurvivesItsClosing()
{
    WndService* page = build();
    choose(page, 2);
    m_fixture.m_server->delay("start_service", 400, 1);
    QPointer<WndService> watched(page);
    bool listEnabled = true;
    bool anyButtonEnabled = true;
    QTimer::singleShot(100, page, [&] {
        listEnabled = page->m_list->isEnabled();
        anyButtonEnabled = page->m_btnStart->isEnabled() || page->m_btnStop->isEnabled()
            || page->m_btnProp->isEnabled();
        delete page;
    });
    page->slotStart();
    QVERIFY(watched.isNull());
    QVERIFY(!listEnabled);
    QVERIFY(!anyButtonEnabled);
    QVERIFY(m_fixture.messageTexts().isEmpty());
}

// A port accepted in the dialog goes out before the next start, also after a column move;
// Apply sends it with the pending list and Reset drops it, so neither leaves it waiting.
void tst_WndService::portChangeWaitsForTheNextStart_data()
{
    QTest::addColumn<QString>("rebuild");
    QTest::addColumn<QStringList>("statements");

    const QStringList start{"SELECT start_service(\"IMAPS\")", "SELECT running FROM service-imaps"};
    QTest::newRow("column move") << "move"
                                 << QStringList{"UPDATE service-imaps SET port = '1993'"} + start;
    QTest::newRow("Apply") << "apply" << start;
    QTest::newRow("Reset") << "reset" << start;
}

void tst_WndService::portChangeWaitsForTheNextStart()
{
    QFETCH(QString, rebuild);
    QFETCH(QStringList, statements);
    WndService* page = build();
    choose(page, 4);
    answerPort("1993");
    page->slotProp();
    if (rebuild == QLatin1String("move")) {
        page->m_list->header()->moveSection(0, 2);
        QCoreApplication::processEvents();
        QTRY_COMPARE(headers(page->m_list).at(2), QStringLiteral("Service"));
    } else if (rebuild == QLatin1String("apply")) {
        QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    } else {
        m_fixture.m_ctrl->reset();
    }
    QCOMPARE(page->portChanged(4), rebuild == QLatin1String("move"));
    page->m_list->setCurrentItem(page->serviceItem(4));
    QCOMPARE(statementsOf([&] { page->startStop(true, page->serviceItem(4)); }), statements);
    // Sent once: the next start sends no port.
    QCOMPARE(statementsOf([&] { page->startStop(true, page->serviceItem(4)); }),
             statements.mid(statements.size() - 2));
}

void tst_WndService::runningOnlyWhenTheStateIsOne_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("startEnabled");

    QTest::newRow("1") << "1" << "Running" << false;
    QTest::newRow("2") << "2" << "Stopped" << true;
    QTest::newRow("0") << "0" << "Stopped" << true;
    QTest::newRow("empty") << "" << "Stopped" << true;
}

void tst_WndService::runningOnlyWhenTheStateIsOne()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(bool, startEnabled);
    m_fixture.setCells("service-smtp", {{"running", stored}});
    WndService* page = build();
    QCOMPARE(page->serviceItem(0)->text(1), shown);
    choose(page, 0);
    QCOMPARE(page->m_btnStart->isEnabled(), startEnabled);
    QCOMPARE(page->m_btnStop->isEnabled(), !startEnabled);
}

// The services keep their order: the header shows no sort arrow, however the list is
// rebuilt.
void tst_WndService::noSortArrowAfterAnyRebuild()
{
    WndService* page = build();
    QHeaderView* header = page->m_list->header();
    QVERIFY(!header->isSortIndicatorShown());
    header->moveSection(0, 2);
    QCoreApplication::processEvents();
    QTRY_COMPARE(headers(page->m_list).at(2), QStringLiteral("Service"));
    QVERIFY(!header->isSortIndicatorShown());
    choose(page, 1);
    answerPort("1110");
    page->slotProp();
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QVERIFY(!page->m_list->header()->isSortIndicatorShown());
}

void tst_WndService::propertiesWriteTheRow_data()
{
    QTest::addColumn<int>("service");
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("startup");
    QTest::addColumn<int>("group"); // -1: restriction off
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("nothing changed") << 3 << "143" << 0 << 0 << QStringList{};
    QTest::newRow("port and manual start")
        << 1 << "1110" << 1 << -1
        << QStringList{"update service-pop3 set port='1110', autostart='0'"};
    QTest::newRow("restricted to a group")
        << 5 << "8080" << 0 << 2 << QStringList{"update service-webmail set acl='Trusted relays'"};
    QTest::newRow("restriction lifted") << 7 << "2000" << 1 << -1
                                        << QStringList{"update service-sieve set acl=''"};
    QTest::newRow("default port") << 5 << "" << 0 << -1
                                  << QStringList{"update service-webmail set port='80'"};
}

void tst_WndService::propertiesWriteTheRow()
{
    QFETCH(int, service);
    QFETCH(QString, port);
    QFETCH(int, startup);
    QFETCH(int, group);
    QFETCH(QStringList, pending);
    WndService* page = build();
    choose(page, service);
    m_fixture.m_dialogs->answerDialog([&](QDialog* dialog) {
        auto* dlg = qobject_cast<DlgService*>(dialog);
        if (port.isEmpty())
            dlg->m_btnDefault->click();
        else
            typeOver(dlg->m_editPort, port);
        dlg->m_comboStartup->setCurrentIndex(startup);
        dlg->m_chkOnlyAddressGroup->setChecked(group >= 0);
        if (group >= 0)
            dlg->m_comboAddressGroup->setCurrentIndex(group);
        dlg->m_btnOK->click();
        return dlg->result();
    });
    page->m_btnProp->click();
    QCOMPARE(m_fixture.pending(), pending);
    QCOMPARE(page->portChanged(service), pending.value(0).contains("port="));
}

void tst_WndService::emptyPortIsQuestioned_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");

    QTest::newRow("Yes") << int(QMessageBox::Yes) << false;
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false;
    QTest::newRow("No") << int(QMessageBox::No) << true;
}

void tst_WndService::emptyPortIsQuestioned()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);
    WndService* page = build();
    choose(page, 2);
    bool accepted = false;
    m_fixture.m_dialogs->answerDialog([&](QDialog* dialog) {
        auto* dlg = qobject_cast<DlgService*>(dialog);
        dlg->m_editPort->clear();
        m_fixture.m_dialogs->answer(answer);
        dlg->slotOK();
        accepted = dlg->result() == QDialog::Accepted;
        return dlg->result();
    });
    page->slotProp();
    QCOMPARE(m_fixture.messageTexts(),
             QStringList{"You should fill port number.\nDo you want to correct the problem?"});
    const DialogRecorder::Message& asked = m_fixture.m_dialogs->messages.first();
    QCOMPARE(asked.caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(accepted, closed);
    QCOMPARE(m_fixture.pending(),
             closed ? QStringList{"update service-pop3s set port=''"} : QStringList{});
}

// The port takes the digits typed and nothing else, whatever the locale, as an integer
// validator up to 65535 takes them while typing, and what is written is the port shown,
// without a question and never cut to 16 bits: the server decides.
void tst_WndService::portTakesDigitsOnlyAndIsNeverCut_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("a group separator") << "1,234" << "1234";
    QTest::newRow("separators in the middle, a sixth digit not taken") << "110,1110" << "11011";
    QTest::newRow("beyond 16 bits") << "70000" << "70000";
    QTest::newRow("the highest port") << "65535" << "65535";
    QTest::newRow("a sixth digit is not taken") << "655350" << "65535";
}

void tst_WndService::portTakesDigitsOnlyAndIsNeverCut()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    WndService* page = build();
    choose(page, 2);
    QString shownBeforeOk;
    bool closed = false;
    m_fixture.m_dialogs->answerDialog([&](QDialog* dialog) {
        auto* dlg = qobject_cast<DlgService*>(dialog);
        typeOver(dlg->m_editPort, typed);
        shownBeforeOk = dlg->m_editPort->text();
        dlg->m_btnOK->click();
        closed = dlg->result() == QDialog::Accepted;
        return dlg->result();
    });
    page->slotProp();
    QCOMPARE(shownBeforeOk, shown);
    QCOMPARE(m_fixture.messageTexts(), QStringList());
    QVERIFY(closed);
    QCOMPARE(m_fixture.pending(), QStringList{"update service-pop3s set port='" + shown + "'"});
    QCOMPARE(page->serviceItem(2)->text(3), shown);
}

void tst_WndService::portChangeOfARunningServiceWarnsOnce_data()
{
    QTest::addColumn<int>("service");
    QTest::addColumn<QStringList>("warnings");

    QTest::newRow("running") << 0
                             << QStringList{"Service is running and using the old port.\nYou should "
                                            "stop and re-start the service!"};
    QTest::newRow("stopped") << 2 << QStringList{};
}

void tst_WndService::portChangeOfARunningServiceWarnsOnce()
{
    QFETCH(int, service);
    QFETCH(QStringList, warnings);
    WndService* page = build();
    choose(page, service);
    answerPort("2525");
    page->slotProp();
    QCOMPARE(m_fixture.messageTexts(), warnings);
    for (const DialogRecorder::Message& message : std::as_const(m_fixture.m_dialogs->messages)) {
        QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
        QCOMPARE(message.icon, QMessageBox::Warning);
    }
    QCOMPARE(page->serviceItem(service)->text(3), QStringLiteral("2525"));
}

void tst_WndService::accessTab_data()
{
    QTest::addColumn<int>("service");
    QTest::addColumn<bool>("note");
    QTest::addColumn<bool>("restricted");
    QTest::addColumn<QString>("group");

    QTest::newRow("SMTP") << 0 << true << false << "Office LAN";
    QTest::newRow("POP3") << 1 << false << false << "Office LAN";
    QTest::newRow("IMAP") << 3 << false << true << "Office LAN";
    QTest::newRow("SIEVE") << 7 << false << true << "Admin hosts";
}

void tst_WndService::accessTab()
{
    QFETCH(int, service);
    QFETCH(bool, note);
    QFETCH(bool, restricted);
    QFETCH(QString, group);
    WndService* page = build();
    choose(page, service);
    struct Seen
    {
        QString caption, name, noteText, group;
        bool noteHidden = false, checkHidden = false, comboHidden = false, editHidden = false;
        bool checked = false, comboEnabled = false, editEnabled = false;
        QStringList groups;
    } seen;
    m_fixture.m_dialogs->answerDialog([&](QDialog* dialog) {
        auto* dlg = qobject_cast<DlgService*>(dialog);
        seen = {dlg->windowTitle(), dlg->m_labelName->text(), dlg->m_label->text(),
                dlg->m_comboAddressGroup->currentText(), dlg->m_label->isHidden(),
                dlg->m_chkOnlyAddressGroup->isHidden(), dlg->m_comboAddressGroup->isHidden(),
                dlg->m_btnEdit->isHidden(), dlg->m_chkOnlyAddressGroup->isChecked(),
                dlg->m_comboAddressGroup->isEnabled(), dlg->m_btnEdit->isEnabled(),
                ConfigPageFixture::entries(dlg->m_comboAddressGroup)};
        return int(QDialog::Rejected);
    });
    const int mark = m_fixture.journalSize();
    page->slotProp();
    QCOMPARE(m_fixture.m_dialogs->dialogs.size(), 1);
    QCOMPARE(seen.caption, QStringLiteral("Service"));
    QCOMPARE(seen.name, Names.at(service));
    QCOMPARE(seen.noteText,
             QStringLiteral("Access policy for SMTP service can be set in the Antispam section."));
    QCOMPARE(seen.noteHidden, !note);
    QCOMPARE(seen.checkHidden, note);
    QCOMPARE(seen.comboHidden, note);
    QCOMPARE(seen.editHidden, note);
    QCOMPARE(seen.checked, restricted);
    QCOMPARE(seen.comboEnabled, restricted);
    QCOMPARE(seen.editEnabled, restricted);
    QCOMPARE(seen.groups,
             QStringList({"Office LAN", "Admin hosts", "Trusted relays", "Blocked senders"}));
    QCOMPARE(seen.group, group);
    // The groups are read by the first dialog only.
    QCOMPARE(m_fixture.journalSince(mark), QStringList{"select Name, Value, Desc from ipaccesslist"});
    m_fixture.m_dialogs->answerDialog(QDialog::Rejected);
    QCOMPARE(statementsOf([&] { page->slotProp(); }), QStringList{});
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_WndService::missingAddressGroupIsKept()
{
    m_fixture.setCells("service-imap", {{"acl", "Retired hosts"}});
    WndService* page = build();
    choose(page, 3);
    QString shown;
    m_fixture.m_dialogs->answerDialog([&](QDialog* dialog) {
        auto* dlg = qobject_cast<DlgService*>(dialog);
        shown = dlg->m_comboAddressGroup->currentText();
        return int(QDialog::Accepted);
    });
    page->slotProp();
    QCOMPARE(shown, QStringLiteral("Retired hosts"));
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_WndService::greyOnlyWhileSslIsMissing_data()
{
    QTest::addColumn<bool>("ssl");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("grey");

    QTest::newRow("POP3S without SSL") << false << "POP3S" << true;
    QTest::newRow("IMAPS without SSL") << false << "IMAPS" << true;
    QTest::newRow("WEBMAILS without SSL") << false << "WEBMAILS" << true;
    QTest::newRow("POP3 without SSL") << false << "POP3" << false;
    QTest::newRow("lower case without SSL") << false << "imaps" << false;
    QTest::newRow("POP3S with SSL") << true << "POP3S" << false;
    QTest::newRow("IMAPS with SSL") << true << "IMAPS" << false;
}

void tst_WndService::greyOnlyWhileSslIsMissing()
{
    QFETCH(bool, ssl);
    QFETCH(QString, name);
    QFETCH(bool, grey);
    m_fixture.setCells("service-imap", {{"name", name}});
    globalData.sslInstalled = ssl;
    WndService* page = build();
    const QTreeWidgetItem* item = page->serviceItem(3);
    for (int column = 0; column < page->m_list->columnCount(); ++column) {
        const QVariant foreground = item->data(column, Qt::ForegroundRole);
        QCOMPARE(foreground.isValid() && foreground.value<QBrush>().color() == QColor(Qt::gray),
                 grey);
    }
    QVERIFY(item->flags() & Qt::ItemIsSelectable);
}

void tst_WndService::menus_data()
{
    QTest::addColumn<int>("service"); // -1: empty space or the header
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("disabled");

    QTest::newRow("running") << 0 << QStringList{"&Start", "St&op", "-", "&Properties...", "-", "&Modify Columns..."}
                             << QStringList{"&Start"};
    QTest::newRow("stopped") << 2 << QStringList{"&Start", "St&op", "-", "&Properties...", "-", "&Modify Columns..."}
                             << QStringList{"St&op"};
    QTest::newRow("no item") << -1 << QStringList{"&Modify Columns..."} << QStringList{};
}

void tst_WndService::menus()
{
    QFETCH(int, service);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, disabled);
    WndService* page = build();
    QMenu menu;
    QVERIFY(page->fillPopupMenu(menu, page, service >= 0 ? page->serviceItem(service) : nullptr));
    QStringList shown;
    QStringList off;
    for (QAction* action : menu.actions()) {
        shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
        if (!action->isSeparator() && !action->isEnabled())
            off << action->text();
    }
    QCOMPARE(shown, entries);
    QCOMPARE(off, disabled);
}

void tst_WndService::applyAndResetKeepTheStatesReadBack()
{
    WndService* page = build();
    choose(page, 2);
    page->slotStart();
    choose(page, 1);
    page->slotStop();
    choose(page, 1);
    answerPort("1110");
    page->slotProp();
    QCOMPARE(m_fixture.pending(), QStringList{"update service-pop3 set port='1110'"});

    emit m_fixture.m_ctrl->sig_reset();
    QCOMPARE(texts(page->m_list, 1).mid(1, 2), QStringList({"Stopped", "Running"}));
    QCOMPARE(texts(page->m_list, 3).at(1), QStringLiteral("110"));
    QVERIFY(!page->portChanged(1));
    QVERIFY(!page->m_btnProp->isEnabled());

    choose(page, 1);
    answerPort("1110");
    page->slotProp();
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QCOMPARE(m_fixture.storedCell("service-pop3", "port"), QStringLiteral("1110"));
    QCOMPARE(texts(page->m_list, 1).mid(1, 2), QStringList({"Stopped", "Running"}));
    QCOMPARE(texts(page->m_list, 3).at(1), QStringLiteral("1110"));
    // Applied, the port went out with the apply: no start sends it again.
    QVERIFY(!page->portChanged(1));
}

void tst_WndService::refusedLoadLeavesThePageInert()
{
    m_fixture.m_server->refuse("from service-imap$", 109, 1);
    const int mark = m_fixture.journalSize();
    WndService* page = build();
    QCOMPARE(m_fixture.journalSince(mark).size(), 7);
    QCOMPARE(m_fixture.messageTexts().size(), 1);
    QCOMPARE(page->m_list->columnCount(), 0);
    QCOMPARE(page->m_list->topLevelItemCount(), 0);
    QVERIFY(page->m_btnStart->isEnabled());
    QCOMPARE(statementsOf([&] { page->slotStart(); page->slotStop(); }), QStringList{});
    emit m_fixture.m_ctrl->sig_reset();
    QVERIFY(m_fixture.pending().isEmpty());
}

// The startup choice shows anything but 1 as "Manual": a port typed into a service whose
// startup the server holds empty, or as another number, sends the port alone.
void tst_WndService::editedPortKeepsTheStoredStartup_data()
{
    QTest::addColumn<QString>("autostart");

    QTest::newRow("empty") << "";
    QTest::newRow("2") << "2";
    QTest::newRow("-1") << "-1";
    QTest::newRow("0") << "0";
}

void tst_WndService::editedPortKeepsTheStoredStartup()
{
    QFETCH(QString, autostart);
    m_fixture.setCells("service-pop3", {{"autostart", autostart}});
    WndService* page = build();
    choose(page, 1);
    m_fixture.m_dialogs->answerDialog([](QDialog* dialog) {
        auto* service = qobject_cast<DlgService*>(dialog);
        typeOver(service->m_editPort, "1110");
        QTest::mouseClick(service->m_btnOK, Qt::LeftButton);
        return service->result();
    });
    QTest::mouseClick(page->m_btnProp, Qt::LeftButton);
    QCOMPARE(statementsOf([this] { m_fixture.apply(); }),
             QStringList{"update service-pop3 set port='1110'"});
}

void tst_WndService::returnPressesTheFocusedButton_data()
{
    QTest::addColumn<QString>("button"); // Tab goes to it; none: Return in the port field
    QTest::addColumn<QString>("port");   // the field once Return was pressed
    QTest::addColumn<bool>("open");      // the dialog, once Return was pressed
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<QStringList>("pending");

    const QStringList running{"Service is running and using the old port.\nYou should stop and re-start the service!"};
    QTest::newRow("Cancel") << "m_btnCancel" << "145" << false << QStringList{} << QStringList{};
    QTest::newRow("Default") << "m_btnDefault" << "143" << true << QStringList{} << QStringList{};
    QTest::newRow("OK") << "m_btnOK" << "145" << false << running
                        << QStringList{"update service-imap set port='145'"};
    QTest::newRow("none: the default button") << "" << "145" << false << running
                                              << QStringList{"update service-imap set port='145'"};
}

// The IMAP service's dialog opened with Return on the list, "145" typed as its port, Tab
// pressed until a button has the keys, and Return there: that button is pressed.
void tst_WndService::returnPressesTheFocusedButton()
{
    QFETCH(QString, button);
    QFETCH(QString, port);
    QFETCH(bool, open);
    QFETCH(QStringList, warnings);
    QFETCH(QStringList, pending);
    WndService* page = build();
    choose(page, 3);
    bool stillOpen = false;
    QString portShown;
    QString returnOn;
    m_fixture.m_dialogs->answerDialog([&](QDialog* dialog) {
        auto* service = qobject_cast<DlgService*>(dialog);
        if (!service || !showActive(service))
            return int(QDialog::Rejected);
        service->m_editPort->setFocus();
        typeOver(service->m_editPort, QStringLiteral("145"));
        for (int tabs = 0; !button.isEmpty() && tabs < 12; ++tabs) {
            if (QApplication::focusWidget()->objectName() == button)
                break;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        returnOn = QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        portShown = service->m_editPort->text();
        stillOpen = service->isVisible();
        if (stillOpen)
            service->reject();
        return service->result();
    });
    QTest::keyClick(page->m_list, Qt::Key_Return);
    QCOMPARE(m_fixture.m_dialogs->dialogs.size(), 1);
    QCOMPARE(returnOn, button.isEmpty() ? QStringLiteral("m_editPort") : button);
    QCOMPARE(portShown, port);
    QCOMPARE(stillOpen, open);
    QCOMPARE(m_fixture.messageTexts(), warnings);
    QCOMPARE(m_fixture.pending(), pending);
}

// On the Access tab, access restricted to a group and Tab pressed until "&Edit..." has the
// keys: Return opens the address groups' editor over the service dialog, which stays open.
void tst_WndService::returnOnTheAccessTabsEditPressesIt()
{
    WndService* page = build();
    choose(page, 3);
    QString returnOn;
    bool stillOpen = false;
    m_fixture.m_dialogs->answerDialog([&](QDialog* dialog) {
        auto* service = qobject_cast<DlgService*>(dialog);
        if (!service || !showActive(service))
            return int(QDialog::Rejected);
        service->m_tabs->setCurrentIndex(1);
        if (!service->m_chkOnlyAddressGroup->isChecked())
            service->m_chkOnlyAddressGroup->click();
        service->m_chkOnlyAddressGroup->setFocus();
        for (int tabs = 0; tabs < 4 && QApplication::focusWidget() != service->m_btnEdit; ++tabs)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        returnOn = QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        stillOpen = service->isVisible();
        service->reject();
        return service->result();
    });
    QTest::keyClick(page->m_list, Qt::Key_Return);
    QCOMPARE(returnOn, QStringLiteral("m_btnEdit"));
    QStringList opened;
    for (const DialogRecorder::Dialog& dialog : m_fixture.m_dialogs->dialogs)
        opened.append(dialog.className);
    QCOMPARE(opened, (QStringList{"DlgService", "DlgIPGroup"}));
    QVERIFY(stillOpen);
}

QTEST_MAIN(tst_WndService)
#include "tst_wndservice.moc"
