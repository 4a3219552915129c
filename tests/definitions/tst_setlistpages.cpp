#include "activewindow.h"
#include "dialogrecorder.h"
#include "dlgipgroup.h"
#include "dlgtimeintex.h"
#include "indicatorabort.h"
#include "openedlist.h"
#include "shellharness.h"
#include "typing.h"
#include "wndipgroup.h"
#include "wndtimeint.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

namespace {

enum class Page { IpGroups, TimeRanges };

struct PageFacts
{
    QString path;       // in the navigation tree
    PageKind kind;
    QString table;
    QString load;       // the page's statement for its table
    QString list;       // the layout's list name under "/Admin/Ferrox"
    QStringList titles; // the columns, all shown by default
};

PageFacts facts(Page page)
{
    if (page == Page::IpGroups)
        return {"Configuration/Definitions/IP Address Groups", PageKind::IpAddressGroups, "ipaccesslist",
                "select Name, Value, Desc from ipaccesslist", "IP Groups", {"Name", "Description"}};
    return {"Configuration/Definitions/Time Ranges", PageKind::TimeRanges, "timeintervals",
            "select name, desc, type, days, start, end from timeintervals", "Time Intervals",
            {"Name", "Type", "Time"}};
}

// Every item as "heading" or "  entry", each with its cells joined by " | ".
QStringList itemsShown(const QTreeWidget* list)
{
    QStringList lines;
    auto cells = [list](const QTreeWidgetItem* item) {
        QStringList texts;
        for (int c = 0; c < list->columnCount(); ++c)
            texts.append(item->text(c));
        return texts.join(" | ");
    };
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* heading = list->topLevelItem(i);
        lines.append(cells(heading));
        for (int j = 0; j < heading->childCount(); ++j)
            lines.append("  " + cells(heading->child(j)));
    }
    return lines;
}

QTreeWidgetItem* headingNamed(const QTreeWidget* list, const QString& name)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0) == name)
            return list->topLevelItem(i);
    }
    return nullptr;
}

// A heading by its name, or one of its entries by "name/entry" (the entry's first cell).
QTreeWidgetItem* itemAt(const QTreeWidget* list, const QString& path)
{
    QTreeWidgetItem* heading = headingNamed(list, path.section('/', 0, 0));
    const QString entry = path.section('/', 1);
    if (!heading || entry.isEmpty())
        return heading;
    for (int i = 0; i < heading->childCount(); ++i) {
        if (heading->child(i)->text(0) == entry)
            return heading->child(i);
    }
    return nullptr;
}

QString statementsOnly(const QStringList& journal)
{
    return journal.filter(QRegularExpression("^(?!select )")).join('\n');
}

// What is done to a list whose every row is selected.
enum class WholeSelectionAction { EditThroughTheMenu, Reset, Remove };

// What the address group dialog does to a group waiting for removal on the page.
enum class GroupWork { AddsAnEntry, ChangesAnEntry, TakesAnEntryOut, LeavesIt };

QComboBox* setBox(QDialog* dialog)
{
    if (auto* groups = qobject_cast<DlgIPGroup*>(dialog))
        return groups->m_comboGroup;
    return qobject_cast<DlgTimeIntEx*>(dialog)->m_comboRange;
}

} // namespace

Q_DECLARE_METATYPE(Page)
Q_DECLARE_METATYPE(GroupWork)
Q_DECLARE_METATYPE(WholeSelectionAction)

class TestSetListPages : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void buildsThroughThePageTable_data();
    void buildsThroughThePageTable();
    void keepsItsLayoutUnderFerrox_data();
    void keepsItsLayoutUnderFerrox();
    void takesAStoredLayoutOfItsVersion_data();
    void takesAStoredLayoutOfItsVersion();
    void editOpensTheGroupDialogAndReloads();
    void addOpensTheRangeDialogOnANewRange();
    void cancelledDialogReadsNothing();
    void cancelAfterAnOkThatGotPartWayReadsAgain_data();
    void cancelAfterAnOkThatGotPartWayReadsAgain();
    void removeWaitsForApply();
    void pendingRemovalSurvivesAReload();
    void refusedLoadShowsNothing();
    void refusedLoadOpensNoSet_data();
    void refusedLoadOpensNoSet();
    void wholeSelectionReadAgain_data();
    void wholeSelectionReadAgain();
    void returnOpensWhatEditWould_data();
    void returnOpensWhatEditWould();
    void removedGroupWorkedOnInTheDialog_data();
    void removedGroupWorkedOnInTheDialog();
    void setBoxHoldsTheSetItShows_data();
    void setBoxHoldsTheSetItShows();
    void setNamedInOtherLettersIsThatSet_data();
    void setNamedInOtherLettersIsThatSet();
    void returnInTheEditorAddsWhatWasTyped_data();
    void returnInTheEditorAddsWhatWasTyped();
    void tabGoesThroughTheEditorInOrder_data();
    void tabGoesThroughTheEditorInOrder();
    void abortOfASaveShowsOnTheEditor_data();
    void abortOfASaveShowsOnTheEditor();

private:
    QTreeWidget* open(Page page);
    // The page's Edit pressed on the set `set`; the dialog, shown and active, goes to `work`,
    // and closes with Cancel if it is still open after it.
    void editSet(Page page, const QString& set, const std::function<void(QDialog*)>& work);
    QWidget* pageWidget() const { return m_page; }

    std::unique_ptr<WindowOnStandIn> m_standIn;
    StandIn::TestServer* m_server = nullptr;
    WndMain* m_window = nullptr;
    QWidget* m_page = nullptr; // the page open() opened last
};

void TestSetListPages::init()
{
    using namespace StandIn;
    m_standIn = std::make_unique<WindowOnStandIn>();
    m_server = m_standIn->server.get();
    m_window = m_standIn->window;
    QVERIFY(m_window);
    m_server->setTable("ipaccesslist",
                       {{"Name", TypeString, true}, {"Value", TypeString, true}, {"Desc", TypeString, false}},
                       {{"Office", "192.168.10.0/24", "Head office"},
                        {"Relays", "10.20.0.5", "Backup MX"},
                        {"Office", "mx1.example", "Mail host"}});
    m_server->setTable("timeintervals",
                       {{"name", TypeString, true}, {"desc", TypeString, true}, {"type", TypeInt, true},
                        {"days", TypeString, false}, {"start", TypeInt, false}, {"end", TypeInt, false}},
                       {{"Office hours", "Weekdays", "1", "12345", "480", "1080"},
                        {"Night", "Every night", "0", "", "1320", "360"}});
}

void TestSetListPages::cleanup()
{
    m_standIn.reset();
}

QTreeWidget* TestSetListPages::open(Page page)
{
    const QString path = facts(page).path;
    m_page = page == Page::IpGroups ? static_cast<QWidget*>(openPage<WndIPGroup>(m_window, path))
                                    : openPage<WndTimeInt>(m_window, path);
    return m_page ? m_page->findChild<QTreeWidget*>("m_list") : nullptr;
}

void TestSetListPages::editSet(Page page, const QString& set, const std::function<void(QDialog*)>& work)
{
    QTreeWidget* list = open(page);
    QVERIFY(list);
    list->setCurrentItem(headingNamed(list, set));
    DialogRecorder recorder;
    recorder.answerDialog([&](QDialog* dialog) {
        if (!showActive(dialog))
            return int(QDialog::Rejected);
        work(dialog);
        if (dialog->isVisible())
            dialog->findChild<QPushButton*>("m_btnCancel")->click();
        return dialog->result();
    });
    pageWidget()->findChild<QPushButton*>("m_btnEdit")->click();
    QCOMPARE(recorder.dialogs.size(), 1);
}

void TestSetListPages::buildsThroughThePageTable_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("address groups")
        << Page::IpGroups << "WndIPGroup"
        << QStringList{"Office | ", "  192.168.10.0/24 | Head office", "  mx1.example | Mail host",
                       "Relays | ", "  10.20.0.5 | Backup MX"};
    QTest::newRow("time ranges")
        << Page::TimeRanges << "WndTimeInt"
        << QStringList{"Night |  | ", "  Every night | Daily | 1320 - 360", "Office hours |  | ",
                       "  Weekdays | Weekly | Days 12345, 480 - 1080"};
}

void TestSetListPages::buildsThroughThePageTable()
{
    QFETCH(Page, page);
    QFETCH(QString, className);
    QFETCH(QStringList, items);

    const PageFacts expected = facts(page);
    QVERIFY(PageFactory::isRegistered(expected.kind));
    const int before = int(m_server->journal().size());
    QTreeWidget* list = open(page);
    QVERIFY(list);
    QWidget* shown = pageWidget();
    QCOMPARE(QString::fromLatin1(shown->metaObject()->className()), className);
    QCOMPARE(journalFrom(*m_server, before), QStringList{expected.load});
    QCOMPARE(headerTitles(list), expected.titles);
    QCOMPARE(itemsShown(list), items);
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        QVERIFY(list->topLevelItem(i)->isExpanded());
    QVERIFY(!shown->findChild<QPushButton*>("m_btnEdit")->isEnabled());
    QVERIFY(!shown->findChild<QPushButton*>("m_btnRemove")->isEnabled());
    // An entry: its set can be edited, not removed.
    list->topLevelItem(0)->child(0)->setSelected(true);
    QVERIFY(shown->findChild<QPushButton*>("m_btnEdit")->isEnabled());
    QVERIFY(!shown->findChild<QPushButton*>("m_btnRemove")->isEnabled());
    list->topLevelItem(0)->setSelected(true);
    QVERIFY(shown->findChild<QPushButton*>("m_btnEdit")->isEnabled());
    QVERIFY(shown->findChild<QPushButton*>("m_btnRemove")->isEnabled());
    // Two sets: nothing to edit, both to remove.
    list->topLevelItem(1)->setSelected(true);
    QVERIFY(!shown->findChild<QPushButton*>("m_btnEdit")->isEnabled());
    QVERIFY(shown->findChild<QPushButton*>("m_btnRemove")->isEnabled());
}

void TestSetListPages::keepsItsLayoutUnderFerrox_data()
{
    QTest::addColumn<Page>("page");
    QTest::newRow("address groups") << Page::IpGroups;
    QTest::newRow("time ranges") << Page::TimeRanges;
}

void TestSetListPages::keepsItsLayoutUnderFerrox()
{
    QFETCH(Page, page);

    const PageFacts expected = facts(page);
    QTreeWidget* list = open(page);
    QVERIFY(list);
    DialogRecorder recorder;
    recorder.answerDialog(QDialog::Accepted);
    QMetaObject::invokeMethod(pageWidget(), "slotCols");
    QCOMPARE(recorder.dialogs.size(), 1);

    const QString key = "//Admin/Ferrox/" + expected.list + "/ver";
    QCOMPARE(m_standIn->console->settings()->readNumEntry(key, -1), 1);
    const QString text = adminFileText();
    QVERIFY2(text.contains("[Ferrox]\n"), qPrintable(text));
    QVERIFY2(text.contains(expected.list + "/ver=1\n"), qPrintable(text));
    QVERIFY2(!text.contains("[Mail]"), qPrintable(text));
}

void TestSetListPages::takesAStoredLayoutOfItsVersion_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<int>("version");
    QTest::addColumn<QStringList>("titles");

    // Stored: only the first column shown.
    QTest::newRow("groups, version 1") << Page::IpGroups << 1 << QStringList{"Name"};
    QTest::newRow("groups, version 2") << Page::IpGroups << 2 << QStringList{"Name", "Description"};
    QTest::newRow("ranges, version 1") << Page::TimeRanges << 1 << QStringList{"Name"};
    QTest::newRow("ranges, version 0") << Page::TimeRanges << 0 << QStringList{"Name", "Type", "Time"};
}

void TestSetListPages::takesAStoredLayoutOfItsVersion()
{
    QFETCH(Page, page);
    QFETCH(int, version);
    QFETCH(QStringList, titles);

    const PageFacts expected = facts(page);
    const int n = int(expected.titles.size());
    auto field = [](int value) { return QString::asprintf("%04d", value); };
    QString cols = field(n) + field(0), hid = field(n), show = field(n) + field(1), width = field(n);
    for (int id = 1; id < n; ++id) {
        cols += field(-1);
        hid += field(id);
        show += field(0);
    }
    hid += field(-1);
    for (int id = 0; id < n; ++id)
        width += field(-1);
    const QString prefix = "//Admin/Ferrox/" + expected.list + "/";
    SettingsStore* settings = m_standIn->console->settings();
    settings->writeEntry(prefix + "ver", version);
    settings->writeEntry(prefix + "cols", cols);
    settings->writeEntry(prefix + "disp", cols);
    settings->writeEntry(prefix + "hid", hid);
    settings->writeEntry(prefix + "show", show);
    settings->writeEntry(prefix + "width", width);

    QTreeWidget* list = open(page);
    QVERIFY(list);
    QCOMPARE(headerTitles(list), titles);
}

void TestSetListPages::editOpensTheGroupDialogAndReloads()
{
    QTreeWidget* list = open(Page::IpGroups);
    QVERIFY(list);
    list->setCurrentItem(headingNamed(list, "Office")->child(1));
    DialogRecorder recorder;
    QString openedOn;
    recorder.answerDialog([&openedOn](QDialog* dialog) {
        auto* groups = qobject_cast<DlgIPGroup*>(dialog);
        openedOn = groups->m_comboGroup->currentText();
        groups->m_editValue->setText("10.0.0.9");
        groups->m_editDesc->setText("Printer");
        groups->m_btnAdd->click();
        groups->m_btnOK->click();
        return dialog->result();
    });
    const int before = int(m_server->journal().size());
    pageWidget()->findChild<QPushButton*>("m_btnEdit")->click();

    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.dialogs.at(0).caption, QStringLiteral("Address Group"));
    QCOMPARE(openedOn, QStringLiteral("Office"));
    QCOMPARE(journalFrom(*m_server, before),
             (QStringList{facts(Page::IpGroups).load,
                          "insert ipaccesslist set Name='Office', Value='10.0.0.9', Desc='Printer'",
                          facts(Page::IpGroups).load}));
    QCOMPARE(itemsShown(list),
             (QStringList{"Office | ", "  10.0.0.9 | Printer", "  192.168.10.0/24 | Head office",
                          "  mx1.example | Mail host", "Relays | ", "  10.20.0.5 | Backup MX"}));
    // Sent by the dialog: nothing is left for Apply.
    QVERIFY(m_window->getDBCtrl()->m_pending.isEmpty());
}

void TestSetListPages::addOpensTheRangeDialogOnANewRange()
{
    QTreeWidget* list = open(Page::TimeRanges);
    QVERIFY(list);
    DialogRecorder recorder;
    QString openedOn = "not opened";
    recorder.answerDialog([&openedOn](QDialog* dialog) {
        auto* ranges = qobject_cast<DlgTimeIntEx*>(dialog);
        openedOn = ranges->m_comboRange->currentText();
        ranges->m_comboRange->setEditText("Weekend");
        ranges->m_editDesc->setText("Saturday and Sunday");
        ranges->m_btnAdd->click();
        ranges->m_btnOK->click();
        return dialog->result();
    });
    pageWidget()->findChild<QPushButton*>("m_btnAdd")->click();

    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.dialogs.at(0).caption, QStringLiteral("Time Range"));
    QCOMPARE(openedOn, QString());
    QVERIFY(headingNamed(list, "Weekend"));
    QCOMPARE(m_server->rows("timeintervals").size(), 3);
}

void TestSetListPages::cancelledDialogReadsNothing()
{
    QTreeWidget* list = open(Page::IpGroups);
    QVERIFY(list);
    list->setCurrentItem(headingNamed(list, "Relays"));
    DialogRecorder recorder; // cancels
    const int before = int(m_server->journal().size());
    pageWidget()->findChild<QPushButton*>("m_btnEdit")->click();
    QCOMPARE(recorder.dialogs.size(), 1);
    // The dialog's own copy only.
    QCOMPARE(journalFrom(*m_server, before), QStringList{facts(Page::IpGroups).load});
}

void TestSetListPages::cancelAfterAnOkThatGotPartWayReadsAgain_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<QString>("refused");  // the statement the server refuses
    QTest::addColumn<QStringList>("shown"); // the page afterwards: what the server holds

    QTest::newRow("address groups")
        << Page::IpGroups << "insert ipaccesslist set Name='Relays', Value='10.0.0.2', Desc=''"
        << QStringList{"Office | ", "  192.168.10.0/24 | Head office", "  mx1.example | Mail host",
                       "Relays | ", "  10.0.0.1 | ", "  10.20.0.5 | Backup MX"};
    QTest::newRow("time ranges")
        << Page::TimeRanges
        << "insert timeintervals set name='Night', desc='Second', type='0', days='', start='0', end='0'"
        << QStringList{"Night |  | ", "  Every night | Daily | 1320 - 360", "  First | Daily | 0 - 0",
                       "Office hours |  | ", "  Weekdays | Weekly | Days 12345, 480 - 1080"};
}

// OK sends the set's changes; the server carries out the first and refuses the second, and
// the administrator then cancels the dialog. The server holds a change of it all the same:
// the page reads the table again and shows what the server holds.
void TestSetListPages::cancelAfterAnOkThatGotPartWayReadsAgain()
{
    QFETCH(Page, page);
    QFETCH(QString, refused);
    QFETCH(QStringList, shown);

    QTreeWidget* list = open(page);
    QVERIFY(list);
    const bool groups = page == Page::IpGroups;
    list->setCurrentItem(headingNamed(list, groups ? "Relays" : "Night"));
    QVERIFY(m_server->refuse('^' + QRegularExpression::escape(refused) + '$', 111, 1));
    DialogRecorder recorder;
    recorder.answerDialog([groups](QDialog* dialog) {
        QLineEdit* field = groups ? qobject_cast<DlgIPGroup*>(dialog)->m_editValue
                                  : qobject_cast<DlgTimeIntEx*>(dialog)->m_editDesc;
        for (const char* entry : {groups ? "10.0.0.1" : "First", groups ? "10.0.0.2" : "Second"}) {
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, QLatin1String(entry));
            dialog->findChild<QPushButton*>("m_btnAdd")->click();
        }
        dialog->findChild<QPushButton*>("m_btnOK")->click();
        dialog->findChild<QPushButton*>("m_btnCancel")->click();
        return dialog->result();
    });
    const int before = int(m_server->journal().size());
    pageWidget()->findChild<QPushButton*>("m_btnEdit")->click();

    QCOMPARE(recorder.messageTexts(), QStringList{"Query failed: Query not possible"});
    const QStringList journal = journalFrom(*m_server, before);
    QCOMPARE(journal.size(), 4); // the dialog's load, two inserts, the page's load
    QCOMPARE(journal.at(2), refused);
    QCOMPARE(journal.at(3), facts(page).load);
    QCOMPARE(itemsShown(list), shown);
    QVERIFY(m_window->getDBCtrl()->m_pending.isEmpty());
}

void TestSetListPages::removeWaitsForApply()
{
    QTreeWidget* list = open(Page::IpGroups);
    QVERIFY(list);
    headingNamed(list, "Office")->setSelected(true);
    pageWidget()->findChild<QPushButton*>("m_btnRemove")->click();

    const QStringList deletes{"delete from ipaccesslist where Name='Office' and Value='192.168.10.0/24'",
                              "delete from ipaccesslist where Name='Office' and Value='mx1.example'"};
    QCOMPARE(m_window->getDBCtrl()->m_pending, deletes);
    QCOMPARE(itemsShown(list), (QStringList{"Relays | ", "  10.20.0.5 | Backup MX"}));
    QCOMPARE(m_server->rows("ipaccesslist").size(), 3);

    m_window->reset();
    QVERIFY(m_window->getDBCtrl()->m_pending.isEmpty());
    QVERIFY(headingNamed(list, "Office"));

    headingNamed(list, "Office")->setSelected(true);
    pageWidget()->findChild<QPushButton*>("m_btnRemove")->click();
    const int before = int(m_server->journal().size());
    m_window->apply();
    QCOMPARE(journalFrom(*m_server, before), deletes);
    QCOMPARE(m_server->rows("ipaccesslist"), (QList<QStringList>{{"Relays", "10.20.0.5", "Backup MX"}}));
}

void TestSetListPages::pendingRemovalSurvivesAReload()
{
    QTreeWidget* list = open(Page::TimeRanges);
    QVERIFY(list);
    headingNamed(list, "Night")->setSelected(true);
    pageWidget()->findChild<QPushButton*>("m_btnRemove")->click();
    list->setCurrentItem(headingNamed(list, "Office hours"));
    DialogRecorder recorder;
    recorder.answerDialog([](QDialog* dialog) {
        auto* ranges = qobject_cast<DlgTimeIntEx*>(dialog);
        ranges->m_editDesc->setText("Lunch");
        ranges->m_btnAdd->click();
        ranges->m_btnOK->click();
        return dialog->result();
    });
    pageWidget()->findChild<QPushButton*>("m_btnEdit")->click();

    QCOMPARE(m_window->getDBCtrl()->m_pending,
             QStringList{"delete from timeintervals where name='Night' and desc='Every night' and type='0'"});
    QVERIFY(!headingNamed(list, "Night"));
    QCOMPARE(headingNamed(list, "Office hours")->childCount(), 2);
}

void TestSetListPages::refusedLoadShowsNothing()
{
    QVERIFY(m_server->refuse("from ipaccesslist", 111));
    DialogRecorder recorder;
    QTreeWidget* list = open(Page::IpGroups);
    QVERIFY(list);
    QCOMPARE(recorder.messageTexts(), QStringList{"Query failed: Query not possible"});
    QCOMPARE(list->topLevelItemCount(), 0);
    QVERIFY(m_window->getDBCtrl()->m_pending.isEmpty());
}

void TestSetListPages::refusedLoadOpensNoSet_data()
{
    QTest::addColumn<Page>("page");
    QTest::newRow("address groups") << Page::IpGroups;
    QTest::newRow("time ranges") << Page::TimeRanges;
}

// A page whose load failed follows neither Apply nor Reset: Add opens no set's dialog, which
// would write to the server and have the page read its table and hand in its removals from
// then on, to be sent again on every Apply.
void TestSetListPages::refusedLoadOpensNoSet()
{
    QFETCH(Page, page);

    QVERIFY(m_server->refuse("from " + facts(page).table + "$", 111, 1));
    DialogRecorder recorder;
    QTreeWidget* list = open(page);
    QVERIFY(list);
    QCOMPARE(recorder.messageTexts(), QStringList{"Query failed: Query not possible"});
    const int asked = int(m_server->journal().size());

    recorder.answerDialog(QDialog::Accepted);
    auto* add = pageWidget()->findChild<QPushButton*>("m_btnAdd");
    QVERIFY(add && add->isEnabled());
    add->click();
    QCOMPARE(recorder.dialogs.size(), 0);
    QCOMPARE(int(m_server->journal().size()), asked);
    QCOMPARE(list->topLevelItemCount(), 0);
    QVERIFY(m_window->getDBCtrl()->m_pending.isEmpty());
}

void TestSetListPages::wholeSelectionReadAgain_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<WholeSelectionAction>("action");

    QTest::newRow("address groups, edited") << Page::IpGroups << WholeSelectionAction::EditThroughTheMenu;
    QTest::newRow("address groups, reset") << Page::IpGroups << WholeSelectionAction::Reset;
    QTest::newRow("address groups, removed") << Page::IpGroups << WholeSelectionAction::Remove;
    QTest::newRow("time ranges, edited") << Page::TimeRanges << WholeSelectionAction::EditThroughTheMenu;
    QTest::newRow("time ranges, reset") << Page::TimeRanges << WholeSelectionAction::Reset;
    QTest::newRow("time ranges, removed") << Page::TimeRanges << WholeSelectionAction::Remove;
}

// Every row selected, then the rows replaced under the list: by the table read again after a
// set's dialog, by Reset, or taken out by Remove. The list is drawn anew from the rows left and
// its buttons follow the selection that went, without reading a row that went with the old
// ones.
void TestSetListPages::wholeSelectionReadAgain()
{
    QFETCH(Page, page);
    QFETCH(WholeSelectionAction, action);

    QTreeWidget* list = open(page);
    QVERIFY(list);
    const QStringList before = itemsShown(list);
    list->setCurrentItem(list->topLevelItem(0));
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(list->selectedItems().size(), before.size());
    auto* edit = pageWidget()->findChild<QPushButton*>("m_btnEdit");
    auto* remove = pageWidget()->findChild<QPushButton*>("m_btnRemove");
    QVERIFY(!edit->isEnabled());
    QVERIFY(remove->isEnabled());

    DialogRecorder recorder;
    recorder.answerDialog([](QDialog* dialog) {
        dialog->findChild<QPushButton*>("m_btnOK")->click();
        return dialog->result();
    });
    if (action == WholeSelectionAction::Reset)
        m_window->reset();
    else if (action == WholeSelectionAction::Remove)
        remove->click();
    else
        QMetaObject::invokeMethod(pageWidget(), "slotEdit");

    const bool removed = action == WholeSelectionAction::Remove;
    QCOMPARE(recorder.dialogs.size(), action == WholeSelectionAction::EditThroughTheMenu ? 1 : 0);
    QCOMPARE(itemsShown(list), removed ? QStringList() : before);
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(!edit->isEnabled());
    QVERIFY(!remove->isEnabled());
    QCOMPARE(m_window->getDBCtrl()->m_pending.size(), removed ? m_server->rows(facts(page).table).size() : 0);
}

void TestSetListPages::returnOpensWhatEditWould_data()
{
    QTest::addColumn<QStringList>("selected"); // headings, or "group/entry"
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("opened"); // the group the dialog opens on; null: none opens

    QTest::newRow("a group") << QStringList{"Office"} << "Office" << "Office";
    QTest::newRow("an entry") << QStringList{"Relays/10.20.0.5"} << "Relays/10.20.0.5" << "Relays";
    QTest::newRow("a group and its entries")
        << QStringList{"Office", "Office/192.168.10.0/24", "Office/mx1.example"} << "Office/mx1.example" << "Office";
    QTest::newRow("the current row outside the selection")
        << QStringList{"Office/mx1.example"} << "Relays" << "Office";
    QTest::newRow("two groups") << QStringList{"Office", "Relays"} << "Relays" << QString();
    QTest::newRow("entries of two groups")
        << QStringList{"Office/mx1.example", "Relays/10.20.0.5"} << "Office/mx1.example" << QString();
    QTest::newRow("nothing selected") << QStringList{} << "Office" << QString();
}

// Return on the list opens the group Edit... would open, and only where Edit... is enabled.
void TestSetListPages::returnOpensWhatEditWould()
{
    QFETCH(QStringList, selected);
    QFETCH(QString, current);
    QFETCH(QString, opened);

    QTreeWidget* list = open(Page::IpGroups);
    QVERIFY(list);
    list->setCurrentItem(itemAt(list, current), 0, QItemSelectionModel::NoUpdate);
    for (const QString& path : std::as_const(selected))
        itemAt(list, path)->setSelected(true);
    QCOMPARE(pageWidget()->findChild<QPushButton*>("m_btnEdit")->isEnabled(), !opened.isNull());

    DialogRecorder recorder;
    QString openedOn;
    recorder.answerDialog([&openedOn](QDialog* dialog) {
        openedOn = setBox(dialog)->currentText();
        return int(QDialog::Rejected);
    });
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(recorder.dialogs.size(), opened.isNull() ? 0 : 1);
    QCOMPARE(openedOn, opened.isNull() ? QString() : opened);
}

void TestSetListPages::removedGroupWorkedOnInTheDialog_data()
{
    QTest::addColumn<GroupWork>("work");
    QTest::addColumn<QString>("sent");           // by the dialog's OK
    QTest::addColumn<QStringList>("pending");    // afterwards, for Apply
    QTest::addColumn<QList<QStringList>>("held"); // by the server after Apply

    const QStringList relays{"Relays", "10.20.0.5", "Backup MX"};
    QTest::newRow("an entry added: the group stays")
        << GroupWork::AddsAnEntry << "insert ipaccesslist set Name='Office', Value='198.51.100.7', Desc='Seen today'"
        << QStringList{}
        << QList<QStringList>{{"Office", "192.168.10.0/24", "Head office"}, relays,
                              {"Office", "mx1.example", "Mail host"}, {"Office", "198.51.100.7", "Seen today"}};
    QTest::newRow("an entry changed: the group stays")
        << GroupWork::ChangesAnEntry
        << "update ipaccesslist set Desc='Seen today' where Name='Office' and Value='mx1.example'" << QStringList{}
        << QList<QStringList>{{"Office", "192.168.10.0/24", "Head office"}, relays,
                              {"Office", "mx1.example", "Seen today"}};
    QTest::newRow("an entry taken out: the rest goes on Apply")
        << GroupWork::TakesAnEntryOut << "delete from ipaccesslist where Name='Office' and Value='mx1.example'"
        << QStringList{"delete from ipaccesslist where Name='Office' and Value='192.168.10.0/24'"}
        << QList<QStringList>{relays};
    QTest::newRow("left alone: it goes on Apply")
        << GroupWork::LeavesIt << "insert ipaccesslist set Name='Relays', Value='10.0.0.9', Desc=''"
        << QStringList{"delete from ipaccesslist where Name='Office' and Value='192.168.10.0/24'",
                       "delete from ipaccesslist where Name='Office' and Value='mx1.example'"}
        << QList<QStringList>{relays, {"Relays", "10.0.0.9", ""}};
}

// "Office" is removed on the page, then the dialog opened on "Relays" still offers it. What
// the administrator adds to it there, or changes, is not deleted by the next Apply: the page
// shows the group again and keeps it. A group the dialog only took from, or left alone, stays
// removed.
void TestSetListPages::removedGroupWorkedOnInTheDialog()
{
    QFETCH(GroupWork, work);
    QFETCH(QString, sent);
    QFETCH(QStringList, pending);
    QFETCH(QList<QStringList>, held);

    QTreeWidget* list = open(Page::IpGroups);
    QVERIFY(list);
    headingNamed(list, "Office")->setSelected(true);
    pageWidget()->findChild<QPushButton*>("m_btnRemove")->click();
    QVERIFY(!headingNamed(list, "Office"));
    list->setCurrentItem(headingNamed(list, "Relays"));

    DialogRecorder recorder;
    recorder.answerDialog([work](QDialog* dialog) {
        auto* groups = qobject_cast<DlgIPGroup*>(dialog);
        auto type = [](QLineEdit* field, const QString& text) {
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, text);
        };
        if (work == GroupWork::LeavesIt) {
            type(groups->m_editValue, "10.0.0.9");
            groups->m_btnAdd->click();
        } else {
            groups->m_comboGroup->setCurrentIndex(groups->m_comboGroup->findText("Office"));
        }
        if (work == GroupWork::AddsAnEntry) {
            type(groups->m_editValue, "198.51.100.7");
            type(groups->m_editDesc, "Seen today");
            groups->m_btnAdd->click();
        } else if (work != GroupWork::LeavesIt) {
            const QList<QTreeWidgetItem*> mx = groups->m_list->findItems("mx1.example", Qt::MatchExactly);
            if (mx.size() == 1)
                groups->m_list->setCurrentItem(mx.first());
            if (work == GroupWork::ChangesAnEntry) {
                type(groups->m_editDesc, "Seen today");
                groups->m_btnEdit->click();
            } else {
                groups->m_btnRemove->click();
            }
        }
        groups->m_btnOK->click();
        return dialog->result();
    });
    const int before = int(m_server->journal().size());
    pageWidget()->findChild<QPushButton*>("m_btnEdit")->click();
    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(statementsOnly(journalFrom(*m_server, before)), sent);
    QCOMPARE(m_window->getDBCtrl()->m_pending, pending);
    QCOMPARE(headingNamed(list, "Office") != nullptr, pending.isEmpty());

    m_window->apply();
    QCOMPARE(m_server->rows("ipaccesslist"), held);
}

void TestSetListPages::setBoxHoldsTheSetItShows_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<QString>("set");
    QTest::addColumn<int>("entry"); // in the box's list
    QTest::addColumn<bool>("ok");   // closed with OK, else Cancel

    QTest::newRow("the first group") << Page::IpGroups << "Office" << 0 << true;
    QTest::newRow("the second group") << Page::IpGroups << "Relays" << 1 << true;
    QTest::newRow("the second group, cancelled") << Page::IpGroups << "Relays" << 1 << false;
    QTest::newRow("the first range") << Page::TimeRanges << "Office hours" << 0 << true;
    QTest::newRow("the second range") << Page::TimeRanges << "Night" << 1 << true;
    QTest::newRow("the second range, cancelled") << Page::TimeRanges << "Night" << 1 << false;
}

// The dialog opens on the set chosen on the page, and that set is the box's current entry: the
// opened list highlights it and Return keeps it, the entries shown stay the set's own, and the
// dialog closed writes nothing.
void TestSetListPages::setBoxHoldsTheSetItShows()
{
    QFETCH(Page, page);
    QFETCH(QString, set);
    QFETCH(int, entry);
    QFETCH(bool, ok);

    QTreeWidget* list = open(page);
    QVERIFY(list);
    list->setCurrentItem(headingNamed(list, set));
    const int entries = headingNamed(list, set)->childCount();
    DialogRecorder recorder;
    int index = -1;
    OpenedList::Look look;
    int entriesAfter = -1;
    recorder.answerDialog([&, ok](QDialog* dialog) {
        index = setBox(dialog)->currentIndex();
        look = OpenedList::openAndReturn(setBox(dialog));
        entriesAfter = dialog->findChild<QTreeWidget*>("m_list")->topLevelItemCount();
        dialog->findChild<QPushButton*>(ok ? "m_btnOK" : "m_btnCancel")->click();
        return dialog->result();
    });
    const int before = int(m_server->journal().size());
    pageWidget()->findChild<QPushButton*>("m_btnEdit")->click();

    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(index, entry);
    QVERIFY(look.opened);
    QCOMPARE(look.highlighted, set);
    QVERIFY(look.closedByReturn);
    QCOMPARE(look.heldAfterReturn, set);
    QCOMPARE(look.indexAfterReturn, entry);
    QCOMPARE(entriesAfter, entries);
    QCOMPARE(statementsOnly(journalFrom(*m_server, before)), QString());
    QVERIFY(m_window->getDBCtrl()->m_pending.isEmpty());
}

void TestSetListPages::setNamedInOtherLettersIsThatSet_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<QString>("opened"); // the set the dialog is opened on
    QTest::addColumn<QString>("typed");  // into the set's box
    QTest::addColumn<QString>("set");    // the box's text once left
    QTest::addColumn<int>("entries");    // shown of that set
    QTest::addColumn<QStringList>("fields"); // "field=text", typed into the entry's fields
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QStringList>("headings"); // on the page afterwards

    QTest::newRow("address groups") << Page::IpGroups << "Office" << "relays" << "Relays" << 1
                                    << QStringList{"m_editValue=10.9.9.0/24", "m_editDesc=kbd net"}
                                    << "insert ipaccesslist set Name='Relays', Value='10.9.9.0/24', Desc='kbd net'"
                                    << QStringList{"Office", "Relays"};
    QTest::newRow("time ranges") << Page::TimeRanges << "Night" << "OFFICE HOURS" << "Office hours" << 1
                                 << QStringList{"m_editDesc=Lunch", "m_editDays=12345"}
                                 << "insert timeintervals set name='Office hours', desc='Lunch', type='0', "
                                    "days='12345', start='0', end='0'"
                                 << QStringList{"Night", "Office hours"};
    QTest::newRow("address groups, a blank after the name")
        << Page::IpGroups << "Office" << "relays " << "Relays" << 1
        << QStringList{"m_editValue=10.9.9.0/24", "m_editDesc=kbd net"}
        << "insert ipaccesslist set Name='Relays', Value='10.9.9.0/24', Desc='kbd net'"
        << QStringList{"Office", "Relays"};
    QTest::newRow("time ranges, blanks around the name")
        << Page::TimeRanges << "Office hours" << " NIGHT " << "Night" << 1
        << QStringList{"m_editDesc=Lunch", "m_editDays=12345"}
        << "insert timeintervals set name='Night', desc='Lunch', type='0', days='12345', start='0', end='0'"
        << QStringList{"Night", "Office hours"};
}

// The name of a set typed key by key in other letters, or with blanks around it: the dialog
// shows that set as it is typed, and once the box is left with Tab an entry added goes to that
// set, not to a new one of the typed letters.
void TestSetListPages::setNamedInOtherLettersIsThatSet()
{
    QFETCH(Page, page);
    QFETCH(QString, opened);
    QFETCH(QString, typed);
    QFETCH(QString, set);
    QFETCH(int, entries);
    QFETCH(QStringList, fields);
    QFETCH(QString, sent);
    QFETCH(QStringList, headings);

    QString shownSet;
    int entriesShown = -1;
    int entriesWhileTyped = -1;
    bool setButtonsOnWhileTyped = false;
    const int before = int(m_server->journal().size());
    editSet(page, opened, [&](QDialog* dialog) {
        QComboBox* box = setBox(dialog);
        box->setFocus();
        typeOver(box->lineEdit(), typed);
        entriesWhileTyped = dialog->findChild<QTreeWidget*>("m_list")->topLevelItemCount();
        const QString renameButton = page == Page::IpGroups ? "m_btnRenameGroup" : "m_btnRenameRange";
        const QString removeButton = page == Page::IpGroups ? "m_btnRemoveGroup" : "m_btnRemoveRange";
        setButtonsOnWhileTyped = dialog->findChild<QPushButton*>(renameButton)->isEnabled()
                                 && dialog->findChild<QPushButton*>(removeButton)->isEnabled();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        shownSet = box->currentText();
        entriesShown = dialog->findChild<QTreeWidget*>("m_list")->topLevelItemCount();
        for (const QString& field : fields) {
            auto* edit = dialog->findChild<QLineEdit*>(field.section('=', 0, 0));
            edit->setFocus();
            typeOver(edit, field.section('=', 1));
        }
        dialog->findChild<QPushButton*>("m_btnAdd")->click();
        dialog->findChild<QPushButton*>("m_btnOK")->click();
    });

    // Before the box is left, the text typed already names the set.
    QCOMPARE(entriesWhileTyped, entries);
    QVERIFY(setButtonsOnWhileTyped);
    QCOMPARE(shownSet, set);
    QCOMPARE(entriesShown, entries);
    QCOMPARE(statementsOnly(journalFrom(*m_server, before)), sent);
    const QTreeWidget* list = pageWidget()->findChild<QTreeWidget*>("m_list");
    QStringList shown;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        shown.append(list->topLevelItem(i)->text(0));
    QCOMPARE(shown, headings);
}

void TestSetListPages::returnInTheEditorAddsWhatWasTyped_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<QString>("set");
    // Done in order: "field=text" typed key by key, "pick=N" the list's entry N, "Edit" pressed,
    // "Return=widget" with the keys.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("open");          // the dialog, once the steps are done
    QTest::addColumn<int>("entries");        // it shows then
    QTest::addColumn<QString>("sent");       // once the dialog is closed, with OK if still open

    const QStringList net{"m_editValue=10.9.9.0/24", "m_editDesc=kbd net"};
    const QString netAdded = "insert ipaccesslist set Name='Office', Value='10.9.9.0/24', Desc='kbd net'";
    QTest::newRow("groups: Return in the last field adds the entry")
        << Page::IpGroups << "Office" << net + QStringList{"Return=m_editDesc"} << true << 3 << netAdded;
    QTest::newRow("groups: Return in the first field adds the entry")
        << Page::IpGroups << "Office" << net + QStringList{"Return=m_editValue"} << true << 3 << netAdded;
    QTest::newRow("groups: an entry without its value stays typed")
        << Page::IpGroups << "Office" << QStringList{"m_editDesc=kbd net", "Return=m_editDesc"} << true << 2 << "";
    QTest::newRow("groups: Return on the list keeps the typed entry")
        << Page::IpGroups << "Office" << net + QStringList{"Return=m_list"} << true << 2 << "";
    QTest::newRow("groups: Return in the set's box keeps the typed entry")
        << Page::IpGroups << "Office" << net + QStringList{"Return=m_comboGroup"} << true << 2 << "";
    QTest::newRow("groups: nothing typed, Return is OK")
        << Page::IpGroups << "Office" << QStringList{"Return=m_editDesc"} << false << 2 << "";
    QTest::newRow("ranges: Return in End adds the interval")
        << Page::TimeRanges << "Night"
        << QStringList{"m_editDesc=Lunch", "m_spinStart=720", "m_spinEnd=780", "Return=m_spinEnd"} << true << 2
        << "insert timeintervals set name='Night', desc='Lunch', type='0', days='', start='720', end='780'";
    QTest::newRow("ranges: nothing typed, Return in End is OK")
        << Page::TimeRanges << "Night" << QStringList{"Return=m_spinEnd"} << false << 1 << "";
    QTest::newRow("ranges: nothing typed, Return in the description is OK")
        << Page::TimeRanges << "Night" << QStringList{"Return=m_editDesc"} << false << 1 << "";
    // The fields show an entry of the list, picked there, added or written: nothing is typed.
    QTest::newRow("groups: an entry picked, Return in its field is OK")
        << Page::IpGroups << "Office" << QStringList{"pick=0", "Return=m_editDesc"} << false << 2 << "";
    QTest::newRow("ranges: an interval picked, Return in End is OK")
        << Page::TimeRanges << "Night" << QStringList{"pick=0", "Return=m_spinEnd"} << false << 1 << "";
    QTest::newRow("groups: an entry added with Return, then Return on the list is OK")
        << Page::IpGroups << "Office" << net + QStringList{"Return=m_editDesc", "Return=m_list"} << false << 3
        << netAdded;
    QTest::newRow("groups: an entry changed with Edit, then Return on the list is OK")
        << Page::IpGroups << "Office" << QStringList{"pick=1", "m_editDesc=Relay host", "Edit", "Return=m_list"}
        << false << 2 << "update ipaccesslist set Desc='Relay host' where Name='Office' and Value='mx1.example'";
}

// The editor's entry fields typed key by key and Return pressed: in a field it adds the entry
// when "&Add" would, and nowhere does it close the editor over an entry typed and not added.
// With nothing typed since the fields last showed an entry of the list, Return presses OK.
void TestSetListPages::returnInTheEditorAddsWhatWasTyped()
{
    QFETCH(Page, page);
    QFETCH(QString, set);
    QFETCH(QStringList, steps);
    QFETCH(bool, open);
    QFETCH(int, entries);
    QFETCH(QString, sent);

    bool stillOpen = false;
    int entriesShown = -1;
    const int before = int(m_server->journal().size());
    editSet(page, set, [&](QDialog* dialog) {
        auto* list = dialog->findChild<QTreeWidget*>("m_list");
        for (const QString& step : steps) {
            const QString what = step.section('=', 0, 0);
            const QString argument = step.section('=', 1);
            if (what == QLatin1String("pick")) {
                list->setFocus();
                list->setCurrentItem(list->topLevelItem(argument.toInt()));
            } else if (what == QLatin1String("Edit")) {
                dialog->findChild<QPushButton*>("m_btnEdit")->click();
            } else if (what == QLatin1String("Return")) {
                dialog->findChild<QWidget*>(argument)->setFocus();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            } else {
                auto* field = dialog->findChild<QWidget*>(what);
                field->setFocus();
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(field, argument);
            }
        }
        stillOpen = dialog->isVisible();
        entriesShown = list->topLevelItemCount();
        if (stillOpen)
            dialog->findChild<QPushButton*>("m_btnOK")->click();
    });
    QCOMPARE(stillOpen, open);
    QCOMPARE(entriesShown, entries);
    QCOMPARE(statementsOnly(journalFrom(*m_server, before)), sent);
}

void TestSetListPages::tabGoesThroughTheEditorInOrder_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("field"); // the entry's first field
    QTest::addColumn<QString>("typed"); // into it, so that "&Add" comes on
    QTest::addColumn<QStringList>("order");

    QTest::newRow("address groups")
        << Page::IpGroups << "Office" << "m_editValue" << "10.9.9.0/24"
        << QStringList{"m_comboGroup", "m_btnRenameGroup", "m_btnRemoveGroup", "m_list", "m_editValue",
                       "m_editDesc", "m_btnAdd", "m_btnOK", "m_btnCancel"};
    QTest::newRow("time ranges")
        << Page::TimeRanges << "Night" << "m_editDesc" << "Lunch"
        << QStringList{"m_comboRange", "m_btnRenameRange", "m_btnRemoveRange", "m_list", "m_editDesc",
                       "m_comboType", "m_editDays", "m_spinStart", "m_spinEnd", "m_btnAdd", "m_btnOK",
                       "m_btnCancel"};
}

// From the set's box, Tab goes through every widget that takes the keys once and back to the
// box: the set's buttons, the list, the entry's fields, the buttons that are on, OK and Cancel.
void TestSetListPages::tabGoesThroughTheEditorInOrder()
{
    QFETCH(Page, page);
    QFETCH(QString, set);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QStringList, order);

    QStringList visited;
    editSet(page, set, [&](QDialog* dialog) {
        auto* first = dialog->findChild<QLineEdit*>(field);
        first->setFocus();
        QTest::keyClicks(first, typed);
        setBox(dialog)->setFocus();
        for (int i = 0; i <= order.size(); ++i) {
            QWidget* focus = QApplication::focusWidget();
            visited.append(focus ? focus->objectName() : QStringLiteral("(none)"));
            QTest::keyClick(focus, Qt::Key_Tab);
        }
    });
    QCOMPARE(visited, order + order.mid(0, 1));
}

void TestSetListPages::abortOfASaveShowsOnTheEditor_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<QString>("set");
    QTest::addColumn<QStringList>("fields"); // "field=text", typed into the entry's fields
    QTest::addColumn<QString>("sent");
    QTest::addColumn<int>("entries");        // the editor lists once the save is aborted

    QTest::newRow("address groups") << Page::IpGroups << "Office"
                                    << QStringList{"m_editValue=10.9.9.0/24", "m_editDesc=kbd net"}
                                    << "insert ipaccesslist set Name='Office', Value='10.9.9.0/24', Desc='kbd net'"
                                    << 3;
    QTest::newRow("time ranges")
        << Page::TimeRanges << "Night" << QStringList{"m_editDesc=Lunch", "m_spinStart=720", "m_spinEnd=780"}
        << "insert timeintervals set name='Night', desc='Lunch', type='0', days='', start='720', end='780'" << 2;
}

// The editor runs as a modal dialog, and its OK waits for a server that does not answer. The
// wait's panel shows on the editor, and its "&Abort", clicked where it is seen, ends the wait:
// the editor stays open on the entry added, which was sent once and not sent again.
void TestSetListPages::abortOfASaveShowsOnTheEditor()
{
    QFETCH(Page, page);
    QFETCH(QString, set);
    QFETCH(QStringList, fields);
    QFETCH(QString, sent);
    QFETCH(int, entries);

    QVERIFY(m_server->hold("^insert ", 1));
    // Should the click not reach "&Abort", the answer comes late and the test fails, not hangs.
    QTimer lateAnswer;
    lateAnswer.setSingleShot(true);
    connect(&lateAnswer, &QTimer::timeout, this, [this] { m_server->releaseHeld(); });
    lateAnswer.start(5000);
    const int before = int(m_server->journal().size());
    bool shownOnTheEditor = false;
    bool aborted = false;
    bool stillOpen = false;
    int entriesShown = -1;
    QTreeWidget* pageList = open(page);
    QVERIFY(pageList);
    pageList->setCurrentItem(headingNamed(pageList, set));
    DialogRecorder recorder;
    recorder.answerDialog([&](QDialog* dialog) {
        // As the dialog seam runs it: modal, over the main window.
        dialog->setWindowModality(Qt::ApplicationModal);
        if (!showActive(dialog))
            return int(QDialog::Rejected);
        for (const QString& field : fields) {
            auto* edit = dialog->findChild<QWidget*>(field.section('=', 0, 0));
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, field.section('=', 1));
        }
        dialog->findChild<QPushButton*>("m_btnAdd")->click();
        IndicatorAbort abort;
        dialog->findChild<QPushButton*>("m_btnOK")->click();
        aborted = abort.aborted();
        shownOnTheEditor = abort.shownOver() == dialog;
        stillOpen = dialog->isVisible();
        entriesShown = dialog->findChild<QTreeWidget*>("m_list")->topLevelItemCount();
        dialog->findChild<QPushButton*>("m_btnCancel")->click();
        return dialog->result();
    });
    pageWidget()->findChild<QPushButton*>("m_btnEdit")->click();
    QCOMPARE(recorder.dialogs.size(), 1);
    QVERIFY(aborted);
    QCOMPARE(m_server->heldAnswers(), 1);
    m_server->releaseHeld();
    QVERIFY(shownOnTheEditor);
    QVERIFY(stillOpen);
    QCOMPARE(entriesShown, entries);
    QCOMPARE(statementsOnly(journalFrom(*m_server, before)), sent);
}

QTEST_MAIN(TestSetListPages)
#include "tst_setlistpages.moc"
