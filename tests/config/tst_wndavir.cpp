#include "accounttexts.h"
#include "typing.h"
#include "comboboxes.h"
#include "configpagefixture.h"
#include "dlgattach.h"
#include "openedlist.h"
#include "qattachitem.h"
#include "wndavir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <algorithm>

// The Antivirus page on the demo server: checking on with "clamscan", the attachment filter
// on, rejected messages delivered without the attachment and forwarded to
// postmaster@example.com, a warning to the sender; three rules in order: block *.exe (1),
// block *.vbs (2), accept application/pdf (3). The plug-ins: clamscan, avdaemon and one
// whose identifier is longer than 50 characters.
class tst_WndAvir : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.start(); }
    void cleanup() { m_fixture.stop(); }

    void pluginListIsARequestOfItsOwn_data();
    void pluginListIsARequestOfItsOwn();
    void refusedPluginListLeavesUsedPluginAlone();
    void storedPluginShownAndKept_data();
    void storedPluginShownAndKept();
    void senderNotify_data();
    void senderNotify();
    void applyChecks_data();
    void applyChecks();
    void upAndDownSwapOrders_data();
    void upAndDownSwapOrders();
    void rulesSortByOrderBothWays_data();
    void rulesSortByOrderBothWays();
    void newRuleGoesAfterTheHighest();
    void kindSwitchKeepsThePattern_data();
    void kindSwitchKeepsThePattern();
    void emptyPatternAsks_data();
    void emptyPatternAsks();
    void patternTypedStaysWhenTheListIsLookedAt_data();
    void patternTypedStaysWhenTheListIsLookedAt();
    void duplicateRuleIsRefused();
    void removeSeveralThenReset();
    void enablingFollowsTheChecks_data();
    void enablingFollowsTheChecks();
    void shortAnswerLeavesThePageUnready_data();
    void shortAnswerLeavesThePageUnready();
    void applyStoppedPartWay_data();
    void applyStoppedPartWay();
    void editOfOneRuleSendsOnlyItsStatement_data();
    void editOfOneRuleSendsOnlyItsStatement();

private:
    WndAvir* build() { return m_fixture.build<WndAvir>(static_cast<Desktop*>(nullptr)); }
    void setRules(const QList<QStringList>& rules)
    {
        m_fixture.m_server->setTable(QStringLiteral("AttachFilter"),
                                     m_fixture.m_server->columns(QStringLiteral("AttachFilter")),
                                     rules);
    }
    static QStringList patterns(const QTreeWidget* list)
    {
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts.append(list->topLevelItem(i)->text(1));
        return texts;
    }
    static QStringList entries(const QComboBox* box) { return ConfigPageFixture::entries(box); }

    ConfigPageFixture m_fixture;
};

// Asked past the table layer: a lost connection is told once,
// by the console's report of it, and marks the caption.
void tst_WndAvir::pluginListIsARequestOfItsOwn_data()
{
    QTest::addColumn<bool>("dropped");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("plugins");

    QTest::newRow("answered") << false << QStringList{} << 3;
    QTest::newRow("connection dropped")
        << true << QStringList{ConfigPageFixture::lostConnectionText()} << 0;
}

void tst_WndAvir::pluginListIsARequestOfItsOwn()
{
    QFETCH(bool, dropped);
    QFETCH(QStringList, boxes);
    QFETCH(int, plugins);
    if (dropped)
        QVERIFY(m_fixture.m_server->dropAt(QStringLiteral("get_avir_plugins"), 1));
    const int mark = m_fixture.journalSize();
    WndAvir* page = build();
    QCOMPARE(m_fixture.journalSince(mark).value(2), QStringLiteral("SELECT get_avir_plugins()"));
    QCOMPARE(m_fixture.messageTexts(), boxes);
    QCOMPARE(m_fixture.markedNotConnected(), dropped);
    QCOMPARE(page->m_plugin->count(), plugins);
}

void tst_WndAvir::refusedPluginListLeavesUsedPluginAlone()
{
    m_fixture.m_server->refuse("get_avir_plugins", 104);
    WndAvir* page = build();
    QCOMPARE(m_fixture.messageTexts(), QStringList({"Operation failed."}));
    QCOMPARE(m_fixture.m_dialogs->messages.at(0).caption, QStringLiteral("Error"));
    QCOMPARE(m_fixture.m_dialogs->messages.at(0).icon, QMessageBox::Warning);
    QCOMPARE(page->m_plugin->count(), 0);
    QVERIFY(page->isReady());
    page->m_chkFilterEnable->click();
    QCOMPARE(m_fixture.pending(), QStringList({"update antivir set FilterEnabled='0'"}));
    const int mark = m_fixture.journalSize();
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QCOMPARE(m_fixture.journalSince(mark), QStringList({"update antivir set FilterEnabled='0'"}));
    QCOMPARE(m_fixture.storedCell("antivir", "UsedPlugin"), QStringLiteral("clamscan"));
}

void tst_WndAvir::storedPluginShownAndKept_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("entries");

    QTest::newRow("listed") << "avdaemon" << "Resident scanner daemon" << 3;
    QTest::newRow("long identifier")
        << "net.example.antivirus.enterprise-scanning-engine.version-seven.long-identifier"
        << "Enterprise scanning engine" << 3;
    QTest::newRow("no longer listed") << "oldscanner" << "oldscanner" << 4;
}

void tst_WndAvir::storedPluginShownAndKept()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(int, entries);
    m_fixture.setCells("antivir", {{"UsedPlugin", stored}});
    WndAvir* page = build();
    QCOMPARE(page->m_plugin->currentText(), shown);
    QCOMPARE(page->m_plugin->count(), entries);
    // A change elsewhere writes the plug-in shown: the one stored, unchanged.
    page->m_rbtnSend->click();
    QCOMPARE(m_fixture.pending(), QStringList({"update antivir set DelayIfFailed='0'"}));
}

void tst_WndAvir::senderNotify_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("warning");
    QTest::addColumn<bool>("onlyLocal");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("2, warning off") << "2" << true << true << "m_chkSendWarning"
                                    << QStringList{"update antivir set SenderNotify='0'"};
    QTest::newRow("2, only local off") << "2" << true << true << "m_chOnlyLocal"
                                       << QStringList{"update antivir set SenderNotify='1'"};
    QTest::newRow("1, only local on") << "1" << true << false << "m_chOnlyLocal"
                                      << QStringList{"update antivir set SenderNotify='2'"};
    QTest::newRow("0, warning on") << "0" << false << false << "m_chkSendWarning"
                                   << QStringList{"update antivir set SenderNotify='1'"};
}

void tst_WndAvir::senderNotify()
{
    QFETCH(QString, stored);
    QFETCH(bool, warning);
    QFETCH(bool, onlyLocal);
    QFETCH(QString, clicked);
    QFETCH(QStringList, pending);
    m_fixture.setCells("antivir", {{"SenderNotify", stored}});
    WndAvir* page = build();
    QCOMPARE(page->m_chkSendWarning->isChecked(), warning);
    QCOMPARE(page->m_chOnlyLocal->isChecked(), onlyLocal);
    page->findChild<QCheckBox*>(clicked)->setChecked(
        !page->findChild<QCheckBox*>(clicked)->isChecked());
    QCOMPARE(m_fixture.pending(), pending);
}

void tst_WndAvir::applyChecks_data()
{
    QTest::addColumn<QString>("avirEnabled");
    QTest::addColumn<QString>("filterEnabled");
    QTest::addColumn<bool>("rulesOff");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<bool>("sent");

    const QString noRule = "You have attachment filter enabled but no filter activated.\nDo you "
                           "want to correct the problem?";
    const QString noAddress = "You should fill administrator's address.\nDo you want to correct "
                              "the problem?";
    QTest::newRow("no rule on, Yes") << "1" << "1" << true << QList<int>{QMessageBox::Yes}
                                     << QStringList{noRule} << "m_list" << false;
    QTest::newRow("no rule on, No, then no address, Cancel")
        << "1" << "1" << true << QList<int>{QMessageBox::No, QMessageBox::Cancel}
        << QStringList{noRule, noAddress} << "m_editAdminNotify" << false;
    QTest::newRow("no address, No") << "1" << "0" << false << QList<int>{QMessageBox::No}
                                    << QStringList{noAddress} << "" << true;
    QTest::newRow("only the filter on: the address is not asked")
        << "0" << "1" << false << QList<int>{} << QStringList{} << "" << true;
}

void tst_WndAvir::applyChecks()
{
    QFETCH(QString, avirEnabled);
    QFETCH(QString, filterEnabled);
    QFETCH(bool, rulesOff);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, asked);
    QFETCH(QString, focused);
    QFETCH(bool, sent);
    m_fixture.setCells("antivir", {{"AvirEnabled", avirEnabled}, {"FilterEnabled", filterEnabled}});
    if (rulesOff)
        setRules({{"0", "*.exe", "1", "0", "1"}});
    WndAvir* page = build();
    // Forwarding kept on with the address emptied.
    page->m_editAdminNotify->clear();
    QCOMPARE(m_fixture.pending(), QStringList({"update antivir set AdminNotify=''"}));
    m_fixture.applyAnswering(answers, asked, focused, sent);
}

void tst_WndAvir::upAndDownSwapOrders_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("pending");
    QTest::addColumn<int>("nowCurrent");

    QTest::newRow("second up") << 1 << true << QStringList{"*.vbs", "*.exe", "application/pdf"}
                               << QStringList{"update AttachFilter set order='2' where type='0' "
                                              "and pattern='*.exe' and action='1'",
                                              "update AttachFilter set order='1' where type='0' "
                                              "and pattern='*.vbs' and action='1'"}
                               << 0;
    QTest::newRow("second down") << 1 << false << QStringList{"*.exe", "application/pdf", "*.vbs"}
                                 << QStringList{"update AttachFilter set order='3' where type='0' "
                                                "and pattern='*.vbs' and action='1'",
                                                "update AttachFilter set order='2' where type='1' "
                                                "and pattern='application/pdf' and action='0'"}
                                 << 2;
    QTest::newRow("first up") << 0 << true << QStringList{"*.exe", "*.vbs", "application/pdf"}
                              << QStringList() << 0;
    QTest::newRow("last down") << 2 << false << QStringList{"*.exe", "*.vbs", "application/pdf"}
                               << QStringList() << 2;
}

void tst_WndAvir::upAndDownSwapOrders()
{
    QFETCH(int, current);
    QFETCH(bool, up);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, pending);
    QFETCH(int, nowCurrent);
    WndAvir* page = build();
    page->m_list->setCurrentItem(page->m_list->topLevelItem(current));
    (up ? page->m_btnUp : page->m_btnDown)->click();
    QCOMPARE(patterns(page->m_list), shown);
    QCOMPARE(m_fixture.pending(), pending);
    QCOMPARE(page->m_list->indexOfTopLevelItem(page->m_list->currentItem()), nowCurrent);
    QVERIFY(page->m_list->topLevelItem(nowCurrent)->isSelected());
}

void tst_WndAvir::rulesSortByOrderBothWays_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("direction");

    QTest::newRow("type ascending") << 0 << int(Qt::AscendingOrder);
    QTest::newRow("content descending") << 1 << int(Qt::DescendingOrder);
    QTest::newRow("action descending") << 2 << int(Qt::DescendingOrder);
    QTest::newRow("content ascending") << 1 << int(Qt::AscendingOrder);
}

void tst_WndAvir::rulesSortByOrderBothWays()
{
    QFETCH(int, column);
    QFETCH(int, direction);
    setRules({{"0", "ten", "1", "1", "10"}, {"0", "two", "1", "1", "2"}, {"1", "one", "0", "1", "1"}});
    WndAvir* page = build();
    QCOMPARE(patterns(page->m_list), QStringList({"one", "two", "ten"}));
    page->m_list->sortItems(column, Qt::SortOrder(direction));
    QCOMPARE(patterns(page->m_list), QStringList({"one", "two", "ten"}));
}

void tst_WndAvir::newRuleGoesAfterTheHighest()
{
    setRules({{"0", "ten", "1", "1", "10"}, {"0", "two", "1", "1", "2"}, {"1", "one", "0", "1", "1"}});
    WndAvir* page = build();
    m_fixture.m_dialogs->answerDialog([](QDialog* dialog) {
        auto* attach = qobject_cast<DlgAttach*>(dialog);
        if (!attach)
            return int(QDialog::Rejected);
        attach->m_comboContent->setCurrentText("*.js");
        return int(QDialog::Accepted);
    });
    page->slotAdd();
    QCOMPARE(m_fixture.pending(),
             QStringList({"insert AttachFilter set type='0', pattern='*.js', action='1', "
                          "enabled='1', order='11'"}));
    QCOMPARE(patterns(page->m_list).last(), QStringLiteral("*.js"));
}

void tst_WndAvir::kindSwitchKeepsThePattern_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QList<int>>("kinds");
    QTest::addColumn<int>("presets");
    QTest::addColumn<int>("currentIndex"); // -1: the text is no preset

    QTest::newRow("*.exe to MIME") << "*.exe" << QList<int>{1} << 3 << -1;
    QTest::newRow("*.exe to MIME and back") << "*.exe" << QList<int>{1, 0} << 17 << 1;
    QTest::newRow("typed text through both") << "*.xyz" << QList<int>{1, 0} << 17 << -1;
    QTest::newRow("same kind again") << "*.dll" << QList<int>{0, 0} << 17 << 3;
    QTest::newRow("an unknown kind changes nothing") << "*.exe" << QList<int>{2} << 17 << 1;
}

void tst_WndAvir::kindSwitchKeepsThePattern()
{
    QFETCH(QString, pattern);
    QFETCH(QList<int>, kinds);
    QFETCH(int, presets);
    QFETCH(int, currentIndex);
    DlgAttach dialog(nullptr, nullptr, true, {});
    dialog.slotTypeActivated(0);
    QCOMPARE(entries(dialog.m_comboContent).first(), QStringLiteral("*.bin"));
    ComboBoxes::setCurrentText(dialog.m_comboContent, pattern);
    for (int kind : std::as_const(kinds))
        dialog.slotTypeActivated(kind);
    QCOMPARE(dialog.m_comboContent->count(), presets);
    QCOMPARE(dialog.m_comboContent->currentText(), pattern);
    if (currentIndex >= 0)
        QCOMPARE(dialog.m_comboContent->currentIndex(), currentIndex);
    else
        QCOMPARE(dialog.m_comboContent->findText(pattern), -1);
}

void tst_WndAvir::emptyPatternAsks_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("empty, Yes") << "" << int(QMessageBox::Yes) << true << false;
    QTest::newRow("empty, Cancel") << "" << int(QMessageBox::Cancel) << true << false;
    QTest::newRow("empty, No") << "" << int(QMessageBox::No) << true << true;
    QTest::newRow("a blank") << " " << int(QMessageBox::Yes) << false << true;
}

void tst_WndAvir::emptyPatternAsks()
{
    QFETCH(QString, pattern);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, accepted);
    DialogRecorder recorder;
    recorder.answer(answer);
    DlgAttach dialog(nullptr, nullptr, true, {});
    dialog.m_comboContent->setCurrentText(pattern);
    dialog.m_btnOK->click();
    QCOMPARE(recorder.messageTexts(),
             asked ? QStringList{"You should fill content item.\nDo you want to correct the problem?"}
                   : QStringList());
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
}

void tst_WndAvir::patternTypedStaysWhenTheListIsLookedAt_data()
{
    QTest::addColumn<QString>("rule");        // by its pattern
    QTest::addColumn<int>("openedOn");        // the pattern box's current entry as the dialog opens
    QTest::addColumn<QStringList>("typings"); // each typed over the pattern, the box left between
    QTest::addColumn<bool>("leftAndBack");     // the box left and come back to before its list opens
    QTest::addColumn<QString>("pattern");     // the box's text after Return in its list
    QTest::addColumn<QStringList>("pending");

    const QString exe = QStringLiteral(" where type='0' and pattern='*.exe' and action='1'");
    const QString vbs = QStringLiteral(" where type='0' and pattern='*.vbs' and action='1'");
    QTest::newRow("a pattern of none, left and come back to")
        << "*.exe" << 1 << QStringList{"*.scr"} << true << "*.scr"
        << QStringList{"update AttachFilter set pattern='*.scr'" + exe};
    QTest::newRow("an offered pattern, only looked at") << "*.exe" << 1 << QStringList{} << false << "*.exe"
                                                        << QStringList{};
    QTest::newRow("a pattern of none, then an offered one")
        << "*.vbs" << 9 << QStringList{"*.zip", "*.com"} << false << "*.com"
        << QStringList{"update AttachFilter set pattern='*.com'" + vbs};
}

// A rule's pattern typed over key by key, and the box's list opened to look and closed with
// Return: the pattern typed last is kept and OK writes it.
void tst_WndAvir::patternTypedStaysWhenTheListIsLookedAt()
{
    QFETCH(QString, rule);
    QFETCH(int, openedOn);
    QFETCH(QStringList, typings);
    QFETCH(bool, leftAndBack);
    QFETCH(QString, pattern);
    QFETCH(QStringList, pending);
    WndAvir* page = build();
    const auto found = page->m_list->findItems(rule, Qt::MatchExactly, 1);
    QCOMPARE(found.size(), 1);
    page->m_list->setCurrentItem(found.first());
    int opened = -2;
    OpenedList::Look look;
    m_fixture.m_dialogs->answerDialog([&](QDialog* dialog) {
        auto* attach = qobject_cast<DlgAttach*>(dialog);
        if (!attach)
            return int(QDialog::Rejected);
        opened = attach->m_comboContent->currentIndex();
        look = OpenedList::typeAndLook(attach->m_comboContent, typings, leftAndBack);
        attach->m_btnOK->click();
        return attach->result();
    });
    page->slotEdit();
    QCOMPARE(opened, openedOn);
    QVERIFY(look.opened);
    QVERIFY(look.closedByReturn);
    QCOMPARE(look.heldAfterReturn, pattern);
    QCOMPARE(m_fixture.pending(), pending);
}

void tst_WndAvir::duplicateRuleIsRefused()
{
    WndAvir* page = build();
    // *.EXE blocked again: refused, the dialog again with what was typed, then cancelled.
    QStringList reopened;
    m_fixture.m_dialogs->answerDialog([](QDialog* dialog) {
        auto* attach = qobject_cast<DlgAttach*>(dialog);
        if (!attach)
            return int(QDialog::Rejected);
        attach->m_comboContent->setCurrentText("*.EXE");
        return int(QDialog::Accepted);
    });
    m_fixture.m_dialogs->answerDialog([&reopened](QDialog* dialog) {
        if (auto* attach = qobject_cast<DlgAttach*>(dialog))
            reopened << attach->m_comboContent->currentText()
                     << (attach->m_rbtnBlock->isChecked() ? "block" : "accept");
        return int(QDialog::Rejected);
    });
    page->slotAdd();
    QCOMPARE(m_fixture.messageTexts(), QStringList({"This attachment filter is already defined!"}));
    QCOMPARE(reopened, QStringList({"*.EXE", "block"}));
    QCOMPARE(page->m_list->topLevelItemCount(), 3);
    QCOMPARE(m_fixture.pending(), QStringList());

    // Accepting it instead of blocking makes it another rule.
    m_fixture.m_dialogs->answerDialog([](QDialog* dialog) {
        auto* attach = qobject_cast<DlgAttach*>(dialog);
        if (!attach)
            return int(QDialog::Rejected);
        attach->m_comboContent->setCurrentText("*.EXE");
        attach->m_rbtnAccept->setChecked(true);
        return int(QDialog::Accepted);
    });
    page->slotAdd();
    QCOMPARE(m_fixture.pending(),
             QStringList({"insert AttachFilter set type='0', pattern='*.EXE', action='0', "
                          "enabled='1', order='4'"}));
}

void tst_WndAvir::removeSeveralThenReset()
{
    WndAvir* page = build();
    page->m_list->topLevelItem(0)->setSelected(true);
    page->m_list->topLevelItem(2)->setSelected(true);
    page->m_btnRemove->click();
    QCOMPARE(patterns(page->m_list), QStringList({"*.vbs"}));
    // The order of the rule left is not touched.
    QCOMPARE(m_fixture.pending(),
             QStringList({"delete from AttachFilter where type='0' and pattern='*.exe' and "
                          "action='1'",
                          "delete from AttachFilter where type='1' and "
                          "pattern='application/pdf' and action='0'"}));
    emit m_fixture.m_ctrl->sig_reset();
    QCOMPARE(patterns(page->m_list), QStringList({"*.exe", "*.vbs", "application/pdf"}));
    QCOMPARE(m_fixture.pending(), QStringList());
}

void tst_WndAvir::enablingFollowsTheChecks_data()
{
    QTest::addColumn<QString>("avirEnabled");
    QTest::addColumn<QString>("filterEnabled");
    QTest::addColumn<QString>("bounce");
    QTest::addColumn<QString>("enabled"); // plug-in, forward, address, deliver, warning, bounce

    QTest::newRow("both on, deliver") << "1" << "1" << "0" << "111111";
    QTest::newRow("filter only, deliver") << "0" << "1" << "0" << "011111";
    QTest::newRow("both off") << "0" << "0" << "0" << "000000";
    QTest::newRow("check only, bounce") << "1" << "0" << "1" << "111101";
}

void tst_WndAvir::enablingFollowsTheChecks()
{
    QFETCH(QString, avirEnabled);
    QFETCH(QString, filterEnabled);
    QFETCH(QString, bounce);
    QFETCH(QString, enabled);
    m_fixture.setCells("antivir",
                       {{"AvirEnabled", avirEnabled}, {"FilterEnabled", filterEnabled}, {"Bounce", bounce}});
    WndAvir* page = build();
    QString states;
    for (QWidget* widget : QList<QWidget*>{page->m_plugin, page->m_chkForward,
                                           page->m_editAdminNotify, page->m_rbtnDeliver,
                                           page->m_chkSendWarning, page->m_rbtnBounce})
        states += widget->isEnabled() ? '1' : '0';
    QCOMPARE(states, enabled);
    QVERIFY(page->m_rbtnLeave->isEnabled());
    QVERIFY(page->m_list->isEnabled());
}

// An answer without a column the page asked for is a failed load: nothing the server did not
// send is written, and no key the server did not send names a rule.
void tst_WndAvir::shortAnswerLeavesThePageUnready_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("omitted");

    QTest::newRow("a rule's key pattern") << "AttachFilter" << "pattern";
    QTest::newRow("a rule's key action") << "AttachFilter" << "action";
    QTest::newRow("a rule's enabled") << "AttachFilter" << "enabled";
    QTest::newRow("the settings' DelayIfFailed") << "antivir" << "DelayIfFailed";
}

void tst_WndAvir::shortAnswerLeavesThePageUnready()
{
    QFETCH(QString, table);
    QFETCH(QString, omitted);
    QVERIFY(m_fixture.m_server->omitColumns("from " + table + "$", QStringList{omitted}, 1));
    const int mark = m_fixture.journalSize();
    WndAvir* page = build();
    QCOMPARE(m_fixture.messageTexts(),
             QStringList{"Query failed: The server's answer lacks these columns of " + table + ": " + omitted});
    QVERIFY(!page->isReady());
    QCOMPARE(m_fixture.pending(), QStringList());

    // What the administrator might do next: move a rule, switch the filter, apply.
    if (page->m_list->topLevelItemCount() > 0) {
        page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
        page->m_btnDown->click();
    }
    page->m_chkFilterEnable->click();
    QCOMPARE(m_fixture.pending(), QStringList());
    m_fixture.apply();
    for (const QString& statement : m_fixture.journalSince(mark))
        QVERIFY2(statement.startsWith(QLatin1String("select "), Qt::CaseInsensitive), qPrintable(statement));
}

void tst_WndAvir::applyStoppedPartWay_data()
{
    QTest::addColumn<int>("refused");      // the statement the server refuses, from 1
    QTest::addColumn<QStringList>("rest"); // what the next apply sends, after one more change

    const QString delay = "update antivir set DelayIfFailed='0'";
    const QString warning = "update antivir set SenderNotify='0'";
    const QString warningAndDelay = "update antivir set SenderNotify='0', DelayIfFailed='0'";
    const QString removePdf = "delete from AttachFilter where type='1' and pattern='application/pdf' and action='0'";
    const QString exeSecond = "update AttachFilter set order='2' where type='0' and pattern='*.exe' and action='1'";
    const QString vbsFirst = "update AttachFilter set order='1' where type='0' and pattern='*.vbs' and action='1'";
    QTest::newRow("the page's row refused") << 1 << QStringList{warningAndDelay, removePdf, exeSecond, vbsFirst};
    QTest::newRow("the rule's removal refused") << 2 << QStringList{warning, removePdf, exeSecond, vbsFirst};
    QTest::newRow("the first order refused") << 3 << QStringList{warning, exeSecond, vbsFirst};
    QTest::newRow("the second order refused") << 4 << QStringList{warning, vbsFirst};
}

// Changes of the page's row and of its rules; the server refuses one of the four statements.
// What it carried out is stored: after one more change the next apply sends each of the rest
// once, and the server holds what the page shows.
void tst_WndAvir::applyStoppedPartWay()
{
    QFETCH(int, refused);
    QFETCH(QStringList, rest);
    WndAvir* page = build();
    page->m_rbtnSend->click();
    page->m_list->topLevelItem(2)->setSelected(true);
    page->m_btnRemove->click();
    page->m_list->setCurrentItem(page->m_list->topLevelItem(1));
    page->m_btnUp->click();
    const QStringList statements{
        "update antivir set DelayIfFailed='0'",
        "delete from AttachFilter where type='1' and pattern='application/pdf' and action='0'",
        "update AttachFilter set order='2' where type='0' and pattern='*.exe' and action='1'",
        "update AttachFilter set order='1' where type='0' and pattern='*.vbs' and action='1'"};
    QCOMPARE(m_fixture.pending(), statements);

    const QString stopper = statements.at(refused - 1);
    QVERIFY(m_fixture.m_server->refuse('^' + QRegularExpression::escape(stopper) + '$', 111, 1));
    int mark = m_fixture.journalSize();
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Refused);
    QCOMPARE(m_fixture.messageTexts(), QStringList{"Query failed: Query not possible"});
    QCOMPARE(m_fixture.journalSince(mark), statements.mid(0, refused));
    QCOMPARE(m_fixture.pending(), statements.mid(refused - 1));

    page->m_chkSendWarning->click();
    QCOMPARE(m_fixture.pending(), rest);
    m_fixture.m_server->clearControls();
    mark = m_fixture.journalSize();
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QCOMPARE(m_fixture.journalSince(mark), rest);
    QCOMPARE(m_fixture.storedCell("antivir", "DelayIfFailed"), QStringLiteral("0"));
    QCOMPARE(m_fixture.storedCell("antivir", "SenderNotify"), QStringLiteral("0"));
    // The rules the server holds, in their order, are the ones the list shows.
    QList<QStringList> stored = m_fixture.m_server->rows("AttachFilter");
    std::sort(stored.begin(), stored.end(),
              [](const QStringList& a, const QStringList& b) { return a.at(4).toInt() < b.at(4).toInt(); });
    QStringList storedPatterns;
    for (const QStringList& rule : std::as_const(stored))
        storedPatterns.append(rule.at(1));
    QCOMPARE(storedPatterns, patterns(page->m_list));
    QCOMPARE(patterns(page->m_list), (QStringList{"*.vbs", "*.exe"}));
    QVERIFY(m_fixture.pending().isEmpty());
}

// Rules the server holds with cells the list and the dialog cannot show as they are (an
// empty "enabled", numbers outside the choices, columns the server keeps as text) are
// nobody's edit: an edit of one rule, typed as a person types it, sends that rule's statement
// and nothing else, and that statement only the pattern typed.
void tst_WndAvir::editOfOneRuleSendsOnlyItsStatement_data()
{
    QTest::addColumn<int>("enabledType"); // how the server declares "enabled"
    QTest::addColumn<int>("actionType");  // and "action"
    QTest::addColumn<QStringList>("edited"); // type, action, enabled of the *.exe rule
    QTest::addColumn<QList<QStringList>>("others");
    QTest::addColumn<QString>("statement");

    using StandIn::TypeInt;
    using StandIn::TypeString;
    const QString exe = "update AttachFilter set pattern='*.scr' where type='%1' and "
                        "pattern='*.exe' and action='%2'";
    QTest::newRow("empty enabled")
        << int(TypeInt) << int(TypeInt) << QStringList{"0", "1", "1"}
        << QList<QStringList>{{"0", "*.vbs", "1", "", "2"}, {"1", "application/pdf", "0", "", "3"},
                              {"0", "*.bat", "1", "", "4"}}
        << exe.arg("0", "1");
    QTest::newRow("enabled neither 0 nor 1")
        << int(TypeInt) << int(TypeInt) << QStringList{"0", "1", "1"}
        << QList<QStringList>{{"0", "*.vbs", "1", "2", "2"}, {"1", "application/pdf", "0", "9", "3"},
                              {"0", "*.bat", "1", "-1", "4"}}
        << exe.arg("0", "1");
    QTest::newRow("enabled kept as text by the server")
        << int(TypeString) << int(TypeInt) << QStringList{"0", "1", "1"}
        << QList<QStringList>{{"0", "*.vbs", "1", "yes", "2"}, {"1", "application/pdf", "0", "", "3"},
                              {"0", "*.bat", "1", "on", "4"}}
        << exe.arg("0", "1");
    QTest::newRow("the edited rule's kind and action outside the choices")
        << int(TypeInt) << int(TypeInt) << QStringList{"5", "7", "1"}
        << QList<QStringList>{{"0", "*.vbs", "1", "", "2"}}
        << exe.arg("5", "7");
    QTest::newRow("the edited rule's action and enabled empty")
        << int(TypeInt) << int(TypeString) << QStringList{"0", "", ""}
        << QList<QStringList>{{"0", "*.vbs", "blk", "1", "2"}, {"1", "application/pdf", "", "", "3"}}
        << exe.arg("0", "");
}

void tst_WndAvir::editOfOneRuleSendsOnlyItsStatement()
{
    QFETCH(int, enabledType);
    QFETCH(int, actionType);
    QFETCH(QStringList, edited);
    QFETCH(QList<QStringList>, others);
    QFETCH(QString, statement);
    QList<QStringList> rules{{edited.at(0), "*.exe", edited.at(1), edited.at(2), "1"}};
    rules += others;
    m_fixture.m_server->setTable(QStringLiteral("AttachFilter"),
                                 {{"type", StandIn::TypeInt, true},
                                  {"pattern", StandIn::TypeString, true},
                                  {"action", actionType, true},
                                  {"enabled", enabledType, false},
                                  {"order", StandIn::TypeInt, false}},
                                 rules);
    // No question about rules that are all off.
    m_fixture.setCells("antivir", {{"FilterEnabled", "0"}});
    WndAvir* page = build();
    QVERIFY(page->isReady());
    QCOMPARE(m_fixture.pending(), QStringList());

    QTreeWidgetItem* item = page->m_list->findItems("*.exe", Qt::MatchExactly, 1).value(0);
    QVERIFY(item);
    page->m_list->setCurrentItem(item);
    m_fixture.m_dialogs->answerDialog([](QDialog* dialog) {
        auto* attach = qobject_cast<DlgAttach*>(dialog);
        if (!attach)
            return int(QDialog::Rejected);
        typeOver(attach->m_comboContent->lineEdit(), "*.scr");
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(page->m_btnEdit, Qt::LeftButton);
    const int mark = m_fixture.journalSize();
    m_fixture.apply();
    QCOMPARE(m_fixture.journalSince(mark), QStringList{statement});
}

QTEST_MAIN(tst_WndAvir)
#include "tst_wndavir.moc"
