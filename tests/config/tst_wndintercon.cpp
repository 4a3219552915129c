#include "configpagefixture.h"
#include "typing.h"
#include "wndintercon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

// The Internet Connection page on the demo server: offline, dialling out over the phonebook
// line "Provider ISDN" as corvane; the phonebook also lists "Provider DSL fallback" and
// "Mobile modem".
class tst_WndInterCon : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.start(); }
    void cleanup() { m_fixture.stop(); }

    void showsTheStoredRowAndTheLines();
    void enabling_data();
    void enabling();
    void onlineOfflineOnlineLeavesNothingPending();
    void storedOnlineModeTwoIsKeptWhileShown();
    void lineNames_data();
    void lineNames();
    void emptyStoredLineShowsTheFirstLine_data();
    void emptyStoredLineShowsTheFirstLine();
    void emptyStoredLineIsWrittenWhenRasIsTurnedOn_data();
    void emptyStoredLineIsWrittenWhenRasIsTurnedOn();
    void phonebookRefusal();
    void passwordPlaceholder_data();
    void passwordPlaceholder();
    void resetRestoresTheRow();
    void rowlessTableLeavesThePageInert();

private:
    WndInterCon* build() { return m_fixture.build<WndInterCon>(); }
    void setPhonebook(const QStringList& lines)
    {
        QList<QStringList> rows;
        for (const QString& line : lines)
            rows.append({line});
        m_fixture.m_server->setTable("phonebook", m_fixture.m_server->columns("phonebook"), rows);
    }
    static void choose(QComboBox* box, const QString& text)
    {
        const int index = box->findText(text);
        QVERIFY(index >= 0);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    ConfigPageFixture m_fixture;
};

void tst_WndInterCon::showsTheStoredRowAndTheLines()
{
    const int mark = m_fixture.journalSize();
    WndInterCon* page = build();
    QCOMPARE(m_fixture.journalSince(mark),
             QStringList({"select OnlineMode, UseRAS, RASLine, RASUser, RASPassword from connection",
                          "SELECT get_phonebook()"}));
    QVERIFY(page->m_rbtnOffline->isChecked());
    QVERIFY(!page->m_rbtnOnline->isChecked());
    QVERIFY(page->m_chkUseRAS->isChecked());
    QCOMPARE(ConfigPageFixture::entries(page->m_rasLine),
             QStringList({"Provider ISDN", "Provider DSL fallback", "Mobile modem"}));
    QCOMPARE(page->m_rasLine->currentText(), QStringLiteral("Provider ISDN"));
    QCOMPARE(page->m_editUser->text(), QStringLiteral("corvane"));
    QCOMPARE(page->m_editPass->text(), QStringLiteral("PlainFillText"));
    QVERIFY(m_fixture.pending().isEmpty());
    QVERIFY(m_fixture.messageTexts().isEmpty());
}

void tst_WndInterCon::enabling_data()
{
    QTest::addColumn<QString>("online");
    QTest::addColumn<QString>("useRas");
    QTest::addColumn<bool>("checkBox");
    QTest::addColumn<bool>("dialUp");

    QTest::newRow("online, dial-up stored on") << "1" << "1" << false << false;
    QTest::newRow("offline, dial-up") << "0" << "1" << true << true;
    QTest::newRow("offline, no dial-up") << "0" << "0" << true << false;
}

void tst_WndInterCon::enabling()
{
    QFETCH(QString, online);
    QFETCH(QString, useRas);
    QFETCH(bool, checkBox);
    QFETCH(bool, dialUp);
    m_fixture.setCells("connection", {{"OnlineMode", online}, {"UseRAS", useRas}});
    WndInterCon* page = build();
    QCOMPARE(page->m_chkUseRAS->isEnabled(), checkBox);
    QCOMPARE(page->m_chkUseRAS->isChecked(), useRas == QLatin1String("1"));
    QCOMPARE(page->m_rasLine->isEnabled(), dialUp);
    QCOMPARE(page->m_editUser->isEnabled(), dialUp);
    QCOMPARE(page->m_editPass->isEnabled(), dialUp);
}

void tst_WndInterCon::onlineOfflineOnlineLeavesNothingPending()
{
    m_fixture.setCells("connection", {{"OnlineMode", "1"}, {"UseRAS", "0"}});
    WndInterCon* page = build();
    page->m_rbtnOffline->click();
    QCOMPARE(m_fixture.pending(), QStringList{"update connection set OnlineMode='0'"});
    QVERIFY(page->m_chkUseRAS->isEnabled());
    QVERIFY(!page->m_rasLine->isEnabled());
    page->m_chkUseRAS->click();
    QVERIFY(page->m_rasLine->isEnabled());
    page->m_chkUseRAS->click();
    page->m_rbtnOnline->click();
    QVERIFY(m_fixture.pending().isEmpty());
    QVERIFY(!page->m_chkUseRAS->isEnabled());
}

// A stored mode of 2 shows online, and stays 2 while the buttons show it.
void tst_WndInterCon::storedOnlineModeTwoIsKeptWhileShown()
{
    m_fixture.setCells("connection", {{"OnlineMode", "2"}});
    WndInterCon* page = build();
    QVERIFY(page->m_rbtnOnline->isChecked());
    // Online, only the mode takes input: off and back on.
    page->m_rbtnOffline->click();
    QCOMPARE(m_fixture.pending(), QStringList{"update connection set OnlineMode='0'"});
    page->m_rbtnOnline->click();
    QCOMPARE(m_fixture.pending(), QStringList());
}

void tst_WndInterCon::lineNames_data()
{
    QTest::addColumn<QStringList>("phonebook");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("entries");

    const QString longName = QStringLiteral("Provider line whose name is far longer than fifty bytes: ")
        + QString(40, QLatin1Char('x'));
    const QString umlauts = QStringLiteral("Büro-Modem Köln");
    QTest::newRow("a name of 98 bytes is kept whole")
        << QStringList{longName, "Mobile modem"} << longName << QStringList{longName, "Mobile modem"};
    QTest::newRow("a name outside ASCII")
        << QStringList{umlauts, "Mobile modem"} << umlauts << QStringList{umlauts, "Mobile modem"};
    QTest::newRow("a stored line the phonebook lacks stays an entry")
        << QStringList{"Mobile modem"} << "Old ISDN" << QStringList{"Mobile modem", "Old ISDN"};
}

// The line the row holds is shown and written back as it is until another is chosen.
void tst_WndInterCon::lineNames()
{
    QFETCH(QStringList, phonebook);
    QFETCH(QString, stored);
    QFETCH(QStringList, entries);
    setPhonebook(phonebook);
    m_fixture.setCells("connection", {{"RASLine", stored}});
    WndInterCon* page = build();
    QCOMPARE(ConfigPageFixture::entries(page->m_rasLine), entries);
    QCOMPARE(page->m_rasLine->currentText(), stored);

    typeOver(page->m_editUser, "someone");
    QCOMPARE(m_fixture.pending(), QStringList{"update connection set RASUser='someone'"});
    choose(page->m_rasLine, phonebook.last() == stored ? phonebook.first() : phonebook.last());
    QCOMPARE(m_fixture.pending().size(), 1);
    QVERIFY(m_fixture.pending().first().contains(QLatin1String("RASLine=")));
}

// No stored line: the first line is shown and stands in for none; the row keeps the empty
// line until the administrator chooses another: choosing the line shown changes nothing
// the box shows.
void tst_WndInterCon::emptyStoredLineShowsTheFirstLine_data()
{
    QTest::addColumn<QString>("chosen"); // empty: no line chosen
    QTest::addColumn<QString>("pending");

    QTest::newRow("an edit elsewhere") << "" << "update connection set RASUser='someone'";
    QTest::newRow("the line shown chosen")
        << "Provider ISDN" << "update connection set RASUser='someone'";
    QTest::newRow("another line chosen")
        << "Mobile modem" << "update connection set RASLine='Mobile modem', RASUser='someone'";
}

void tst_WndInterCon::emptyStoredLineShowsTheFirstLine()
{
    QFETCH(QString, chosen);
    QFETCH(QString, pending);
    m_fixture.setCells("connection", {{"RASLine", ""}});
    WndInterCon* page = build();
    QCOMPARE(ConfigPageFixture::entries(page->m_rasLine),
             QStringList({"Provider ISDN", "Provider DSL fallback", "Mobile modem"}));
    QCOMPARE(page->m_rasLine->currentIndex(), 0);

    typeOver(page->m_editUser, "someone");
    if (!chosen.isEmpty())
        choose(page->m_rasLine, chosen);
    QCOMPARE(m_fixture.pending(), QStringList{pending});
}

// Turning on "Use RAS" with no line stored dials the line the box shows: that line is
// written with it, and the box shows afterwards what the server holds. Turned off again,
// the box stands in again and nothing is left to send.
void tst_WndInterCon::emptyStoredLineIsWrittenWhenRasIsTurnedOn_data()
{
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("turned on")
        << 1 << QStringList{"update connection set UseRAS='1', RASLine='Provider ISDN'"};
    QTest::newRow("turned on and off again") << 2 << QStringList{};
}

void tst_WndInterCon::emptyStoredLineIsWrittenWhenRasIsTurnedOn()
{
    QFETCH(int, clicks);
    QFETCH(QStringList, pending);
    m_fixture.setCells("connection", {{"UseRAS", "0"}, {"RASLine", ""}});
    WndInterCon* page = build();
    QCOMPARE(page->m_rasLine->currentText(), QStringLiteral("Provider ISDN"));
    for (int i = 0; i < clicks; ++i)
        page->m_chkUseRAS->click();
    QCOMPARE(m_fixture.pending(), pending);
    if (pending.isEmpty())
        return;

    QCOMPARE(m_fixture.apply(), ApplyOutcome::Applied);
    QCOMPARE(m_fixture.storedCell("connection", "RASLine"), QStringLiteral("Provider ISDN"));
    QCOMPARE(page->m_rasLine->currentText(), QStringLiteral("Provider ISDN"));
    // What the box shows is now stored: edits elsewhere leave it alone.
    typeOver(page->m_editUser, "someone");
    QCOMPARE(m_fixture.pending(), QStringList{"update connection set RASUser='someone'"});
}

void tst_WndInterCon::phonebookRefusal()
{
    m_fixture.m_server->refuse(QStringLiteral("get_phonebook"), 111);
    WndInterCon* page = build();
    QCOMPARE(m_fixture.messageTexts(), QStringList{"Operation failed."});
    const DialogRecorder::Message& box = m_fixture.m_dialogs->messages.first();
    QCOMPARE(box.caption, QStringLiteral("Error"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QMessageBox::Ok);
    QVERIFY(page->isReady());
    QCOMPARE(ConfigPageFixture::entries(page->m_rasLine), QStringList{"Provider ISDN"});

    typeOver(page->m_editUser, "someone");
    QCOMPARE(m_fixture.pending(), QStringList{"update connection set RASUser='someone'"});
}

void tst_WndInterCon::passwordPlaceholder_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("placeholder left") << QStringList{}
                                      << QStringList{"update connection set RASUser='other'"};
    QTest::newRow("cleared") << QStringList{""}
                             << QStringList{"update connection set RASUser='other', RASPassword='NUL:'"};
    QTest::newRow("placeholder typed back leaves the stored one")
        << QStringList{"dial", "PlainFillText"}
        << QStringList{"update connection set RASUser='other'"};
}

void tst_WndInterCon::passwordPlaceholder()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, pending);
    WndInterCon* page = build();
    for (const QString& text : typed)
        typeOver(page->m_editPass, text);
    typeOver(page->m_editUser, "other");
    QCOMPARE(m_fixture.pending(), pending);
}

void tst_WndInterCon::resetRestoresTheRow()
{
    WndInterCon* page = build();
    page->m_rbtnOnline->click();
    choose(page->m_rasLine, "Mobile modem");
    typeOver(page->m_editUser, "other");
    typeOver(page->m_editPass, "typed");
    m_fixture.m_ctrl->reset();
    QVERIFY(m_fixture.pending().isEmpty());
    QVERIFY(page->m_rbtnOffline->isChecked());
    QVERIFY(page->m_rasLine->isEnabled());
    QCOMPARE(page->m_rasLine->currentText(), QStringLiteral("Provider ISDN"));
    QCOMPARE(page->m_editUser->text(), QStringLiteral("corvane"));
    QCOMPARE(page->m_editPass->text(), QStringLiteral("PlainFillText"));
}

void tst_WndInterCon::rowlessTableLeavesThePageInert()
{
    m_fixture.emptyTable("connection");
    const int mark = m_fixture.journalSize();
    WndInterCon* page = build();
    QVERIFY(!page->isReady());
    QCOMPARE(m_fixture.journalSince(mark).size(), 1); // no phonebook request
    page->m_rbtnOnline->click();
    QVERIFY(m_fixture.pending().isEmpty());
}

QTEST_MAIN(tst_WndInterCon)
#include "tst_wndintercon.moc"
