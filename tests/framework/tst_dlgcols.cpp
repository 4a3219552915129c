#include "colsfixture.h"
#include "dialogrecorder.h"
#include "dlgcols.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

namespace {

QStringList entries(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}

IntList selectedRows(const QListWidget* list)
{
    IntList rows;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected())
            rows.append(row);
    }
    return rows;
}

void select(QListWidget* list, const IntList& rows)
{
    list->clearSelection();
    for (int row : rows)
        list->item(row)->setSelected(true);
}

// What the lists must show for a model: the titles of its ids, -1s left out.
QStringList titlesOf(const Cols& model, const IntList& ids)
{
    QStringList titles;
    for (int id : ids) {
        if (id != -1)
            titles.append(model.titles.at(id));
    }
    return titles;
}

void compareListsWithModel(const DlgCols& dialog)
{
    const Cols model = dialog.getCols();
    QCOMPARE(entries(dialog.m_listDisplayed), titlesOf(model, model.cols));
    QCOMPARE(entries(dialog.m_listHidden), titlesOf(model, model.hid));
}

void showActive(QWidget* dialog)
{
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
}

} // namespace

class TestDlgCols : public QObject
{
    Q_OBJECT

private slots:
    void formTexts_data();
    void formTexts();
    void formProperties();
    void formCancelRejects();

    void setCols_data();
    void setCols();
    void addAndRemove_data();
    void addAndRemove();
    void upAndDown_data();
    void upAndDown();
    void reset();
    void ok_data();
    void ok();
    void activationMovesTheSelection_data();
    void activationMovesTheSelection();
};

void TestDlgCols::formTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("TextLabel1_2") << "TextLabel1_2" << "Hidden columns:";
    QTest::newRow("TextLabel2") << "TextLabel2" << "Displayed columns:";
    QTest::newRow("m_btnAdd") << "m_btnAdd" << "A&dd ->";
    QTest::newRow("m_btnRemove") << "m_btnRemove" << "<- &Remove";
    QTest::newRow("m_btnReset") << "m_btnReset" << "Re&set";
    QTest::newRow("m_btnUp") << "m_btnUp" << "Move &Up";
    QTest::newRow("m_btnDown") << "m_btnDown" << "Move &Down";
    QTest::newRow("m_btnOK") << "m_btnOK" << "OK";
    QTest::newRow("m_btnCancel") << "m_btnCancel" << "Cancel";
}

void TestDlgCols::formTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    TDlgCols form;
    if (auto* label = form.findChild<QLabel*>(name))
        QCOMPARE(label->text(), text);
    else
        QCOMPARE(form.findChild<QPushButton*>(name)->text(), text);
}

void TestDlgCols::formProperties()
{
    TDlgCols unnamed;
    QCOMPARE(unnamed.objectName(), QStringLiteral("TDlgCols"));
    QCOMPARE(unnamed.windowTitle(), QStringLiteral("Modify Columns"));
    QCOMPARE(unnamed.windowIcon().availableSizes().value(0), QSize(16, 16));
    QVERIFY(!unnamed.isModal());
    QWidget page;
    TDlgCols named(&page, "columns", true, {});
    QCOMPARE(named.objectName(), QStringLiteral("columns"));
    QCOMPARE(named.parentWidget(), &page);
    QVERIFY(named.isModal());

    for (QListWidget* list : {unnamed.m_listHidden, unnamed.m_listDisplayed})
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(unnamed.m_btnOK->isDefault());

    const QStringList expected{"m_listHidden", "m_btnAdd", "m_btnRemove", "m_btnReset",
                               "m_listDisplayed", "m_btnUp", "m_btnDown", "m_btnOK", "m_btnCancel"};
    QStringList order;
    QWidget* widget = unnamed.m_listHidden;
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != unnamed.m_listHidden && order.size() <= expected.size());
    QCOMPARE(order, expected);
}

void TestDlgCols::formCancelRejects()
{
    TDlgCols form;
    form.show();
    form.setResult(QDialog::Accepted);
    form.m_btnCancel->click();
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(!form.isVisible());
}

void TestDlgCols::setCols_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QStringList>("displayed");
    QTest::addColumn<QStringList>("hidden");

    QTest::newRow("declared") << "SHSH" << QStringList{} << QStringList{"C0", "C2"} << QStringList{"C1", "C3"};
    QTest::newRow("visual order") << "SSS" << QStringList{"up 2", "up 1"} << QStringList{"C2", "C0", "C1"}
                                  << QStringList{};
    QTest::newRow("hidden in the order hidden") << "SSSS" << QStringList{"hide 2", "hide 0"}
                                                << QStringList{"C1", "C3"} << QStringList{"C2", "C0"};
    QTest::newRow("no columns") << "" << QStringList{} << QStringList{} << QStringList{};
}

void TestDlgCols::setCols()
{
    QFETCH(QString, declared);
    QFETCH(QStringList, operations);
    QFETCH(QStringList, displayed);
    QFETCH(QStringList, hidden);

    QTreeWidget view;
    Cols model = declaredModel(declared);
    edit(&model, operations);
    model.view = &view;
    DlgCols dialog;
    dialog.m_listDisplayed->addItem(QStringLiteral("left over"));
    // Twice: the lists are refilled, not added to.
    dialog.setCols(model);
    dialog.setCols(model);
    QCOMPARE(entries(dialog.m_listDisplayed), displayed);
    QCOMPARE(entries(dialog.m_listHidden), hidden);
    // The dialog's model is never bound to the page's view.
    QCOMPARE(dialog.getCols().view, nullptr);
    QCOMPARE(dialog.getCols().cols, model.cols);
}

void TestDlgCols::addAndRemove_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<bool>("add");
    QTest::addColumn<IntList>("selected");
    QTest::addColumn<IntList>("cols");
    QTest::addColumn<IntList>("hid");

    QTest::newRow("add second and fourth hidden")
        << "SHHHH" << true << IntList{1, 3} << IntList{0, 2, 4, -1, -1} << IntList{1, 3, -1, -1, -1};
    QTest::newRow("add into an empty display")
        << "HHH" << true << IntList{2} << IntList{2, -1, -1} << IntList{0, 1, -1};
    QTest::newRow("add with nothing selected")
        << "SHH" << true << IntList{} << IntList{0, -1, -1} << IntList{1, 2, -1};
    QTest::newRow("remove first and third shown")
        << "SSSS" << false << IntList{0, 2} << IntList{1, 3, -1, -1} << IntList{0, 2, -1, -1};
    QTest::newRow("remove the only shown")
        << "SHH" << false << IntList{0} << IntList{-1, -1, -1} << IntList{1, 2, 0};
    QTest::newRow("remove with nothing selected")
        << "SSH" << false << IntList{} << IntList{0, 1, -1} << IntList{2, -1, -1};
}

void TestDlgCols::addAndRemove()
{
    QFETCH(QString, declared);
    QFETCH(bool, add);
    QFETCH(IntList, selected);
    QFETCH(IntList, cols);
    QFETCH(IntList, hid);

    DlgCols dialog;
    dialog.setCols(declaredModel(declared));
    showActive(&dialog);
    QListWidget* source = add ? dialog.m_listHidden : dialog.m_listDisplayed;
    dialog.m_btnOK->setFocus();
    select(source, selected);
    (add ? dialog.m_btnAdd : dialog.m_btnRemove)->click();

    QCOMPARE(dialog.getCols().cols, cols);
    QCOMPARE(dialog.getCols().hid, hid);
    compareListsWithModel(dialog);
    // The source list keeps the focus, its current entry selected.
    QVERIFY(source->hasFocus());
    if (source->currentItem())
        QVERIFY(source->currentItem()->isSelected());
}

void TestDlgCols::upAndDown_data()
{
    QTest::addColumn<IntList>("selected");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<IntList>("cols");
    QTest::addColumn<IntList>("selectedAfter");

    // Four shown columns and one hidden: cols = [0, 1, 2, 3, -1].
    const IntList unmoved{0, 1, 2, 3, -1};
    QTest::newRow("up on the first") << IntList{0} << QStringList{"up"} << unmoved << IntList{0};
    QTest::newRow("down on the last") << IntList{3} << QStringList{"down"} << unmoved << IntList{3};
    QTest::newRow("up without selection") << IntList{} << QStringList{"up"} << unmoved << IntList{};
    QTest::newRow("down without selection") << IntList{} << QStringList{"down"} << unmoved << IntList{};
    QTest::newRow("down twice moves the same column on")
        << IntList{0} << QStringList{"down", "down"} << IntList{1, 2, 0, 3, -1} << IntList{2};
    QTest::newRow("up three times stops at the front")
        << IntList{2} << QStringList{"up", "up", "up"} << IntList{2, 0, 1, 3, -1} << IntList{0};
    QTest::newRow("several selected: only the first moves")
        << IntList{1, 3} << QStringList{"down"} << IntList{0, 2, 1, 3, -1} << IntList{2, 3};
}

void TestDlgCols::upAndDown()
{
    QFETCH(IntList, selected);
    QFETCH(QStringList, buttons);
    QFETCH(IntList, cols);
    QFETCH(IntList, selectedAfter);

    DlgCols dialog;
    const Cols declared = declaredModel(QStringLiteral("SSSSH"));
    dialog.setCols(declared);
    select(dialog.m_listDisplayed, selected);
    for (const QString& button : buttons)
        (button == QLatin1String("up") ? dialog.m_btnUp : dialog.m_btnDown)->click();

    QCOMPARE(dialog.getCols().cols, cols);
    QCOMPARE(dialog.getCols().disp, declared.disp);
    compareListsWithModel(dialog);
    QCOMPARE(selectedRows(dialog.m_listDisplayed), selectedAfter);
    if (cols != declared.cols)
        QCOMPARE(dialog.m_listDisplayed->currentRow(), selectedAfter.value(0));
}

void TestDlgCols::reset()
{
    // A page model as a loaded layout and some editing leave it.
    Cols model = declaredModel(QStringLiteral("SHSSH"));
    const Cols declared = model;
    model.width[2] = 120;
    edit(&model, {"up 2", "hide 0"});
    DlgCols dialog;
    dialog.setCols(model);
    select(dialog.m_listHidden, {0});
    dialog.m_btnAdd->click();
    dialog.m_btnReset->click();

    const Cols result = dialog.getCols();
    QCOMPARE(result.cols, declared.cols);
    QCOMPARE(result.disp, declared.disp);
    QCOMPARE(result.dispinv, declared.dispinv);
    QCOMPARE(result.hid, declared.hid);
    QCOMPARE(result.showFlags, declared.showFlags);
    QCOMPARE(result.width, declared.width);
    QCOMPARE(entries(dialog.m_listDisplayed), (QStringList{"C0", "C2", "C3"}));
    QCOMPARE(entries(dialog.m_listHidden), (QStringList{"C1", "C4"}));
}

void TestDlgCols::ok_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("a column displayed: accepted, nothing asked") << "HS" << -1 << true;
    QTest::newRow("all hidden, Yes: stays open to show one") << "HH" << int(QMessageBox::Yes) << false;
    QTest::newRow("all hidden, No: accepted with no column") << "HH" << int(QMessageBox::No) << true;
    QTest::newRow("all hidden, Cancel: stays open") << "HH" << int(QMessageBox::Cancel) << false;
}

void TestDlgCols::ok()
{
    QFETCH(QString, declared);
    QFETCH(int, answer);
    QFETCH(bool, accepted);

    DialogRecorder recorder;
    recorder.answer(answer);
    QWidget page;
    DlgCols dialog(&page, nullptr, true, {});
    dialog.setCols(declaredModel(declared));
    dialog.show();
    dialog.m_btnOK->click();

    QCOMPARE(dialog.isVisible(), !accepted);
    QCOMPARE(dialog.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(recorder.messages.size(), answer == -1 ? 0 : 1);
    if (answer == -1)
        return;
    const DialogRecorder::Message& message = recorder.messages.first();
    QCOMPARE(message.icon, QMessageBox::Warning);
    QCOMPARE(message.parent.data(), nullptr);
    QCOMPARE(message.caption, QString());
    QCOMPARE(message.text, QStringLiteral("All columns are hidden.\nDo you want to change this settings?"));
    QCOMPARE(message.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

void TestDlgCols::activationMovesTheSelection_data()
{
    QTest::addColumn<bool>("hiddenList");
    QTest::addColumn<IntList>("selected");
    QTest::addColumn<int>("activated");
    QTest::addColumn<QString>("how");
    QTest::addColumn<IntList>("cols");

    // Declared shown, hidden, hidden, hidden.
    QTest::newRow("Return on a hidden entry, another selected")
        << true << IntList{0, 2} << 2 << "Return" << IntList{0, 1, 3, -1};
    QTest::newRow("Enter on a hidden entry") << true << IntList{1} << 1 << "Enter" << IntList{0, 2, -1, -1};
    QTest::newRow("double click on a hidden entry") << true << IntList{} << 2 << "dblclick" << IntList{0, 3, -1, -1};
    QTest::newRow("Return on a displayed entry") << false << IntList{0} << 0 << "Return" << IntList{-1, -1, -1, -1};
    QTest::newRow("double click on a displayed entry")
        << false << IntList{} << 0 << "dblclick" << IntList{-1, -1, -1, -1};
}

void TestDlgCols::activationMovesTheSelection()
{
    QFETCH(bool, hiddenList);
    QFETCH(IntList, selected);
    QFETCH(int, activated);
    QFETCH(QString, how);
    QFETCH(IntList, cols);

    // Nothing may be asked: the key must not reach the dialog's OK button.
    DialogRecorder recorder;
    DlgCols dialog;
    dialog.setCols(declaredModel(QStringLiteral("SHHH")));
    showActive(&dialog);
    QListWidget* list = hiddenList ? dialog.m_listHidden : dialog.m_listDisplayed;
    select(list, selected);
    list->setFocus();
    list->setCurrentRow(activated, QItemSelectionModel::NoUpdate);
    if (how == QLatin1String("dblclick")) {
        // The view takes a double click only on the entry its first press was on.
        const QPoint at = list->visualItemRect(list->item(activated)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    } else {
        QTest::keyClick(list, how == QLatin1String("Return") ? Qt::Key_Return : Qt::Key_Enter);
    }
    QCOMPARE(dialog.getCols().cols, cols);
    compareListsWithModel(dialog);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(recorder.messages.isEmpty());
}

QTEST_MAIN(TestDlgCols)
#include "tst_dlgcols.moc"
