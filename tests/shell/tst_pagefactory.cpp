// The table of the pages the navigation tree opens: which page classes it accepts for
// which item, and what it builds.

#include "pagefactory.h"
#include "recordingpages.h"

#include <QtTest>

using Order = PageFactory::ArgumentOrder;

Q_DECLARE_METATYPE(PageKind)
Q_DECLARE_METATYPE(PageFactory::ArgumentOrder)

namespace {

// A page with two of the orders, as a class serving two items could have.
class TwoConstructorPage : public QWidget
{
    Q_OBJECT

public:
    TwoConstructorPage(QWidget* parent, DBConn*, DBCtrl*, Desktop*, const char*, Qt::WindowFlags)
        : QWidget(parent)
    {
        setProperty("order", QStringLiteral("standard"));
    }
    TwoConstructorPage(QWidget* parent, DBConn*, DBCtrl*, const char*, Qt::WindowFlags, Desktop*)
        : QWidget(parent)
    {
        setProperty("order", QStringLiteral("desktop last"));
    }
};

} // namespace

class tst_PageFactory : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void specFindsEveryKind();

    void registrationRefusesAnotherOrder_data();
    void registrationRefusesAnotherOrder();
    void classWithTwoOrdersServesBoth();
    void unregisteredKindBuildsNothing();
    void laterRegistrationReplacesTheEarlier();
};

void tst_PageFactory::cleanup()
{
    for (const PageFactory::PageSpec& page : PageFactory::pages())
        PageFactory::unregisterPage(page.kind);
    receivedArguments().clear();
}

// The argument orders, names and bars are walked item by item through the main window
// (tst_wndmainpages); here only what the table itself promises.
void tst_PageFactory::specFindsEveryKind()
{
    const QList<PageFactory::PageSpec>& pages = PageFactory::pages();
    for (int i = 0; i < pages.size(); ++i) {
        QCOMPARE(int(pages.at(i).kind), i);
        QCOMPARE(&PageFactory::spec(pages.at(i).kind), &pages.at(i));
        QCOMPARE(PageFactory::title(pages.at(i).kind), QString::fromLatin1(pages.at(i).title));
    }
    QCOMPARE(pages.size(), int(PageKind::Connections) + 1);
}

void tst_PageFactory::registrationRefusesAnotherOrder_data()
{
    QTest::addColumn<PageKind>("kind");
    QTest::addColumn<Order>("offered");
    QTest::addColumn<QString>("warning");

    QTest::newRow("standard page for SMTP")
        << PageKind::SmtpProperties << Order::Standard
        << "PageFactory: StandardOrderPage cannot be the page \"SMTP Properties\": it has no "
           "constructor (parent, conn, ctrl, name, flags)";
    QTest::newRow("page without workspace for Users")
        << PageKind::Users << Order::WithoutDesktop
        << "PageFactory: NoDesktopPage cannot be the page \"Users\": it has no constructor "
           "(parent, conn, ctrl, desktop, name, flags)";
    QTest::newRow("workspace-last page for Antispam")
        << PageKind::Antispam << Order::DesktopLast
        << "PageFactory: DesktopLastPage cannot be the page \"Antispam\": it has no constructor "
           "(parent, conn, desktop, ctrl, name, flags)";
    QTest::newRow("workspace-first page for Time Ranges")
        << PageKind::TimeRanges << Order::DesktopBeforeCtrl
        << "PageFactory: DesktopFirstPage cannot be the page \"Time Ranges\": it has no "
           "constructor (parent, conn, ctrl, name, flags, desktop)";
}

void tst_PageFactory::registrationRefusesAnotherOrder()
{
    QFETCH(PageKind, kind);
    QFETCH(Order, offered);
    QFETCH(QString, warning);

    QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
    bool registered = true;
    switch (offered) {
    case Order::Standard:
        registered = PageFactory::registerPage<StandardOrderPage>(kind);
        break;
    case Order::WithoutDesktop:
        registered = PageFactory::registerPage<NoDesktopPage>(kind);
        break;
    case Order::DesktopBeforeCtrl:
        registered = PageFactory::registerPage<DesktopFirstPage>(kind);
        break;
    case Order::DesktopLast:
        registered = PageFactory::registerPage<DesktopLastPage>(kind);
        break;
    }
    QVERIFY(!registered);
    QVERIFY(!PageFactory::isRegistered(kind));
    QWidget container;
    QVERIFY(!PageFactory::build(kind, &container, nullptr, nullptr, nullptr));
    QVERIFY(receivedArguments().isEmpty());
}

void tst_PageFactory::classWithTwoOrdersServesBoth()
{
    QVERIFY(PageFactory::registerPage<TwoConstructorPage>(PageKind::Users));
    QVERIFY(PageFactory::registerPage<TwoConstructorPage>(PageKind::TimeRanges));
    QWidget container;
    QWidget* users = PageFactory::build(PageKind::Users, &container, nullptr, nullptr, nullptr);
    QWidget* ranges = PageFactory::build(PageKind::TimeRanges, &container, nullptr, nullptr, nullptr);
    QVERIFY(users && ranges);
    QCOMPARE(users->property("order").toString(), QStringLiteral("standard"));
    QCOMPARE(ranges->property("order").toString(), QStringLiteral("desktop last"));
}

void tst_PageFactory::unregisteredKindBuildsNothing()
{
    QWidget container;
    for (const PageFactory::PageSpec& page : PageFactory::pages()) {
        QVERIFY(!PageFactory::isRegistered(page.kind));
        QVERIFY(!PageFactory::build(page.kind, &container, nullptr, nullptr, nullptr));
    }
    QVERIFY(container.children().isEmpty());
}

void tst_PageFactory::laterRegistrationReplacesTheEarlier()
{
    QVERIFY(PageFactory::registerPage<StandardOrderPage>(PageKind::Groups));
    QVERIFY(PageFactory::registerPage<TwoConstructorPage>(PageKind::Groups));
    QWidget container;
    QWidget* page = PageFactory::build(PageKind::Groups, &container, nullptr, nullptr, nullptr);
    QVERIFY(qobject_cast<TwoConstructorPage*>(page));
    QVERIFY(receivedArguments().isEmpty());

    PageFactory::unregisterPage(PageKind::Groups);
    QVERIFY(!PageFactory::isRegistered(PageKind::Groups));
    QVERIFY(!PageFactory::build(PageKind::Groups, &container, nullptr, nullptr, nullptr));
}

QTEST_MAIN(tst_PageFactory)
#include "tst_pagefactory.moc"
