#include "configpagefixture.h"
#include "dlgbrowse.h"
#include "wndbackup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

// The Backup page on the demo server: backup of all mail switched on, to the remote address
// archive@harbour-relay.example and into local folders named "%Y-%M-%D_%d", which the group
// "support" may access.
class tst_WndBackup : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.start(); }
    void cleanup() { m_fixture.stop(); }

    void showsTheStoredRow();
    void previewFollowsTheFormat_data();
    void previewFollowsTheFormat();
    void enabling_data();
    void enabling();
    void modeOtherThanZeroIsOutgoingOnlyAndKept();
    void edits_data();
    void edits();
    void checks_data();
    void checks();
    void pickerChoiceReplacesTheAdministrator();
    void pickerTablesAreReadOnce();
    void resetRestoresRowEnablingAndPreview();
    void refusedLoadKeepsOnlyThePreview();

private:
    WndBackup* build()
    {
        WndBackup* page = m_fixture.build<WndBackup>();
        page->setClock([] { return QDate(2026, 3, 5); });
        return page;
    }
    // Answers the next picker with a choice, or cancels it.
    void answerPicker(const QString& choice)
    {
        m_fixture.m_dialogs->answerDialog([choice](QDialog* dialog) {
            if (choice.isEmpty())
                return int(QDialog::Rejected);
            static_cast<DlgBrowse*>(dialog)->m_result = choice;
            return int(QDialog::Accepted);
        });
    }

    ConfigPageFixture m_fixture;
};

void tst_WndBackup::showsTheStoredRow()
{
    WndBackup* page = build();
    QVERIFY(page->m_chkEnable->isChecked());
    QVERIFY(page->m_rbtnBackup->isChecked());
    QVERIFY(!page->m_rbtnOnly->isChecked());
    QVERIFY(page->m_chkRemote->isChecked());
    QCOMPARE(page->m_editRemote->text(), QStringLiteral("archive@harbour-relay.example"));
    QVERIFY(page->m_chkLocal->isChecked());
    QCOMPARE(page->m_editFormat->text(), QStringLiteral("%Y-%M-%D_%d"));
    QCOMPARE(page->m_editFolder->text(), QStringLiteral("[support]"));
    QCOMPARE(page->m_editView->text(), QStringLiteral("2026-03-05_Thu"));
    QVERIFY(!page->m_editView->isEnabled());
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_WndBackup::previewFollowsTheFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("preview");

    QTest::newRow("every code") << "%Y-%M-%D_%d_%m_W%W" << "2026-03-05_Thu_Mar_W10";
    QTest::newRow("stored prefix shown") << "#backup/%Y" << "#backup/2026";
    QTest::newRow("no codes") << "%y%H%" << "%y%H%";
    QTest::newRow("empty") << "" << "";
}

void tst_WndBackup::previewFollowsTheFormat()
{
    QFETCH(QString, format);
    QFETCH(QString, preview);
    WndBackup* page = build();
    page->m_editFormat->setText(format);
    QCOMPARE(page->m_editView->text(), preview);
    QCOMPARE(m_fixture.pending(),
             QStringList{QStringLiteral("update backup set Format='%1'").arg(format)});
}

void tst_WndBackup::enabling_data()
{
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<QString>("remote");
    QTest::addColumn<QString>("local");
    QTest::addColumn<bool>("choices");
    QTest::addColumn<bool>("address");
    QTest::addColumn<bool>("folder");

    QTest::newRow("all on") << "1" << "1" << "1" << true << true << true;
    QTest::newRow("backup off") << "0" << "1" << "1" << false << false << false;
    QTest::newRow("remote only") << "1" << "1" << "0" << true << true << false;
    QTest::newRow("local only") << "1" << "0" << "1" << true << false << true;
}

void tst_WndBackup::enabling()
{
    QFETCH(QString, enabled);
    QFETCH(QString, remote);
    QFETCH(QString, local);
    QFETCH(bool, choices);
    QFETCH(bool, address);
    QFETCH(bool, folder);
    m_fixture.setCells("backup", {{"Enabled", enabled}, {"Remote", remote}, {"Local", local}});
    WndBackup* page = build();
    for (QWidget* widget : {static_cast<QWidget*>(page->m_rbtnBackup), static_cast<QWidget*>(page->m_rbtnOnly),
                            static_cast<QWidget*>(page->m_chkRemote), static_cast<QWidget*>(page->m_chkLocal)})
        QCOMPARE(widget->isEnabled(), choices);
    QCOMPARE(page->m_editRemote->isEnabled(), address);
    QCOMPARE(page->m_editFormat->isEnabled(), folder);
    QCOMPARE(page->m_editFolder->isEnabled(), folder);
    QVERIFY(page->m_btnBrowse->isEnabled());
    // A disabled field keeps its text.
    QCOMPARE(page->m_editFormat->text(), QStringLiteral("%Y-%M-%D_%d"));
}

void tst_WndBackup::modeOtherThanZeroIsOutgoingOnlyAndKept()
{
    m_fixture.setCells("backup", {{"Mode", "2"}});
    WndBackup* page = build();
    QVERIFY(page->m_rbtnOnly->isChecked());
    page->m_editRemote->setText("copies@harbour-relay.example");
    // The mode the server holds stands while its buttons show it: another edit sends only
    // itself.
    QCOMPARE(m_fixture.pending(),
             QStringList{"update backup set Address='copies@harbour-relay.example'"});
    page->m_rbtnBackup->click();
    page->m_rbtnOnly->click();
    QCOMPARE(m_fixture.pending(),
             QStringList{"update backup set Address='copies@harbour-relay.example'"});
    page->m_rbtnBackup->click();
    QCOMPARE(m_fixture.pending(),
             QStringList{"update backup set Mode='0', Address='copies@harbour-relay.example'"});
}

void tst_WndBackup::edits_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("format, a code's case only") << "m_editFormat" << "%Y-%M-%D_%D"
                                                << QStringList{"update backup set Format='%Y-%M-%D_%D'"};
    QTest::newRow("administrator, case only") << "m_editFolder" << "[Support]"
                                              << QStringList{"update backup set Admin='[Support]'"};
    QTest::newRow("address back to the stored one") << "m_editRemote" << "archive@harbour-relay.example"
                                                    << QStringList{};
}

void tst_WndBackup::edits()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QStringList, pending);
    WndBackup* page = build();
    auto* edit = page->findChild<QLineEdit*>(field);
    edit->setText(QStringLiteral("something else"));
    edit->setText(text);
    QCOMPARE(m_fixture.pending(), pending);
}

using Answers = QList<int>;

void tst_WndBackup::checks_data()
{
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("admin");
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<bool>("sent");

    const QString remote = QStringLiteral("You should fill remote address.\nDo you want to correct the problem?");
    const QString format = QStringLiteral("You should fill folder name format.\nDo you want to correct the problem?");
    const QString admin = QStringLiteral(
        "You should fill backup folder administrator.\nDo you want to correct the problem?");
    const int yes = QMessageBox::Yes, no = QMessageBox::No, cancel = QMessageBox::Cancel;

    QTest::newRow("backup off asks nothing") << "0" << "" << "" << "" << Answers{} << QStringList{} << "" << true;
    QTest::newRow("all filled") << "1" << "a@b" << "%Y" << "admin" << Answers{} << QStringList{} << "" << true;
    QTest::newRow("blanks pass") << "1" << " " << " " << " " << Answers{} << QStringList{} << "" << true;
    QTest::newRow("address, Yes") << "1" << "" << "%Y" << "admin" << Answers{yes} << QStringList{remote}
                                  << "m_editRemote" << false;
    QTest::newRow("all empty, No ends the checks")
        << "1" << "" << "" << "" << Answers{no} << QStringList{remote} << "" << true;
    QTest::newRow("format, Cancel") << "1" << "a@b" << "" << "" << Answers{cancel} << QStringList{format}
                                    << "m_editFormat" << false;
    QTest::newRow("administrator, Yes") << "1" << "a@b" << "%Y" << "" << Answers{yes} << QStringList{admin}
                                        << "m_editFolder" << false;
}

void tst_WndBackup::checks()
{
    QFETCH(QString, enabled);
    QFETCH(QString, address);
    QFETCH(QString, format);
    QFETCH(QString, admin);
    QFETCH(Answers, answers);
    QFETCH(QStringList, asked);
    QFETCH(QString, focused);
    QFETCH(bool, sent);
    m_fixture.setCells("backup", {{"Enabled", enabled}});
    WndBackup* page = build();
    page->m_editRemote->setText(address);
    page->m_editFormat->setText(format);
    page->m_editFolder->setText(admin);
    page->m_rbtnOnly->click(); // something to send in every row
    page->m_rbtnOnly->setFocus();
    m_fixture.applyAnswering(answers, asked, focused, sent);
    if (QTest::currentTestFailed())
        return;
    if (!sent) {
        m_fixture.m_ctrl->update_again();
        QCOMPARE(m_fixture.pending().size(), 1);
    }
}

void tst_WndBackup::pickerChoiceReplacesTheAdministrator()
{
    m_fixture.setCells("backup", {{"Local", "0"}});
    WndBackup* page = build();
    QVERIFY(!page->m_editFolder->isEnabled());

    answerPicker(QString());
    page->m_btnBrowse->click();
    QCOMPARE(page->m_editFolder->text(), QStringLiteral("[support]"));
    QVERIFY(m_fixture.pending().isEmpty());

    answerPicker(QStringLiteral("[sales@lakeside.example]"));
    page->m_btnBrowse->click();
    QCOMPARE(m_fixture.m_dialogs->dialogs.size(), 2);
    QCOMPARE(m_fixture.m_dialogs->dialogs.last().className, QStringLiteral("DlgBrowse"));
    QCOMPARE(page->m_editFolder->text(), QStringLiteral("[sales@lakeside.example]"));
    QCOMPARE(m_fixture.pending(), QStringList{"update backup set Admin='[sales@lakeside.example]'"});
}

void tst_WndBackup::pickerTablesAreReadOnce()
{
    WndBackup* page = build();
    const int mark = m_fixture.journalSize();
    answerPicker(QString());
    page->m_btnBrowse->click();
    const QStringList first = m_fixture.journalSince(mark);
    QCOMPARE(first.size(), 3);
    QVERIFY(first.at(0).endsWith(QLatin1String(" from domain")));
    QVERIFY(first.at(1).endsWith(QLatin1String(" from user")));
    QVERIFY(first.at(2).endsWith(QLatin1String(" from group")));

    const int again = m_fixture.journalSize();
    answerPicker(QString());
    page->m_btnBrowse->click();
    QCOMPARE(m_fixture.m_dialogs->dialogs.size(), 2);
    QVERIFY(m_fixture.journalSince(again).isEmpty());
}

void tst_WndBackup::resetRestoresRowEnablingAndPreview()
{
    WndBackup* page = build();
    page->m_chkLocal->click();
    page->m_editFormat->setText("%m");
    page->m_chkEnable->click();
    QVERIFY(!page->m_chkLocal->isEnabled());
    QCOMPARE(page->m_editView->text(), QStringLiteral("Mar"));

    m_fixture.m_ctrl->reset();

    QVERIFY(m_fixture.pending().isEmpty());
    QVERIFY(page->m_chkEnable->isChecked());
    QVERIFY(page->m_chkLocal->isChecked());
    QVERIFY(page->m_editFormat->isEnabled());
    QCOMPARE(page->m_editFormat->text(), QStringLiteral("%Y-%M-%D_%d"));
    QCOMPARE(page->m_editView->text(), QStringLiteral("2026-03-05_Thu"));
}

void tst_WndBackup::refusedLoadKeepsOnlyThePreview()
{
    m_fixture.m_server->refuse(QStringLiteral("from backup"), 109);
    WndBackup* page = build();
    QCOMPARE(m_fixture.messageTexts(), QStringList{"Query failed: Table does not exists"});
    page->m_editFormat->setText("%Y");
    QCOMPARE(page->m_editView->text(), QStringLiteral("2026"));
    page->m_chkEnable->click();
    QVERIFY(page->m_rbtnOnly->isEnabled());
    QVERIFY(m_fixture.pending().isEmpty());
    page->m_btnBrowse->click();
    QVERIFY(m_fixture.m_dialogs->dialogs.isEmpty());
}

QTEST_MAIN(tst_WndBackup)
#include "tst_wndbackup.moc"
