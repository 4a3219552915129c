// The users page against the stand-in server: its domain box, its list, its buttons and
// menu, removals through Apply and Reset, its saved layout and the edit loop around the
// edit-user dialog.

#include "accountcolumns.h"
#include "accounttexts.h"
#include "cols.h"
#include "dbctrl.h"
#include "dbrow.h"
#include "desktop.h"
#include "dialogrecorder.h"
#include "dlgedituser.h"
#include "globaldata.h"
#include "listtexts.h"
#include "quseritem.h"
#include "settingsstore.h"
#include "shellharness.h"
#include "pagesession.h"
#include "usersfixture.h"
#include "wnduser.h"
#include "wndprogress.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QTimer>
#include <QtTest>

using AccountTexts::cell;

namespace {

// Types into the edit dialog and presses OK; the dialog's answer is what OK made of it.
std::function<int(QDialog*)> typeAndOk(std::function<void(DlgEditUser*)> typing)
{
    return [typing](QDialog* dialog) {
        auto* edit = qobject_cast<DlgEditUser*>(dialog);
        typing(edit);
        edit->m_btnOK->click();
        return edit->result();
    };
}

} // namespace

class TestWndUser : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void domainBox_data();
    void domainBox();
    void choosingDomain_data();
    void choosingDomain();
    void buttons_data();
    void buttons();
    void failedLoadLeavesButtonsAlone();
    void headerMenu();
    void layoutKeptUnderVersion2_data();
    void layoutKeptUnderVersion2();
    void activationOpensTheDialog_data();
    void activationOpensTheDialog();
    void twinNameIsNoDuplicate();
    void fullNameEditUpdate_data();
    void fullNameEditUpdate();
    void unloadedTablesNotShown_data();
    void unloadedTablesNotShown();
    void editsHandedInOneAfterAnother_data();
    void editsHandedInOneAfterAnother();
    void removalsAppliedAndReset_data();
    void removalsAppliedAndReset();
    void storedValuesKeptByAnUntouchedDialog_data();
    void storedValuesKeptByAnUntouchedDialog();

private:
    std::unique_ptr<WndUser> makePage(Desktop* desktop = nullptr)
    {
        return std::make_unique<WndUser>(nullptr, m_session->connection(), m_ctrl, desktop);
    }

    std::unique_ptr<PageSession> m_session;
    StandIn::TestServer* m_server = nullptr;
    DBCtrl* m_ctrl = nullptr;
};

void TestWndUser::init()
{
    globalData.currentDomain.clear();
    m_session = std::make_unique<PageSession>();
    m_server = m_session->server.get();
    m_ctrl = &m_session->ctrl;
    UsersFixture::install(*m_server);
    QVERIFY(m_session->connect());
}

void TestWndUser::cleanup()
{
    m_session.reset();
    globalData.currentDomain.clear();
}

void TestWndUser::domainBox_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("shownDomain");
    QTest::addColumn<QStringList>("users");

    const QStringList primary{"Ann", "ann", "bob", "cid", "eve", "john"};
    QTest::newRow("primary, as a new window has it") << "" << "corvane.example" << primary;
    QTest::newRow("another local domain") << "lakeside.example" << "lakeside.example" << QStringList{"dan"};
    QTest::newRow("stale current domain") << "gone.example" << "corvane.example" << QStringList();
}

void TestWndUser::domainBox()
{
    QFETCH(QString, current);
    QFETCH(QString, shownDomain);
    QFETCH(QStringList, users);

    globalData.currentDomain = current;
    auto page = makePage();
    // Alias and forwarding domains are never offered.
    QCOMPARE(comboEntries(page->m_comboDomain), (QStringList{"corvane.example", "lakeside.example"}));
    QCOMPARE(page->m_comboDomain->currentText(), shownDomain);
    QStringList names = listedNames(page->m_list);
    names.sort();
    QCOMPARE(names, users);
    QCOMPARE(globalData.currentDomain, current);
    QCOMPARE(page->m_list->headerItem()->text(1), QStringLiteral("Fullname"));
}

void TestWndUser::choosingDomain_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("users");

    QTest::newRow("primary stored as empty") << "corvane.example" << "" << 6;
    QTest::newRow("local domain stored by name") << "lakeside.example" << "lakeside.example" << 1;
}

void TestWndUser::choosingDomain()
{
    QFETCH(QString, chosen);
    QFETCH(QString, stored);
    QFETCH(int, users);

    globalData.currentDomain = QStringLiteral("lakeside.example");
    auto page = makePage();
    page->slotDomainChanged(chosen);
    QCOMPARE(globalData.currentDomain, stored);
    QCOMPARE(page->m_list->topLevelItemCount(), users);
    QCOMPARE(page->m_comboDomain->currentText(), chosen);
}

void TestWndUser::buttons_data()
{
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<bool>("edit");
    QTest::addColumn<bool>("remove");

    QTest::newRow("none") << QStringList() << false << false;
    QTest::newRow("one") << QStringList{"bob"} << true << true;
    QTest::newRow("two") << QStringList{"bob", "cid"} << false << true;
}

void TestWndUser::buttons()
{
    QFETCH(QStringList, selected);
    QFETCH(bool, edit);
    QFETCH(bool, remove);

    auto page = makePage();
    for (const QString& name : selected)
        itemNamed(page->m_list, name)->setSelected(true);
    QCOMPARE(page->m_btnEdit->isEnabled(), edit);
    QCOMPARE(page->m_btnRemove->isEnabled(), remove);
    QVERIFY(page->m_btnAdd->isEnabled());
    QVERIFY(page->m_btnImport->isEnabled());
}

void TestWndUser::failedLoadLeavesButtonsAlone()
{
    QVERIFY(m_server->refuse("from template", 109));
    DialogRecorder recorder;
    auto page = makePage();
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(page->m_comboDomain->count(), 0);
    QCOMPARE(page->m_list->columnCount(), 0);
    QVERIFY(page->m_btnEdit->isEnabled());
    QVERIFY(page->m_btnRemove->isEnabled());
}

void TestWndUser::headerMenu()
{
    auto page = makePage();
    QMenu menu;
    QVERIFY(page->fillPopupMenu(menu, page.get(), nullptr));
    QStringList entries;
    for (QAction* action : menu.actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text() + (action->isEnabled() ? "" : " (off)"));
    QCOMPARE(entries, (QStringList{"&Add...", "&Edit... (off)", "&Remove (off)", "-", "&Modify Columns..."}));
}

void TestWndUser::layoutKeptUnderVersion2_data()
{
    QTest::addColumn<int>("storedVersion");
    QTest::addColumn<QStringList>("headers");

    QTest::newRow("version 2 taken") << 2 << QStringList{"Name", "Fullname", "Description", "Quota"};
    QTest::newRow("version 1 ignored") << 1 << QStringList{"Name", "Fullname", "Description"};
}

void TestWndUser::layoutKeptUnderVersion2()
{
    QFETCH(int, storedVersion);
    QFETCH(QStringList, headers);

    Desktop desktop;
    Cols stored;
    QUserItem::addColumns(stored);
    stored.show(stored.hid.indexOf(QUserItem::Quota));
    stored.save(&desktop, QStringLiteral("Admin/Mail"), QStringLiteral("user"), storedVersion);

    auto page = makePage(&desktop);
    QStringList shown;
    for (int i = 0; i < page->m_list->columnCount(); ++i)
        shown << page->m_list->headerItem()->text(i);
    QCOMPARE(shown, headers);

    // A layout change is saved at once, under version 2.
    DialogRecorder recorder;
    recorder.answerDialog(QDialog::Accepted);
    page->slotCols();
    QCOMPARE(desktop.settings()->readNumEntry(QStringLiteral("/Admin/Mail/user/ver"), -1), 2);
}

void TestWndUser::activationOpensTheDialog_data()
{
    QTest::addColumn<bool>("byReturn");
    QTest::newRow("double click") << false;
    QTest::newRow("Return") << true;
}

void TestWndUser::activationOpensTheDialog()
{
    QFETCH(bool, byReturn);

    auto page = makePage();
    DialogRecorder recorder;
    QTreeWidgetItem* item = itemNamed(page->m_list, QStringLiteral("cid"));
    page->m_list->setCurrentItem(item);
    if (byReturn)
        QTest::keyClick(page->m_list, Qt::Key_Return);
    else
        emit page->m_list->itemDoubleClicked(item, 0);
    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.dialogs.at(0).className, QStringLiteral("DlgEditUser"));
}

// The server holds "ann" and "Ann", one key to a comparison without case. The edit leaves
// the name as it was: no duplicate, and the dialog is not opened again.
void TestWndUser::twinNameIsNoDuplicate()
{
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(typeAndOk([](DlgEditUser* dialog) {
        dialog->m_editFull->setText(QStringLiteral("Ann Changed"));
    }));
    QTreeWidgetItem* item = itemNamed(page->m_list, QStringLiteral("ann"));
    page->m_list->setCurrentItem(item);
    page->slotEdit();

    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(item->text(1), QStringLiteral("Ann Changed"));
    QCOMPARE(m_ctrl->m_pending,
             QStringList{"update user set fullname='Ann Changed' where name='ann' and domain=''"});
}

void TestWndUser::fullNameEditUpdate_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("fullname"); // typed, or empty for no change
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("case-only change")
        << "john" << "John Smith" << QStringList{"update user set fullname='John Smith' where name='john' and domain=''"};
    QTest::newRow("quoted name escaped")
        << "john" << "John O'Hara" << QStringList{"update user set fullname='John O\\'Hara' where name='john' and domain=''"};
    QTest::newRow("unchanged user, odd quota kept") << "cid" << "" << QStringList();
    QTest::newRow("groups left alone keep their stored order") << "bob" << "" << QStringList();
}

void TestWndUser::fullNameEditUpdate()
{
    QFETCH(QString, user);
    QFETCH(QString, fullname);
    QFETCH(QStringList, pending);

    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(typeAndOk([fullname](DlgEditUser* dialog) {
        if (!fullname.isEmpty())
            dialog->m_editFull->setText(fullname);
    }));
    QTreeWidgetItem* item = itemNamed(page->m_list, user);
    page->m_list->setCurrentItem(item);
    page->slotEdit();

    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(m_ctrl->m_pending, pending);
    if (!fullname.isEmpty())
        QCOMPARE(item->text(1), fullname);
}

void TestWndUser::unloadedTablesNotShown_data()
{
    QTest::addColumn<bool>("aborted"); // else refused by the server
    QTest::addColumn<QString>("box");
    QTest::newRow("refused") << false << "Query failed: Table does not exists";
    // The dialog's own load shows the wait indicator too; its Abort refuses the load.
    QTest::newRow("aborted at the wait indicator") << true << "Query failed: ";
}

void TestWndUser::unloadedTablesNotShown()
{
    QFETCH(bool, aborted);
    QFETCH(QString, box);

    auto page = makePage();
    page->show();
    WndProgress::setDefaultParent(page.get());
    if (aborted)
        QVERIFY(m_server->delay("from group", 2000, 1));
    else
        QVERIFY(m_server->refuse("from group", 109));
    QPointer<QWidget> shownOver;
    QTimer abortWhenShown;
    connect(&abortWhenShown, &QTimer::timeout, this, [&] {
        auto* indicator = page->findChild<WndProgress*>();
        if (!indicator || !indicator->isVisible() || shownOver)
            return;
        shownOver = indicator->parentWidget();
        QTest::mouseClick(indicator->findChild<QPushButton*>(QStringLiteral("btnAbort")), Qt::LeftButton);
    });
    abortWhenShown.start(20);
    DialogRecorder recorder;
    QTreeWidgetItem* item = itemNamed(page->m_list, QStringLiteral("bob"));
    page->m_list->setCurrentItem(item);
    const QString before = cell(static_cast<QUserItem*>(item)->row(), "groups");
    const int journalBefore = int(m_server->journal().size());
    page->slotEdit();
    WndProgress::setDefaultParent(nullptr);

    QCOMPARE(shownOver.data(), aborted ? page.get() : nullptr);
    QCOMPARE(recorder.dialogs.size(), 0); // never shown
    QCOMPARE(recorder.messageTexts(), QStringList{box}); // the table layer's failure box
    QCOMPARE(cell(static_cast<QUserItem*>(item)->row(), "groups"), before);
    QVERIFY(m_ctrl->m_pending.isEmpty());
    QCOMPARE(journalFrom(*m_server, journalBefore),
             QStringList{"select name, domain, description, rights from group"});
}

void TestWndUser::editsHandedInOneAfterAnother_data()
{
    // Steps: "edit <user> <full name>" (OK in the edit dialog), "remove <user>", "apply",
    // "reset". After each step the pending list is the one given; after the last it is the
    // table's whole difference too.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<QStringList>>("pending");

    const QString ann = QStringLiteral("update user set fullname='Ann 2' where name='ann' and domain=''");
    const QString annAgain = QStringLiteral("update user set fullname='Ann 3' where name='ann' and domain=''");
    const QString john = QStringLiteral("update user set fullname='John 2' where name='john' and domain=''");
    const QString removeCid = QStringLiteral("delete from user where name='cid' and domain=''");

    QTest::newRow("two users, in table order")
        << QStringList{"edit john John 2", "edit ann Ann 2"}
        << QList<QStringList>{{john}, {ann, john}};
    QTest::newRow("the same user twice")
        << QStringList{"edit ann Ann 2", "edit ann Ann 3"} << QList<QStringList>{{ann}, {annAgain}};
    QTest::newRow("edited back to what was loaded")
        << QStringList{"edit ann Ann 2", "edit john John 2", "edit ann ann lee"}
        << QList<QStringList>{{ann}, {ann, john}, {john}};
    QTest::newRow("after a reset")
        << QStringList{"edit ann Ann 2", "reset", "edit john John 2", "edit ann Ann 2"}
        << QList<QStringList>{{ann}, {}, {john}, {ann, john}};
    QTest::newRow("after an apply, the applied edit is no longer pending")
        << QStringList{"edit ann Ann 2", "apply", "edit john John 2", "edit ann Ann 3"}
        << QList<QStringList>{{ann}, {}, {john}, {annAgain, john}};
    QTest::newRow("after a removal the deletes come first")
        << QStringList{"edit john John 2", "remove cid", "edit ann Ann 2"}
        << QList<QStringList>{{john}, {removeCid, john}, {removeCid, ann, john}};
}

void TestWndUser::editsHandedInOneAfterAnother()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<QStringList>, pending);
    QCOMPARE(steps.size(), pending.size());

    auto page = makePage();
    DialogRecorder recorder;
    for (int step = 0; step < steps.size(); ++step) {
        const QStringList words = steps.at(step).split(QLatin1Char(' '));
        if (words.first() == QLatin1String("edit")) {
            const QString typed = words.mid(2).join(QLatin1Char(' '));
            recorder.answerDialog(typeAndOk([typed](DlgEditUser* dialog) { dialog->m_editFull->setText(typed); }));
            page->m_list->setCurrentItem(itemNamed(page->m_list, words.at(1)));
            page->slotEdit();
        } else if (words.first() == QLatin1String("remove")) {
            page->m_list->clearSelection();
            itemNamed(page->m_list, words.at(1))->setSelected(true);
            page->slotRemove();
        } else if (words.first() == QLatin1String("apply")) {
            m_ctrl->apply();
        } else {
            m_ctrl->reset();
        }
        QCOMPARE(recorder.messages.size(), 0);
        QCOMPARE(m_ctrl->m_pending, pending.at(step));
    }
    // Made whole only now: a difference made between the steps would set up the next one.
    QCOMPARE(*page->m_users.diff(true), pending.last());
}

void TestWndUser::removalsAppliedAndReset_data()
{
    QTest::addColumn<bool>("apply");
    QTest::newRow("apply") << true;
    QTest::newRow("reset") << false;
}

void TestWndUser::removalsAppliedAndReset()
{
    QFETCH(bool, apply);

    // Through a main window, which sends on Apply.
    m_session->conn.reset();
    PageFactory::registerPage<WndUser>(PageKind::Users);
    ConsoleStandIn console;
    WndMain* window = console.open(m_server->port());
    QVERIFY(window);
    choose(window, QStringLiteral("Domain Settings/Users"));
    auto* page = window->findChild<WndUser*>();
    QVERIFY(page);
    DialogRecorder recorder;
    for (const char* name : {"bob", "cid", "eve"})
        itemNamed(page->m_list, QLatin1String(name))->setSelected(true);
    page->slotRemove();
    QCOMPARE(recorder.messages.size(), 0);
    const QStringList deletes{"delete from user where name='bob' and domain=''",
                              "delete from user where name='cid' and domain=''",
                              "delete from user where name='eve' and domain=''"};
    QCOMPARE(window->getDBCtrl()->m_pending, deletes);
    const int journalBefore = int(m_server->journal().size());

    if (apply) {
        window->apply();
        QCOMPARE(journalFrom(*m_server, journalBefore), deletes);
        QCOMPARE(m_server->rows("user").size(), 4);
        QCOMPARE(page->m_users.diff(true)->size(), 0);
    } else {
        window->reset();
        QCOMPARE(journalFrom(*m_server, journalBefore), QStringList());
        QCOMPARE(page->m_list->topLevelItemCount(), 6);
    }
    QVERIFY(window->getDBCtrl()->m_pending.isEmpty());
}

void TestWndUser::storedValuesKeptByAnUntouchedDialog_data()
{
    using Typing = std::function<void(DlgEditUser*)>;
    QTest::addColumn<QString>("qstorage");
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<QStringList>("sent");

    const QString where = " where name='odd' and domain=''";
    const Typing nothing = [](DlgEditUser*) {};
    // Every flag, the type and the rights stored as 77, which the dialog shows only as
    // well as its boxes and buttons can.
    QTest::newRow("untouched: nothing sent") << "1536" << nothing << QStringList();
    QTest::newRow("account disabled")
        << "1536" << Typing([](DlgEditUser* d) { d->m_chkDisabled->setChecked(true); })
        << QStringList{"update user set account_enabled='0'" + where};
    QTest::newRow("another authentication type")
        << "1536" << Typing([](DlgEditUser* d) { d->m_auth->setCurrentIndex(2); })
        << QStringList{"update user set auth_type='2'" + where};
    QTest::newRow("read/write chosen: the other bits stay")
        << "1536" << Typing([](DlgEditUser* d) { d->m_rbtnFullAcc->setChecked(true); })
        << QStringList{"update user set rights='79'" + where};
    QTest::newRow("folder list shown, subscribed folders off")
        << "1536" << Typing([](DlgEditUser* d) {
               d->m_chkShowFldList->setChecked(true);
               d->m_chkShowSub->setChecked(false);
           })
        << QStringList{"update user set hidefldlist='0', showsub='0'" + where};
    QTest::newRow("quota unit chosen") << "1536" << Typing([](DlgEditUser* d) { d->m_comboKB->setCurrentIndex(1); })
                                       << QStringList{"update user set qstorage='0'" + where};
    // A null quota is no 0 anybody entered.
    QTest::newRow("empty quota kept") << "" << nothing << QStringList();
}

void TestWndUser::storedValuesKeptByAnUntouchedDialog()
{
    using Typing = std::function<void(DlgEditUser*)>;
    QFETCH(QString, qstorage);
    QFETCH(Typing, typing);
    QFETCH(QStringList, sent);

    m_server->setTable("user", UsersFixture::userColumns(),
                       {{"odd", "", "77", "77", "77", "secret", "staff", qstorage, "100", "Odd One", "", "Sent",
                         "Drafts", "77", "77", "20", "en", ""}});
    m_session->conn.reset();
    PageFactory::registerPage<WndUser>(PageKind::Users);
    ConsoleStandIn console;
    WndMain* window = console.open(m_server->port());
    QVERIFY(window);
    auto* page = openPage<WndUser>(window, QStringLiteral("Domain Settings/Users"));
    QVERIFY(page);
    DialogRecorder recorder;
    recorder.answerDialog(typeAndOk(typing));
    page->m_list->setCurrentItem(itemNamed(page->m_list, "odd"));
    page->slotEdit();
    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(window->getApplyButton()->isEnabled(), !sent.isEmpty());
    QCOMPARE(applied(window, *m_server), sent);
}

QTEST_MAIN(TestWndUser)
#include "tst_wnduser.moc"
