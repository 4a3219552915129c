#include "accountcolumns.h"
#include "activewindow.h"
#include "dbtable.h"
#include "dialogrecorder.h"
#include "dlgbrowse.h"
#include "globaldata.h"
#include "openedlist.h"
#include "standinconnection.h"
#include "typing.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

// The Find User dialog against the demo company: corvane.example (the primary domain) and
// lakeside.example, an alias and two forwarding domains.
class tst_DlgBrowse : public QObject
{
    Q_OBJECT

private slots:
    void formAsBuilt();
    void formSlotsComplain();
    void initTestCase();
    void init();
    void cleanup();
    void loadedTablesCauseNoRequest();
    void unloadedTablesLoadOnceOverTwoOpenings();
    void failedLoadLeavesTheDialogEmpty();
    void domainFieldOffersLocalDomains();
    void nameEntries_data();
    void nameEntries();
    void result_data();
    void result();
    void choosingADomainSharesIt_data();
    void choosingADomainSharesIt();
    void gesturesOnAnEntryOnlyPickIt_data();
    void gesturesOnAnEntryOnlyPickIt();
    void domainTypedInAnyLetters_data();
    void domainTypedInAnyLetters();
    void nameTypedKeptWhenTheListIsLookedAt_data();
    void nameTypedKeptWhenTheListIsLookedAt();
    void returnOnTheDomainShownKeepsTheNameTyped_data();
    void returnOnTheDomainShownKeepsTheNameTyped();

private:
    QStringList journalSince(int from) const
    {
        QStringList statements;
        const auto entries = m_server->journal();
        for (int i = from; i < entries.size(); ++i)
            statements.append(entries.at(i).statement);
        return statements;
    }
    std::unique_ptr<DlgBrowse> open(bool withGroups = true)
    {
        return std::make_unique<DlgBrowse>(&m_parent, nullptr, true, Qt::WindowFlags(), m_conn->get(), &m_domains,
                                           &m_users, withGroups ? &m_groups : nullptr);
    }
    static QStringList entries(const QComboBox* box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts.append(box->itemText(i));
        return texts;
    }
    static void choose(DlgBrowse* dialog, const QString& domain)
    {
        dialog->m_comboDomain->setCurrentText(domain);
        dialog->slotDomainChanged(domain);
    }

    std::unique_ptr<StandIn::TestServer> m_server;
    std::unique_ptr<ScopedConnection> m_conn;
    QWidget m_parent;
    DBTable m_domains, m_users, m_groups;
};

void tst_DlgBrowse::formAsBuilt()
{
    TDlgBrowse form;
    QCOMPARE(form.objectName(), QString("TDlgBrowse"));
    QCOMPARE(TDlgBrowse(nullptr, "picker").objectName(), QString("picker"));
    QCOMPARE(form.windowTitle(), QString("Find User"));
    QCOMPARE(form.size(), QSize(380, 278));
    QVERIFY(!form.windowIcon().isNull());
    QCOMPARE(form.findChild<QLabel*>("TextLabel1_2")->text(), QString("Domain:"));
    QCOMPARE(form.findChild<QLabel*>("TextLabel1")->text(), QString("Name:"));
    QCOMPARE(form.findChild<QPushButton*>("m_btnOK")->text(), QString("OK"));
    QVERIFY(form.m_btnOK->isDefault());
    QCOMPARE(form.findChild<QPushButton*>("m_btnCancel")->text(), QString("Cancel"));
    QVERIFY(form.findChild<QComboBox*>("m_comboDomain")->isEditable());
    QVERIFY(form.findChild<QComboBox*>("m_comboName")->isEditable());
    QTreeWidget* list = form.findChild<QTreeWidget*>("m_list");
    QCOMPARE(list->headerItem()->text(0) + "|" + list->headerItem()->text(1) + "|" + list->headerItem()->text(2),
             QString("Name|Fullname|Description"));
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(list->allColumnsShowFocus());
    QVERIFY(list->header()->isSortIndicatorShown());
    form.m_btnCancel->click();
    QCOMPARE(form.result(), int(QDialog::Rejected));
}

// Until a dialog overrides them, the slots the widgets reach say so.
void tst_DlgBrowse::formSlotsComplain()
{
    TDlgBrowse form;
    form.m_list->addTopLevelItem(new QTreeWidgetItem(QStringList{"x"}));
    QTest::ignoreMessage(QtWarningMsg, "TDlgBrowse::slotOK(): Not implemented yet!");
    form.m_btnOK->click();
    QTest::ignoreMessage(QtWarningMsg, "TDlgBrowse::slotDomainChanged(const QString &): Not implemented yet!");
    form.m_comboDomain->addItem("a.example");
    emit form.m_comboDomain->textActivated("a.example");
    QTest::ignoreMessage(QtWarningMsg, "TDlgBrowse::slotSelected(): Not implemented yet!");
    emit form.m_list->itemClicked(form.m_list->topLevelItem(0), 0);
    QCOMPARE(form.result(), int(QDialog::Rejected)); // OK accepted nothing by itself
}

void tst_DlgBrowse::initTestCase()
{
    m_server = startStandIn();
    m_conn = std::make_unique<ScopedConnection>(m_server->port());
    QVERIFY(m_conn->connect());
}

void tst_DlgBrowse::init()
{
    globalData.currentDomain = QString(QLatin1String(""));
    QVERIFY(m_domains.select(nullptr, m_conn->get(), "domain", dbcol_domain, 0));
    QVERIFY(m_users.select(nullptr, m_conn->get(), "user", dbcol_user_min, 0));
    QVERIFY(m_groups.select(nullptr, m_conn->get(), "group", dbcol_group, 0));
}

void tst_DlgBrowse::cleanup()
{
    m_server->clearControls();
}

void tst_DlgBrowse::loadedTablesCauseNoRequest()
{
    const int before = int(m_server->journal().size());
    auto dialog = open();
    QCOMPARE(journalSince(before), QStringList());
    QVERIFY(dialog->m_list->topLevelItemCount() > 0);
    // the columns grew to their longest entries
    QVERIFY(dialog->m_list->columnWidth(1)
            >= dialog->m_list->fontMetrics().horizontalAdvance("Shared reception mailbox"));
}

void tst_DlgBrowse::unloadedTablesLoadOnceOverTwoOpenings()
{
    DBTable domains, users, groups;
    const int before = int(m_server->journal().size());
    for (int opening = 0; opening < 2; ++opening) {
        DlgBrowse dialog(&m_parent, nullptr, true, {}, m_conn->get(), &domains, &users, &groups);
        QCOMPARE(dialog.m_list->topLevelItemCount(), 14); // the primary domain: 11 users, 3 groups
    }
    QCOMPARE(journalSince(before),
             (QStringList{"select domain, type, alias, fwhost, ntauthdomain, pamservice, kerberosrealm from domain",
                          "select name, domain, fullname, description from user",
                          "select name, domain, description, rights from group"}));
    QVERIFY(domains.m_loaded && users.m_loaded && groups.m_loaded);
}

// The table layer reports the refusal; the tables after the failed one are not asked for.
void tst_DlgBrowse::failedLoadLeavesTheDialogEmpty()
{
    QVERIFY(m_server->refuse("from user", 113));
    DBTable domains, users, groups;
    DialogRecorder recorder;
    const int before = int(m_server->journal().size());
    DlgBrowse dialog(&m_parent, nullptr, true, {}, m_conn->get(), &domains, &users, &groups);
    QCOMPARE(journalSince(before).size(), 2);
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY(recorder.messages.at(0).text.startsWith("Query failed: "));
    QCOMPARE(dialog.m_comboDomain->count(), 0);
    QCOMPARE(dialog.m_list->topLevelItemCount(), 0);
    QVERIFY(!groups.m_loaded);
    dialog.slotOK();
    QCOMPARE(dialog.m_result, QString());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void tst_DlgBrowse::domainFieldOffersLocalDomains()
{
    auto dialog = open();
    QCOMPARE(entries(dialog->m_comboDomain), (QStringList{"corvane.example", "lakeside.example"}));
    QCOMPARE(dialog->m_comboDomain->currentText(), QString("corvane.example"));
    QVERIFY(dialog->isDomainPrimary("corvane.example"));
    QVERIFY(!dialog->isDomainPrimary("lakeside.example"));
    QVERIFY(!dialog->isDomainPrimary("nowhere.example"));
    QCOMPARE(dialog->appendDomain("corvane-mail.example"), QString("@corvane-mail.example"));
    QCOMPARE(dialog->m_list->headerItem()->text(1), QString("Description"));
    QCOMPARE(dialog->m_list->headerItem()->text(2), QString("Fullname"));
}

void tst_DlgBrowse::nameEntries_data()
{
    QTest::addColumn<QString>("domain");
    QTest::addColumn<bool>("withGroups");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("primary domain, user and group of one name")
        << "corvane.example" << true
        << QStringList{"", "007", "[Managers]", "[staff]", "[support]", "admin", "alice", "bob", "carol", "dmitri",
                       "erin", "farid", "grace", "Oskar", "support"};
    QTest::newRow("another domain") << "lakeside.example" << true
        << QStringList{"", "[sales]", "[support-lead]", "hector", "ines", "jonas", "katja", "lena"};
    QTest::newRow("users only") << "lakeside.example" << false
        << QStringList{"", "hector", "ines", "jonas", "katja", "lena"};
    QTest::newRow("a typed domain no row names") << "typo.example" << true << QStringList{""};
}

void tst_DlgBrowse::nameEntries()
{
    QFETCH(QString, domain);
    QFETCH(bool, withGroups);
    QFETCH(QStringList, names);
    auto dialog = open(withGroups);
    choose(dialog.get(), domain);
    QCOMPARE(entries(dialog->m_comboName), names);
    QCOMPARE(dialog->m_comboName->currentText(), QString());
    QCOMPARE(dialog->m_list->topLevelItemCount(), names.size() - 1);
}

void tst_DlgBrowse::result_data()
{
    QTest::addColumn<QString>("domain"); // chosen, or only typed when it ends in "(typed)"
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("listEntry"); // made current in the list, then picked when `pick`
    QTest::addColumn<bool>("pick");
    QTest::addColumn<QString>("result");

    QTest::newRow("primary, typed user") << "corvane.example" << "alice" << "" << false << "alice";
    QTest::newRow("primary, typed group") << "corvane.example" << "[staff]" << "" << false << "[staff]";
    QTest::newRow("primary, group picked") << "corvane.example" << "" << "[support]" << true << "[support]";
    QTest::newRow("primary, user current, name empty") << "corvane.example" << "" << "bob" << false << "bob";
    QTest::newRow("other, user picked") << "lakeside.example" << "" << "ines" << true << "ines@lakeside.example";
    QTest::newRow("other, typed group") << "lakeside.example" << "[sales]" << "" << false << "[sales@lakeside.example]";
    QTest::newRow("other, group current, name empty")
        << "lakeside.example" << "" << "[sales]" << false << "[sales@lakeside.example]";
    QTest::newRow("typed address unchanged") << "lakeside.example" << "x@y" << "" << false << "x@y";
    QTest::newRow("a lone at sign") << "corvane.example" << "@" << "" << false << "@";
    QTest::newRow("domain typed, not confirmed") << "typo.example (typed)" << "zed" << "" << false << "zed@typo.example";
    QTest::newRow("domain of no row confirmed: the field shows the first again") << "typo.example" << "zed" << ""
                                                                                << false << "zed";
    QTest::newRow("empty choice") << "corvane.example" << "" << "" << false << "";
    QTest::newRow("group without its closing bracket") << "lakeside.example" << "[ab" << "" << false
                                                      << "[ab@lakeside.example]";
    QTest::newRow("bracket without a name, primary") << "corvane.example" << "[" << "" << false << "[]";
    QTest::newRow("other, a user in other letters, a blank after it")
        << "lakeside.example" << "Lena " << "" << false << "lena@lakeside.example";
    QTest::newRow("other, a name no entry has, blanks around it")
        << "lakeside.example" << " zed " << "" << false << "zed@lakeside.example";
    QTest::newRow("domain typed with a blank after it, not confirmed")
        << "typo.example  (typed)" << "zed" << "" << false << "zed@typo.example";
    QTest::newRow("a blank alone is no name") << "corvane.example" << " " << "" << false << "";
}

void tst_DlgBrowse::result()
{
    QFETCH(QString, domain);
    QFETCH(QString, typed);
    QFETCH(QString, listEntry);
    QFETCH(bool, pick);
    QFETCH(QString, result);
    auto dialog = open();
    if (domain.endsWith(" (typed)"))
        dialog->m_comboDomain->setEditText(domain.chopped(8));
    else
        choose(dialog.get(), domain);
    if (!listEntry.isEmpty()) {
        const auto found = dialog->m_list->findItems(listEntry, Qt::MatchExactly, 0);
        QCOMPARE(found.size(), 1);
        dialog->m_list->setCurrentItem(found.first());
        if (pick) {
            dialog->slotSelected();
            QCOMPARE(dialog->m_comboName->currentText(), listEntry);
        }
    }
    if (!typed.isEmpty())
        dialog->m_comboName->setEditText(typed);
    dialog->m_btnOK->click();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->m_result, result);
}

void tst_DlgBrowse::choosingADomainSharesIt_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("shared");
    QTest::addColumn<QString>("firstUser");

    QTest::newRow("primary domain stored as empty") << "corvane.example" << "" << "007";
    QTest::newRow("another domain by name") << "lakeside.example" << "lakeside.example" << "hector";
}

void tst_DlgBrowse::choosingADomainSharesIt()
{
    QFETCH(QString, chosen);
    QFETCH(QString, shared);
    QFETCH(QString, firstUser);
    globalData.currentDomain = "lakeside.example";
    {
        auto dialog = open(false);
        QCOMPARE(dialog->m_comboDomain->currentText(), QString("lakeside.example"));
        choose(dialog.get(), chosen);
        QCOMPARE(dialog->m_list->topLevelItem(0)->text(0), firstUser);
        dialog->reject(); // kept after a Cancel too
    }
    QCOMPARE(globalData.currentDomain, shared);
    QVERIFY(!globalData.currentDomain.isNull());
    auto again = open(false);
    QCOMPARE(again->m_comboDomain->currentText(), chosen);
}

void tst_DlgBrowse::gesturesOnAnEntryOnlyPickIt_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("name");

    QTest::newRow("click on a user") << "click" << "carol" << "carol";
    QTest::newRow("double click on a group") << "double click" << "[staff]" << "[staff]";
    QTest::newRow("Return on a user") << "Return" << "Oskar" << "Oskar";
}

// Each fills the name field from the entry; none closes the dialog.
void tst_DlgBrowse::gesturesOnAnEntryOnlyPickIt()
{
    QFETCH(QString, gesture);
    QFETCH(QString, entry);
    QFETCH(QString, name);
    auto dialog = open();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    const auto found = dialog->m_list->findItems(entry, Qt::MatchExactly, 0);
    QCOMPARE(found.size(), 1);
    QTreeWidgetItem* item = found.first();
    dialog->m_list->scrollToItem(item);
    const QPoint at = dialog->m_list->visualItemRect(item).center();
    if (gesture == "click") {
        QTest::mouseClick(dialog->m_list->viewport(), Qt::LeftButton, {}, at);
    } else if (gesture == "double click") {
        dialog->m_list->setCurrentItem(item);
        emit dialog->m_list->itemDoubleClicked(item, 0); // what the list says of a double click
    } else {
        dialog->m_list->setCurrentItem(item);
        dialog->m_list->setFocus();
        QTest::keyClick(dialog->m_list, Qt::Key_Return);
    }
    QCOMPARE(dialog->m_comboName->currentText(), name);
    // The entry picked is the box's current one, as a name typed and confirmed would be.
    QCOMPARE(dialog->m_comboName->currentIndex(), dialog->m_comboName->findText(name));
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->m_result, QString());
}

void tst_DlgBrowse::domainTypedInAnyLetters_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");           // that ends the typing
    QTest::addColumn<QString>("shown");     // by the domain box then
    QTest::addColumn<QString>("firstUser"); // of the list
    QTest::addColumn<QString>("shared");    // the current domain the pages share

    const int tab = Qt::Key_Tab, enter = Qt::Key_Return;
    QTest::newRow("another domain in capitals, Tab") << "LAKESIDE.EXAMPLE" << tab << "lakeside.example"
                                                     << "hector" << "lakeside.example";
    QTest::newRow("another domain in capitals, Return") << "LAKESIDE.EXAMPLE" << enter << "lakeside.example"
                                                        << "hector" << "lakeside.example";
    QTest::newRow("another domain in its letters, Tab") << "lakeside.example" << tab << "lakeside.example"
                                                        << "hector" << "lakeside.example";
    QTest::newRow("a domain no row names, Tab: nothing chosen") << "Typo.example" << tab << "Typo.example"
                                                                << "007" << "";
    QTest::newRow("another domain with a blank after it, Tab") << "Lakeside.Example " << tab << "lakeside.example"
                                                               << "hector" << "lakeside.example";
    QTest::newRow("another domain between blanks, Return") << " lakeside.example " << enter << "lakeside.example"
                                                           << "hector" << "lakeside.example";
    QTest::newRow("a domain no row names, a blank after it, Tab") << "Typo.example " << tab << "Typo.example "
                                                                  << "007" << "";
}

// A domain typed key by key and confirmed with Return or the field left with Tab: a name of a
// domain in any letters is that domain, and its users are listed. Return only confirms it.
void tst_DlgBrowse::domainTypedInAnyLetters()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QString, shown);
    QFETCH(QString, firstUser);
    QFETCH(QString, shared);
    auto dialog = open(false);
    QVERIFY(showActive(dialog.get()));
    dialog->m_comboDomain->setFocus();
    typeOver(dialog->m_comboDomain->lineEdit(), typed);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->m_comboDomain->currentText(), shown);
    QCOMPARE(dialog->m_list->topLevelItem(0)->text(0), firstUser);
    QCOMPARE(globalData.currentDomain, shared);
}

void tst_DlgBrowse::nameTypedKeptWhenTheListIsLookedAt_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("held"); // after Return in the opened list
    QTest::addColumn<QString>("result");

    QTest::newRow("a user in its letters") << "bob" << "bob" << "bob";
    QTest::newRow("a user in other letters") << "BOB" << "bob" << "bob";
    QTest::newRow("a user whose name has capitals") << "oskar" << "Oskar" << "Oskar";
    QTest::newRow("a group in other letters") << "[STAFF]" << "[staff]" << "[staff]";
    QTest::newRow("a name no entry has") << "zed" << "zed" << "zed";
    QTest::newRow("a user in other letters, a blank after it") << "Bob " << "bob" << "bob";
    QTest::newRow("a name no entry has, a blank after it") << "zed " << "zed " << "zed";
}

// A name typed, its list opened with Alt+Down and closed with Return, as a person looking
// whether the name is there does: the box keeps the name, in the entry's letters where it is
// one, and OK answers it.
void tst_DlgBrowse::nameTypedKeptWhenTheListIsLookedAt()
{
    QFETCH(QString, typed);
    QFETCH(QString, held);
    QFETCH(QString, result);
    auto dialog = open();
    QVERIFY(showActive(dialog.get()));
    QVERIFY(dialog->m_comboName->hasFocus());
    typeOver(dialog->m_comboName->lineEdit(), typed);
    const OpenedList::Look look = OpenedList::openAndReturn(dialog->m_comboName);
    QVERIFY(look.opened);
    QVERIFY(look.closedByReturn);
    QCOMPARE(look.heldAfterReturn, held);
    QVERIFY(dialog->isVisible());
    dialog->m_btnOK->click();
    QCOMPARE(dialog->m_result, result);
}

void tst_DlgBrowse::returnOnTheDomainShownKeepsTheNameTyped_data()
{
    QTest::addColumn<QString>("typed"); // over the domain shown, corvane.example; none: left as it is

    QTest::newRow("the domain left as it is") << QString();
    QTest::newRow("the domain typed again") << "corvane.example";
    QTest::newRow("the domain typed again in other letters") << "Corvane.Example";
    QTest::newRow("the domain typed again between blanks") << " corvane.example ";
}

// A name typed, then Return in the domain box with the domain shown: nothing is chosen, so
// the name typed and the list stay, and the dialog stays open; the field shows the domain.
void tst_DlgBrowse::returnOnTheDomainShownKeepsTheNameTyped()
{
    QFETCH(QString, typed);
    auto dialog = open();
    QVERIFY(showActive(dialog.get()));
    // An item the list would not have, were it filled anew.
    constexpr int Mark = Qt::UserRole + 99;
    dialog->m_list->topLevelItem(0)->setData(0, Mark, true);
    typeOver(dialog->m_comboName->lineEdit(), QStringLiteral("zed"));
    dialog->m_comboDomain->setFocus();
    if (!typed.isNull())
        typeOver(dialog->m_comboDomain->lineEdit(), typed);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->m_comboDomain->currentText(), QStringLiteral("corvane.example"));
    QCOMPARE(dialog->m_comboName->currentText(), QStringLiteral("zed"));
    QVERIFY(dialog->m_list->topLevelItem(0)->data(0, Mark).toBool());
}

QTEST_MAIN(tst_DlgBrowse)
#include "tst_dlgbrowse.moc"
