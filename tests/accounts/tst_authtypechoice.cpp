#include "authnames.h"
#include "authtypechoice.h"
#include "dialogrecorder.h"
#include "ownrequestfailure.h"
#include "standinconnection.h"

#include <QComboBox>
#include <QtTest>

using AuthTypes = QList<QPair<int, QString>>;

class tst_AuthTypeChoice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void names();
    void fill_data();
    void fill();
    void failedRequestKeepsEarlierIds();
    void failureTold_data();
    void failureTold();

private:
    std::unique_ptr<StandIn::TestServer> m_server;
    std::unique_ptr<ScopedConnection> m_conn;
};

void tst_AuthTypeChoice::initTestCase()
{
    m_server = startStandIn();
    m_conn = std::make_unique<ScopedConnection>(m_server->port());
    QVERIFY(m_conn->connect());
}

void tst_AuthTypeChoice::names()
{
    QCOMPARE(AUTH_NAMES.size(), 5);
    QStringList names;
    for (int i = -1; i <= 5; ++i)
        names.append(AUTH_NAMES[i]);
    QCOMPARE(names, (QStringList{"", "Internal user database", "Windows NT domain", "Linux PAM", "Kerberos 5", "", ""}));
}

void tst_AuthTypeChoice::fill_data()
{
    QTest::addColumn<AuthTypes>("server");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("currentEntry");
    QTest::addColumn<QList<int>>("ids");

    const AuthTypes four{{0, "Internal"}, {1, "NT Domain"}, {2, "PAM"}, {3, "Kerberos"}};
    QTest::newRow("four types, PAM current") << four << 2
        << QStringList{"Internal user database", "Windows NT domain", "Linux PAM", "Kerberos 5"} << 2
        << QList<int>{0, 1, 2, 3};
    QTest::newRow("labels by position, not by ID") << AuthTypes{{3, "Kerberos"}, {0, "Internal"}} << 0
        << QStringList{"Internal user database", "Windows NT domain"} << 1 << QList<int>{3, 0};
    QTest::newRow("no type matches: the first stays") << four << 9
        << QStringList{"Internal user database", "Windows NT domain", "Linux PAM", "Kerberos 5"} << 0
        << QList<int>{0, 1, 2, 3};
    QTest::newRow("the fifth row reads the empty fifth label, the sixth on the server's names")
        << AuthTypes{{0, "a"}, {1, "b"}, {2, "c"}, {3, "d"}, {4, "LDAP"}, {5, "RADIUS"}, {6, "SQL"}} << 5
        << QStringList{"Internal user database", "Windows NT domain", "Linux PAM", "Kerberos 5", "", "RADIUS", "SQL"}
        << 5 << QList<int>{0, 1, 2, 3, 4, 5, 6};
    QTest::newRow("the same ID twice: the last is current") << AuthTypes{{1, "x"}, {1, "y"}} << 1
        << QStringList{"Internal user database", "Windows NT domain"} << 1 << QList<int>{1, 1};
    QTest::newRow("no types") << AuthTypes{} << 0 << QStringList() << -1 << QList<int>{};
}

void tst_AuthTypeChoice::fill()
{
    QFETCH(AuthTypes, server);
    QFETCH(int, current);
    QFETCH(QStringList, entries);
    QFETCH(int, currentEntry);
    QFETCH(QList<int>, ids);
    m_server->setAuthTypes(server);
    const int journalBefore = int(m_server->journal().size());
    DialogRecorder recorder;
    AuthTypeChoice choice(m_conn->get());
    QComboBox box;
    choice.fillComboAuthTypes(&box, current);
    QStringList shown;
    for (int i = 0; i < box.count(); ++i)
        shown.append(box.itemText(i));
    QCOMPARE(shown, entries);
    QCOMPARE(box.currentIndex(), currentEntry);
    QCOMPARE(choice.ids(), ids);
    for (int i = 0; i < ids.size(); ++i)
        QCOMPARE(choice.getId(unsigned(i)), ids.at(i));
    QCOMPARE(choice.getId(unsigned(ids.size())), 0);
    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(m_server->journal().mid(journalBefore).size(), 1);
    QCOMPARE(m_server->journal().last().statement, QString("SELECT get_auth_types()"));
}

void tst_AuthTypeChoice::failedRequestKeepsEarlierIds()
{
    m_server->setAuthTypes({{3, "x"}, {0, "y"}});
    AuthTypeChoice choice(m_conn->get());
    QComboBox first;
    choice.fillComboAuthTypes(&first, 0);
    QVERIFY(m_server->refuse("get_auth_types", 113, 1));
    DialogRecorder recorder;
    QComboBox second;
    choice.fillComboAuthTypes(&second, 0);
    QCOMPARE(second.count(), 0);
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages.at(0).caption, QString("Error"));
    QCOMPARE(recorder.messages.at(0).text, QString("Operation failed."));
    QCOMPARE(recorder.messages.at(0).icon, QMessageBox::Warning);
    QCOMPARE(choice.getId(1), 0); // the earlier fill's IDs
    QCOMPARE(choice.getId(0), 3);
}

void tst_AuthTypeChoice::failureTold_data()
{
    OwnRequestFailure::addRows();
}

void tst_AuthTypeChoice::failureTold()
{
    QFETCH(int, failure);
    m_server->setAuthTypes({{3, "x"}, {0, "y"}});
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    OwnRequestFailure::MainWindow window;
    window.attach(conn.get());
    AuthTypeChoice choice(conn.get());
    QVERIFY(OwnRequestFailure::arrange(*m_server, "get_auth_types", failure));
    DialogRecorder recorder;
    QComboBox box;
    choice.fillComboAuthTypes(&box, 0);
    QVERIFY(OwnRequestFailure::told(recorder, window, failure));
    QCOMPARE(box.count(), 0);

    // Refused once, the next fill is answered; a lost connection is not told again.
    recorder.messages.clear();
    QComboBox again;
    choice.fillComboAuthTypes(&again, 0);
    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(again.count(), failure == OwnRequestFailure::Refused ? 2 : 0);
}

QTEST_MAIN(tst_AuthTypeChoice)
#include "tst_authtypechoice.moc"
