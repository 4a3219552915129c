#include "activewindow.h"
#include "definitionsstandin.h"
#include "dialogrecorder.h"
#include "dlgipgroup.h"
#include "typing.h"

#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QString Load = QStringLiteral("select Name, Value, Desc from ipaccesslist");
const QString Defined = QStringLiteral("This item is already defined!");

QStringList entriesShown(const DlgIPGroup& dialog)
{
    QStringList entries;
    for (int i = 0; i < dialog.m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = dialog.m_list->topLevelItem(i);
        entries.append(item->text(0) + " | " + item->text(1));
    }
    return entries;
}

// Works the dialog as the administrator would, one step a text: "group NAME" types a group
// name, "pick N" selects entry N, "value TEXT" and "desc TEXT" fill the fields, "add",
// "edit", "remove" and "removeGroup" press those buttons, "rename NAME" renames the group.
void work(DlgIPGroup& dialog, DialogRecorder& recorder, const QStringList& steps)
{
    for (const QString& step : steps) {
        const QString command = step.section(' ', 0, 0);
        const QString argument = step.section(' ', 1);
        if (command == "group") {
            dialog.m_comboGroup->setEditText(argument);
        } else if (command == "pick") {
            dialog.m_list->setCurrentItem(dialog.m_list->topLevelItem(argument.toInt()));
        } else if (command == "value") {
            dialog.m_editValue->setText(argument);
        } else if (command == "desc") {
            dialog.m_editDesc->setText(argument);
        } else if (command == "add") {
            dialog.m_btnAdd->click();
        } else if (command == "edit") {
            dialog.m_btnEdit->click();
        } else if (command == "remove") {
            dialog.m_btnRemove->click();
        } else if (command == "removeGroup") {
            dialog.m_btnRemoveGroup->click();
        } else if (command == "rename") {
            recorder.answerDialog([argument](QDialog* input) {
                static_cast<QInputDialog*>(input)->setTextValue(argument);
                return int(QDialog::Accepted);
            });
            dialog.m_btnRenameGroup->click();
        } else {
            QFAIL(qPrintable("unknown step " + step));
        }
    }
}

} // namespace

class TestDlgIPGroup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnTheGroup_data();
    void opensOnTheGroup();
    void okSendsEveryChangeAtOnce_data();
    void okSendsEveryChangeAtOnce();
    void cancelSendsNothing();
    void duplicateIsRefused_data();
    void duplicateIsRefused();
    void keyHeldTwiceEditedUnchanged_data();
    void keyHeldTwiceEditedUnchanged();
    void emptyValueCannotBeAdded_data();
    void emptyValueCannotBeAdded();
    void okFailingPartWayStaysOpen();
    void notShownWithoutItsTable();
    void goneWhileAGroupIsTyped();

private:
    std::unique_ptr<DlgIPGroup> open(const QString& group)
    {
        auto dialog = std::make_unique<DlgIPGroup>(&m_standIn->owner, nullptr, true, Qt::WindowFlags(),
                                                   m_standIn->connection(), nullptr, group);
        m_standIn->mark();
        return dialog;
    }

    std::unique_ptr<DefinitionsStandIn> m_standIn;
};

void TestDlgIPGroup::init()
{
    m_standIn = std::make_unique<DefinitionsStandIn>();
}

void TestDlgIPGroup::cleanup()
{
    m_standIn.reset();
}

void TestDlgIPGroup::opensOnTheGroup_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("groupButtons");

    const QStringList office{"192.168.10.0/24 | Head office", "mx1.example | Mail host"};
    QTest::newRow("a group of two, apart in the table") << "Office" << "Office" << office << true;
    QTest::newRow("a group of one") << "Relays" << "Relays" << QStringList{"10.20.0.5 | Backup MX"} << true;
    QTest::newRow("a name in other letters is that group") << "office" << "Office" << office << true;
    QTest::newRow("a new group") << "Lab" << "Lab" << QStringList{} << false;
    QTest::newRow("no group") << "" << "" << QStringList{} << false;
}

void TestDlgIPGroup::opensOnTheGroup()
{
    QFETCH(QString, group);
    QFETCH(QString, shown);
    QFETCH(QStringList, entries);
    QFETCH(bool, groupButtons);

    const int before = int(m_standIn->server->journal().size());
    const auto dialog = open(group);
    QCOMPARE(journalFrom(*m_standIn->server, before), QStringList{Load});
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Address Group"));
    QCOMPARE(dialog->m_comboGroup->currentText(), shown);
    QStringList offered;
    for (int i = 0; i < dialog->m_comboGroup->count(); ++i)
        offered.append(dialog->m_comboGroup->itemText(i));
    QCOMPARE(offered, (QStringList{"Office", "Relays", "Blocked"}));
    QCOMPARE(entriesShown(*dialog), entries);
    QCOMPARE(dialog->m_btnRenameGroup->isEnabled(), groupButtons);
    QCOMPARE(dialog->m_btnRemoveGroup->isEnabled(), groupButtons);
    QVERIFY(!dialog->m_btnEdit->isEnabled());
    QVERIFY(!dialog->m_btnRemove->isEnabled());
}

void TestDlgIPGroup::okSendsEveryChangeAtOnce_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("sent");

    QTest::newRow("nothing changed") << "Office" << QStringList{} << QStringList{};
    QTest::newRow("an entry added")
        << "Office" << QStringList{"value 10.0.0.9", "desc Printer", "add"}
        << QStringList{"insert ipaccesslist set Name='Office', Value='10.0.0.9', Desc='Printer'"};
    QTest::newRow("blanks around the value dropped")
        << "Office" << QStringList{"value  10.0.0.9 ", "add"}
        << QStringList{"insert ipaccesslist set Name='Office', Value='10.0.0.9', Desc=''"};
    QTest::newRow("a description with an apostrophe")
        << "Office" << QStringList{"value 10.0.0.9", "desc Ann's desk", "add"}
        << QStringList{"insert ipaccesslist set Name='Office', Value='10.0.0.9', Desc='Ann\\'s desk'"};
    QTest::newRow("a new group by its first entry")
        << "" << QStringList{"group Lab", "value 172.16.0.0/16", "desc Test bench", "add"}
        << QStringList{"insert ipaccesslist set Name='Lab', Value='172.16.0.0/16', Desc='Test bench'"};
    QTest::newRow("a description changed")
        << "Office" << QStringList{"pick 1", "desc Main mail host", "edit"}
        << QStringList{"update ipaccesslist set Desc='Main mail host' where Name='Office' and Value='mx1.example'"};
    QTest::newRow("a value changed")
        << "Relays" << QStringList{"pick 0", "value 10.20.0.6", "edit"}
        << QStringList{"update ipaccesslist set Value='10.20.0.6' where Name='Relays' and Value='10.20.0.5'"};
    QTest::newRow("an entry removed")
        << "Office" << QStringList{"pick 0", "remove"}
        << QStringList{"delete from ipaccesslist where Name='Office' and Value='192.168.10.0/24'"};
    QTest::newRow("a whole group removed")
        << "Office" << QStringList{"removeGroup"}
        << QStringList{"delete from ipaccesslist where Name='Office' and Value='192.168.10.0/24'",
                       "delete from ipaccesslist where Name='Office' and Value='mx1.example'"};
    QTest::newRow("a group renamed")
        << "Office" << QStringList{"rename Head office"}
        << QStringList{"update ipaccesslist set Name='Head office' where Name='Office' and Value='192.168.10.0/24'",
                       "update ipaccesslist set Name='Head office' where Name='Office' and Value='mx1.example'"};
    QTest::newRow("removed before added: deletes first")
        << "Relays" << QStringList{"value 10.20.0.7", "add", "pick 0", "remove"}
        << QStringList{"delete from ipaccesslist where Name='Relays' and Value='10.20.0.5'",
                       "insert ipaccesslist set Name='Relays', Value='10.20.0.7', Desc=''"};
    QTest::newRow("entries in two groups")
        << "Office" << QStringList{"value 10.0.0.1", "add", "group Blocked", "value 198.51.100.7", "add"}
        << QStringList{"insert ipaccesslist set Name='Office', Value='10.0.0.1', Desc=''",
                       "insert ipaccesslist set Name='Blocked', Value='198.51.100.7', Desc=''"};
}

void TestDlgIPGroup::okSendsEveryChangeAtOnce()
{
    QFETCH(QString, group);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, sent);

    DialogRecorder recorder;
    const auto dialog = open(group);
    work(*dialog, recorder, steps);
    QCOMPARE(m_standIn->journalSinceMark(), QStringList{});

    dialog->m_btnOK->click();
    QCOMPARE(m_standIn->journalSinceMark(), sent);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(recorder.messageTexts(), QStringList{});
    // At once: nothing waits in the main window's pending list.
    QVERIFY(m_standIn->ctrl.m_pending.isEmpty());
}

void TestDlgIPGroup::cancelSendsNothing()
{
    DialogRecorder recorder;
    const auto dialog = open("Office");
    work(*dialog, recorder, {"value 10.0.0.9", "add", "pick 0", "remove", "rename Elsewhere"});
    QSignalSpy finished(dialog.get(), &QDialog::finished);

    dialog->m_btnCancel->click();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(m_standIn->journalSinceMark(), QStringList{});
    QCOMPARE(m_standIn->server->rows("ipaccesslist").size(), 4);
}

void TestDlgIPGroup::duplicateIsRefused_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("shown"); // the group's entries after the refusal

    const QStringList office{"192.168.10.0/24 | Head office", "mx1.example | Mail host"};
    QTest::newRow("added twice") << "Office" << QStringList{"value 192.168.10.0/24", "desc Again", "add"} << office;
    QTest::newRow("added in other letter case") << "Office" << QStringList{"value MX1.Example", "add"} << office;
    QTest::newRow("changed into its neighbour")
        << "Office" << QStringList{"pick 1", "value 192.168.10.0/24", "desc Changed", "edit"} << office;
    QTest::newRow("a group renamed onto another")
        << "Office" << QStringList{"rename relays"} << office;
}

void TestDlgIPGroup::duplicateIsRefused()
{
    QFETCH(QString, group);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, shown);

    DialogRecorder recorder;
    const auto dialog = open(group);
    work(*dialog, recorder, steps);
    QCOMPARE(recorder.messageTexts(), QStringList{Defined});
    QCOMPARE(recorder.messages.at(0).caption, QStringLiteral("Warning"));
    QCOMPARE(recorder.messages.at(0).icon, QMessageBox::Warning);
    QCOMPARE(entriesShown(*dialog), shown);

    dialog->m_btnOK->click();
    QCOMPARE(m_standIn->journalSinceMark(), QStringList{});
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
}

void TestDlgIPGroup::keyHeldTwiceEditedUnchanged_data()
{
    QTest::addColumn<QString>("twin"); // the value of the group's second "mx1.example" entry

    QTest::newRow("an exact twin") << "mx1.example";
    QTest::newRow("a twin in capitals") << "MX1.EXAMPLE";
}

// The server holds a key twice: an edit that leaves the key as it was is no duplicate of the
// other entry, for either of the two.
void TestDlgIPGroup::keyHeldTwiceEditedUnchanged()
{
    QFETCH(QString, twin);

    m_standIn->appendRow("ipaccesslist", {"Office", twin, "Spare host"});
    DialogRecorder recorder;
    const auto dialog = open("Office");
    work(*dialog, recorder, {"pick 1", "edit", "pick 2", "desc Standby host", "edit"});
    QCOMPARE(recorder.messageTexts(), QStringList{});
    QCOMPARE(entriesShown(*dialog).value(2), twin + " | Standby host");


    // What the server makes of a key it holds twice is its own affair.
    dialog->m_btnOK->click();
    QCOMPARE(m_standIn->journalSinceMark().value(0),
             "update ipaccesslist set Desc='Standby host' where Name='Office' and Value='" + twin + "'");
}

void TestDlgIPGroup::emptyValueCannotBeAdded_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("value");

    QTest::newRow("empty value") << "Office" << "";
    QTest::newRow("blank value") << "Office" << "   ";
    QTest::newRow("no group") << "" << "10.0.0.1";
    QTest::newRow("blank group") << "  " << "10.0.0.1";
}

void TestDlgIPGroup::emptyValueCannotBeAdded()
{
    QFETCH(QString, group);
    QFETCH(QString, value);

    DialogRecorder recorder;
    const auto dialog = open(QString());
    work(*dialog, recorder, {"group " + group, "value " + value, "desc Nothing"});
    QVERIFY(!dialog->m_btnAdd->isEnabled());
    dialog->slotAdd(); // also when asked directly
    work(*dialog, recorder, {"pick 0"});
    if (dialog->m_list->topLevelItemCount() > 0) {
        work(*dialog, recorder, {"value " + value});
        QVERIFY(!dialog->m_btnEdit->isEnabled());
        dialog->slotEdit();
    }

    dialog->m_btnOK->click();
    QCOMPARE(m_standIn->journalSinceMark(), QStringList{});
}

void TestDlgIPGroup::okFailingPartWayStaysOpen()
{
    QVERIFY(m_standIn->server->refuse("Value='10.0.0.2'", 111, 1));
    DialogRecorder recorder;
    const auto dialog = open("Office");
    work(*dialog, recorder, {"value 10.0.0.1", "add", "value 10.0.0.2", "add", "value 10.0.0.3", "add"});
    const QStringList edited = entriesShown(*dialog);
    QSignalSpy finished(dialog.get(), &QDialog::finished);

    dialog->m_btnOK->click();
    QCOMPARE(recorder.messageTexts(), QStringList{"Query failed: Query not possible"});
    QCOMPARE(finished.count(), 0);
    QVERIFY(dialog->result() != QDialog::Accepted);
    // Sent up to the refusal; the entries stay as entered.
    const QStringList inserts{"insert ipaccesslist set Name='Office', Value='10.0.0.1', Desc=''",
                              "insert ipaccesslist set Name='Office', Value='10.0.0.2', Desc=''",
                              "insert ipaccesslist set Name='Office', Value='10.0.0.3', Desc=''"};
    QCOMPARE(m_standIn->journalSinceMark(), inserts.mid(0, 2));
    QCOMPARE(entriesShown(*dialog), edited);

    // The next OK sends what did not get through, and only that.
    m_standIn->mark();
    dialog->m_btnOK->click();
    QCOMPARE(m_standIn->journalSinceMark(), inserts.mid(1));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
}

void TestDlgIPGroup::notShownWithoutItsTable()
{
    QVERIFY(m_standIn->server->refuse("from ipaccesslist", 111));
    DialogRecorder recorder;
    const auto dialog = open("Office");
    QCOMPARE(recorder.messageTexts(), QStringList{"Query failed: Query not possible"});
    QVERIFY(!dialog->isLoaded());
    QVERIFY(!dialog->m_btnAdd->isEnabled());
    // Returns at once, without showing the dialog.
    QCOMPARE(dialog->exec(), int(QDialog::Rejected));
    QVERIFY(!dialog->isVisible());
}

// The dialog goes while it shows, a group's name typed in other letters into its box (its
// page closed under it, say): the box, losing the focus as the dialog hides, tells the going
// dialog of no group, and nothing is sent.
void TestDlgIPGroup::goneWhileAGroupIsTyped()
{
    auto dialog = open(QStringLiteral("Office"));
    QVERIFY(showActive(dialog.get()));
    dialog->m_comboGroup->setFocus();
    typeOver(dialog->m_comboGroup->lineEdit(), QStringLiteral("relays"));
    const int before = int(m_standIn->server->journal().size());
    dialog.reset();
    QCOMPARE(journalFrom(*m_standIn->server, before), QStringList());
}

QTEST_MAIN(TestDlgIPGroup)
#include "tst_dlgipgroup.moc"
