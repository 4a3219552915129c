#include "dblog.h"

#include <QtTest>

#include <cstring>

class tst_DBLOG : public QObject
{
    Q_OBJECT

private slots:
    void fields_data();
    void fields();
};

void tst_DBLOG::fields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("expectedName");
    QTest::addColumn<QByteArray>("expectedData");

    QTest::newRow("plain") << "smtp" << QByteArray("smtp") << QByteArray("log.data.smtp");
    QTest::newRow("Latin-1") << QStringLiteral("caf\u00e9") << QByteArray("caf\xe9")
                             << QByteArray("log.data.caf\xe9");
    QTest::newRow("63 characters fit") << QString(63, u'a') << QByteArray(63, 'a')
                                       << "log.data." + QByteArray(63, 'a');
    QTest::newRow("a longer name is cut to 63") << QString(200, u'b') << QByteArray(63, 'b')
                                                << "log.data." + QByteArray(63, 'b');
    QTest::newRow("empty") << QString() << QByteArray() << QByteArray("log.data.");
}

void tst_DBLOG::fields()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, expectedName);
    QFETCH(QByteArray, expectedData);

    DBLOG log;
    std::memset(&log, 'x', sizeof log);
    log = makeLogDescriptor(name);
    // Every field ends with its zero inside the field.
    QVERIFY(std::memchr(log.name, 0, sizeof log.name));
    QVERIFY(std::memchr(log.data, 0, sizeof log.data));
    QVERIFY(std::memchr(log.info, 0, sizeof log.info));
    QCOMPARE(QByteArray(log.name), expectedName);
    QCOMPARE(QByteArray(log.data), expectedData);
    QCOMPARE(QByteArray(log.info), QByteArray("log.info"));
    QCOMPARE(logDescriptorName(log), QString::fromLatin1(expectedName));
}

QTEST_APPLESS_MAIN(tst_DBLOG)
#include "tst_dblog.moc"
