// The product page: its form's banner and layout, and the facts it reads from the
// stand-in server's info table.

#include "dialogrecorder.h"
#include "standinconnection.h"
#include "tdlglogo.h"
#include "wnddlglogo.h"

#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtTest>

using namespace StandIn;

namespace {

const QStringList Labels{"Product:   ", "Operating system:   ", "Homepage:", "Notice:"};

// info rows in the fixture's column order: ProductName, Version, OsDescription, Notice,
// ProductHomepage, SSLInstalled.
QStringList infoRow(const QString& name, const QString& version, const QString& os,
                    const QString& notice, const QString& homepage)
{
    return {name, version, os, notice, homepage, QStringLiteral("1")};
}

QStringList columnTexts(const QTreeWidget* list, int column)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts.append(list->topLevelItem(i)->text(column));
    return texts;
}

QStringList headerTexts(const QTreeWidget* list)
{
    return {list->headerItem()->text(0), list->headerItem()->text(1)};
}

} // namespace

class tst_WndDlgLogo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void formPictures_data();
    void formPictures();
    void formFrameAndList();
    void formPalette_data();
    void formPalette();
    void bannerFollowsThePageSize();

    void showsTheFourFacts_data();
    void showsTheFourFacts();
    void rowsCannotBeSelected();
    void loadFailure_data();
    void loadFailure();
    void withoutConnectionOnlyTheBanner();

private:
    std::unique_ptr<TestServer> m_server;
    QList<Column> m_infoColumns;
    QList<QStringList> m_infoRows;
};

void tst_WndDlgLogo::initTestCase()
{
    m_server = startStandIn();
    m_infoColumns = m_server->columns(QStringLiteral("info"));
    m_infoRows = m_server->rows(QStringLiteral("info"));
    QCOMPARE(m_infoColumns.size(), 6);
    QCOMPARE(m_infoRows.size(), 1);
}

void tst_WndDlgLogo::init()
{
    m_server->clearControls();
    m_server->setTable(QStringLiteral("info"), m_infoColumns, m_infoRows);
}

void tst_WndDlgLogo::formPictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSizePolicy::Policy>("across");
    QTest::addColumn<QSizePolicy::Policy>("down");
    QTest::addColumn<bool>("scaled");

    using P = QSizePolicy;
    QTest::newRow("PixmapLabel2") << "PixmapLabel2" << 0 << 0 << QSize(51, 70) << P::Preferred << P::Preferred << false;
    QTest::newRow("PixmapLabel3") << "PixmapLabel3" << 0 << 1 << QSize(278, 70) << P::Preferred << P::Preferred << false;
    QTest::newRow("PixmapLabel5") << "PixmapLabel5" << 0 << 2 << QSize(2, 70) << P::Expanding << P::Fixed << true;
    QTest::newRow("PixmapLabel6") << "PixmapLabel6" << 0 << 3 << QSize(149, 70) << P::Preferred << P::Preferred << false;
    QTest::newRow("PixmapLabel7") << "PixmapLabel7" << 1 << 0 << QSize(51, 30) << P::Fixed << P::Minimum << true;
    QTest::newRow("PixmapLabel1") << "PixmapLabel1" << 2 << 0 << QSize(51, 30) << P::Fixed << P::Fixed << false;
    QTest::newRow("PixmapLabel8") << "PixmapLabel8" << 3 << 0 << QSize(51, 46) << P::Fixed << P::Fixed << false;
    QTest::newRow("PixmapLabel9") << "PixmapLabel9" << 3 << 1 << QSize(278, 46) << P::Preferred << P::Preferred << false;
    QTest::newRow("PixmapLabel11") << "PixmapLabel11" << 3 << 2 << QSize(2, 46) << P::Expanding << P::Fixed << true;
    QTest::newRow("PixmapLabel12") << "PixmapLabel12" << 3 << 3 << QSize(149, 46) << P::Preferred << P::Preferred << false;
}

void tst_WndDlgLogo::formPictures()
{
    QFETCH(QString, name);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QSize, picture);
    QFETCH(QSizePolicy::Policy, across);
    QFETCH(QSizePolicy::Policy, down);
    QFETCH(bool, scaled);

    TDlgLogo form;
    auto* label = form.findChild<QLabel*>(name);
    QVERIFY(label);
    QCOMPARE(label->parentWidget(), &form);
    QCOMPARE(label->pixmap().size(), picture);
    QCOMPARE(label->sizePolicy().horizontalPolicy(), across);
    QCOMPARE(label->sizePolicy().verticalPolicy(), down);
    QCOMPARE(label->hasScaledContents(), scaled);

    auto* grid = form.findChild<QGridLayout*>(QStringLiteral("TDlgLogoLayout"));
    QVERIFY(grid);
    QCOMPARE(grid, form.layout());
    const int index = grid->indexOf(label);
    QVERIFY(index >= 0);
    int r, c, rowSpan, columnSpan;
    grid->getItemPosition(index, &r, &c, &rowSpan, &columnSpan);
    QCOMPARE(QPoint(c, r), QPoint(column, row));
    QCOMPARE(QSize(columnSpan, rowSpan), QSize(1, 1));
}

void tst_WndDlgLogo::formFrameAndList()
{
    TDlgLogo form;
    QCOMPARE(form.objectName(), QStringLiteral("TDlgLogo"));
    QCOMPARE(TDlgLogo(nullptr, "Named").objectName(), QStringLiteral("Named"));
    QCOMPARE(form.size(), QSize(567, 449));
    QCOMPARE(form.windowTitle(), QStringLiteral("Form1"));

    auto* grid = qobject_cast<QGridLayout*>(form.layout());
    QVERIFY(grid);
    QCOMPARE(grid->contentsMargins(), QMargins());
    QCOMPARE(grid->horizontalSpacing(), 0);
    QCOMPARE(grid->verticalSpacing(), 0);
    QCOMPARE(QSize(grid->columnCount(), grid->rowCount()), QSize(4, 4));
    int r, c, rowSpan, columnSpan;
    grid->getItemPosition(grid->indexOf(form.Frame7), &r, &c, &rowSpan, &columnSpan);
    QCOMPARE(QRect(c, r, columnSpan, rowSpan), QRect(1, 1, 3, 1));

    QCOMPARE(form.Frame7->objectName(), QStringLiteral("Frame7"));
    QCOMPARE(form.Frame7->frameShape(), QFrame::NoFrame);
    QCOMPARE(form.Frame7->frameShadow(), QFrame::Raised);
    QCOMPARE(form.Frame7->lineWidth(), 0);
    auto* frameLayout = qobject_cast<QVBoxLayout*>(form.Frame7->layout());
    QVERIFY(frameLayout);
    QCOMPARE(frameLayout->objectName(), QStringLiteral("Frame7Layout"));
    QCOMPARE(frameLayout->contentsMargins(), QMargins(11, 11, 11, 11));
    QCOMPARE(frameLayout->spacing(), 6);
    QCOMPARE(frameLayout->count(), 1);
    QCOMPARE(frameLayout->itemAt(0)->widget(), form.m_list);

    QTreeWidget* list = form.m_list;
    QCOMPARE(list->objectName(), QStringLiteral("m_list"));
    QCOMPARE(list->parentWidget(), form.Frame7);
    QCOMPARE(headerTexts(list), (QStringList{"Column 1", "Column 2"}));
    QCOMPARE(list->columnCount(), 2);
    QCOMPARE(list->maximumSize(), QSize(32767, 500));
    QCOMPARE(list->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(list->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(list->frameShape(), QFrame::NoFrame);
    QCOMPARE(list->frameShadow(), QFrame::Plain);
    QCOMPARE(list->lineWidth(), 0);
    QCOMPARE(list->midLineWidth(), 2);
    QCOMPARE(list->selectionMode(), QAbstractItemView::NoSelection);
    QVERIFY(list->allColumnsShowFocus());
    QVERIFY(!list->rootIsDecorated());
    QVERIFY(!list->isHeaderHidden());
}

void tst_WndDlgLogo::formPalette_data()
{
    QTest::addColumn<QPalette::ColorGroup>("group");
    QTest::addColumn<QPalette::ColorRole>("role");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("active background") << QPalette::Active << QPalette::Window << QColor(Qt::white);
    QTest::newRow("active base") << QPalette::Active << QPalette::Base << QColor(Qt::white);
    QTest::newRow("active foreground") << QPalette::Active << QPalette::WindowText << QColor(Qt::black);
    QTest::newRow("disabled foreground") << QPalette::Disabled << QPalette::WindowText << QColor(128, 128, 128);
    QTest::newRow("disabled text") << QPalette::Disabled << QPalette::Text << QColor(128, 128, 128);
    QTest::newRow("disabled button text") << QPalette::Disabled << QPalette::ButtonText << QColor(128, 128, 128);
    QTest::newRow("button") << QPalette::Inactive << QPalette::Button << QColor(162, 200, 169);
    QTest::newRow("light") << QPalette::Disabled << QPalette::Light << QColor(252, 255, 253);
    QTest::newRow("active midlight") << QPalette::Active << QPalette::Midlight << QColor(207, 227, 211);
    QTest::newRow("inactive midlight") << QPalette::Inactive << QPalette::Midlight << QColor(187, 230, 195);
    QTest::newRow("dark") << QPalette::Active << QPalette::Dark << QColor(81, 100, 85);
    QTest::newRow("mid") << QPalette::Disabled << QPalette::Mid << QColor(108, 133, 113);
    QTest::newRow("bright text") << QPalette::Disabled << QPalette::BrightText << QColor(Qt::white);
    QTest::newRow("shadow") << QPalette::Inactive << QPalette::Shadow << QColor(Qt::black);
    QTest::newRow("highlight") << QPalette::Active << QPalette::Highlight << QColor(0, 0, 128);
    QTest::newRow("highlighted text") << QPalette::Active << QPalette::HighlightedText << QColor(Qt::white);
    QTest::newRow("active link") << QPalette::Active << QPalette::Link << QColor(Qt::black);
    QTest::newRow("inactive link") << QPalette::Inactive << QPalette::Link << QColor(0, 0, 255);
    QTest::newRow("active visited link") << QPalette::Active << QPalette::LinkVisited << QColor(Qt::black);
    QTest::newRow("disabled visited link") << QPalette::Disabled << QPalette::LinkVisited << QColor(255, 0, 255);
}

void tst_WndDlgLogo::formPalette()
{
    QFETCH(QPalette::ColorGroup, group);
    QFETCH(QPalette::ColorRole, role);
    QFETCH(QColor, colour);

    TDlgLogo form;
    QCOMPARE(form.palette().color(group, role), colour);
    QCOMPARE(form.Frame7->palette().color(group, role), colour);
    QVERIFY(form.autoFillBackground());
    QVERIFY(form.Frame7->autoFillBackground());
}

void tst_WndDlgLogo::bannerFollowsThePageSize()
{
    TDlgLogo form;
    form.resize(900, 1400);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    // Only the 2-pixel pieces of column 2 widen; the corners keep their size.
    QCOMPARE(form.PixmapLabel3->width(), 278);
    QCOMPARE(form.PixmapLabel6->width(), 149);
    QCOMPARE(form.PixmapLabel5->width(), 900 - 51 - 278 - 149);
    QCOMPARE(form.PixmapLabel11->width(), 900 - 51 - 278 - 149);
    QCOMPARE(form.PixmapLabel2->size(), QSize(51, 70));
    QCOMPARE(form.PixmapLabel8->size(), QSize(51, 46));
    QCOMPARE(form.PixmapLabel1->size(), QSize(51, 30));
    QCOMPARE(form.PixmapLabel12->size(), QSize(149, 46));
    // The left column's middle piece takes the height that is left.
    QCOMPARE(form.PixmapLabel7->height(), 1400 - 70 - 30 - 46);
    QCOMPARE(form.PixmapLabel8->y(), 1400 - 46);
    // The list stops growing at 500 pixels.
    QCOMPARE(form.m_list->height(), 500);
    QCOMPARE(form.m_list->width(), 900 - 51 - 2 * 11);
}

void tst_WndDlgLogo::showsTheFourFacts_data()
{
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QStringList>("values");

    QTest::newRow("demo server") << m_infoRows
                                 << QStringList{"Ornel Corvane 5.0",
                                                "Linux 6.1.0-18-amd64 x86_64 (Debian GNU/Linux 12)",
                                                "http://www.corvane.example/",
                                                "Registered to Corvane Example Ltd. - 50 mailboxes"};
    QTest::newRow("an empty value keeps its row")
        << QList<QStringList>{infoRow("Mailer", "6.2", "", "Unregistered", "")}
        << QStringList{"Mailer 6.2", "", "", "Unregistered"};
    QTest::newRow("texts as the server gives them")
        << QList<QStringList>{infoRow(QString::fromUtf8("Corvan\xc3\xa9"), "5.1 beta",
                                      "  spaced  ", "100% <b>sure</b>", "https://example.net/a?b=c")}
        << QStringList{QString::fromUtf8("Corvan\xc3\xa9 5.1 beta"), "  spaced  ", "https://example.net/a?b=c",
                       "100% <b>sure</b>"};
    QTest::newRow("the first row counts")
        << QList<QStringList>{infoRow("First", "1", "os1", "n1", "h1"), infoRow("Second", "2", "os2", "n2", "h2")}
        << QStringList{"First 1", "os1", "h1", "n1"};
    QTest::newRow("no row at all") << QList<QStringList>() << QStringList{"", "", "", ""};
}

void tst_WndDlgLogo::showsTheFourFacts()
{
    QFETCH(QList<QStringList>, rows);
    QFETCH(QStringList, values);

    m_server->setTable(QStringLiteral("info"), m_infoColumns, rows);

    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    DialogRecorder recorder;
    QWidget pane;
    WndDlgLogo page(&pane, conn.get(), nullptr, nullptr);

    QCOMPARE(recorder.messageTexts(), QStringList());
    QCOMPARE(m_server->journal().last().statement,
             QStringLiteral("select ProductName, Version, OsDescription, Notice, ProductHomepage from info"));
    QCOMPARE(page.parentWidget(), &pane);
    QCOMPARE(page.objectName(), QStringLiteral("TDlgLogo"));
    QVERIFY(!page.m_list->isHidden());
    QVERIFY(page.m_list->isHeaderHidden());
    QVERIFY(!page.m_list->isSortingEnabled());
    QCOMPARE(columnTexts(page.m_list, 0), Labels);
    QCOMPARE(columnTexts(page.m_list, 1), values);

    // Filled again, the list still holds the four rows once.
    page.updateData();
    QCOMPARE(columnTexts(page.m_list, 0), Labels);
    QCOMPARE(columnTexts(page.m_list, 1), values);
}

void tst_WndDlgLogo::rowsCannotBeSelected()
{
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    WndDlgLogo page(nullptr, conn.get(), nullptr, nullptr);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    QTreeWidgetItem* second = page.m_list->topLevelItem(1);
    QVERIFY(second);
    const QRect rect = page.m_list->visualItemRect(second);
    QVERIFY(rect.isValid());
    QTest::mouseClick(page.m_list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(page.m_list->viewport(), Qt::LeftButton, {}, rect.center());
    QVERIFY(page.m_list->selectedItems().isEmpty());
    QCOMPARE(columnTexts(page.m_list, 0), Labels);
}

void tst_WndDlgLogo::loadFailure_data()
{
    QTest::addColumn<bool>("drop");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QString>("text");

    QTest::newRow("refused") << false << QMessageBox::Warning << "Query failed: Access denied";
    QTest::newRow("connection lost") << true << QMessageBox::Critical
                                     << "Connection failed!\nConsole was disconnected from 127.0.0.1.";
}

void tst_WndDlgLogo::loadFailure()
{
    QFETCH(bool, drop);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QString, text);

    if (drop)
        QVERIFY(m_server->dropAt(QStringLiteral("from info"), 1));
    else
        QVERIFY(m_server->refuse(QStringLiteral("from info"), 113, 1));
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    DialogRecorder recorder;
    WndDlgLogo page(nullptr, conn.get(), nullptr, nullptr);

    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages[0].icon, icon);
    QCOMPARE(recorder.messages[0].caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(recorder.messages[0].text, text);
    QCOMPARE(conn->m_lost, drop);
    // The banner and an empty list whose header still shows.
    QVERIFY(!page.m_list->isHidden());
    QCOMPARE(page.m_list->topLevelItemCount(), 0);
    QVERIFY(!page.m_list->isHeaderHidden());
    QCOMPARE(headerTexts(page.m_list), (QStringList{"Column 1", "Column 2"}));
    QCOMPARE(page.PixmapLabel3->pixmap().size(), QSize(278, 70));
}

void tst_WndDlgLogo::withoutConnectionOnlyTheBanner()
{
    const int statements = m_server->journal().size();
    DialogRecorder recorder;
    QWidget pane;
    WndDlgLogo page(&pane, nullptr, nullptr, nullptr, "Product", Qt::Widget);
    QVERIFY(page.m_list->isHidden());
    QCOMPARE(page.m_list->topLevelItemCount(), 0);
    QVERIFY(recorder.messages.isEmpty());
    QCOMPARE(m_server->journal().size(), statements);
    QCOMPARE(page.objectName(), QStringLiteral("Product"));
    for (QLabel* picture : page.findChildren<QLabel*>())
        QVERIFY(!picture->isHidden());
    QCOMPARE(page.findChildren<QLabel*>().size(), 10);
}

QTEST_MAIN(tst_WndDlgLogo)
#include "tst_wnddlglogo.moc"
