// The groups, rights and quota fields that the user and template dialogs share, on the
// edit-user dialog's form.

#include "accountcolumns.h"
#include "accountfields.h"
#include "accountrows.h"
#include "accounttexts.h"
#include "dbrow.h"
#include "dbtable.h"
#include "dialogrecorder.h"
#include "dlgaddgroup.h"
#include "globaldata.h"
#include "tdlgedituser.h"
#include "untouchedfields.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using AccountTexts::cell;

namespace {

// A form with the fields and a user row, around an AccountFields over both.
struct Fields
{
    explicit Fields(const QString& groups = QString(), const QString& rights = QStringLiteral("0"),
                    const QString& qstorage = QStringLiteral("0"))
        : row(dbcol_user)
    {
        fillTable(table, dbcol_group,
                  {{{"name", "staff"}, {"domain", ""}, {"description", "All staff"}},
                   {{"name", "support"}, {"domain", ""}, {"description", "Help desk"}},
                   {{"name", "sales"}, {"domain", "lakeside.example"}, {"description", "Sales team"}},
                   {{"name", "zeta"}, {"domain", ""}, {"description", "Last one"}}});
        setCell(&row, "groups", groups);
        setCell(&row, "rights", rights);
        setCell(&row, "qstorage", qstorage);
        setCell(&row, "qmessage", QStringLiteral("500"));
        fields = std::make_unique<AccountFields>(
            AccountWidgets{form.m_listGroups, form.m_btnAdd, form.m_btnRemove, form.m_rbtnNoAcc,
                           form.m_rbtnViewLogs, form.m_rbtnFullAcc, form.m_editDiskSpace,
                           form.m_comboKB, form.m_editNumMess},
            &table, &form, untouched);
        fields->loadGroups(&row);
        fields->loadRights(&row);
        fields->loadQuota(&row);
        fields->updateRemoveButton();
    }

    QStringList listed() const
    {
        QStringList shown;
        for (int i = 0; i < form.m_listGroups->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = form.m_listGroups->topLevelItem(i);
            shown << item->text(0) + QLatin1Char('|') + item->text(1);
        }
        return shown;
    }

    DBTable table;
    TDlgEditUser form;
    DBRow row;
    UntouchedFields untouched;
    std::unique_ptr<AccountFields> fields;
};

} // namespace

class TestAccountFields : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { globalData.currentDomain.clear(); }

    void splitGroups_data();
    void splitGroups();
    void groupsListed_data();
    void groupsListed();
    void groupsWritten_data();
    void groupsWritten();
    void removeButtonFollowsSelection();
    void pickerOffersOwnDomainOnly();
    void rights_data();
    void rights();
    void quotaShown_data();
    void quotaShown();
    void quotaWritten_data();
    void quotaWritten();
};

void TestAccountFields::splitGroups_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("empty") << "" << QStringList();
    QTest::newRow("one") << "staff" << QStringList{"staff"};
    QTest::newRow("two") << "staff,support" << QStringList{"staff", "support"};
    QTest::newRow("trailing comma") << "a," << QStringList{"a", ""};
    QTest::newRow("two commas") << ",," << QStringList{"", "", ""};
    QTest::newRow("blanks kept") << " a" << QStringList{" a"};
}

void TestAccountFields::splitGroups()
{
    QFETCH(QString, text);
    QFETCH(QStringList, names);
    QCOMPARE(AccountFields::splitGroups(text), names);
}

void TestAccountFields::groupsListed_data()
{
    QTest::addColumn<QString>("groups");
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("none") << "" << QStringList();
    QTest::newRow("known group") << "support" << QStringList{"[support]|Help desk"};
    QTest::newRow("unknown group") << "ghosts" << QStringList{"[ghosts]|"};
    QTest::newRow("group of another domain gives its description")
        << "sales" << QStringList{"[sales]|Sales team"};
    QTest::newRow("trailing comma, listed by name") << "staff," << QStringList{"[]|", "[staff]|All staff"};
    QTest::newRow("listed by name, not in stored order")
        << "zeta,support,staff" << QStringList{"[staff]|All staff", "[support]|Help desk", "[zeta]|Last one"};
}

void TestAccountFields::groupsListed()
{
    QFETCH(QString, groups);
    QFETCH(QStringList, listed);
    Fields f(groups);
    QCOMPARE(f.listed(), listed);
}

// A list left as it was loaded writes back the stored text, which it shows only sorted and
// bracketed; once a group is taken from it, it writes its names in ascending order.
void TestAccountFields::groupsWritten_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("removed"); // the entry removed; empty: none
    QTest::addColumn<QString>("written");

    QTest::newRow("descending stored, kept") << "zeta,staff" << "" << "zeta,staff";
    QTest::newRow("empty name kept") << "staff," << "" << "staff,";
    QTest::newRow("empty stays empty") << "" << "" << "";
    QTest::newRow("one removed, the rest ascending") << "zeta,support,staff" << "[support]" << "staff,zeta";
    QTest::newRow("one removed, an empty name sorted first drops out") << "zeta,,staff" << "[zeta]" << "staff";
}

void TestAccountFields::groupsWritten()
{
    QFETCH(QString, stored);
    QFETCH(QString, removed);
    QFETCH(QString, written);
    Fields f(stored);
    if (!removed.isEmpty()) {
        const QList<QTreeWidgetItem*> found = f.form.m_listGroups->findItems(removed, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        found.first()->setSelected(true);
        f.fields->removeGroups();
    }
    f.fields->writeGroups(&f.row);
    QCOMPARE(cell(&f.row, "groups"), written);
}

void TestAccountFields::removeButtonFollowsSelection()
{
    Fields f(QStringLiteral("staff,support,zeta"));
    QVERIFY(!f.form.m_btnRemove->isEnabled());
    f.form.m_listGroups->topLevelItem(0)->setSelected(true);
    f.form.m_listGroups->topLevelItem(2)->setSelected(true);
    f.fields->updateRemoveButton();
    QVERIFY(f.form.m_btnRemove->isEnabled());
    f.fields->removeGroups();
    QCOMPARE(f.listed(), QStringList{"[support]|Help desk"});
    f.fields->writeGroups(&f.row);
    QCOMPARE(cell(&f.row, "groups"), QStringLiteral("support"));
}

void TestAccountFields::pickerOffersOwnDomainOnly()
{
    Fields f(QStringLiteral("staff"));
    DialogRecorder recorder;
    QStringList offered;
    recorder.answerDialog([&offered](QDialog* dialog) {
        auto* picker = qobject_cast<DlgAddGroup*>(dialog);
        QTreeWidget* list = picker->m_listGroups;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            offered << list->topLevelItem(i)->text(0);
        if (picker->m_btnOK->isEnabled())
            return int(QDialog::Rejected); // OK must start disabled
        list->topLevelItem(0)->setSelected(true);
        list->topLevelItem(1)->setSelected(true);
        return picker->m_btnOK->isEnabled() ? int(QDialog::Accepted) : int(QDialog::Rejected);
    });
    f.fields->addGroups();

    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.dialogs.at(0).caption, QStringLiteral("Add Group"));
    QCOMPARE(offered, (QStringList{"[support]", "[zeta]"}));
    f.fields->writeGroups(&f.row);
    QCOMPARE(cell(&f.row, "groups"), QStringLiteral("staff,support,zeta"));
}

void TestAccountFields::rights_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");   // the checked button
    QTest::addColumn<QString>("chosen");  // the button chosen before writing, or ""
    QTest::addColumn<QString>("written");

    QTest::newRow("none") << "0" << "m_rbtnNoAcc" << "" << "0";
    QTest::newRow("read") << "1" << "m_rbtnViewLogs" << "" << "1";
    QTest::newRow("read/write") << "3" << "m_rbtnFullAcc" << "" << "3";
    QTest::newRow("write bit alone shows none, kept untouched") << "2" << "m_rbtnNoAcc" << "" << "2";
    QTest::newRow("unknown bits kept untouched") << "77" << "m_rbtnViewLogs" << "" << "77";
    QTest::newRow("unknown bits, chosen again as shown") << "77" << "m_rbtnViewLogs" << "m_rbtnViewLogs" << "77";
    QTest::newRow("unknown bits, none chosen") << "77" << "m_rbtnViewLogs" << "m_rbtnNoAcc" << "0";
    // A null cell is no 0 anybody chose.
    QTest::newRow("empty reads as none and stays empty") << "" << "m_rbtnNoAcc" << "" << "";
    QTest::newRow("empty, read only chosen") << "" << "m_rbtnNoAcc" << "m_rbtnViewLogs" << "1";
    QTest::newRow("not a number") << "x" << "m_rbtnNoAcc" << "" << "0";
    QTest::newRow("read/write keeps higher bits") << "6" << "m_rbtnNoAcc" << "m_rbtnFullAcc" << "7";
    QTest::newRow("read only writes 1") << "7" << "m_rbtnFullAcc" << "m_rbtnViewLogs" << "1";
    QTest::newRow("no access writes 0") << "3" << "m_rbtnFullAcc" << "m_rbtnNoAcc" << "0";
}

void TestAccountFields::rights()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(QString, chosen);
    QFETCH(QString, written);

    Fields f(QString(), stored);
    QVERIFY(f.form.findChild<QRadioButton*>(shown)->isChecked());
    if (!chosen.isEmpty())
        f.form.findChild<QRadioButton*>(chosen)->setChecked(true);
    f.fields->writeRights(&f.row);
    QCOMPARE(cell(&f.row, "rights"), written);
}

void TestAccountFields::quotaShown_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("unit");

    const qint64 MB = qint64(1) << 20, GB = qint64(1) << 30;
    QTest::newRow("unlimited") << "0" << "0" << "KB";
    QTest::newRow("under 1 KB") << "500" << "0" << "KB";
    QTest::newRow("no whole KB") << "1536" << "0" << "KB";
    QTest::newRow("2 KB") << "2048" << "2" << "KB";
    QTest::newRow("1536 KB") << QString::number(1536 * 1024) << "1536" << "KB";
    QTest::newRow("3 MB") << QString::number(3 * MB) << "3" << "MB";
    QTest::newRow("1025 MB") << QString::number(1025 * MB) << "1025" << "MB";
    QTest::newRow("2 GB") << QString::number(2 * GB) << "2" << "GB";
    QTest::newRow("1 GB") << QString::number(GB) << "1" << "GB";
    QTest::newRow("negative") << "-1024" << "0" << "KB";
}

void TestAccountFields::quotaShown()
{
    QFETCH(QString, stored);
    QFETCH(QString, number);
    QFETCH(QString, unit);

    Fields f(QString(), QStringLiteral("0"), stored);
    QCOMPARE(f.form.m_editDiskSpace->text(), number);
    QCOMPARE(f.form.m_comboKB->currentText(), unit);
    QCOMPARE(f.form.m_editNumMess->text(), QStringLiteral("500"));
}

void TestAccountFields::quotaWritten_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed"); // "" leaves the number as shown
    QTest::addColumn<int>("unit");      // -1 leaves the unit as shown
    QTest::addColumn<QString>("written");

    QTest::newRow("untouched odd value kept") << "1536" << "" << -1 << "1536";
    QTest::newRow("untouched odd value under 1 KB kept") << "500" << "" << -1 << "500";
    QTest::newRow("untouched whole value") << "3145728" << "" << -1 << "3145728";
    QTest::newRow("untouched empty value stays empty") << "" << "" << -1 << "";
    QTest::newRow("odd value, unit touched") << "1536" << "" << 1 << "0";
    QTest::newRow("odd value, number typed") << "1536" << "2" << -1 << "2048";
    QTest::newRow("5 GB") << "0" << "5" << 2 << QString::number(qint64(5) << 30);
    QTest::newRow("empty field") << "2048" << "-" << -1 << "0";
    QTest::newRow("3 MB to 3 KB") << "3145728" << "" << 0 << "3072";
}

void TestAccountFields::quotaWritten()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(int, unit);
    QFETCH(QString, written);

    Fields f(QString(), QStringLiteral("0"), stored);
    if (typed == QLatin1String("-"))
        f.form.m_editDiskSpace->clear();
    else if (!typed.isEmpty())
        f.form.m_editDiskSpace->setText(typed);
    if (unit >= 0)
        f.form.m_comboKB->setCurrentIndex(unit);
    f.fields->writeQuota(&f.row);
    QCOMPARE(cell(&f.row, "qstorage"), written);
    QCOMPARE(cell(&f.row, "qmessage"), QStringLiteral("500"));
}

QTEST_MAIN(TestAccountFields)
#include "tst_accountfields.moc"
