// The rows of the POP3 account list: their cells, the encodings of the stored numbers and
// of the delivery column, and their order.

#include "deliverycolumns.h"
#include "itemlist.h"
#include "qpop3item.h"

#include <QTreeWidget>
#include <QtTest>

using DeliveryFixture::row;

namespace {

const QList<int> allColumns{QPop3Item::Server,      QPop3Item::User,        QPop3Item::Delivery,
                            QPop3Item::Authentication, QPop3Item::MaxMessages, QPop3Item::Description,
                            QPop3Item::SslMode,     QPop3Item::Port};

// The list with the account columns; the rows live as long as it.
struct Pop3List : ItemList<QPop3Item>
{
    explicit Pop3List(const QList<int>& shown = allColumns)
        : ItemList(shown)
    {
    }

    // user, server, port, description, sslmode, mbox, auth_type, password, max_msgcount
    QPop3Item* add(const QStringList& texts)
    {
        rows.push_back(row(dbcol_pop3, texts));
        auto* item = new QPop3Item(&view, rows.back().get(), &cols);
        item->show();
        return item;
    }
};

QStringList account(const QString& user, const QString& server, const QString& mbox = QString(),
                    const QString& auth = "0", const QString& ssl = "0", const QString& max = QString(),
                    const QString& port = "110")
{
    return {user, server, port, "desc", ssl, mbox, auth, "NUL:", max};
}

} // namespace

class TestQPop3Item : public QObject
{
    Q_OBJECT

private slots:
    void defaultColumns();
    void cells_data();
    void cells();
    void numberNames_data();
    void numberNames();
    void mboxForms_data();
    void mboxForms();
    void numericColumnsSortByValue_data();
    void numericColumnsSortByValue();
    void equalCellsFollowServerThenUser();
    void hiddenServerLeavesItsPartEmpty();
};

void TestQPop3Item::defaultColumns()
{
    Cols cols;
    QPop3Item::addColumns(cols);
    QCOMPARE(cols.titles, (QList<QString>{"POP3 Server", "POP3 User", "Delivery", "Authentication", "Max msg.",
                                      "Description", "SSL Mode", "Port"}));
    QCOMPARE(cols.showFlags, (QList<int>{1, 1, 1, 0, 0, 1, 0, 0}));
}

void TestQPop3Item::cells_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QStringList>("texts"); // the view columns left to right

    QTest::newRow("address, plain, no SSL")
        << account("ann", "pop.isp.example", "sales", "0", "0", "50", "110")
        << QStringList{"pop.isp.example", "ann", "To mailbox sales", "Plain", "50", "desc", "", "110"};
    QTest::newRow("header, APOP, special port")
        << account("bob", "mail.example", "{Received}", "1", "1", "", "995")
        << QStringList{"mail.example", "bob", "Sort with header \"Received\"", "APOP", "", "desc", "Special port", "995"};
    QTest::newRow("STLS, unknown authentication")
        << account("cid", "mail.example", "", "5", "2")
        << QStringList{"mail.example", "cid", "", "", "", "desc", "STLS command", "110"};
    QTest::newRow("null numbers read as 0")
        << account("dan", "mail.example", "x@y.example", QString(), QString())
        << QStringList{"mail.example", "dan", "To mailbox x@y.example", "Plain", "", "desc", "", "110"};
}

void TestQPop3Item::cells()
{
    QFETCH(QStringList, values);
    QFETCH(QStringList, texts);

    Pop3List list;
    QPop3Item* item = list.add(values);
    QCOMPARE(list.onScreen(item), texts);
    QVERIFY(!item->icon(0).isNull());
}

void TestQPop3Item::numberNames_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("auth");
    QTest::addColumn<QString>("ssl");

    QTest::newRow("0") << 0 << "Plain" << "";
    QTest::newRow("1") << 1 << "APOP" << "Special port";
    QTest::newRow("2") << 2 << "" << "STLS command";
    QTest::newRow("-1") << -1 << "" << "";
}

void TestQPop3Item::numberNames()
{
    QFETCH(int, number);
    QFETCH(QString, auth);
    QFETCH(QString, ssl);

    QCOMPARE(QPop3Item::getAuthAsString(number), auth);
    QCOMPARE(QPop3Item::getSSLAsString(number), ssl);
    // Back again: a name reads as its number, anything else as 0.
    QCOMPARE(QPop3Item::getAuthAsInt(auth), auth == "APOP" ? 1 : 0);
    QCOMPARE(QPop3Item::getSSLAsInt(ssl), ssl.isEmpty() ? 0 : number);
}

void TestQPop3Item::mboxForms_data()
{
    QTest::addColumn<QString>("mbox");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("opensAsHeader");
    QTest::addColumn<QString>("header");

    QTest::newRow("header") << "{Received}" << "Sort with header \"Received\"" << true << "Received";
    QTest::newRow("empty header") << "{}" << "Sort with header \"\"" << true << "";
    QTest::newRow("unclosed header keeps its last letter")
        << "{X-Envelope-To" << "Sort with header \"X-Envelope-To\"" << true << "X-Envelope-To";
    QTest::newRow("one letter unclosed") << "{X" << "Sort with header \"X\"" << true << "X";
    QTest::newRow("lone brace: listed as a header, opened as an address")
        << "{" << "Sort with header \"\"" << false << "";
    QTest::newRow("address") << "sales" << "To mailbox sales" << false << "";
    QTest::newRow("group") << "[sales]" << "To mailbox [sales]" << false << "";
    QTest::newRow("empty") << "" << "" << false << "";
}

void TestQPop3Item::mboxForms()
{
    QFETCH(QString, mbox);
    QFETCH(QString, cell);
    QFETCH(bool, opensAsHeader);
    QFETCH(QString, header);

    Pop3List list({QPop3Item::Delivery});
    QCOMPARE(list.add(account("u", "s", mbox))->text(0), cell);
    QCOMPARE(QPop3Item::opensAsHeader(mbox), opensAsHeader);
    if (opensAsHeader) {
        QCOMPARE(QPop3Item::headerOf(mbox), header);
        // What the dialog writes back for that header reads as the same header again.
        QCOMPARE(QPop3Item::headerOf(QPop3Item::mboxOfHeader(header)), header);
    }
}

void TestQPop3Item::numericColumnsSortByValue_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("messages") << int(QPop3Item::MaxMessages) << QStringList{"300", "5", "40"}
                              << QStringList{"5", "40", "300"};
    QTest::newRow("seven digits by value too") << int(QPop3Item::MaxMessages)
                                               << QStringList{"1000000", "300", "200000", "5"}
                                               << QStringList{"5", "300", "200000", "1000000"};
    QTest::newRow("negative first") << int(QPop3Item::MaxMessages) << QStringList{"7", "-20", "-3"}
                                    << QStringList{"-20", "-3", "7"};
    QTest::newRow("ports") << int(QPop3Item::Port) << QStringList{"995", "110", "25"}
                           << QStringList{"25", "110", "995"};
    QTest::newRow("description as text") << int(QPop3Item::Description) << QStringList{"b", "a10", "a9"}
                                         << QStringList{"a10", "a9", "b"};
}

void TestQPop3Item::numericColumnsSortByValue()
{
    QFETCH(int, id);
    QFETCH(QStringList, values);
    QFETCH(QStringList, sorted);

    Pop3List list;
    for (int i = 0; i < values.size(); ++i) {
        QStringList texts = account(QString::number(i), "s");
        const int column = id == QPop3Item::MaxMessages ? 8 : id == QPop3Item::Port ? 2 : 3;
        texts[column] = values.at(i);
        list.add(texts);
    }
    list.sortBy(id);
    QCOMPARE(list.columnOf(id), sorted);
}

void TestQPop3Item::equalCellsFollowServerThenUser()
{
    Pop3List list;
    list.add(account("ann", "c.example"));
    list.add(account("bob", "a.example"));
    list.add(account("ann", "a.example"));
    list.add(account("ann", "b.example"));
    list.sortBy(QPop3Item::User);
    QCOMPARE(list.columnOf(QPop3Item::Server),
             (QStringList{"a.example", "b.example", "c.example", "a.example"}));
    QPop3Item* first = static_cast<QPop3Item*>(list.view.topLevelItem(0));
    QCOMPARE(first->key(list.cols.dispinv.at(QPop3Item::Port), true),
             QStringLiteral("0000000110") + QString(16, ' ') + "a.example" + QString(16, ' ') + "ann");
}

void TestQPop3Item::hiddenServerLeavesItsPartEmpty()
{
    Pop3List list({QPop3Item::User, QPop3Item::MaxMessages});
    QPop3Item* item = list.add(account("ann", "pop.example", "", "0", "0", "7"));
    QVERIFY(item->icon(0).isNull());
    QCOMPARE(item->key(1, true), QStringLiteral("0000000007") + QString(16, ' ') + QString(16, ' ') + "ann");
}

QTEST_MAIN(TestQPop3Item)
#include "tst_qpop3item.moc"
