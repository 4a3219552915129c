#include "refclient.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

// The ornel-testserver program, run as scripts and the demo run it.
class tst_Main : public QObject
{
    Q_OBJECT

private slots:
    void servesWithItsOptions();
    void accountFunctionsFromOptions();
    void tricklesFromOptions();
    void stateFileOfAnotherWriter();

private:
    // Starts the program and reads the port from its first line; 0 when it did not start.
    static quint16 startServer(QProcess &process, const QStringList &arguments)
    {
        process.start(QStringLiteral(ORNEL_TESTSERVER_EXE), arguments);
        while (!process.canReadLine() && process.waitForReadyRead(20000)) {
        }
        const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)\n$"))
                                                  .match(QString::fromLatin1(process.readLine()));
        return match.hasMatch() ? quint16(match.captured(1).toUInt()) : 0;
    }
};

void tst_Main::servesWithItsOptions()
{
    QTemporaryDir dir;
    const QString journal = dir.filePath("journal.jsonl");
    const QString state = dir.filePath("state.json");
    QProcess process;
    const quint16 port = startServer(process, {"--port", "0", "--refuse", "^select LogList\\(\\)$=113",
                                               "--journal", journal, "--state", state,
                                               "--account", "ops:pa:ss", "--synthetic-log", "big:1000",
                                               "--log-grow", "big:50", "--delay", "Version=10",
                                               "--malformed-answer", "get_auth_types=cut",
                                               "--short-answer", "^select LogData=2"});
    QVERIFY2(port != 0, process.readAllStandardError().constData());

    RefClient refused;
    QVERIFY(!refused.handshake(port, "admin", "admin")); // --account replaces the default login
    RefClient client;
    QVERIFY(client.handshake(port, "ops", "pa:ss"));
    RefClient::Answer answer;
    QVERIFY(client.query("select LogList()", &answer));
    QCOMPARE(answer.status, 113u);
    QVERIFY(client.query("select Version from info", &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{"5.0"}}));
    QVERIFY(client.query("select LogData(\"big\", 10, 1)", &answer));
    QCOMPARE(answer.texts().value(0).value(0).section(' ', 2), QStringLiteral("big: synthetic line 10"));
    QVERIFY(client.query("select LogData(\"big\", 10, 5)", &answer));
    QCOMPARE(answer.texts().size(), 2);
    // the log grows and each growth is announced
    QVERIFY(!client.receiveDatagram(3000).isEmpty());
    QVERIFY(client.query("select LogList(\"big\")", &answer));
    QVERIFY(answer.texts().value(0).value(2).toUInt() > 1000);
    // half an answer, then the end of the session: the block it declares never arrives
    QVERIFY(client.sendStatement("select get_auth_types()"));
    QByteArray header;
    QVERIFY(client.readDeciphered(&header, 16));
    QByteArray block;
    QVERIFY(!client.readDeciphered(&block, int(qFromBigEndian<quint32>(header.constData() + 4))));

    // a second server cannot take the same port, and says which
    QProcess second;
    second.start(QStringLiteral(ORNEL_TESTSERVER_EXE), {"--port", QString::number(port)});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitCode(), 1);
    QVERIFY(QString::fromLocal8Bit(second.readAllStandardError()).contains(QString::number(port)));

    process.terminate();
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(QFile::exists(state));
    QFile file(journal);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count('\n'), 6);
}

// What the account functions answer, as the options say.
void tst_Main::accountFunctionsFromOptions()
{
    QProcess process;
    const quint16 port = startServer(process, {"--port", "0", "--auth-types", "3:Kerberos,0:Internal:local",
                                               "--languages", "EN,de"});
    QVERIFY2(port != 0, process.readAllStandardError().constData());
    RefClient client;
    QVERIFY(client.handshake(port, "admin", "admin"));
    RefClient::Answer answer;
    QVERIFY(client.query("select get_auth_types()", &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{"3", "Kerberos"}, {"0", "Internal:local"}}));
    QVERIFY(client.query("select get_languages()", &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{"EN"}, {"de"}}));
    process.terminate();
    QVERIFY(process.waitForFinished(10000));

    QProcess none;
    const quint16 nonePort = startServer(none, {"--port", "0", "--auth-types", ""});
    QVERIFY(nonePort != 0);
    RefClient second;
    QVERIFY(second.handshake(nonePort, "admin", "admin"));
    QVERIFY(second.query("select get_auth_types()", &answer));
    QCOMPARE(answer.status, 0u);
    QCOMPARE(answer.texts(), QList<QStringList>());
    none.terminate();
    QVERIFY(none.waitForFinished(10000));
}

// A trickle named on the command line paces the answers it matches.
void tst_Main::tricklesFromOptions()
{
    QProcess process;
    const quint16 port = startServer(process, {"--port", "0", "--trickle", "^select Version=8:150"});
    QVERIFY2(port != 0, process.readAllStandardError().constData());
    RefClient client;
    QVERIFY(client.handshake(port, "admin", "admin"));
    QVERIFY(client.sendStatement("select Version from info"));
    QByteArray piece;
    QVERIFY(client.readDeciphered(&piece, 8));
    QVERIFY(client.quietFor(75));
    QByteArray rest;
    QVERIFY(client.readDeciphered(&rest, 8));
    QCOMPARE(qFromBigEndian<quint32>((piece + rest).constData() + 8), 0u);
    process.terminate();
    QVERIFY(process.waitForFinished(10000));

    QProcess refused;
    refused.start(QStringLiteral(ORNEL_TESTSERVER_EXE), {"--port", "0", "--trickle", "^select Version=0:150"});
    QVERIFY(refused.waitForFinished(20000));
    QCOMPARE(refused.exitCode(), 2);
}

// A state file the server did not write (here one holding {}) is refused at the start with
// a message that says so, not with what it lacks (the log --log-grow names).
void tst_Main::stateFileOfAnotherWriter()
{
    QTemporaryDir dir;
    QFile state(dir.filePath("state.json"));
    QVERIFY(state.open(QIODevice::WriteOnly) && state.write("{}") == 2);
    state.close();
    QProcess process;
    process.start(QStringLiteral(ORNEL_TESTSERVER_EXE), {"--port", "0", "--state", state.fileName(),
                                                         "--log-grow", "smtp:5"});
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(QString::fromLocal8Bit(process.readAllStandardError()),
             QStringLiteral("ornel-testserver: %1 is not a state file this server wrote; remove it to start "
                            "again from the fixture's data\n")
                 .arg(state.fileName()));
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
}

QTEST_GUILESS_MAIN(tst_Main)
#include "tst_main.moc"
