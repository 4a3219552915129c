// The user and group pickers: their texts, and OK following the selection.

#include "dlgaddgroup.h"
#include "dlgadduser.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

class TestPickers : public QObject
{
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void okFollowsSelection_data();
    void okFollowsSelection();
    void doubleClickAccepts();
};

namespace {

std::unique_ptr<TDlgPicker> makePicker(bool users)
{
    if (users)
        return std::make_unique<DlgAddUser>();
    return std::make_unique<DlgAddGroup>();
}

QStringList headers(const QTreeWidget* list)
{
    QStringList titles;
    for (int i = 0; i < list->columnCount(); ++i)
        titles << list->headerItem()->text(i);
    return titles;
}

} // namespace

void TestPickers::texts_data()
{
    QTest::addColumn<bool>("users");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QStringList>("columns");

    QTest::newRow("users") << true << "TDlgAddUser" << "Add User" << "m_listUsers"
                           << QStringList{"Name", "Full Name", "Description"};
    QTest::newRow("groups") << false << "TDlgAddGroup" << "Add Group" << "m_listGroups"
                            << QStringList{"Name", "Description"};
}

void TestPickers::texts()
{
    QFETCH(bool, users);
    QFETCH(QString, objectName);
    QFETCH(QString, caption);
    QFETCH(QString, listName);
    QFETCH(QStringList, columns);

    const auto picker = makePicker(users);
    QCOMPARE(picker->objectName(), objectName);
    QCOMPARE(picker->windowTitle(), caption);
    QCOMPARE(picker->list()->objectName(), listName);
    QCOMPARE(headers(picker->list()), columns);
    QCOMPARE(picker->list()->selectionMode(), QAbstractItemView::ExtendedSelection);
}

void TestPickers::okFollowsSelection_data()
{
    QTest::addColumn<bool>("users");
    QTest::newRow("users") << true;
    QTest::newRow("groups") << false;
}

void TestPickers::okFollowsSelection()
{
    QFETCH(bool, users);

    const auto picker = makePicker(users);
    QTreeWidget* list = picker->list();
    for (const char* name : {"a", "b", "c"})
        new QTreeWidgetItem(list, {QLatin1String(name)});
    QVERIFY(!picker->m_btnOK->isEnabled());
    list->topLevelItem(0)->setSelected(true);
    list->topLevelItem(2)->setSelected(true);
    QVERIFY(picker->m_btnOK->isEnabled());
    list->topLevelItem(0)->setSelected(false);
    QVERIFY(picker->m_btnOK->isEnabled());
    list->topLevelItem(2)->setSelected(false);
    QVERIFY(!picker->m_btnOK->isEnabled());
}

void TestPickers::doubleClickAccepts()
{
    DlgAddUser picker;
    auto* item = new QTreeWidgetItem(picker.m_listUsers, {QStringLiteral("ann")});
    QSignalSpy accepted(&picker, &QDialog::accepted);
    emit picker.m_listUsers->itemDoubleClicked(item, 0);
    QCOMPARE(accepted.size(), 1);
}

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"
