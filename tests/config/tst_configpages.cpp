#include "shellharness.h"
#include "wndsmtp.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

// The configuration pages as the main window opens them from its tree.
class tst_ConfigPages : public QObject
{
    Q_OBJECT

private slots:
    void registeredWhenLoaded();
    void init();
    void cleanup();
    void opensFromTheTree_data();
    void opensFromTheTree();
    void appliedEditIsShownWhenThePageOpensAgain();
    void appliedEditSurvivesAServerRestart();

private:
    // The page of the chosen item, found by its class.
    static QWidget* pageOf(WndMain* window, const char* className)
    {
        QWidget* pane = window->getCurrentPane();
        if (!pane)
            return nullptr;
        for (QWidget* widget : pane->findChildren<QWidget*>()) {
            if (qstrcmp(widget->metaObject()->className(), className) == 0)
                return widget;
        }
        return nullptr;
    }

    std::unique_ptr<StandIn::TestServer> m_server;
    std::unique_ptr<ConsoleStandIn> m_console;
    WndMain* m_window = nullptr;
};

void tst_ConfigPages::registeredWhenLoaded()
{
    for (PageKind kind : {PageKind::SmtpProperties, PageKind::Backup, PageKind::InternetConnection,
                          PageKind::RemoteAdministration})
        QVERIFY2(PageFactory::isRegistered(kind), PageFactory::entry(kind).title);
}

void tst_ConfigPages::init()
{
    m_server = startStandIn();
    m_console = std::make_unique<ConsoleStandIn>();
    m_window = m_console->open(m_server->port());
    QVERIFY(m_window);
}

void tst_ConfigPages::cleanup()
{
    m_console.reset();
    m_server.reset();
}

void tst_ConfigPages::opensFromTheTree_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("firstSelect");

    QTest::newRow("SMTP") << "Configuration/SMTP Properties" << "WndSmtp"
                          << "select DeliveryMode, MaxConcurrency, QueueRetryInterval, QueueNotifyTimeout, "
                             "QueueBounceTimeout, MaxHops, MaxMessageSize, MaxBadCommands, ClientUseSSL from smtp";
    QTest::newRow("Backup") << "Configuration/Backup" << "WndBackup"
                            << "select Enabled, Mode, Local, Remote, Format, Address, Admin from backup";
    QTest::newRow("Internet connection")
        << "Configuration/Internet Connection" << "WndInterCon"
        << "select OnlineMode, UseRAS, RASLine, RASUser, RASPassword from connection";
    QTest::newRow("Remote administration") << "Configuration/Remote Administration" << "WndRemote"
                                           << "select AdminAcl, NetEnabled from administration";
}

void tst_ConfigPages::opensFromTheTree()
{
    QFETCH(QString, path);
    QFETCH(QString, className);
    QFETCH(QString, firstSelect);
    const int mark = int(m_server->journal().size());
    choose(m_window, path);
    QWidget* page = pageOf(m_window, className.toLatin1().constData());
    QVERIFY(page);
    QVERIFY(page->objectName().startsWith(QLatin1Char('T')));
    QVERIFY(page->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(journalFrom(*m_server, mark).value(0), firstSelect);
    QVERIFY(m_window->getDBCtrl()->m_pending.isEmpty());
}

void tst_ConfigPages::appliedEditIsShownWhenThePageOpensAgain()
{
    choose(m_window, "Configuration/SMTP Properties");
    auto* smtp = static_cast<WndSmtp*>(pageOf(m_window, "WndSmtp"));
    QVERIFY(smtp);
    smtp->m_editHostname->setText("relay.lakeside.example");
    QCOMPARE(m_window->getDBCtrl()->m_pending,
             QStringList{"update relay set ServerName='relay.lakeside.example'"});
    const int mark = int(m_server->journal().size());
    m_window->apply();
    QCOMPARE(journalFrom(*m_server, mark),
             QStringList{"update relay set ServerName='relay.lakeside.example'"});

    choose(m_window, "Configuration/Backup");
    QVERIFY(pageOf(m_window, "WndBackup"));
    choose(m_window, "Configuration/SMTP Properties");
    smtp = static_cast<WndSmtp*>(pageOf(m_window, "WndSmtp"));
    QVERIFY(smtp);
    QCOMPARE(smtp->m_editHostname->text(), QStringLiteral("relay.lakeside.example"));
}

// As the demo keeps its data: a server started again from its state file, and a new window.
void tst_ConfigPages::appliedEditSurvivesAServerRestart()
{
    m_console.reset();
    m_server.reset();
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    StandIn::ServerOptions options;
    options.stateFile = folder.filePath(QStringLiteral("state.json"));

    m_server = startStandIn(options);
    m_console = std::make_unique<ConsoleStandIn>();
    m_window = m_console->open(m_server->port());
    QVERIFY(m_window);
    choose(m_window, "Configuration/Internet Connection");
    QWidget* page = pageOf(m_window, "WndInterCon");
    QVERIFY(page);
    page->findChild<QRadioButton*>(QStringLiteral("m_rbtnOnline"))->click();
    m_window->apply();
    QVERIFY(m_window->getDBCtrl()->m_pending.isEmpty());
    m_console.reset();
    m_server.reset();

    m_server = startStandIn(options);
    m_console = std::make_unique<ConsoleStandIn>();
    m_window = m_console->open(m_server->port());
    QVERIFY(m_window);
    choose(m_window, "Configuration/Internet Connection");
    page = pageOf(m_window, "WndInterCon");
    QVERIFY(page);
    QVERIFY(page->findChild<QRadioButton*>(QStringLiteral("m_rbtnOnline"))->isChecked());
    QVERIFY(!page->findChild<QCheckBox*>(QStringLiteral("m_chkUseRAS"))->isEnabled());
}

QTEST_MAIN(tst_ConfigPages)
#include "tst_configpages.moc"
