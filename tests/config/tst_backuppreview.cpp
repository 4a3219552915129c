#include "backuppreview.h"

#include <QLocale>
#include <QtTest>

// The backup folder's name for a day, as the Backup page previews it.
class tst_BackupPreview : public QObject
{
    Q_OBJECT

private slots:
    void folderName_data();
    void folderName();
    void weeks_data();
    void weeks();
    void namesAreEnglishInAnyLocale();
};

void tst_BackupPreview::folderName_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("name");

    const QDate thursday(2026, 3, 5);
    QTest::newRow("every code") << "%Y-%M-%D_%d_%m_W%W" << thursday << "2026-03-05_Thu_Mar_W10";
    QTest::newRow("empty") << "" << thursday << "";
    QTest::newRow("no code") << "archive" << thursday << "archive";
    QTest::newRow("stored prefix kept") << "#backup/%Y" << thursday << "#backup/2026";
    QTest::newRow("escaped percent") << "100%%" << thursday << "100%";
    QTest::newRow("four percent signs give two") << "%%%%" << thursday << "%%";
    QTest::newRow("an unescaped code after an escape") << "%%Y" << thursday << "2026";
    QTest::newRow("unknown codes and a last percent stay") << "%y %H %" << thursday << "%y %H %";
    QTest::newRow("codes are case-sensitive") << "%m%M%d%D" << thursday << "Mar03Thu05";
    QTest::newRow("repeated") << "%D%D" << QDate(2026, 12, 31) << "3131";
    QTest::newRow("single digits padded") << "%M/%D" << QDate(2027, 1, 9) << "01/09";
    QTest::newRow("Sunday") << "%d" << QDate(2026, 3, 8) << "Sun";
}

void tst_BackupPreview::folderName()
{
    QFETCH(QString, format);
    QFETCH(QDate, date);
    QFETCH(QString, name);
    QCOMPARE(BackupPreview::folderName(format, date), name);
}

void tst_BackupPreview::weeks_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("week");

    QTest::newRow("Thursday 1 January 2026") << QDate(2026, 1, 1) << "01";
    QTest::newRow("Friday 2 January 2026") << QDate(2026, 1, 2) << "01";
    QTest::newRow("Sunday 4 January 2026") << QDate(2026, 1, 4) << "02";
    QTest::newRow("Monday 1 January 2024") << QDate(2024, 1, 1) << "01";
    QTest::newRow("Sunday 7 January 2024") << QDate(2024, 1, 7) << "02";
    QTest::newRow("Sunday 1 January 2023") << QDate(2023, 1, 1) << "02";
    QTest::newRow("Saturday 30 December 2023") << QDate(2023, 12, 30) << "53";
    QTest::newRow("Sunday 31 December 2023") << QDate(2023, 12, 31) << "54";
    QTest::newRow("Thursday 5 March 2026") << QDate(2026, 3, 5) << "10";
}

// The server's count: (day of the year from 0 + weekday, Monday 1 to Sunday 7) / 7 + 1, so a
// Sunday 1 January is already in week 2 and the last day of some years in week 54.
void tst_BackupPreview::weeks()
{
    QFETCH(QDate, date);
    QFETCH(QString, week);
    QCOMPARE(BackupPreview::folderName(QStringLiteral("%W"), date), week);
}

void tst_BackupPreview::namesAreEnglishInAnyLocale()
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString name = BackupPreview::folderName(QStringLiteral("%d %m"), QDate(2026, 5, 19));
    QLocale::setDefault(before);
    QCOMPARE(name, QStringLiteral("Tue May"));
}

QTEST_GUILESS_MAIN(tst_BackupPreview)
#include "tst_backuppreview.moc"
