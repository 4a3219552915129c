#include "accounttexts.h"
#include "typing.h"
#include "configpagefixture.h"
#include "dlgfilter.h"
#include "openedlist.h"
#include "qfilteritem.h"
#include "wndantispam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

// The Antispam page on the demo server: relay control on for "Office LAN" and authenticated
// users, RBL and RSS hits logged (DbLog 3), RBL hits blocked (DbBlock 2), no group blocked;
// four header rules: Subject/Substring "free money", From/Domain "spam.example",
// X-Mailer/Substring "bulk sender" (off), To/Empty.
class tst_WndAntispam : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.start(); }
    void cleanup() { m_fixture.stop(); }

    void logBitsShown_data();
    void logBitsShown();
    void blockBitsWritten_data();
    void blockBitsWritten();
    void relayWithoutUsersAsks_data();
    void relayWithoutUsersAsks();
    void newRuleDialog();
    void acceptedNewRuleIsInserted();
    void cancelledAddLeavesNoRow();
    void caseOnlyDuplicateReopensWithEnteredValues_data();
    void caseOnlyDuplicateReopensWithEnteredValues();
    void headerTypedStaysWhenTheListIsLookedAt_data();
    void headerTypedStaysWhenTheListIsLookedAt();
    void storedEnabledKeptUntilToggled_data();
    void storedEnabledKeptUntilToggled();
    void checkBoxWritesEnabled();
    void togglesHandInTheWholeDifference_data();
    void togglesHandInTheWholeDifference();
    void removeSeveralThenReset();
    void sortsByTypeThenHeader();
    void unknownTypeShowsItsNumberAndIsKept();
    void failedLoadLeavesListWithoutColumns();
    void missingGroupIsKept();
    void shortAnswerLeavesThePageUnready_data();
    void shortAnswerLeavesThePageUnready();
    void editOfOneRuleSendsOnlyItsStatement_data();
    void editOfOneRuleSendsOnlyItsStatement();
    void settingChangeKeepsTheStoredFlags_data();
    void settingChangeKeepsTheStoredFlags();

private:
    // This page takes the workspace before the controller.
    WndAntispam* build()
    {
        auto* page = new WndAntispam(m_fixture.m_container.get(), m_fixture.m_conn->get(), nullptr,
                                     m_fixture.m_ctrl.get(), nullptr, Qt::WindowFlags());
        m_fixture.m_container->show();
        return page;
    }
    void setRules(const QList<QStringList>& rules)
    {
        m_fixture.m_server->setTable(QStringLiteral("HeaderFilter"),
                                     m_fixture.m_server->columns(QStringLiteral("HeaderFilter")),
                                     rules);
    }
    static QFilterItem* itemOf(WndAntispam* page, const QString& header)
    {
        for (int i = 0; i < page->m_list->topLevelItemCount(); ++i) {
            auto* item = static_cast<QFilterItem*>(page->m_list->topLevelItem(i));
            if (item->text(0) == header)
                return item;
        }
        return nullptr;
    }
    static QStringList headers(const QTreeWidget* list)
    {
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts.append(list->topLevelItem(i)->text(0));
        return texts;
    }
    // A dialog answer: the fields filled, then OK.
    static std::function<int(QDialog*)> enter(const QString& header, int typeIndex,
                                              const QString& content)
    {
        return [=](QDialog* dialog) {
            auto* filter = qobject_cast<DlgFilter*>(dialog);
            if (!filter)
                return int(QDialog::Rejected);
            filter->m_comboHeader->setCurrentText(header);
            filter->m_comboType->setCurrentIndex(typeIndex);
            filter->m_editContent->setText(content);
            return int(QDialog::Accepted);
        };
    }

    ConfigPageFixture m_fixture;
};

void tst_WndAntispam::logBitsShown_data()
{
    QTest::addColumn<QString>("dbLog");
    QTest::addColumn<bool>("rbl");
    QTest::addColumn<bool>("rss");
    QTest::addColumn<bool>("dul");

    QTest::newRow("11: all three") << "11" << true << true << true;
    QTest::newRow("2: RBL") << "2" << true << false << false;
    QTest::newRow("1: RSS") << "1" << false << true << false;
    QTest::newRow("8: DUL") << "8" << false << false << true;
    QTest::newRow("4: a bit not shown") << "4" << false << false << false;
    QTest::newRow("empty") << "" << false << false << false;
}

void tst_WndAntispam::logBitsShown()
{
    QFETCH(QString, dbLog);
    QFETCH(bool, rbl);
    QFETCH(bool, rss);
    QFETCH(bool, dul);
    m_fixture.setCells("antispam", {{"DbLog", dbLog}});
    WndAntispam* page = build();
    QCOMPARE(page->m_chkLogRBL->isChecked(), rbl);
    QCOMPARE(page->m_chkLogRSS->isChecked(), rss);
    QCOMPARE(page->m_chkLogDUL->isChecked(), dul);
    QCOMPARE(m_fixture.pending(), QStringList());
}

void tst_WndAntispam::blockBitsWritten_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("clicked"); // object names, clicked in turn
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("RBL alone") << "0" << QStringList{"m_chkBlockRBL"}
                               << QStringList{"update antispam set DbBlock='2'"};
    QTest::newRow("RBL and DUL") << "0" << QStringList{"m_chkBlockRBL", "m_chkBlockDUL"}
                                 << QStringList{"update antispam set DbBlock='10'"};
    QTest::newRow("all three") << "0"
                               << QStringList{"m_chkBlockRBL", "m_chkBlockRSS", "m_chkBlockDUL"}
                               << QStringList{"update antispam set DbBlock='11'"};
    QTest::newRow("unknown bit kept") << "4" << QStringList{"m_chkBlockRBL"}
                                      << QStringList{"update antispam set DbBlock='6'"};
    QTest::newRow("unknown bit kept as RBL goes") << "6" << QStringList{"m_chkBlockRBL"}
                                                  << QStringList{"update antispam set DbBlock='4'"};
    QTest::newRow("another change keeps an unknown bit")
        << "20" << QStringList{"m_chkAuth"} << QStringList{"update antispam set AllowAuth='0'"};
    QTest::newRow("on and off again") << "0" << QStringList{"m_chkBlockDUL", "m_chkBlockDUL"}
                                      << QStringList();
}

void tst_WndAntispam::blockBitsWritten()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, clicked);
    QFETCH(QStringList, pending);
    m_fixture.setCells("antispam", {{"DbBlock", stored}});
    WndAntispam* page = build();
    for (const QString& name : std::as_const(clicked)) {
        auto* box = page->findChild<QCheckBox*>(name);
        QVERIFY2(box, qPrintable(name));
        box->click();
    }
    QCOMPARE(m_fixture.pending(), pending);
}

void tst_WndAntispam::relayWithoutUsersAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("sent");

    QTest::newRow("Yes corrects") << int(QMessageBox::Yes) << false;
    QTest::newRow("Cancel corrects") << int(QMessageBox::Cancel) << false;
    QTest::newRow("No goes ahead") << int(QMessageBox::No) << true;
}

void tst_WndAntispam::relayWithoutUsersAsks()
{
    QFETCH(int, answer);
    QFETCH(bool, sent);
    WndAntispam* page = build();
    page->m_chkAddrGroup->click();
    page->m_chkAuth->click();
    const QStringList statements{"update antispam set AllowAuth='0', AllowAcl=''"};
    QCOMPARE(m_fixture.pending(), statements);
    m_fixture.applyAnswering(
        {answer},
        {"This settings doesn't make sense.\nYou should choose users who can send e-mail or "
         "disable antispam.\nDo you want to correct the problem?"},
        sent ? QString() : QStringLiteral("m_chkEnabled"), sent);
    if (sent) {
        QCOMPARE(m_fixture.storedCell("antispam", "AllowAuth"), QStringLiteral("0"));
        return;
    }
    // The rule statements come back when the apply is handed in again.
    emit m_fixture.m_ctrl->sig_update_again();
    QCOMPARE(m_fixture.pending(), statements);
}

void tst_WndAntispam::newRuleDialog()
{
    WndAntispam* page = build();
    QStringList seen;
    m_fixture.m_dialogs->answerDialog([&seen](QDialog* dialog) {
        auto* filter = qobject_cast<DlgFilter*>(dialog);
        if (!filter)
            return int(QDialog::Rejected);
        seen << filter->windowTitle() << filter->m_comboHeader->currentText()
             << QString::number(filter->m_comboHeader->count())
             << filter->m_comboType->currentText()
             << (filter->m_editContent->isHidden() ? "content hidden" : "content shown");
        filter->m_comboType->setCurrentIndex(2);
        emit filter->m_comboType->activated(2);
        seen << (filter->m_editContent->isHidden() || filter->m_lblContent->isHidden()
                     ? "content hidden" : "content shown");
        filter->m_comboType->setCurrentIndex(1);
        emit filter->m_comboType->activated(1);
        seen << (filter->m_editContent->isHidden() ? "content hidden" : "content shown");
        return int(QDialog::Rejected);
    });
    page->slotAdd();
    QCOMPARE(seen, QStringList({"Header Filter", "", "5", "is empty", "content hidden",
                                "content shown", "content hidden"}));
}

void tst_WndAntispam::acceptedNewRuleIsInserted()
{
    WndAntispam* page = build();
    m_fixture.m_dialogs->answerDialog(enter("Reply-To", 3, "Bulk.Example"));
    page->slotAdd();
    QCOMPARE(m_fixture.pending(),
             QStringList({"insert HeaderFilter set header='Reply-To', type='3', "
                          "content='Bulk.Example', enabled='1'"}));
    QFilterItem* item = itemOf(page, "Reply-To");
    QVERIFY(item);
    QVERIFY(item->isOn());
    QCOMPARE(item->text(1), QStringLiteral("Domain"));
    QCOMPARE(page->m_list->topLevelItemCount(), 5);
}

void tst_WndAntispam::cancelledAddLeavesNoRow()
{
    WndAntispam* page = build();
    m_fixture.m_dialogs->answerDialog(int(QDialog::Rejected));
    page->slotAdd();
    QCOMPARE(m_fixture.m_dialogs->dialogs.size(), 1);
    QCOMPARE(page->m_list->topLevelItemCount(), 4);
    QCOMPARE(m_fixture.pending(), QStringList());
}

void tst_WndAntispam::caseOnlyDuplicateReopensWithEnteredValues_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("content");

    QTest::newRow("header in lower case") << "from" << 3 << "spam.example";
    QTest::newRow("content in upper case") << "From" << 3 << "SPAM.EXAMPLE";
}

void tst_WndAntispam::caseOnlyDuplicateReopensWithEnteredValues()
{
    QFETCH(QString, header);
    QFETCH(int, type);
    QFETCH(QString, content);
    WndAntispam* page = build();

    // Editing the X-Mailer rule into a copy of the From rule: refused, the dialog again
    // with what was typed, then cancelled: the rule is as it was.
    QFilterItem* item = itemOf(page, "X-Mailer");
    QVERIFY(item);
    page->m_list->setCurrentItem(item);
    QStringList reopened;
    m_fixture.m_dialogs->answerDialog(enter(header, type, content));
    m_fixture.m_dialogs->answerDialog([&reopened](QDialog* dialog) {
        auto* filter = qobject_cast<DlgFilter*>(dialog);
        if (filter)
            reopened << filter->m_comboHeader->currentText() << filter->m_comboType->currentText()
                     << filter->m_editContent->text();
        return int(QDialog::Rejected);
    });
    page->slotEdit();
    QCOMPARE(m_fixture.messageTexts(), QStringList({"This item is already defined!"}));
    QCOMPARE(m_fixture.m_dialogs->messages.at(0).icon, QMessageBox::Warning);
    QCOMPARE(reopened, QStringList({header, "contains address with domain", content}));
    QCOMPARE(item->text(0), QStringLiteral("X-Mailer"));
    QCOMPARE(AccountTexts::cell(item->row(), "content"), QStringLiteral("bulk sender"));
    QCOMPARE(m_fixture.pending(), QStringList());

    // The same values for a new rule: refused, cancelled, no row left behind.
    m_fixture.m_dialogs->answerDialog(enter(header, type, content));
    m_fixture.m_dialogs->answerDialog(int(QDialog::Rejected));
    page->slotAdd();
    QCOMPARE(m_fixture.messageTexts().size(), 2);
    QCOMPARE(page->m_list->topLevelItemCount(), 4);
    QCOMPARE(m_fixture.pending(), QStringList());
}

void tst_WndAntispam::headerTypedStaysWhenTheListIsLookedAt_data()
{
    QTest::addColumn<QString>("rule");        // by its header
    QTest::addColumn<int>("openedOn");        // the header box's current entry as the dialog opens
    QTest::addColumn<QStringList>("typings"); // each typed over the header, the box left between
    QTest::addColumn<bool>("leftAndBack");     // the box left and come back to before its list opens
    QTest::addColumn<QString>("header");      // the box's text after Return in its list
    QTest::addColumn<QStringList>("pending");

    const QString bulk = QStringLiteral(" where header='X-Mailer' and type='4' and content='bulk sender'");
    const QString subject = QStringLiteral(" where header='Subject' and type='4' and content='free money'");
    QTest::newRow("a header of none, then another")
        << "X-Mailer" << -1 << QStringList{"From", "X-Spam-Flag"} << false << "X-Spam-Flag"
        << QStringList{"update HeaderFilter set header='X-Spam-Flag'" + bulk};
    QTest::newRow("an offered header, only looked at") << "Subject" << 3 << QStringList{} << false << "Subject"
                                                       << QStringList{};
    QTest::newRow("an offered header in other letters") << "Subject" << 3 << QStringList{"subject"} << false
                                                        << "subject"
                                                        << QStringList{"update HeaderFilter set header='subject'" + subject};
    QTest::newRow("a header of none, left and come back to")
        << "Subject" << 3 << QStringList{"Reply-To"} << true << "Reply-To"
        << QStringList{"update HeaderFilter set header='Reply-To'" + subject};
}

// A rule's header typed over key by key, and the box's list opened to look and closed with
// Return: the header typed last is kept, in its letters, and OK writes it.
void tst_WndAntispam::headerTypedStaysWhenTheListIsLookedAt()
{
    QFETCH(QString, rule);
    QFETCH(int, openedOn);
    QFETCH(QStringList, typings);
    QFETCH(bool, leftAndBack);
    QFETCH(QString, header);
    QFETCH(QStringList, pending);
    WndAntispam* page = build();
    page->m_list->setCurrentItem(itemOf(page, rule));
    int opened = -2;
    OpenedList::Look look;
    m_fixture.m_dialogs->answerDialog([&](QDialog* dialog) {
        auto* filter = qobject_cast<DlgFilter*>(dialog);
        if (!filter)
            return int(QDialog::Rejected);
        opened = filter->m_comboHeader->currentIndex();
        look = OpenedList::typeAndLook(filter->m_comboHeader, typings, leftAndBack);
        filter->m_rbtnOK->click();
        return filter->result();
    });
    page->slotEdit();
    QCOMPARE(opened, openedOn);
    QVERIFY(look.opened);
    QVERIFY(look.closedByReturn);
    QCOMPARE(look.heldAfterReturn, header);
    QCOMPARE(m_fixture.pending(), pending);
}

// Showing a rule writes nothing: a stored "enabled" the check box shows only as on or off
// stays as it is until the administrator toggles the box, and toggling back is no change.
void tst_WndAntispam::storedEnabledKeptUntilToggled_data()
{
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("toggled"); // what one toggle writes

    QTest::newRow("1") << "1" << true << "0";
    QTest::newRow("0") << "0" << false << "1";
    QTest::newRow("empty") << "" << false << "1";
    QTest::newRow("5") << "5" << true << "0";
    QTest::newRow("-1") << "-1" << true << "0";
}

void tst_WndAntispam::storedEnabledKeptUntilToggled()
{
    QFETCH(QString, enabled);
    QFETCH(bool, on);
    QFETCH(QString, toggled);
    setRules({{"Subject", "4", "free money", enabled}, {"To", "0", "", "1"}});
    WndAntispam* page = build();
    QCOMPARE(m_fixture.pending(), QStringList());
    QFilterItem* item = itemOf(page, "Subject");
    QCOMPARE(item->isOn(), on);
    item->setData(0, Qt::CheckStateRole, on ? Qt::Unchecked : Qt::Checked);
    QCOMPARE(m_fixture.pending(),
             QStringList{"update HeaderFilter set enabled='" + toggled
                         + "' where header='Subject' and type='4' and content='free money'"});
    item->setData(0, Qt::CheckStateRole, on ? Qt::Checked : Qt::Unchecked);
    QCOMPARE(m_fixture.pending(), QStringList());
}

void tst_WndAntispam::checkBoxWritesEnabled()
{
    WndAntispam* page = build();
    QFilterItem* item = itemOf(page, "X-Mailer");
    QVERIFY(item);
    QVERIFY(!item->isOn());
    // What the view does when the check box is clicked.
    item->setData(0, Qt::CheckStateRole, Qt::Checked);
    QCOMPARE(m_fixture.pending(),
             QStringList({"update HeaderFilter set enabled='1' where header='X-Mailer' and "
                          "type='4' and content='bulk sender'"}));
    item->setData(0, Qt::CheckStateRole, Qt::Unchecked);
    QCOMPARE(m_fixture.pending(), QStringList());
}

void tst_WndAntispam::togglesHandInTheWholeDifference_data()
{
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("two rules") << QStringList{"toggle X-Mailer", "toggle Subject", "toggle X-Mailer"};
    QTest::newRow("after the relay setting") << QStringList{"relay", "toggle From", "relay"};
    QTest::newRow("after a removal") << QStringList{"toggle Subject", "remove To", "toggle From"};
    QTest::newRow("after apply") << QStringList{"toggle Subject", "apply", "toggle From", "toggle Subject"};
    QTest::newRow("after reset") << QStringList{"toggle Subject", "reset", "toggle Subject"};
}

// A rule's check box hands in the difference made from that rule alone; the pending list must
// be the page's whole difference all the same.
void tst_WndAntispam::togglesHandInTheWholeDifference()
{
    QFETCH(QStringList, steps);
    WndAntispam* page = build();
    for (const QString& step : steps) {
        const QString header = step.section(' ', 1);
        if (step.startsWith("toggle")) {
            QFilterItem* item = itemOf(page, header);
            item->setData(0, Qt::CheckStateRole, item->isOn() ? Qt::Unchecked : Qt::Checked);
        } else if (step == "relay") {
            page->m_chkEnabled->click();
        } else if (step.startsWith("remove")) {
            page->m_list->clearSelection();
            itemOf(page, header)->setSelected(true);
            page->m_btnRemove->click();
        } else if (step == "apply") {
            m_fixture.apply();
        } else {
            emit m_fixture.m_ctrl->sig_reset();
        }
        const QStringList handedIn = m_fixture.pending();
        page->updateQuery();
        QCOMPARE(handedIn, m_fixture.pending());
    }
    QVERIFY(!m_fixture.pending().isEmpty());
}

void tst_WndAntispam::removeSeveralThenReset()
{
    WndAntispam* page = build();
    itemOf(page, "Subject")->setSelected(true);
    itemOf(page, "To")->setSelected(true);
    QVERIFY(!page->m_btnEdit->isEnabled());
    QVERIFY(page->m_btnRemove->isEnabled());
    page->m_btnRemove->click();
    QCOMPARE(m_fixture.m_dialogs->messages.size(), 0);
    QStringList pending = m_fixture.pending();
    pending.sort();
    QCOMPARE(pending,
             QStringList({"delete from HeaderFilter where header='Subject' and type='4' and "
                          "content='free money'",
                          "delete from HeaderFilter where header='To' and type='0' and "
                          "content=''"}));
    QCOMPARE(page->m_list->topLevelItemCount(), 2);
    emit m_fixture.m_ctrl->sig_reset();
    QCOMPARE(page->m_list->topLevelItemCount(), 4);
    QCOMPARE(m_fixture.pending(), QStringList());
}

void tst_WndAntispam::sortsByTypeThenHeader()
{
    setRules({{"Subject", "4", "a", "1"},
              {"From", "3", "b", "1"},
              {"Cc", "4", "c", "1"},
              {"To", "0", "", "1"}});
    WndAntispam* page = build();
    page->m_list->sortItems(1, Qt::AscendingOrder);
    QCOMPARE(headers(page->m_list), QStringList({"From", "To", "Cc", "Subject"}));
    page->m_list->sortItems(1, Qt::DescendingOrder);
    QCOMPARE(headers(page->m_list), QStringList({"Subject", "Cc", "To", "From"}));
}

void tst_WndAntispam::unknownTypeShowsItsNumberAndIsKept()
{
    setRules({{"From", "7", "x", "1"}});
    WndAntispam* page = build();
    QFilterItem* item = itemOf(page, "From");
    QVERIFY(item);
    QCOMPARE(item->text(1), QStringLiteral("7"));
    QString shownType;
    m_fixture.m_dialogs->answerDialog([&shownType](QDialog* dialog) {
        auto* filter = qobject_cast<DlgFilter*>(dialog);
        if (filter)
            shownType = filter->m_comboType->currentText();
        return int(QDialog::Accepted);
    });
    page->m_list->setCurrentItem(item);
    page->slotEdit();
    QCOMPARE(shownType, QStringLiteral("7"));
    QCOMPARE(m_fixture.pending(), QStringList());
}

void tst_WndAntispam::failedLoadLeavesListWithoutColumns()
{
    m_fixture.emptyTable("antispam");
    m_fixture.m_dialogs->answer(QMessageBox::Ok);
    WndAntispam* page = build();
    QVERIFY(!page->isReady());
    QCOMPARE(page->m_list->topLevelItemCount(), 0);
    page->m_chkEnabled->click();
    page->slotAdd();
    QCOMPARE(m_fixture.m_dialogs->dialogs.size(), 0);
    QCOMPARE(m_fixture.pending(), QStringList());
}

void tst_WndAntispam::missingGroupIsKept()
{
    m_fixture.setCells("antispam", {{"AllowAcl", "Retired hosts"}});
    WndAntispam* page = build();
    QVERIFY(page->m_chkAddrGroup->isChecked());
    QCOMPARE(page->m_addressGroup->currentText(), QStringLiteral("Retired hosts"));
    // A change elsewhere writes the group shown: the one stored.
    page->m_chkLogDUL->click();
    QCOMPARE(m_fixture.pending(), QStringList({"update antispam set DbLog='11'"}));
}

// An answer without a column the page asked for is a failed load: opening the page puts
// nothing into the pending list, and no later change or Apply writes a cell the server did
// not send or names a rule by a key it did not send.
void tst_WndAntispam::shortAnswerLeavesThePageUnready_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("omitted");

    QTest::newRow("the rules' enabled") << "HeaderFilter" << "enabled";
    QTest::newRow("the rules' key content") << "HeaderFilter" << "content";
    QTest::newRow("the settings' DbBlock") << "antispam" << "DbBlock";
}

void tst_WndAntispam::shortAnswerLeavesThePageUnready()
{
    QFETCH(QString, table);
    QFETCH(QString, omitted);
    QVERIFY(m_fixture.m_server->omitColumns("from " + table + "$", QStringList{omitted}, 1));
    const int mark = m_fixture.journalSize();
    WndAntispam* page = build();
    QCOMPARE(m_fixture.messageTexts(),
             QStringList{"Query failed: The server's answer lacks these columns of " + table + ": " + omitted});
    QVERIFY(!page->isReady());
    QCOMPARE(m_fixture.pending(), QStringList());

    // What the administrator might do next: switch a rule and a setting, apply.
    if (QFilterItem* item = itemOf(page, "X-Mailer"))
        item->setData(0, Qt::CheckStateRole, Qt::Checked);
    page->m_chkLogDUL->click();
    QCOMPARE(m_fixture.pending(), QStringList());
    m_fixture.apply();
    for (const QString& statement : m_fixture.journalSince(mark))
        QVERIFY2(statement.startsWith(QLatin1String("select "), Qt::CaseInsensitive), qPrintable(statement));
}

// Rules the server holds with cells the list cannot show as they are (an empty "enabled", a
// number other than 0 and 1, a column the server keeps as text) are nobody's edit: an edit of
// another rule, typed as a person types it, sends that rule's statement and nothing else.
void tst_WndAntispam::editOfOneRuleSendsOnlyItsStatement_data()
{
    QTest::addColumn<int>("typeType");    // how the server declares "type"
    QTest::addColumn<int>("enabledType"); // and "enabled"
    QTest::addColumn<QList<QStringList>>("others");
    QTest::addColumn<QString>("editedEnabled");

    using StandIn::TypeInt;
    using StandIn::TypeString;
    QTest::newRow("empty enabled")
        << int(TypeInt) << int(TypeInt)
        << QList<QStringList>{{"From", "3", "spam.example", ""}, {"X-Mailer", "4", "bulk", ""},
                              {"To", "0", "", ""}}
        << "1";
    QTest::newRow("enabled neither 0 nor 1")
        << int(TypeInt) << int(TypeInt)
        << QList<QStringList>{{"From", "3", "spam.example", "2"}, {"X-Mailer", "4", "bulk", "-1"},
                              {"To", "0", "", "7"}}
        << "1";
    QTest::newRow("enabled kept as text by the server")
        << int(TypeInt) << int(TypeString)
        << QList<QStringList>{{"From", "3", "spam.example", "yes"}, {"X-Mailer", "4", "bulk", ""},
                              {"To", "0", "", "on"}}
        << "1";
    QTest::newRow("the edited rule's enabled empty too")
        << int(TypeInt) << int(TypeString)
        << QList<QStringList>{{"From", "3", "spam.example", "abc"}, {"X-Mailer", "4", "bulk", ""},
                              {"To", "0", "", "2"}}
        << "";
    QTest::newRow("type kept as text by the server")
        << int(TypeString) << int(TypeInt)
        << QList<QStringList>{{"From", "03", "spam.example", "1"}, {"X-Mailer", "sub", "bulk", ""},
                              {"To", "", "", "0"}}
        << "1";
}

void tst_WndAntispam::editOfOneRuleSendsOnlyItsStatement()
{
    QFETCH(int, typeType);
    QFETCH(int, enabledType);
    QFETCH(QList<QStringList>, others);
    QFETCH(QString, editedEnabled);
    QList<QStringList> rules{{"Subject", "4", "free money", editedEnabled}};
    rules += others;
    m_fixture.m_server->setTable(QStringLiteral("HeaderFilter"),
                                 {{"header", StandIn::TypeString, true},
                                  {"type", typeType, true},
                                  {"content", StandIn::TypeString, true},
                                  {"enabled", enabledType, false}},
                                 rules);
    WndAntispam* page = build();
    QVERIFY(page->isReady());
    QCOMPARE(m_fixture.pending(), QStringList());

    QFilterItem* item = itemOf(page, "Subject");
    QVERIFY(item);
    page->m_list->setCurrentItem(item);
    m_fixture.m_dialogs->answerDialog([](QDialog* dialog) {
        auto* filter = qobject_cast<DlgFilter*>(dialog);
        if (!filter)
            return int(QDialog::Rejected);
        typeOver(filter->m_editContent, "free cash");
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(page->m_btnEdit, Qt::LeftButton);
    const int mark = m_fixture.journalSize();
    m_fixture.apply();
    QCOMPARE(m_fixture.journalSince(mark),
             QStringList{"update HeaderFilter set content='free cash' where header='Subject' and "
                         "type='4' and content='free money'"});
}

// The relay settings are one row whose widgets are all written at every change. A flag whose
// check box still shows what the server holds (empty, 2 or 5 as well as 0 and 1) is no change
// of its own when the administrator changes another setting.
void tst_WndAntispam::settingChangeKeepsTheStoredFlags_data()
{
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<QString>("allowAuth");
    QTest::addColumn<QString>("statement");

    QTest::newRow("both empty") << "" << "" << "update antispam set DbLog='11'";
    QTest::newRow("2 and empty") << "2" << "" << "update antispam set DbLog='11'";
    QTest::newRow("0 and 5") << "0" << "5" << "update antispam set DbLog='11'";
}

void tst_WndAntispam::settingChangeKeepsTheStoredFlags()
{
    QFETCH(QString, enabled);
    QFETCH(QString, allowAuth);
    QFETCH(QString, statement);
    m_fixture.setCells("antispam", {{"Enabled", enabled}, {"AllowAuth", allowAuth}});
    WndAntispam* page = build();
    page->m_tabs->setCurrentIndex(1);
    QTest::mouseClick(page->m_chkLogDUL, Qt::LeftButton);
    QCOMPARE(m_fixture.pending(), QStringList{statement});
}

QTEST_MAIN(tst_WndAntispam)
#include "tst_wndantispam.moc"
