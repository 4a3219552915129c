// The template dialog on rows of a templates page built against the stand-in server: its
// domain box and the groups that go with a domain, its picker, and what OK writes back.

#include "accountfields.h"
#include "accounttexts.h"
#include "dbctrl.h"
#include "dbrow.h"
#include "dialogrecorder.h"
#include "dlgaddgroup.h"
#include "dlgedittemplate.h"
#include "globaldata.h"
#include "listtexts.h"
#include "pagesession.h"
#include "templatesfixture.h"
#include "typing.h"
#include "wndtemplate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

using AccountTexts::cell;

namespace {

// Chooses an entry of the domain box as the administrator does.
void chooseDomain(DlgEditTemplate* dialog, const QString& text)
{
    dialog->m_comboDomain->setCurrentIndex(dialog->m_comboDomain->findText(text));
    emit dialog->m_comboDomain->textActivated(text);
}

} // namespace

class TestDlgEditTemplate : public QObject
{
    Q_OBJECT

private slots:
    // A locale whose group separator is the comma, whatever the machine's.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init();
    void cleanup();

    void form();
    void domainBox_data();
    void domainBox();
    void groupsTabFollowsDomain();
    void noDomainWritesDomainAndGroupsEmpty();
    void pickerOffersTheChosenDomainsGroups_data();
    void pickerOffersTheChosenDomainsGroups();
    void failedAuthTypesKeepStoredType();
    void failedLanguagesLeaveDialogUnready();
    void language_data();
    void language();
    void flags_data();
    void flags();
    void headerClickKeepsTheStoredOrder();
    void numberFields_data();
    void numberFields();

private:

    DBRow* templateRow(const QString& name) const
    {
        for (const auto& row : m_page->m_templates.m_rows) {
            if (cell(row.get(), "tempname") == name)
                return row.get();
        }
        return nullptr;
    }
    std::unique_ptr<DlgEditTemplate> openOn(DBRow* row, bool newTemplate = false) const
    {
        return std::make_unique<DlgEditTemplate>(row, m_session->connection(), &m_page->m_domains,
                                                 &m_page->m_groups, &m_page->m_languages,
                                                 m_page.get(), nullptr, true, Qt::WindowFlags(),
                                                 newTemplate);
    }

    std::unique_ptr<PageSession> m_session;
    StandIn::TestServer* m_server = nullptr;
    std::unique_ptr<WndTemplate> m_page;
};

void TestDlgEditTemplate::init()
{
    globalData.currentDomain.clear();
    m_session = std::make_unique<PageSession>();
    m_server = m_session->server.get();
    TemplatesFixture::install(*m_server);
    QVERIFY(m_session->connect());
    m_page = std::make_unique<WndTemplate>(nullptr, m_session->connection(), &m_session->ctrl, nullptr);
}

void TestDlgEditTemplate::cleanup()
{
    m_page.reset();
    m_session.reset();
    globalData.currentDomain.clear();
}

void TestDlgEditTemplate::form()
{
    TDlgEditTemplate form;
    QCOMPARE(form.objectName(), QStringLiteral("TDlgEditTemplate"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Template"));
    QStringList titles;
    for (int i = 0; i < form.m_tabs->count(); ++i)
        titles << form.m_tabs->tabText(i);
    QCOMPARE(titles, (QStringList{"General", "Groups", "Rights", "Quota", "Vazazuz"}));
    QCOMPARE(form.TextLabel12->text(),
             QStringLiteral("Note: If you don't specify any domain, the template will be suitable for all domains."));
    QVERIFY(form.m_btnOK->isDefault());
    QCOMPARE(form.m_btnCancel->shortcut(), QKeySequence(Qt::Key_Escape));
    // Tab goes through the fields tab by tab, then to the buttons.
    QStringList chain{form.m_tabs->objectName()};
    for (QWidget* widget = form.m_tabs->nextInFocusChain(); widget != form.m_tabs;
         widget = widget->nextInFocusChain()) {
        if (widget->objectName().startsWith(QLatin1String("m_")))
            chain << widget->objectName();
    }
    QCOMPARE(chain, (QStringList{"m_tabs", "m_editName", "m_editDesk", "m_auth", "m_comboDomain",
                                 "m_listGroups", "m_btnAdd", "m_btnRemove", "m_rbtnNoAcc",
                                 "m_rbtnViewLogs", "m_rbtnFullAcc", "m_editDiskSpace", "m_comboKB",
                                 "m_editNumMess", "m_editNumMsg", "m_editSentFolder",
                                 "m_editDraftFolder", "m_comboLang", "m_chkShowFldList",
                                 "m_chkShowSub", "m_btnOK", "m_btnCancel"}));
}

void TestDlgEditTemplate::domainBox_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("after"); // entries after the box's own
    QTest::addColumn<bool>("groupsTab");
    QTest::addColumn<QStringList>("groups");

    QTest::newRow("no domain") << "standard" << "No domain specified" << QStringList() << false << QStringList();
    QTest::newRow("another local domain")
        << "lakeside-sales" << "lakeside.example" << QStringList() << true << QStringList{"[sales]"};
    QTest::newRow("primary domain by name")
        << "head-office" << "corvane.example" << QStringList() << true << QStringList{"[staff]", "[support]"};
    QTest::newRow("unknown domain kept choosable")
        << "legacy" << "old.com" << QStringList{"old.com"} << true << QStringList();
}

void TestDlgEditTemplate::domainBox()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    QFETCH(QStringList, after);
    QFETCH(bool, groupsTab);
    QFETCH(QStringList, groups);

    auto dialog = openOn(templateRow(name));
    QVERIFY(dialog->isReady());
    // Domain aliases are not offered; the forwarding domain, which is none, is.
    QCOMPARE(comboEntries(dialog->m_comboDomain),
             QStringList({"No domain specified", "corvane.example", "lakeside.example",
                          "harbour-relay.example"}) + after);
    QCOMPARE(dialog->m_comboDomain->currentText(), shown);
    QCOMPARE(dialog->m_tabs->isTabEnabled(1), groupsTab);
    QCOMPARE(listedNames(dialog->m_listGroups), groups);
}

void TestDlgEditTemplate::groupsTabFollowsDomain()
{
    DBRow* row = templateRow(QStringLiteral("standard"));
    auto dialog = openOn(row);
    QVERIFY(!dialog->m_tabs->isTabEnabled(1));
    chooseDomain(dialog.get(), QStringLiteral("lakeside.example"));
    QVERIFY(dialog->m_tabs->isTabEnabled(1));
    chooseDomain(dialog.get(), QStringLiteral("No domain specified"));
    QVERIFY(!dialog->m_tabs->isTabEnabled(1));
    chooseDomain(dialog.get(), QStringLiteral("corvane.example"));
    dialog->slotOK();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(cell(row, "domain"), QStringLiteral("corvane.example"));
}

void TestDlgEditTemplate::noDomainWritesDomainAndGroupsEmpty()
{
    DBRow* row = templateRow(QStringLiteral("head-office"));
    auto dialog = openOn(row);
    chooseDomain(dialog.get(), QStringLiteral("No domain specified"));
    // The groups stay in the list while no domain is chosen, but are not written.
    QCOMPARE(dialog->m_listGroups->topLevelItemCount(), 2);
    dialog->slotOK();
    QCOMPARE(cell(row, "domain"), QString());
    QCOMPARE(cell(row, "groups"), QString());
}

void TestDlgEditTemplate::pickerOffersTheChosenDomainsGroups_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("domain"); // chosen in the box; "" : as opened
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QString>("written"); // groups after picking every offered one

    // The users page stands on the other local domain meanwhile.
    QTest::newRow("primary domain by name: its groups carry no domain")
        << "standard" << "corvane.example" << QStringList{"[staff]", "[support]"} << "staff,support";
    QTest::newRow("another local domain")
        << "standard" << "lakeside.example" << QStringList{"[sales]"} << "sales";
    // Nothing added: the groups keep their stored order.
    QTest::newRow("listed groups not offered again")
        << "head-office" << "" << QStringList() << "support,staff";
}

void TestDlgEditTemplate::pickerOffersTheChosenDomainsGroups()
{
    QFETCH(QString, name);
    QFETCH(QString, domain);
    QFETCH(QStringList, offered);
    QFETCH(QString, written);

    globalData.currentDomain = QStringLiteral("lakeside.example");
    DBRow* row = templateRow(name);
    auto dialog = openOn(row);
    if (!domain.isEmpty())
        chooseDomain(dialog.get(), domain);
    DialogRecorder recorder;
    QStringList seen;
    recorder.answerDialog([&seen](QDialog* picker) {
        QTreeWidget* list = qobject_cast<DlgAddGroup*>(picker)->m_listGroups;
        seen = listedNames(list);
        list->selectAll();
        return int(QDialog::Accepted);
    });
    dialog->slotAdd();
    QCOMPARE(recorder.dialogs.size(), 1);
    seen.sort();
    QCOMPARE(seen, offered);
    dialog->slotOK();
    QCOMPARE(cell(row, "groups"), written);
}

void TestDlgEditTemplate::failedAuthTypesKeepStoredType()
{
    DBRow* row = templateRow(QStringLiteral("head-office"));
    QCOMPARE(cell(row, "auth_type"), QStringLiteral("2"));
    QVERIFY(m_server->refuse("get_auth_types", 106));
    DialogRecorder recorder;
    auto dialog = openOn(row);
    QCOMPARE(recorder.messageTexts(), QStringList{"Operation failed."});
    QCOMPARE(dialog->m_auth->count(), 0);
    QVERIFY(dialog->m_btnOK->isEnabled());
    dialog->slotOK();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(cell(row, "auth_type"), QStringLiteral("2"));
}

void TestDlgEditTemplate::failedLanguagesLeaveDialogUnready()
{
    DBRow* row = templateRow(QStringLiteral("standard"));
    QVERIFY(m_server->refuse("get_languages", 106));
    DialogRecorder recorder;
    auto dialog = openOn(row, true);
    QVERIFY(!dialog->isReady());
    QCOMPARE(recorder.messages.size(), 0); // the language list fails silently
    QCOMPARE(dialog->m_editName->text(), QString());
    dialog->slotOK();
    QVERIFY(dialog->result() != QDialog::Accepted);
    QCOMPARE(cell(row, "tempname"), QStringLiteral("standard"));
    QCOMPARE(cell(row, "description"), QStringLiteral("Standard mailbox"));
}

void TestDlgEditTemplate::language_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("chosen"); // -1: the box as it was filled
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("written");

    QTest::newRow("stored entry") << "de" << -1 << "de" << "de";
    QTest::newRow("stored in capitals, kept") << "FR" << -1 << "fr" << "FR";
    QTest::newRow("stored in capitals, another entry chosen") << "FR" << 1 << "fr" << "de";
    QTest::newRow("empty, first entry: nothing written") << "" << -1 << "en" << "";
    QTest::newRow("empty, another entry chosen") << "" << 2 << "en" << "fr";
    QTest::newRow("unknown value kept") << "pt" << -1 << "pt" << "pt";
}

void TestDlgEditTemplate::language()
{
    QFETCH(QString, stored);
    QFETCH(int, chosen);
    QFETCH(QString, shown);
    QFETCH(QString, written);

    DBRow* row = templateRow(QStringLiteral("standard"));
    setCell(row, "preflang", stored);
    auto dialog = openOn(row);
    QCOMPARE(dialog->m_comboLang->currentText(), shown);
    QCOMPARE(dialog->m_comboLang->itemText(0), QStringLiteral("en"));
    if (chosen >= 0)
        dialog->m_comboLang->setCurrentIndex(chosen);
    dialog->slotOK();
    QCOMPARE(cell(row, "preflang"), written);
}

void TestDlgEditTemplate::flags_data()
{
    QTest::addColumn<QByteArray>("column");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<bool>("shownOn");
    QTest::addColumn<QString>("untouched"); // written by OK as opened
    QTest::addColumn<QString>("toggled");   // written after the box is toggled

    QTest::newRow("folder list shown") << QByteArray("hidefldlist") << "0" << QByteArray("m_chkShowFldList") << true << "0" << "1";
    QTest::newRow("folder list hidden") << QByteArray("hidefldlist") << "1" << QByteArray("m_chkShowFldList") << false << "1" << "0";
    QTest::newRow("subscribed only, stored as 2, kept") << QByteArray("showsub") << "2" << QByteArray("m_chkShowSub") << true << "2" << "0";
    QTest::newRow("folder list hidden, stored as 77, kept") << QByteArray("hidefldlist") << "77" << QByteArray("m_chkShowFldList") << false << "77" << "0";
    QTest::newRow("null reads as 0 and stays null") << QByteArray("showsub") << "" << QByteArray("m_chkShowSub") << false << "" << "1";
    QTest::newRow("all folders") << QByteArray("showsub") << "0" << QByteArray("m_chkShowSub") << false << "0" << "1";
}

void TestDlgEditTemplate::flags()
{
    QFETCH(QByteArray, column);
    QFETCH(QString, stored);
    QFETCH(QByteArray, box);
    QFETCH(bool, shownOn);
    QFETCH(QString, untouched);
    QFETCH(QString, toggled);

    DBRow* row = templateRow(QStringLiteral("standard"));
    setCell(row, column.constData(), stored);
    auto dialog = openOn(row);
    QCOMPARE(dialog->findChild<QCheckBox*>(QString::fromLatin1(box))->isChecked(), shownOn);
    dialog->slotOK();
    QCOMPARE(cell(row, column.constData()), untouched);
    auto again = openOn(row);
    auto* check = again->findChild<QCheckBox*>(QString::fromLatin1(box));
    check->setChecked(!check->isChecked());
    again->slotOK();
    QCOMPARE(cell(row, column.constData()), toggled);
}

// Sorting the list by a click on its header is no edit.
void TestDlgEditTemplate::headerClickKeepsTheStoredOrder()
{
    DBRow* row = templateRow(QStringLiteral("head-office"));
    QCOMPARE(cell(row, "groups"), QStringLiteral("support,staff"));
    auto dialog = openOn(row);
    dialog->m_tabs->setCurrentIndex(1);
    dialog->show();
    QCOMPARE(listedNames(dialog->m_listGroups), (QStringList{"[staff]", "[support]"}));
    clickHeader(dialog->m_listGroups, 0);
    QCOMPARE(listedNames(dialog->m_listGroups), (QStringList{"[support]", "[staff]"}));
    dialog->slotOK();
    QCOMPARE(cell(row, "groups"), QStringLiteral("support,staff"));
}

QTEST_MAIN(TestDlgEditTemplate)

// The quota and page size fields take the digits typed and nothing else, whatever the
// locale, as an integer validator up to their top takes them while typing, and OK writes the
// number shown without a question.
void TestDlgEditTemplate::numberFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("written");

    QTest::newRow("disk space in MB, a group separator")
        << "m_editDiskSpace" << "1,024" << "qstorage" << "1073741824";
    QTest::newRow("page size, a group separator")
        << "m_editNumMsg" << "1,5" << "msgperpage" << "15";
    QTest::newRow("disk space in MB beyond the validator's top")
        << "m_editDiskSpace" << "1000001" << "qstorage" << "1048577048576";
    QTest::newRow("messages beyond the validator's top")
        << "m_editNumMess" << "1000001" << "qmessage" << "1000001";
}

void TestDlgEditTemplate::numberFields()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, column);
    QFETCH(QString, written);

    DBRow* row = templateRow(QStringLiteral("standard"));
    auto dialog = openOn(row);
    DialogRecorder recorder;
    typeOver(dialog->findChild<QLineEdit*>(field), typed);
    dialog->slotOK();
    QCOMPARE(recorder.messageTexts(), QStringList());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(cell(row, column.toLatin1().constData()), written);
}

#include "tst_dlgedittemplate.moc"
