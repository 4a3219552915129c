// The user templates page against the stand-in server: its list of every domain's
// templates, its saved layout, its buttons and menu, adding with the defaults, the edit
// loop around the template dialog, removals, and Apply and Reset through a main window.

#include "accountfields.h"
#include "accounttexts.h"
#include "cols.h"
#include "dbctrl.h"
#include "dbrow.h"
#include "desktop.h"
#include "dialogrecorder.h"
#include "dlgedittemplate.h"
#include "globaldata.h"
#include "listtexts.h"
#include "pagesession.h"
#include "qtemplateitem.h"
#include "settingsstore.h"
#include "shellharness.h"
#include "templatesfixture.h"
#include "typing.h"
#include "wndtemplate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

using AccountTexts::cell;

namespace {

using Typing = std::function<void(DlgEditTemplate*)>;

// Works the template dialog and presses OK; the dialog's answer is what OK made of it.
std::function<int(QDialog*)> typeAndOk(Typing typing)
{
    return [typing](QDialog* dialog) {
        auto* edit = qobject_cast<DlgEditTemplate*>(dialog);
        typing(edit);
        edit->m_btnOK->click();
        return edit->result();
    };
}

// Looks at the dialog and cancels it.
std::function<int(QDialog*)> lookAndCancel(Typing looking)
{
    return [looking](QDialog* dialog) {
        looking(qobject_cast<DlgEditTemplate*>(dialog));
        return int(QDialog::Rejected);
    };
}

} // namespace

class TestWndTemplate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listsTemplatesOfEveryDomain();
    void layoutKeptUnderVersion1_data();
    void layoutKeptUnderVersion1();
    void buttons_data();
    void buttons();
    void menu_data();
    void menu();
    void addShowsDefaults();
    void addHandsOverInsert();
    void addRefusedOrCancelled_data();
    void addRefusedOrCancelled();
    void editKeepsNameAndFocusesDescription();
    void editWrites_data();
    void editWrites();
    void twinNameIsNoDuplicate();
    void unloadedTablesNotShown();
    void removals_data();
    void removals();
    void appliedAndResetThroughMainWindow_data();
    void appliedAndResetThroughMainWindow();
    void storedValuesKeptByAnUntouchedDialog_data();
    void storedValuesKeptByAnUntouchedDialog();
    void groupsOfATemplateForEveryDomain_data();
    void groupsOfATemplateForEveryDomain();
    void editOfOneTemplateSendsOnlyItsStatement_data();
    void editOfOneTemplateSendsOnlyItsStatement();

private:
    // In a main window on the server's templates: the dialog of template `name` worked by
    // typing and accepted, then Apply; the statements the server received are `sent`.
    void editAndApply(const QString& name, const Typing& typing, const QStringList& sent);
    // The page opened in a main window of `console` on the stand-in server; null when either
    // did not open.
    WndTemplate* openInMainWindow(ConsoleStandIn& console, WndMain*& window);
    std::unique_ptr<WndTemplate> makePage(Desktop* desktop = nullptr)
    {
        return std::make_unique<WndTemplate>(nullptr, m_session->connection(), m_ctrl, desktop);
    }

    std::unique_ptr<PageSession> m_session;
    StandIn::TestServer* m_server = nullptr;
    DBCtrl* m_ctrl = nullptr;
};

void TestWndTemplate::init()
{
    globalData.currentDomain.clear();
    m_session = std::make_unique<PageSession>();
    m_server = m_session->server.get();
    m_ctrl = &m_session->ctrl;
    TemplatesFixture::install(*m_server);
    QVERIFY(m_session->connect());
}

void TestWndTemplate::cleanup()
{
    m_session.reset();
    globalData.currentDomain.clear();
}

void TestWndTemplate::listsTemplatesOfEveryDomain()
{
    // The users page's current domain filters nothing here.
    globalData.currentDomain = QStringLiteral("lakeside.example");
    auto page = makePage();
    QCOMPARE(listedNames(page->m_list),
             (QStringList{"head-office", "lakeside-sales", "legacy", "standard"}));
    QCOMPARE(headerTitles(page->m_list), (QStringList{"Name", "Description"}));
    QCOMPARE(itemNamed(page->m_list, "legacy")->text(1), QStringLiteral("From the old server"));
    QCOMPARE(page->windowTitle(), QStringLiteral("User Templates"));
}

void TestWndTemplate::layoutKeptUnderVersion1_data()
{
    QTest::addColumn<int>("storedVersion");
    QTest::addColumn<QStringList>("headers");

    QTest::newRow("version 1 taken") << 1 << QStringList{"Name", "Description", "Authentication"};
    QTest::newRow("version 2 ignored") << 2 << QStringList{"Name", "Description"};
}

void TestWndTemplate::layoutKeptUnderVersion1()
{
    QFETCH(int, storedVersion);
    QFETCH(QStringList, headers);

    Desktop desktop;
    Cols stored;
    QTemplateItem::addColumns(stored);
    stored.show(stored.hid.indexOf(QTemplateItem::Authentication));
    stored.save(&desktop, QStringLiteral("Admin/Mail"), QStringLiteral("template"), storedVersion);

    auto page = makePage(&desktop);
    QCOMPARE(headerTitles(page->m_list), headers);
    if (storedVersion == 1)
        QCOMPARE(itemNamed(page->m_list, "head-office")->text(2), QStringLiteral("PAM")); // the server's name

    DialogRecorder recorder;
    recorder.answerDialog(QDialog::Accepted);
    page->slotCols();
    QCOMPARE(desktop.settings()->readNumEntry(QStringLiteral("/Admin/Mail/template/ver"), -1), 1);
}

void TestWndTemplate::buttons_data()
{
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<bool>("edit");
    QTest::addColumn<bool>("remove");

    QTest::newRow("none") << QStringList() << false << false;
    QTest::newRow("one") << QStringList{"legacy"} << true << true;
    QTest::newRow("two") << QStringList{"legacy", "standard"} << false << true;
}

void TestWndTemplate::buttons()
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
}

void TestWndTemplate::menu_data()
{
    QTest::addColumn<bool>("onRow");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("header or empty space")
        << false << QStringList{"&Add...", "&Edit... (off)", "&Remove (off)", "-", "&Modify Columns..."};
    QTest::newRow("a row") << true << QStringList{"&Add...", "&Edit...", "&Remove", "-", "&Modify Columns..."};
}

void TestWndTemplate::menu()
{
    QFETCH(bool, onRow);
    QFETCH(QStringList, entries);

    auto page = makePage();
    QMenu menu;
    QVERIFY(page->fillPopupMenu(menu, page.get(), onRow ? page->m_list->topLevelItem(0) : nullptr));
    QStringList shown;
    for (QAction* action : menu.actions())
        shown << (action->isSeparator() ? QStringLiteral("-")
                                        : action->text() + (action->isEnabled() ? "" : " (off)"));
    QCOMPARE(shown, entries);
}

void TestWndTemplate::addShowsDefaults()
{
    auto page = makePage();
    DialogRecorder recorder;
    struct Seen
    {
        bool nameEnabled = false, nameFocused = false, okAtFirst = true, okTyped = false,
             okCleared = true, groupsTab = true, showSub = false, folderList = false;
        QString domain, perPage, sent, drafts, language;
    } seen;
    recorder.answerDialog(typeAndOk([&seen](DlgEditTemplate* dialog) {
        seen.nameEnabled = dialog->m_editName->isEnabled();
        seen.nameFocused = dialog->focusWidget() == dialog->m_editName;
        seen.okAtFirst = dialog->m_btnOK->isEnabled();
        seen.domain = dialog->m_comboDomain->currentText();
        seen.groupsTab = dialog->m_tabs->isTabEnabled(1);
        seen.perPage = dialog->m_editNumMsg->text();
        seen.sent = dialog->m_editSentFolder->text();
        seen.drafts = dialog->m_editDraftFolder->text();
        seen.language = dialog->m_comboLang->currentText();
        seen.showSub = dialog->m_chkShowSub->isChecked();
        seen.folderList = dialog->m_chkShowFldList->isChecked();
        QTest::keyClicks(dialog->m_editName, QStringLiteral("x"));
        seen.okTyped = dialog->m_btnOK->isEnabled();
        dialog->m_editName->clear();
        seen.okCleared = dialog->m_btnOK->isEnabled();
        dialog->m_editName->setText(QStringLiteral("newcomer"));
    }));
    page->slotAdd();

    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.dialogs.at(0).caption, QStringLiteral("Template"));
    QVERIFY(seen.nameEnabled);
    QVERIFY(seen.nameFocused);
    QVERIFY(!seen.okAtFirst);
    QVERIFY(seen.okTyped);
    QVERIFY(!seen.okCleared);
    QCOMPARE(seen.domain, QStringLiteral("No domain specified"));
    QVERIFY(!seen.groupsTab);
    QCOMPARE(seen.perPage, QStringLiteral("20"));
    QCOMPARE(seen.sent, QStringLiteral("Sent Items"));
    QCOMPARE(seen.drafts, QStringLiteral("Drafts"));
    QCOMPARE(seen.language, QStringLiteral("en"));
    QVERIFY(seen.showSub);
    QVERIFY(seen.folderList);
    QVERIFY(itemNamed(page->m_list, "newcomer"));
}

void TestWndTemplate::addHandsOverInsert()
{
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(typeAndOk([](DlgEditTemplate* dialog) {
        dialog->m_editName->setText(QStringLiteral("O'Neill"));
        dialog->m_editDesk->setText(QStringLiteral("Night shift"));
    }));
    const int journalBefore = int(m_server->journal().size());
    page->slotAdd();

    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(m_ctrl->m_pending,
             QStringList{"insert template set tempname='O\\'Neill', domain='', description='Night shift', "
                         "auth_type='0', rights='0', groups='', qstorage='0', qmessage='', "
                         "sentfolder='Sent Items', draftfolder='Drafts', hidefldlist='0', "
                         "showsub='1', msgperpage='20', preflang='en'"});
    // Nothing is sent before Apply: only the dialog's loads reached the server.
    for (const QString& statement : journalFrom(*m_server, journalBefore))
        QVERIFY2(statement.startsWith("select", Qt::CaseInsensitive), qPrintable(statement));
    QCOMPARE(page->m_templates.m_rows.size(), size_t(5));
}

void TestWndTemplate::addRefusedOrCancelled_data()
{
    QTest::addColumn<QStringList>("typed"); // one per dialog shown; "" cancels
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<QStringList>("namesShown"); // what each dialog opened with
    QTest::addColumn<int>("pending");

    const QStringList refused{"This template already exists!"};
    QTest::newRow("cancelled") << QStringList{""} << QStringList() << QStringList{""} << 0;
    QTest::newRow("case-only duplicate, then cancelled")
        << QStringList{"STANDARD", ""} << refused << QStringList{"", "STANDARD"} << 0;
    QTest::newRow("duplicate of another domain's template, then corrected")
        << QStringList{"Lakeside-Sales", "lakeside-2"} << refused << QStringList{"", "Lakeside-Sales"} << 1;
}

void TestWndTemplate::addRefusedOrCancelled()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, warnings);
    QFETCH(QStringList, namesShown);
    QFETCH(int, pending);

    auto page = makePage();
    DialogRecorder recorder;
    QStringList shown;
    QList<bool> nameEnabled;
    for (const QString& name : typed) {
        auto look = [&shown, &nameEnabled](DlgEditTemplate* dialog) {
            shown << dialog->m_editName->text();
            nameEnabled << dialog->m_editName->isEnabled();
        };
        if (name.isEmpty()) {
            recorder.answerDialog(lookAndCancel(look));
        } else {
            recorder.answerDialog(typeAndOk([look, name](DlgEditTemplate* dialog) {
                look(dialog);
                dialog->m_editName->setText(name);
            }));
        }
    }
    page->slotAdd();

    QCOMPARE(recorder.dialogs.size(), typed.size());
    QCOMPARE(recorder.messageTexts(), warnings);
    for (const DialogRecorder::Message& message : std::as_const(recorder.messages))
        QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(shown, namesShown);
    QVERIFY(!nameEnabled.contains(false)); // a new template's name stays editable
    QCOMPARE(m_ctrl->m_pending.size(), pending);
    QCOMPARE(page->m_templates.m_rows.size(), size_t(4 + pending));
    QCOMPARE(page->m_list->topLevelItemCount(), 4 + pending);
}

void TestWndTemplate::editKeepsNameAndFocusesDescription()
{
    auto page = makePage();
    DialogRecorder recorder;
    bool nameEnabled = true, descriptionFocused = false, okEnabled = false, okAfterAuth = false;
    recorder.answerDialog(typeAndOk([&](DlgEditTemplate* dialog) {
        nameEnabled = dialog->m_editName->isEnabled();
        descriptionFocused = dialog->focusWidget() == dialog->m_editDesk;
        okEnabled = dialog->m_btnOK->isEnabled();
        dialog->m_auth->setCurrentIndex(1);
        emit dialog->m_auth->activated(1);
        okAfterAuth = dialog->m_btnOK->isEnabled();
        dialog->m_editDesk->setText(QStringLiteral("Everyone"));
    }));
    QTreeWidgetItem* item = itemNamed(page->m_list, "standard");
    page->m_list->setCurrentItem(item);
    page->slotEdit();

    QVERIFY(!nameEnabled);
    QVERIFY(descriptionFocused);
    QVERIFY(okEnabled);
    QVERIFY(okAfterAuth);
    QCOMPARE(m_ctrl->m_pending,
             QStringList{"update template set description='Everyone', auth_type='1' where tempname='standard'"});
    QCOMPARE(item->text(1), QStringLiteral("Everyone"));
}

void TestWndTemplate::editWrites_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("domainChosen"); // "" : left as opened
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("nothing touched")
        << "standard" << "" << QStringList();
    QTest::newRow("groups left alone keep their stored order") << "head-office" << "" << QStringList();
    QTest::newRow("no domain: domain and groups emptied")
        << "lakeside-sales" << "No domain specified"
        << QStringList{"update template set domain='', groups='' where tempname='lakeside-sales'"};
    QTest::newRow("unknown domain kept") << "legacy" << "" << QStringList();
    QTest::newRow("unknown domain left for another")
        << "legacy" << "lakeside.example" << QStringList{"update template set domain='lakeside.example' where tempname='legacy'"};
}

void TestWndTemplate::editWrites()
{
    QFETCH(QString, name);
    QFETCH(QString, domainChosen);
    QFETCH(QStringList, pending);

    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(typeAndOk([domainChosen](DlgEditTemplate* dialog) {
        if (domainChosen.isEmpty())
            return;
        const int index = dialog->m_comboDomain->findText(domainChosen);
        dialog->m_comboDomain->setCurrentIndex(index);
        emit dialog->m_comboDomain->textActivated(domainChosen);
    }));
    page->m_list->setCurrentItem(itemNamed(page->m_list, name));
    page->slotEdit();

    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(m_ctrl->m_pending, pending);
}

// A name the dialog cannot change, stored twice in two letter cases: the edit that leaves
// it as it was is kept, without a duplicate warning.
void TestWndTemplate::twinNameIsNoDuplicate()
{
    QList<QStringList> rows = m_server->rows("template");
    rows.append(TemplatesFixture::templateRow("Standard", "", "Same name, other case", ""));
    m_server->setTable("template", m_server->columns("template"), rows);
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(typeAndOk([](DlgEditTemplate* dialog) {
        dialog->m_editDesk->setText(QStringLiteral("Typed"));
    }));
    page->m_list->setCurrentItem(itemNamed(page->m_list, "standard"));
    page->slotEdit();

    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(m_ctrl->m_pending,
             QStringList{"update template set description='Typed' where tempname='standard'"});
}

void TestWndTemplate::unloadedTablesNotShown()
{
    auto page = makePage();
    QVERIFY(m_server->refuse("from group", 109));
    DialogRecorder recorder;
    page->m_list->setCurrentItem(itemNamed(page->m_list, "head-office"));
    page->slotEdit();

    QCOMPARE(recorder.dialogs.size(), 0);
    QCOMPARE(recorder.messages.size(), 1); // the table layer's failure box
    QVERIFY(m_ctrl->m_pending.isEmpty());
    QCOMPARE(itemNamed(page->m_list, "head-office")->text(1), QStringLiteral("Head office"));
}

void TestWndTemplate::removals_data()
{
    QTest::addColumn<bool>("addFirst");
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<QStringList>("pending");

    // Deletes come in the order the rows were loaded.
    QTest::newRow("two loaded")
        << false << QStringList{"legacy", "standard"}
        << QStringList{"delete from template where tempname='standard'", "delete from template where tempname='legacy'"};
    QTest::newRow("one just added: its insert dropped")
        << true << QStringList{"added", "legacy"} << QStringList{"delete from template where tempname='legacy'"};
}

void TestWndTemplate::removals()
{
    QFETCH(bool, addFirst);
    QFETCH(QStringList, removed);
    QFETCH(QStringList, pending);

    auto page = makePage();
    DialogRecorder recorder;
    if (addFirst) {
        recorder.answerDialog(typeAndOk([](DlgEditTemplate* dialog) { dialog->m_editName->setText("added"); }));
        page->slotAdd();
        QCOMPARE(m_ctrl->m_pending.size(), 1);
    }
    for (const QString& name : removed)
        itemNamed(page->m_list, name)->setSelected(true);
    page->slotRemove();

    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(m_ctrl->m_pending, pending);
    for (const QString& name : removed)
        QVERIFY(!itemNamed(page->m_list, name));
}

void TestWndTemplate::appliedAndResetThroughMainWindow_data()
{
    QTest::addColumn<bool>("apply");
    QTest::newRow("apply") << true;
    QTest::newRow("reset") << false;
}

void TestWndTemplate::appliedAndResetThroughMainWindow()
{
    QFETCH(bool, apply);

    ConsoleStandIn console;
    WndMain* window = nullptr;
    auto* page = openInMainWindow(console, window);
    QVERIFY(page);
    DialogRecorder recorder;
    recorder.answerDialog(typeAndOk([](DlgEditTemplate* dialog) {
        dialog->m_editDesk->setText(QStringLiteral("Renamed"));
    }));
    page->m_list->setCurrentItem(itemNamed(page->m_list, "standard"));
    page->slotEdit();
    page->m_list->clearSelection();
    itemNamed(page->m_list, "legacy")->setSelected(true);
    page->slotRemove();
    const QStringList statements{"delete from template where tempname='legacy'",
                                 "update template set description='Renamed' where tempname='standard'"};
    QCOMPARE(window->getDBCtrl()->m_pending, statements);
    const int journalBefore = int(m_server->journal().size());

    if (apply) {
        window->apply();
        QCOMPARE(journalFrom(*m_server, journalBefore), statements);
        QCOMPARE(m_server->rows("template").size(), 3);
        QCOMPARE(page->m_templates.diff(true)->size(), 0);
        QCOMPARE(itemNamed(page->m_list, "standard")->text(1), QStringLiteral("Renamed"));
    } else {
        window->reset();
        QCOMPARE(journalFrom(*m_server, journalBefore), QStringList());
        QCOMPARE(listedNames(page->m_list), (QStringList{"head-office", "lakeside-sales", "legacy", "standard"}));
        QCOMPARE(itemNamed(page->m_list, "standard")->text(1), QStringLiteral("Standard mailbox"));
    }
    QVERIFY(window->getDBCtrl()->m_pending.isEmpty());
}

WndTemplate* TestWndTemplate::openInMainWindow(ConsoleStandIn& console, WndMain*& window)
{
    m_session->conn.reset();
    PageFactory::registerPage<WndTemplate>(PageKind::UserTemplates);
    window = console.open(m_server->port());
    return window ? openPage<WndTemplate>(window, QStringLiteral("Configuration/Definitions/User Templates"))
                  : nullptr;
}

void TestWndTemplate::editAndApply(const QString& name, const Typing& typing, const QStringList& sent)
{
    ConsoleStandIn console;
    WndMain* window = nullptr;
    auto* page = openInMainWindow(console, window);
    QVERIFY(page);
    DialogRecorder recorder;
    recorder.answerDialog(typeAndOk(typing));
    page->m_list->setCurrentItem(itemNamed(page->m_list, name));
    page->slotEdit();
    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(window->getApplyButton()->isEnabled(), !sent.isEmpty());
    QCOMPARE(applied(window, *m_server), sent);
}

void TestWndTemplate::storedValuesKeptByAnUntouchedDialog_data()
{
    QTest::addColumn<QString>("qstorage");
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<QStringList>("sent");

    const QString where = " where tempname='odd'";
    const Typing nothing = [](DlgEditTemplate*) {};
    // The type, the rights and both flags stored as 77.
    QTest::newRow("untouched: nothing sent") << "500" << nothing << QStringList();
    QTest::newRow("another authentication type")
        << "500" << Typing([](DlgEditTemplate* d) { d->m_auth->setCurrentIndex(1); })
        << QStringList{"update template set auth_type='1'" + where};
    QTest::newRow("no access chosen") << "500" << Typing([](DlgEditTemplate* d) { d->m_rbtnNoAcc->setChecked(true); })
                                      << QStringList{"update template set rights='0'" + where};
    QTest::newRow("subscribed folders off")
        << "500" << Typing([](DlgEditTemplate* d) { d->m_chkShowSub->setChecked(false); })
        << QStringList{"update template set showsub='0'" + where};
    QTest::newRow("quota typed") << "500" << Typing([](DlgEditTemplate* d) { d->m_editDiskSpace->setText("2"); })
                                 << QStringList{"update template set qstorage='2048'" + where};
    // A null quota is no 0 anybody entered.
    QTest::newRow("empty quota kept") << "" << nothing << QStringList();
    QTest::newRow("empty quota typed over") << "" << Typing([](DlgEditTemplate* d) { d->m_editDiskSpace->setText("2"); })
                                            << QStringList{"update template set qstorage='2048'" + where};
}

void TestWndTemplate::storedValuesKeptByAnUntouchedDialog()
{
    QFETCH(QString, qstorage);
    QFETCH(Typing, typing);
    QFETCH(QStringList, sent);

    m_server->setTable("template", TemplatesFixture::templateColumns(),
                       {{"odd", "", "Odd one", "77", "77", "", qstorage, "5000", "Sent", "Drafts", "77", "77",
                         "20", "en"}});
    editAndApply("odd", typing, sent);
}

void TestWndTemplate::groupsOfATemplateForEveryDomain_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<QStringList>("sent");

    const auto choose = [](const QString& domain) {
        return [domain](DlgEditTemplate* dialog) {
            dialog->m_comboDomain->setCurrentIndex(dialog->m_comboDomain->findText(domain));
            emit dialog->m_comboDomain->textActivated(domain);
        };
    };
    // "standard" serves every domain and holds the group "staff" nonetheless.
    QTest::newRow("only the description edited")
        << "standard" << Typing([](DlgEditTemplate* d) { d->m_editDesk->setText("Everyone"); })
        << QStringList{"update template set description='Everyone' where tempname='standard'"};
    QTest::newRow("another domain chosen and given up again")
        << "standard" << Typing([choose](DlgEditTemplate* d) {
               choose("lakeside.example")(d);
               choose("No domain specified")(d);
           })
        << QStringList();
    QTest::newRow("a domain chosen: the groups the list shows")
        << "standard" << Typing(choose("lakeside.example"))
        << QStringList{"update template set domain='lakeside.example' where tempname='standard'"};
    QTest::newRow("no domain chosen for a bound template: both emptied")
        << "lakeside-sales" << Typing(choose("No domain specified"))
        << QStringList{"update template set domain='', groups='' where tempname='lakeside-sales'"};
    // The domain box ends as it was, but the list did not: the groups go as for any template
    // for every domain whose groups were touched.
    QTest::newRow("a group removed under another domain, then no domain again")
        << "standard" << Typing([choose](DlgEditTemplate* d) {
               choose("lakeside.example")(d);
               d->m_listGroups->setCurrentItem(itemNamed(d->m_listGroups, "[staff]"));
               d->m_btnRemove->click();
               choose("No domain specified")(d);
           })
        << QStringList{"update template set groups='' where tempname='standard'"};
}

void TestWndTemplate::groupsOfATemplateForEveryDomain()
{
    QFETCH(QString, name);
    QFETCH(Typing, typing);
    QFETCH(QStringList, sent);

    m_server->setTable("template", TemplatesFixture::templateColumns(),
                       {TemplatesFixture::templateRow("standard", "", "Standard mailbox", "staff"),
                        TemplatesFixture::templateRow("lakeside-sales", "lakeside.example", "Lakeside sales", "sales")});
    editAndApply(name, typing, sent);
}

// Templates the server holds with empty cells, or with numbers it keeps as text, are nobody's
// edit: typing a new description into one template sends that and nothing else, even where
// that template's own cells are empty or of another type than the page's.
void TestWndTemplate::editOfOneTemplateSendsOnlyItsStatement_data()
{
    QTest::addColumn<int>("numberType"); // how the server declares auth_type, rights, the flags
    QTest::addColumn<QStringList>("edited"); // auth_type, rights, hidefldlist, showsub, msgperpage
    QTest::addColumn<QList<QStringList>>("others"); // the same five for three more templates

    using StandIn::TypeInt;
    using StandIn::TypeString;
    QTest::newRow("empty numbers")
        << int(TypeInt) << QStringList{"", "", "", "", ""}
        << QList<QStringList>{{"", "", "", "", ""}, {"", "1", "", "1", "20"}, {"2", "", "1", "", ""}};
    QTest::newRow("numbers kept as text by the server")
        << int(TypeString) << QStringList{"0", "0", "0", "1", "20"}
        << QList<QStringList>{{"auth", "rw", "no", "yes", "x"}, {"", "", "", "", ""},
                              {"007", "3", "1", "0", "twenty"}};
    QTest::newRow("the edited template's numbers kept as text too")
        << int(TypeString) << QStringList{"auth", "", "no", "", "x"}
        << QList<QStringList>{{"abc", "", "", "", ""}, {"1", "3", "0", "1", "20"}, {"", "", "", "", ""}};
}

void TestWndTemplate::editOfOneTemplateSendsOnlyItsStatement()
{
    QFETCH(int, numberType);
    QFETCH(QStringList, edited);
    QFETCH(QList<QStringList>, others);
    QList<StandIn::Column> columns = TemplatesFixture::templateColumns();
    for (StandIn::Column& column : columns) {
        if (QStringList{"auth_type", "rights", "hidefldlist", "showsub", "msgperpage"}.contains(column.name))
            column.type = numberType;
    }
    auto row = [](const QString& name, const QStringList& numbers) {
        return QStringList{name, "", "Templates " + name, numbers.at(0), numbers.at(1), "", "", "",
                           "Sent", "Drafts", numbers.at(2), numbers.at(3), numbers.at(4), ""};
    };
    QList<QStringList> rows{row("edited", edited)};
    for (int i = 0; i < others.size(); ++i)
        rows.append(row("other" + QString::number(i), others.at(i)));
    m_server->setTable("template", columns, rows);
    editAndApply("edited", [](DlgEditTemplate* dialog) { typeOver(dialog->m_editDesk, "Typed"); },
                 {"update template set description='Typed' where tempname='edited'"});
}

QTEST_MAIN(TestWndTemplate)
#include "tst_wndtemplate.moc"
