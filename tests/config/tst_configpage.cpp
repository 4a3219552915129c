#include "configcolumns.h"
#include "configpage.h"
#include "configpagefixture.h"
#include "vexadbtypes.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

namespace {

const DBCOL dbcol_lines[] = {
    {VEXADB_STRING, "Name", 0},
    {0, nullptr, 0},
};

// The smallest page the base serves: the backup row's folder format in a field, with the
// phonebook's lines read as a function result beside it, answering the signals it is told.
class FormatPage : public QWidget, public ConfigPage
{
public:
    FormatPage(QWidget* parent, DBConn* conn, DBCtrl* ctrl, int follow)
        : QWidget(parent)
        , ConfigPage(this, parent, conn, ctrl)
        , field(new QLineEdit(this))
    {
        connect(field, &QLineEdit::textChanged, this, [this] { handChangeIn(); });
        if (loadTables({{&backup, "backup", dbcol_backup, EditedRow},
                        {&lines, "get_phonebook()", dbcol_lines, Function}}))
            start(follow);
    }

    void updateData() override
    {
        ++filled;
        field->setText(cell(backup, "Format"));
    }
    void updateObject() override { ++enablings; }
    void writeRows() override { setCell(backup, "Format", field->text()); }

    QLineEdit* field;
    DBTable backup;
    DBTable lines;
    int filled = 0;
    int enablings = 0;
};

} // namespace

// The configuration-page base on its own.
class tst_ConfigPage : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.start(); }
    void cleanup() { m_fixture.stop(); }

    void loadsInOrderThenFillsOnce();
    void failedLoadLeavesThePageInert_data();
    void failedLoadLeavesThePageInert();
    void answersOnlyTheSignalsItFollows_data();
    void answersOnlyTheSignalsItFollows();
    void applyCommitsResetRestores();

private:
    FormatPage* build(int follow = ConfigPage::AllSignals)
    {
        return new FormatPage(m_fixture.m_container.get(), m_fixture.m_conn->get(), m_fixture.m_ctrl.get(),
                              follow);
    }

    ConfigPageFixture m_fixture;
};

void tst_ConfigPage::loadsInOrderThenFillsOnce()
{
    const int mark = m_fixture.journalSize();
    FormatPage* page = build();
    QCOMPARE(m_fixture.journalSince(mark),
             QStringList({"select Enabled, Mode, Local, Remote, Format, Address, Admin from backup",
                          "select get_phonebook()"}));
    QVERIFY(page->isReady());
    QCOMPARE(page->filled, 1);
    QCOMPARE(page->enablings, 1);
    QCOMPARE(page->lines.m_rows.size(), size_t(3));
    QCOMPARE(page->field->text(), QStringLiteral("%Y-%M-%D_%d"));
    QVERIFY(m_fixture.pending().isEmpty()); // filling wrote nothing
}

void tst_ConfigPage::failedLoadLeavesThePageInert_data()
{
    QTest::addColumn<QString>("refused");
    QTest::addColumn<bool>("emptyRow");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("statements");

    QTest::newRow("first table refused") << "from backup" << false
                                         << QStringList{"Query failed: Table does not exists"} << 1;
    QTest::newRow("function refused") << "get_phonebook" << false
                                      << QStringList{"Query failed: Table does not exists"} << 2;
    QTest::newRow("single row missing") << "" << true << QStringList{} << 1;
}

// Nothing loaded after the first failure, nothing filled, written or answered.
void tst_ConfigPage::failedLoadLeavesThePageInert()
{
    QFETCH(QString, refused);
    QFETCH(bool, emptyRow);
    QFETCH(QStringList, messages);
    QFETCH(int, statements);
    if (!refused.isEmpty())
        m_fixture.m_server->refuse(refused, 109);
    if (emptyRow)
        m_fixture.emptyTable("backup");
    const int mark = m_fixture.journalSize();

    FormatPage* page = build();

    QCOMPARE(m_fixture.journalSince(mark).size(), statements);
    QCOMPARE(m_fixture.messageTexts(), messages);
    QVERIFY(!page->isReady());
    QCOMPARE(page->filled, 0);
    QCOMPARE(page->enablings, 0);
    page->field->setText("%Y");
    QVERIFY(m_fixture.pending().isEmpty());
    m_fixture.m_ctrl->reset();
    m_fixture.m_ctrl->update_again();
    QCOMPARE(page->field->text(), QStringLiteral("%Y"));
    QVERIFY(m_fixture.pending().isEmpty());
}

void tst_ConfigPage::answersOnlyTheSignalsItFollows_data()
{
    QTest::addColumn<int>("follow");
    QTest::addColumn<bool>("handsInAgain");
    QTest::addColumn<bool>("resets");

    QTest::newRow("all four") << int(ConfigPage::AllSignals) << true << true;
    QTest::newRow("apply and reset") << int(ConfigPage::ApplyAndReset) << false << true;
    QTest::newRow("before apply and update again") << int(ConfigPage::BeforeApply | ConfigPage::UpdateAgain)
                                                   << true << false;
}

void tst_ConfigPage::answersOnlyTheSignalsItFollows()
{
    QFETCH(int, follow);
    QFETCH(bool, handsInAgain);
    QFETCH(bool, resets);
    FormatPage* page = build(follow);
    page->field->setText("%D");
    const QStringList statements{"update backup set Format='%D'"};
    QCOMPARE(m_fixture.pending(), statements);

    m_fixture.m_ctrl->m_pending.clear();
    m_fixture.m_ctrl->update_again();
    QCOMPARE(m_fixture.pending(), handsInAgain ? statements : QStringList());

    m_fixture.m_ctrl->reset();
    QCOMPARE(page->field->text(), resets ? QStringLiteral("%Y-%M-%D_%d") : QStringLiteral("%D"));
    QCOMPARE(page->filled, resets ? 2 : 1);
}

void tst_ConfigPage::applyCommitsResetRestores()
{
    FormatPage* page = build();
    page->field->setText("%Y");
    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QCOMPARE(m_fixture.storedCell("backup", "Format"), QStringLiteral("%Y"));
    page->field->setText("%M");
    m_fixture.m_ctrl->reset();
    QCOMPARE(page->field->text(), QStringLiteral("%Y"));
    QCOMPARE(page->enablings, 2);
    page->field->setText("%Y");
    QVERIFY(m_fixture.pending().isEmpty());
}

QTEST_MAIN(tst_ConfigPage)
#include "tst_configpage.moc"
