#include "dialogrecorder.h"
#include "logfixture.h"
#include "ownrequestfailure.h"
#include "wndlogconf.h"
#include "wndlogdbg.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace {

using Rows = QList<QStringList>; // parent, name, chkbox, desc, level

// The tree as "text" per item, "[x]" or "[ ]" after a check box, children in parentheses.
QString describe(const QTreeWidgetItem* item)
{
    QString text = item->text(0);
    if (item->data(0, Qt::CheckStateRole).isValid())
        text += item->checkState(0) == Qt::Checked ? QStringLiteral("[x]") : QStringLiteral("[ ]");
    QStringList children;
    for (int i = 0; i < item->childCount(); ++i)
        children.append(describe(item->child(i)));
    if (!children.isEmpty())
        text += QLatin1Char('(') + children.join(QLatin1Char(',')) + QLatin1Char(')');
    return text;
}

QString describe(const QTreeWidget& tree)
{
    QStringList items;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        items.append(describe(tree.topLevelItem(i)));
    return items.join(QLatin1Char(','));
}

QTreeWidgetItem* findItem(const QTreeWidget& tree, const QString& text)
{
    const QList<QTreeWidgetItem*> found =
        tree.findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

// A chain of headings nested depth levels deep with one event at the bottom.
Rows deepChain(int depth)
{
    Rows rows{{"", "n0", "0", "N0", "0"}};
    for (int i = 1; i < depth; ++i)
        rows.append({QStringLiteral("n%1").arg(i - 1), QStringLiteral("n%1").arg(i), "0",
                     QStringLiteral("N%1").arg(i), "0"});
    rows.append({QStringLiteral("n%1").arg(depth - 1), "deep", "1", "Deep", "1"});
    rows.append({"n0", "shallow", "1", "Shallow", "0"});
    return rows;
}

QString deepChainText(int depth)
{
    QString text = QStringLiteral("Deep[x]");
    for (int i = depth - 1; i >= 1; --i)
        text = QStringLiteral("N%1(%2)").arg(i).arg(text);
    return QStringLiteral("N0(%1,Shallow[ ])").arg(text);
}

const Rows Groups{
    {"", "smtp", "0", "SMTP", "0"},
    {"smtp", "smtp_in", "1", "Incoming", "1"},
    {"smtp", "smtp_out", "1", "Outgoing", "0"},
    {"", "filter", "0", "Filtering", "0"},
    {"filter", "rules", "1", "Rules", "0"},
    {"filter", "spam", "0", "Spam", "0"},
    {"spam", "score", "1", "Scores", "1"},
    {"filter", "virus", "1", "Viruses", "0"},
};

} // namespace

// The "Logging Messages" dialog against the stand-in server's DebugList() and DebugEvent.
class tst_WndLogConf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void tree_data();
    void tree();
    void okWritesEverySwitchableRow_data();
    void okWritesEverySwitchableRow();
    void namesFromTheServerAreEscaped_data();
    void namesFromTheServerAreEscaped();
    void cancelSendsNothing();
    void updateFailureTold_data();
    void updateFailureTold();
    void nothingSwitchableSendsNothing();
    void theWaitKeepsTheInterfaceAlive();
    void openedFromTheDebugViewsMenu();

private:
    void setEvents(const Rows& rows);
    std::unique_ptr<WndLogConf> openDialog();

    LogFixture m_fix;
};

void tst_WndLogConf::initTestCase()
{
    QVERIFY(m_fix.start());
}

void tst_WndLogConf::init()
{
    QVERIFY(m_fix.keepConnected());
    m_fix.server->clearControls();
    setEvents(Groups);
    m_fix.mark();
}

void tst_WndLogConf::setEvents(const Rows& rows)
{
    QList<QStringList> list;
    QList<StandIn::Column> eventColumns;
    QStringList levels;
    for (const QStringList& row : rows) {
        list.append(row.mid(0, 4));
        eventColumns.append({row.at(1), StandIn::TypeInt, false});
        levels.append(row.at(4));
    }
    m_fix.server->setTable(QStringLiteral("DebugEventList"),
                           {{QStringLiteral("parent"), StandIn::TypeString, false},
                            {QStringLiteral("name"), StandIn::TypeString, true},
                            {QStringLiteral("chkbox"), StandIn::TypeInt, false},
                            {QStringLiteral("desc"), StandIn::TypeString, false}},
                           list);
    m_fix.server->setTable(QStringLiteral("DebugEvent"), eventColumns, {levels});
}

std::unique_ptr<WndLogConf> tst_WndLogConf::openDialog()
{
    const DBLOG log = makeLogDescriptor(QStringLiteral("debug"));
    return std::make_unique<WndLogConf>(m_fix.connection(), &log, nullptr, "log_conf_dlg",
                                        true, Qt::WindowFlags());
}

void tst_WndLogConf::tree_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("tree");
    QTest::addColumn<bool>("okEnabled");

    QTest::newRow("groups depth first keep the server's order")
        << Groups
        << "SMTP(Incoming[x],Outgoing[ ]),Filtering(Rules[ ],Spam(Scores[x]),Viruses[ ])" << true;
    QTest::newRow("a top-level row with a check box is a heading")
        << Rows{{"", "top", "1", "Top", "1"}, {"top", "child", "1", "Child", "0"}}
        << "Top(Child[ ])" << true;
    QTest::newRow("other check box values are plain items")
        << Rows{{"", "g", "0", "G", "0"}, {"g", "two", "2", "Two", "1"}} << "G(Two)" << true;
    QTest::newRow("nested deeper than twenty levels") << deepChain(25) << deepChainText(25)
                                                        << true;
    QTest::newRow("an unknown parent ends the tree and disables Ok")
        << Rows{{"", "g", "0", "G", "0"}, {"g", "one", "1", "One", "1"},
                {"nowhere", "lost", "1", "Lost", "0"}, {"g", "after", "1", "After", "0"}}
        << "G(One[x])" << false;
    QTest::newRow("no rows") << Rows{} << "" << true;
}

void tst_WndLogConf::tree()
{
    QFETCH(Rows, rows);
    QFETCH(QString, tree);
    QFETCH(bool, okEnabled);

    setEvents(rows);
    const std::unique_ptr<WndLogConf> dialog = openDialog();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Logging Messages"));
    QCOMPARE(describe(*dialog->m_lvConfLog), tree);
    QCOMPARE(dialog->btnOk->isEnabled(), okEnabled);
    QCOMPARE(m_fix.statements(), QStringList{"select DebugList()"});
}

void tst_WndLogConf::okWritesEverySwitchableRow_data()
{
    QTest::addColumn<QStringList>("toggles"); // item texts clicked in order
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QStringList>("levels"); // of DebugEvent afterwards, in Groups order

    QTest::newRow("nothing toggled")
        << QStringList{}
        << "update DebugEvent set smtp_in = 1, smtp_out = 0, rules = 0, score = 1, virus = 0"
        << QStringList{"0", "1", "0", "0", "0", "0", "1", "0"};
    QTest::newRow("two switched")
        << QStringList{"Incoming", "Viruses"}
        << "update DebugEvent set smtp_in = 0, smtp_out = 0, rules = 0, score = 1, virus = 1"
        << QStringList{"0", "0", "0", "0", "0", "0", "1", "1"};
    QTest::newRow("switched on and off again")
        << QStringList{"Rules", "Rules", "Outgoing"}
        << "update DebugEvent set smtp_in = 1, smtp_out = 1, rules = 0, score = 1, virus = 0"
        << QStringList{"0", "1", "1", "0", "0", "0", "1", "0"};
}

void tst_WndLogConf::okWritesEverySwitchableRow()
{
    QFETCH(QStringList, toggles);
    QFETCH(QString, statement);
    QFETCH(QStringList, levels);

    const std::unique_ptr<WndLogConf> dialog = openDialog();
    for (const QString& text : toggles) {
        QTreeWidgetItem* item = findItem(*dialog->m_lvConfLog, text);
        QVERIFY(item);
        item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    m_fix.mark();
    QTest::mouseClick(dialog->btnOk, Qt::LeftButton);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_fix.statements(), QStringList{statement});
    QCOMPARE(m_fix.server->rows(QStringLiteral("DebugEvent")), QList<QStringList>{levels});
}

void tst_WndLogConf::namesFromTheServerAreEscaped_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");

    QTest::newRow("apostrophe") << "it's" << "it\\'s";
    QTest::newRow("backslash") << "a\\b" << "a\\\\b";
    QTest::newRow("double quote") << "say\"hi\"" << "say\\\"hi\\\"";
    QTest::newRow("line feed") << "two\nlines" << "two\\nlines";
    QTest::newRow("a plain name stays") << "smtp_in" << "smtp_in";
}

void tst_WndLogConf::namesFromTheServerAreEscaped()
{
    QFETCH(QString, name);
    QFETCH(QString, written);

    setEvents({{"", "g", "0", "G", "0"}, {"g", name, "1", "Event", "1"}});
    const std::unique_ptr<WndLogConf> dialog = openDialog();
    m_fix.mark();
    DialogRecorder recorder;
    QTest::mouseClick(dialog->btnOk, Qt::LeftButton);
    QCOMPARE(m_fix.statements(), QStringList{"update DebugEvent set " + written + " = 1"});
}

void tst_WndLogConf::cancelSendsNothing()
{
    const std::unique_ptr<WndLogConf> dialog = openDialog();
    findItem(*dialog->m_lvConfLog, QStringLiteral("Outgoing"))->setCheckState(0, Qt::Checked);
    m_fix.mark();
    QTest::mouseClick(dialog->btnCancel, Qt::LeftButton);
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QTest::qWait(50);
    QCOMPARE(m_fix.statements(), QStringList());
    // Opened again, it shows the server's states.
    const std::unique_ptr<WndLogConf> again = openDialog();
    QCOMPARE(findItem(*again->m_lvConfLog, QStringLiteral("Outgoing"))->checkState(0), Qt::Unchecked);
}

void tst_WndLogConf::updateFailureTold_data()
{
    OwnRequestFailure::addRows();
}

void tst_WndLogConf::updateFailureTold()
{
    QFETCH(int, failure);
    const std::unique_ptr<WndLogConf> dialog = openDialog();
    OwnRequestFailure::MainWindow window;
    window.attach(m_fix.connection());
    QVERIFY(OwnRequestFailure::arrange(*m_fix.server, QStringLiteral("^update DebugEvent"), failure));
    findItem(*dialog->m_lvConfLog, QStringLiteral("Outgoing"))->setCheckState(0, Qt::Checked);
    DialogRecorder recorder;
    QTest::mouseClick(dialog->btnOk, Qt::LeftButton);
    QVERIFY(OwnRequestFailure::told(recorder, window, failure));
    // Closed as on success; the server keeps its states.
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_fix.server->rows(QStringLiteral("DebugEvent")).first().at(2), QStringLiteral("0"));
}

void tst_WndLogConf::nothingSwitchableSendsNothing()
{
    setEvents({{"", "a", "0", "A", "0"}, {"a", "b", "0", "B", "0"}});
    const std::unique_ptr<WndLogConf> dialog = openDialog();
    QCOMPARE(dialog->updateStatement(), QString());
    m_fix.mark();
    QTest::mouseClick(dialog->btnOk, Qt::LeftButton);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QTest::qWait(50);
    QCOMPARE(m_fix.statements(), QStringList());
}

// A slow server does not freeze the console: timers and painting go on while OK waits.
void tst_WndLogConf::theWaitKeepsTheInterfaceAlive()
{
    QVERIFY(m_fix.server->delay(QStringLiteral("^update DebugEvent"), 400));
    const std::unique_ptr<WndLogConf> dialog = openDialog();
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
    ticker.start(20);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(dialog->btnOk, Qt::LeftButton);
    QVERIFY(clock.elapsed() >= 350);
    QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
}

void tst_WndLogConf::openedFromTheDebugViewsMenu()
{
    const std::unique_ptr<WndLog> view(
        createLogView(nullptr, m_fix.connection(), QStringLiteral("debug"), Qt::Widget));
    view->show();
    view->slotPopupMenuSelect(WndLogDbg::LogEventsId);
    auto* dialog = view->findChild<WndLogConf*>(QStringLiteral("log_conf_dlg"));
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(dialog->isModal());
    QCOMPARE(describe(*dialog->m_lvConfLog).left(5), QStringLiteral("SMTP("));
    QTest::mouseClick(dialog->btnCancel, Qt::LeftButton);
    QTRY_VERIFY(!view->findChild<WndLogConf*>());
}

QTEST_MAIN(tst_WndLogConf)
#include "tst_wndlogconf.moc"
