#include "wizard.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

#include <memory>

// The wizard of the add commands: its button rules page by page, its titles and signals,
// and finishing from any page through the button that reads "&Finish".
class TestWizard : public QObject
{
    Q_OBJECT

private slots:
    void buttonsOnEachPage_data();
    void buttonsOnEachPage();
    void buttonTextsOnEveryPage();
    void finishAcceptsFromAnyPage_data();
    void finishAcceptsFromAnyPage();
    void cancelRejects();
    void selectedOnEveryPageChange();
    void inappropriatePagesAreSteppedOver_data();
    void inappropriatePagesAreSteppedOver();
    void nextEnablingIsThePagesAndReopensOnArrival();
    void finishEnabledWithoutNextStandsInNextsPlace();
    void receiverOfSelectedSeesTheNewPagesButtons();
    void firstPageIsShownWithTheWizard();
};

namespace {

struct FourPages
{
    std::unique_ptr<Wizard> wizard = std::make_unique<Wizard>();
    QList<QWidget*> pages;

    explicit FourPages(int count = 4)
    {
        for (int i = 0; i < count; ++i) {
            auto* page = new QWidget;
            pages.append(page);
            wizard->addPage(page, QStringLiteral("Page %1 of %2").arg(i + 1).arg(count));
        }
        QObject::connect(wizard.get(), &Wizard::helpClicked, wizard.get(), &QDialog::accept);
        wizard->show();
    }

    void goTo(int index)
    {
        while (wizard->indexOf(wizard->currentPage()) < index)
            wizard->nextButton()->click();
    }

    QString titleShown() const { return wizard->findChild<QLabel*>(QStringLiteral("title"))->text(); }
};

} // namespace

void TestWizard::buttonsOnEachPage_data()
{
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<bool>("backEnabled");
    QTest::addColumn<bool>("nextShown");
    QTest::addColumn<bool>("finishShown");
    QTest::addColumn<QString>("focused");

    QTest::newRow("first page") << 0 << false << true << false << "next";
    QTest::newRow("second page") << 1 << true << true << false << "next";
    QTest::newRow("third page") << 2 << true << true << false << "next";
    QTest::newRow("last page") << 3 << true << false << true << "help";
}

void TestWizard::buttonsOnEachPage()
{
    QFETCH(int, pageIndex);
    QFETCH(bool, backEnabled);
    QFETCH(bool, nextShown);
    QFETCH(bool, finishShown);
    QFETCH(QString, focused);

    FourPages w;
    w.goTo(pageIndex);
    Wizard& wizard = *w.wizard;

    QCOMPARE(wizard.indexOf(wizard.currentPage()), pageIndex);
    QCOMPARE(wizard.backButton()->isEnabled(), backEnabled);
    QCOMPARE(wizard.nextButton()->isVisible(), nextShown);
    QCOMPARE(wizard.finishButton()->isVisible(), finishShown);
    // The button in Next's place: enabled on the way, disabled at the end.
    QCOMPARE(wizard.nextButton()->isEnabled(), true);
    QCOMPARE(wizard.finishButton()->isEnabled(), false);
    QCOMPARE(wizard.helpButton()->isEnabled(), true);
    QVERIFY(wizard.focusWidget());
    QCOMPARE(wizard.focusWidget()->objectName(), focused);
    QCOMPARE(w.titleShown(), QStringLiteral("Page %1 of 4").arg(pageIndex + 1));
}

void TestWizard::buttonTextsOnEveryPage()
{
    FourPages w;
    for (int index = 0; index < 4; ++index) {
        w.goTo(index);
        const Wizard& wizard = *w.wizard;
        QCOMPARE(wizard.cancelButton()->text(), QStringLiteral("&Cancel"));
        QCOMPARE(wizard.backButton()->text(), QStringLiteral("< &Back"));
        QCOMPARE(wizard.nextButton()->text(), QStringLiteral("&Next >"));
        QCOMPARE(wizard.finishButton()->text(), QStringLiteral("&Next >"));
        QCOMPARE(wizard.helpButton()->text(), QStringLiteral("&Finish"));
        QVERIFY(wizard.helpButton()->isVisible());
    }
}

void TestWizard::finishAcceptsFromAnyPage_data()
{
    QTest::addColumn<int>("pageIndex");
    for (int index = 0; index < 4; ++index)
        QTest::addRow("page %d", index + 1) << index;
}

void TestWizard::finishAcceptsFromAnyPage()
{
    QFETCH(int, pageIndex);
    FourPages w;
    w.goTo(pageIndex);
    QSignalSpy help(w.wizard.get(), &Wizard::helpClicked);

    w.wizard->helpButton()->click();

    QCOMPARE(help.count(), 1);
    QCOMPARE(w.wizard->result(), int(QDialog::Accepted));
    QVERIFY(!w.wizard->isVisible());
}

void TestWizard::cancelRejects()
{
    FourPages w;
    w.goTo(2);
    QSignalSpy help(w.wizard.get(), &Wizard::helpClicked);

    w.wizard->cancelButton()->click();

    QCOMPARE(w.wizard->result(), int(QDialog::Rejected));
    QCOMPARE(help.count(), 0);
}

void TestWizard::selectedOnEveryPageChange()
{
    Wizard wizard;
    wizard.addPage(new QWidget, QStringLiteral("General - page 1 of 3"));
    wizard.addPage(new QWidget, QStringLiteral("Users - page 2 of 3"));
    wizard.addPage(new QWidget, QStringLiteral("Rights - page 3 of 3"));
    QSignalSpy selected(&wizard, &Wizard::selected);

    wizard.show();
    wizard.nextButton()->click();
    wizard.nextButton()->click();
    wizard.backButton()->click();
    wizard.backButton()->click();
    wizard.backButton()->click(); // disabled on the first page: nothing happens

    const QStringList expected{"General - page 1 of 3", "Users - page 2 of 3", "Rights - page 3 of 3",
                               "Users - page 2 of 3", "General - page 1 of 3"};
    QStringList titles;
    for (const QList<QVariant>& call : selected)
        titles.append(call.at(0).toString());
    QCOMPARE(titles, expected);
}

void TestWizard::inappropriatePagesAreSteppedOver_data()
{
    QTest::addColumn<QList<bool>>("appropriate");
    QTest::addColumn<QList<int>>("visitedByNext");
    QTest::addColumn<bool>("backOnSecondVisited");

    QTest::newRow("all appropriate") << QList<bool>{true, true, true, true} << QList<int>{0, 1, 2, 3} << true;
    QTest::newRow("second skipped") << QList<bool>{true, false, true, true} << QList<int>{0, 2, 3} << true;
    // Back leads nowhere when every earlier page is out of the way.
    QTest::newRow("first out of the way")
        << QList<bool>{false, true, true, true} << QList<int>{0, 1, 2, 3} << false;
}

void TestWizard::inappropriatePagesAreSteppedOver()
{
    QFETCH(QList<bool>, appropriate);
    QFETCH(QList<int>, visitedByNext);
    QFETCH(bool, backOnSecondVisited);

    FourPages w;
    for (int i = 0; i < 4; ++i)
        w.wizard->setAppropriate(w.pages.at(i), appropriate.at(i));

    QList<int> visited{w.wizard->indexOf(w.wizard->currentPage())};
    bool backOnSecond = false;
    while (w.wizard->nextButton()->isVisible()) {
        w.wizard->nextButton()->click();
        visited.append(w.wizard->indexOf(w.wizard->currentPage()));
        if (visited.size() == 2)
            backOnSecond = w.wizard->backButton()->isEnabled();
    }
    QCOMPARE(visited, visitedByNext);
    QCOMPARE(backOnSecond, backOnSecondVisited);
    QCOMPARE(w.wizard->appropriate(w.pages.at(1)), appropriate.at(1));
}

void TestWizard::nextEnablingIsThePagesAndReopensOnArrival()
{
    FourPages w;
    Wizard& wizard = *w.wizard;

    wizard.setNextEnabled(w.pages.at(1), false); // not the current page: no effect yet
    QVERIFY(wizard.nextButton()->isEnabled());
    wizard.setNextEnabled(w.pages.at(0), false);
    QVERIFY(!wizard.nextButton()->isEnabled());
    wizard.nextButton()->click();
    QCOMPARE(wizard.currentPage(), w.pages.at(0));

    wizard.setNextEnabled(w.pages.at(0), true);
    wizard.nextButton()->click();
    wizard.setNextEnabled(w.pages.at(1), false);
    wizard.backButton()->click();
    // Every arrival opens the way on again.
    QVERIFY(wizard.nextButton()->isEnabled());
    wizard.nextButton()->click();
    QVERIFY(wizard.nextButton()->isEnabled());
}

void TestWizard::finishEnabledWithoutNextStandsInNextsPlace()
{
    FourPages w;
    Wizard& wizard = *w.wizard;
    w.goTo(1);

    wizard.setFinishEnabled(w.pages.at(1), true);
    QVERIFY(wizard.nextButton()->isVisible());
    wizard.setNextEnabled(w.pages.at(1), false);
    QVERIFY(!wizard.nextButton()->isVisible());
    QVERIFY(wizard.finishButton()->isVisible());
    QVERIFY(wizard.finishButton()->isEnabled());

    w.goTo(0); // nothing: the next button is hidden, the way on shut
    wizard.setNextEnabled(w.pages.at(1), true);
    w.goTo(3);
    wizard.setFinishEnabled(w.pages.at(3), true);
    QVERIFY(wizard.finishButton()->isEnabled());
    QVERIFY(wizard.finishButton()->isDefault());
}

void TestWizard::receiverOfSelectedSeesTheNewPagesButtons()
{
    FourPages w;
    Wizard& wizard = *w.wizard;
    QList<bool> backWhenSelected;
    QList<bool> finishShownWhenSelected;
    connect(&wizard, &Wizard::selected, this, [&] {
        backWhenSelected.append(wizard.backButton()->isEnabled());
        finishShownWhenSelected.append(!wizard.finishButton()->isHidden());
    });

    w.goTo(3);
    wizard.backButton()->click();

    QCOMPARE(backWhenSelected, (QList<bool>{true, true, true, true}));
    QCOMPARE(finishShownWhenSelected, (QList<bool>{false, false, true, false}));
}

void TestWizard::firstPageIsShownWithTheWizard()
{
    Wizard wizard;
    auto* first = new QWidget;
    wizard.addPage(first, QStringLiteral("One"));
    wizard.addPage(new QWidget, QStringLiteral("Two"));
    QSignalSpy selected(&wizard, &Wizard::selected);

    QCOMPARE(wizard.currentPage(), first);
    QCOMPARE(selected.count(), 0);
    wizard.show();
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0).at(0).toString(), QStringLiteral("One"));
    QVERIFY(!wizard.backButton()->isEnabled());
    QCOMPARE(wizard.findChild<QStackedWidget*>()->currentWidget(), first);
}

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
