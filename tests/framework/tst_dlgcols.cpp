#include "colsfixture.h"
#include "dialogrecorder.h"
#include "dlgcols.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

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

// Entry i of the displayed list shows the title of cols[i], entry i of the hidden one hid[i].
void compareListsWithModel(const DlgCols& dialog)
{
    const Cols model = dialog.getCols();
    QStringList displayed, hidden;
    for (int i = 0; i < model.cols.size(); ++i) {
        if (model.cols.at(i) != -1)
            displayed.append(model.titles.at(model.cols.at(i)));
        if (model.hid.at(i) != -1)
            hidden.append(model.titles.at(model.hid.at(i)));
    }
    QCOMPARE(entries(dialog.m_listDisplayed), displayed);
    QCOMPARE(entries(dialog.m_listHidden), hidden);
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

    QTest::newRow("caption") << "" << "Modify Columns";
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
    if (name.isEmpty())
        QCOMPARE(form.windowTitle(), text);
    else if (auto* label = form.findChild<QLabel*>(name))
        QCOMPARE(label->text(), text);
    else
        QCOMPARE(form.findChild<QPushButton*>(name)->text(), text);
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
    QTest::newRow("remove first and third shown")
        << "SSSS" << false << IntList{0, 2} << IntList{1, 3, -1, -1} << IntList{0, 2, -1, -1};
    QTest::newRow("remove the only shown")
        << "SHH" << false << IntList{0} << IntList{-1, -1, -1} << IntList{1, 2, 0};
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
    QTest::newRow("down twice moves the same column on")
        << IntList{0} << QStringList{"down", "down"} << IntList{1, 2, 0, 3, -1} << IntList{2};
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

    compareLayout(dialog.getCols(), declared);
    compareListsWithModel(dialog);
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
    QCOMPARE(message.caption, QString());
    QCOMPARE(message.text, QStringLiteral("All columns are hidden.\nDo you want to change this settings?"));
    QCOMPARE(message.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

void TestDlgCols::activationMovesTheSelection_data()
{
    QTest::addColumn<bool>("hiddenList");
    QTest::addColumn<IntList>("selected");
    QTest::addColumn<int>("activated");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<IntList>("cols");

    // Declared shown, hidden, hidden, hidden.
    QTest::newRow("Return on a hidden entry, another selected")
        << true << IntList{0, 2} << 2 << false << IntList{0, 1, 3, -1};
    QTest::newRow("double click on a hidden entry") << true << IntList{} << 2 << true << IntList{0, 3, -1, -1};
}

void TestDlgCols::activationMovesTheSelection()
{
    QFETCH(bool, hiddenList);
    QFETCH(IntList, selected);
    QFETCH(int, activated);
    QFETCH(bool, doubleClick);
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
    if (doubleClick) {
        // The view takes a double click only on the entry its first press was on.
        const QPoint at = list->visualItemRect(list->item(activated)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    } else {
        QTest::keyClick(list, Qt::Key_Return);
    }
    QCOMPARE(dialog.getCols().cols, cols);
    compareListsWithModel(dialog);
    QVERIFY(dialog.isVisible());
    QVERIFY(recorder.messages.isEmpty());
}

QTEST_MAIN(TestDlgCols)
#include "tst_dlgcols.moc"
