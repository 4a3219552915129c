// The forms of the groups page, the edit-group dialog and the add-group wizard on their own:
// their names, texts and widgets, and slots that only say they are not implemented.

#include "tdlgeditgroup.h"
#include "twizaddgroup.h"
#include "twndgroup.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace {

std::unique_ptr<QWidget> makeForm(const QString& form)
{
    if (form == QLatin1String("TWndGroup"))
        return std::make_unique<TWndGroup>();
    if (form == QLatin1String("TDlgEditGroup"))
        return std::make_unique<TDlgEditGroup>();
    return std::make_unique<TWizAddGroup>();
}

QStringList headers(const QTreeWidget* list)
{
    QStringList titles;
    for (int i = 0; i < list->columnCount(); ++i)
        titles << list->headerItem()->text(i);
    return titles;
}

} // namespace

class TestGroupForms : public QObject
{
    Q_OBJECT

private slots:
    void captions_data();
    void captions();
    void texts_data();
    void texts();
    void memberLists_data();
    void memberLists();
    void pageForm();
    void slotsComplain_data();
    void slotsComplain();
};

void TestGroupForms::captions_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");

    QTest::newRow("page") << "TWndGroup" << "Groups" << QSize(465, 242);
    QTest::newRow("edit dialog") << "TDlgEditGroup" << "Edit Group" << QSize(410, 305);
    QTest::newRow("add wizard") << "TWizAddGroup" << "Add Group" << QSize(340, 286);
}

void TestGroupForms::captions()
{
    QFETCH(QString, form);
    QFETCH(QString, caption);
    QFETCH(QSize, size);

    const auto widget = makeForm(form);
    QCOMPARE(widget->objectName(), form);
    QCOMPARE(widget->windowTitle(), caption);
    QCOMPARE(widget->size(), size);
}

void TestGroupForms::texts_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("text");

    QTest::newRow("page: domain label") << "TWndGroup" << "TextLabel1" << "Domain:";
    QTest::newRow("page: add") << "TWndGroup" << "m_btnAdd" << "&Add...";
    QTest::newRow("page: edit") << "TWndGroup" << "m_btnEdit" << "&Edit...";
    QTest::newRow("page: remove") << "TWndGroup" << "m_btnRemove" << "&Remove";
    for (const char* form : {"TDlgEditGroup", "TWizAddGroup"}) {
        const QByteArray prefix = QByteArray(form) + ": ";
        QTest::newRow(prefix + "name") << form << "TextLabel1" << "Name:";
        QTest::newRow(prefix + "description") << form << "TextLabel3" << "Description:";
        QTest::newRow(prefix + "add") << form << "m_btnAdd" << "Add...";
        QTest::newRow(prefix + "remove") << form << "m_btnRemove" << "Remove";
        QTest::newRow(prefix + "no access") << form << "m_rbtnNoAcc" << "&No access to administration";
        QTest::newRow(prefix + "read only") << form << "m_rbtnViewLogs" << "&Read only access";
        QTest::newRow(prefix + "read/write") << form << "m_rbtnFullAcc" << "Read/&write access";
    }
    QTest::newRow("dialog: OK") << "TDlgEditGroup" << "m_btnOK" << "OK";
    QTest::newRow("dialog: Cancel") << "TDlgEditGroup" << "m_btnCancel" << "Cancel";
}

void TestGroupForms::texts()
{
    QFETCH(QString, form);
    QFETCH(QString, object);
    QFETCH(QString, text);

    const auto widget = makeForm(form);
    QObject* child = widget->findChild<QObject*>(object);
    QVERIFY(child);
    QCOMPARE(child->property("text").toString(), text);
}

void TestGroupForms::memberLists_data()
{
    QTest::addColumn<QString>("form");
    QTest::newRow("edit dialog") << "TDlgEditGroup";
    QTest::newRow("add wizard") << "TWizAddGroup";
}

void TestGroupForms::memberLists()
{
    QFETCH(QString, form);

    const auto widget = makeForm(form);
    auto* list = widget->findChild<QTreeWidget*>("m_listUsers");
    QVERIFY(list);
    QCOMPARE(headers(list), (QStringList{"Name", "Full Name", "Description"}));
    QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(list->allColumnsShowFocus());
    QVERIFY(list->header()->isSortIndicatorShown());
    QVERIFY(widget->findChild<QRadioButton*>("m_rbtnNoAcc")->isChecked());
    QCOMPARE(widget->findChild<QWidget*>("ButtonGroup1")->property("title").toString(), QStringLiteral("User Rights"));
}

void TestGroupForms::pageForm()
{
    TWndGroup page;
    QVERIFY(!page.m_comboDomain->isEditable());
    QCOMPARE(page.m_comboDomain->minimumWidth(), 150);
    QCOMPARE(page.m_list->columnCount(), 0);
    QCOMPARE(page.m_list->selectionMode(), QAbstractItemView::ExtendedSelection);
    for (QPushButton* button : {page.m_btnAdd, page.m_btnEdit, page.m_btnRemove})
        QCOMPARE(button->minimumSize(), QSize(80, 25));
    for (const char* layout : {"TWndGroupLayout", "Layout2", "Layout58"})
        QVERIFY2(page.findChild<QLayout*>(layout), layout);
}

void TestGroupForms::slotsComplain_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QString>("complaint");

    const auto row = [](const char* form, const char* slot, const char* signature) {
        QTest::newRow(QByteArray(form) + "::" + slot)
            << form << QByteArray(slot) << QStringLiteral("%1::%2: Not implemented yet!").arg(form, signature);
    };
    for (const char* slot : {"slotAdd", "slotCols", "slotEdit", "slotRemove", "slotSelectionChanged"})
        row("TWndGroup", slot, (QByteArray(slot) + "()").constData());
    for (const char* slot : {"slotTextChanged", "slotAdd", "slotChanged", "slotOK", "slotRemove"})
        row("TDlgEditGroup", slot, (QByteArray(slot) + "()").constData());
    for (const char* slot : {"slotChange", "slotAdd", "slotChangeUser", "slotRemove"})
        row("TWizAddGroup", slot, (QByteArray(slot) + "()").constData());
}

void TestGroupForms::slotsComplain()
{
    QFETCH(QString, form);
    QFETCH(QByteArray, slot);
    QFETCH(QString, complaint);

    const auto widget = makeForm(form);
    QTest::ignoreMessage(QtWarningMsg, complaint.toUtf8().constData());
    QVERIFY(QMetaObject::invokeMethod(widget.get(), slot.constData()));
}

QTEST_MAIN(TestGroupForms)
#include "tst_groupforms.moc"
