#include "dialogrecorder.h"
#include "dlgcols.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpacerItem>
#include <QTreeWidget>
#include <QtTest>

using IntList = QList<int>;

namespace {

// One letter per column: S shown by default, H hidden by default; titles "C<id>".
Cols declaredModel(const QString& shownHidden)
{
    Cols model;
    for (int id = 0; id < shownHidden.size(); ++id)
        model.add(QStringLiteral("C%1").arg(id), shownHidden.at(id) == QLatin1Char('S'), -1, false);
    return model;
}

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

// The titles the lists must show for a model: the dialog's invariant.
QStringList titlesOf(const Cols& model, const IntList& ids)
{
    QStringList titles;
    for (int id : ids) {
        if (id != -1)
            titles.append(model.titles.at(id));
    }
    return titles;
}

QString widgetText(const QWidget* widget)
{
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<const QPushButton*>(widget))
        return button->text();
    return QStringLiteral("<no text>");
}

// A window the tests can give the keyboard focus to.
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
    void formWidgets_data();
    void formWidgets();
    void formGrid_data();
    void formGrid();
    void formProperties();
    void formButtonRow();
    void formTabOrder();
    void formSlotsOnlyWarn_data();
    void formSlotsOnlyWarn();
    void formCancelRejects();

    void setCols_data();
    void setCols();
    void getColsHasNoView();
    void editingLeavesPageModelAlone();
    void addAndRemove_data();
    void addAndRemove();
    void upAndDown_data();
    void upAndDown();
    void reset();
    void okWithDisplayedColumnsAccepts();
    void okWithAllHiddenAsks_data();
    void okWithAllHiddenAsks();
    void activationMovesTheSelection_data();
    void activationMovesTheSelection();
};

void TestDlgCols::formWidgets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("text");

    QTest::newRow("TextLabel1_2") << "TextLabel1_2" << "QLabel" << "Hidden columns:";
    QTest::newRow("TextLabel2") << "TextLabel2" << "QLabel" << "Displayed columns:";
    QTest::newRow("m_btnAdd") << "m_btnAdd" << "QPushButton" << "A&dd ->";
    QTest::newRow("m_btnRemove") << "m_btnRemove" << "QPushButton" << "<- &Remove";
    QTest::newRow("m_btnReset") << "m_btnReset" << "QPushButton" << "Re&set";
    QTest::newRow("m_btnUp") << "m_btnUp" << "QPushButton" << "Move &Up";
    QTest::newRow("m_btnDown") << "m_btnDown" << "QPushButton" << "Move &Down";
    QTest::newRow("TextLabel3") << "TextLabel3" << "QLabel" << "";
    QTest::newRow("m_btnOK") << "m_btnOK" << "QPushButton" << "OK";
    QTest::newRow("m_btnCancel") << "m_btnCancel" << "QPushButton" << "Cancel";
    QTest::newRow("m_listHidden") << "m_listHidden" << "QListWidget" << "<no text>";
    QTest::newRow("m_listDisplayed") << "m_listDisplayed" << "QListWidget" << "<no text>";
    QTest::newRow("Line4") << "Line4" << "QFrame" << "<no text>";
}

void TestDlgCols::formWidgets()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, text);

    TDlgCols form;
    const QList<QWidget*> found = form.findChildren<QWidget*>(name);
    QCOMPARE(found.size(), 1);
    QCOMPARE(QString::fromLatin1(found.first()->metaObject()->className()), className);
    QCOMPARE(widgetText(found.first()), text);
}

void TestDlgCols::formGrid_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("rowSpan");
    QTest::addColumn<int>("columnSpan");

    QTest::newRow("TextLabel1_2") << "TextLabel1_2" << 0 << 0 << 1 << 1;
    QTest::newRow("TextLabel2") << "TextLabel2" << 0 << 2 << 1 << 1;
    QTest::newRow("m_listHidden") << "m_listHidden" << 1 << 0 << 5 << 1;
    QTest::newRow("m_listDisplayed") << "m_listDisplayed" << 1 << 2 << 5 << 1;
    QTest::newRow("m_btnAdd") << "m_btnAdd" << 2 << 1 << 1 << 1;
    QTest::newRow("m_btnRemove") << "m_btnRemove" << 3 << 1 << 1 << 1;
    QTest::newRow("m_btnReset") << "m_btnReset" << 5 << 1 << 1 << 1;
    QTest::newRow("m_btnUp") << "m_btnUp" << 2 << 3 << 1 << 1;
    QTest::newRow("m_btnDown") << "m_btnDown" << 3 << 3 << 1 << 1;
    QTest::newRow("TextLabel3") << "TextLabel3" << 5 << 3 << 1 << 1;
    QTest::newRow("Line4") << "Line4" << 6 << 0 << 1 << 4;
    QTest::newRow("Layout8") << "Layout8" << 7 << 0 << 1 << 4;
    // The vertical spacers, by their cells.
    QTest::newRow("spacer 1,1") << "" << 1 << 1 << 1 << 1;
    QTest::newRow("spacer 4,1") << "" << 4 << 1 << 1 << 1;
    QTest::newRow("spacer 1,3") << "" << 1 << 3 << 1 << 1;
    QTest::newRow("spacer 4,3") << "" << 4 << 3 << 1 << 1;
}

void TestDlgCols::formGrid()
{
    QFETCH(QString, name);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, rowSpan);
    QFETCH(int, columnSpan);

    TDlgCols form;
    auto* grid = qobject_cast<QGridLayout*>(form.layout());
    QVERIFY(grid);
    QCOMPARE(grid->rowCount(), 8);
    QCOMPARE(grid->columnCount(), 4);

    QLayoutItem* item = grid->itemAtPosition(row, column);
    QVERIFY(item);
    if (name.isEmpty()) {
        QSpacerItem* spacer = item->spacerItem();
        QVERIFY(spacer);
        QCOMPARE(spacer->sizeHint(), QSize(20, 20));
        QCOMPARE(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
        QCOMPARE(spacer->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
    } else if (item->widget()) {
        QCOMPARE(item->widget()->objectName(), name);
    } else {
        QVERIFY(item->layout());
        QCOMPARE(item->layout()->objectName(), name);
    }
    int r = -1, c = -1, rs = -1, cs = -1;
    grid->getItemPosition(grid->indexOf(item), &r, &c, &rs, &cs);
    QCOMPARE(r, row);
    QCOMPARE(c, column);
    QCOMPARE(rs, rowSpan);
    QCOMPARE(cs, columnSpan);
}

void TestDlgCols::formProperties()
{
    TDlgCols unnamed;
    QCOMPARE(unnamed.objectName(), QStringLiteral("TDlgCols"));
    QVERIFY(!unnamed.isModal());
    QWidget page;
    TDlgCols named(&page, "columns", true, {});
    QCOMPARE(named.objectName(), QStringLiteral("columns"));
    QCOMPARE(named.parentWidget(), &page);
    QVERIFY(named.isModal());

    QCOMPARE(unnamed.windowTitle(), QStringLiteral("Modify Columns"));
    QCOMPARE(unnamed.size(), QSize(500, 274));
    QVERIFY(!unnamed.windowIcon().isNull());
    QCOMPARE(unnamed.windowIcon().availableSizes().value(0), QSize(16, 16));

    auto* grid = qobject_cast<QGridLayout*>(unnamed.layout());
    QCOMPARE(grid->objectName(), QStringLiteral("TDlgColsLayout"));
    QCOMPARE(grid->contentsMargins(), QMargins(11, 11, 11, 11));
    QCOMPARE(grid->horizontalSpacing(), 6);
    QCOMPARE(grid->verticalSpacing(), 6);

    for (QListWidget* list : {unnamed.m_listHidden, unnamed.m_listDisplayed}) {
        QCOMPARE(list->minimumWidth(), 150);
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    }
    QVERIFY(unnamed.m_btnOK->isDefault());
    QVERIFY(!unnamed.m_btnCancel->isDefault());
    QCOMPARE(unnamed.Line4->frameShape(), QFrame::HLine);
    QCOMPARE(unnamed.Line4->frameShadow(), QFrame::Sunken);
    QCOMPARE(unnamed.TextLabel3->minimumHeight(), 25);
}

void TestDlgCols::formButtonRow()
{
    TDlgCols form;
    auto* row = form.findChild<QHBoxLayout*>(QStringLiteral("Layout8"));
    QVERIFY(row);
    QCOMPARE(row->contentsMargins(), QMargins(0, 0, 0, 0));
    QCOMPARE(row->spacing(), 6);
    QCOMPARE(row->count(), 3);
    QSpacerItem* spacer = row->itemAt(0)->spacerItem();
    QVERIFY(spacer);
    QCOMPARE(spacer->sizeHint(), QSize(20, 20));
    QCOMPARE(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(row->itemAt(1)->widget(), form.m_btnOK);
    QCOMPARE(row->itemAt(2)->widget(), form.m_btnCancel);
}

void TestDlgCols::formTabOrder()
{
    TDlgCols form;
    const QStringList expected{"m_listHidden", "m_btnAdd", "m_btnRemove", "m_btnReset",
                               "m_listDisplayed", "m_btnUp", "m_btnDown", "m_btnOK",
                               "m_btnCancel"};
    QStringList order;
    QWidget* widget = form.m_listHidden;
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != form.m_listHidden && order.size() <= expected.size());
    QCOMPARE(order, expected);
}

void TestDlgCols::formSlotsOnlyWarn_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("warning");

    QTest::newRow("Add") << "m_btnAdd" << "TDlgCols::slotAdd(): Not implemented yet!";
    QTest::newRow("Remove") << "m_btnRemove" << "TDlgCols::slotRemove(): Not implemented yet!";
    QTest::newRow("Reset") << "m_btnReset" << "TDlgCols::slotReset(): Not implemented yet!";
    QTest::newRow("Up") << "m_btnUp" << "TDlgCols::slotUp(): Not implemented yet!";
    QTest::newRow("Down") << "m_btnDown" << "TDlgCols::slotDown(): Not implemented yet!";
    QTest::newRow("OK") << "m_btnOK" << "TDlgCols::slotOK(): Not implemented yet!";
    QTest::newRow("hidden entry double-clicked")
        << "m_listHidden dblclick" << "TDlgCols::slotAdd(): Not implemented yet!";
    QTest::newRow("Return on a hidden entry")
        << "m_listHidden Return" << "TDlgCols::slotAdd(): Not implemented yet!";
    QTest::newRow("Enter on a hidden entry")
        << "m_listHidden Enter" << "TDlgCols::slotAdd(): Not implemented yet!";
    QTest::newRow("displayed entry double-clicked")
        << "m_listDisplayed dblclick" << "TDlgCols::slotRemove(): Not implemented yet!";
    QTest::newRow("Return on a displayed entry")
        << "m_listDisplayed Return" << "TDlgCols::slotRemove(): Not implemented yet!";
}

void TestDlgCols::formSlotsOnlyWarn()
{
    QFETCH(QString, widget);
    QFETCH(QString, warning);

    TDlgCols form;
    showActive(&form);
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*Not implemented.*")));
    QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
    const QStringList words = widget.split(QLatin1Char(' '));
    if (auto* button = form.findChild<QPushButton*>(words.at(0))) {
        button->click();
    } else {
        auto* list = form.findChild<QListWidget*>(words.at(0));
        list->addItem(QStringLiteral("entry"));
        list->setFocus();
        list->setCurrentRow(0);
        const QRect entry = list->visualItemRect(list->item(0));
        if (words.at(1) == QLatin1String("dblclick")) {
            // The view takes a double click only on the entry its first press was on.
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, entry.center());
        }
        else {
            QTest::keyClick(list, words.at(1) == QLatin1String("Return") ? Qt::Key_Return
                                                                           : Qt::Key_Enter);
        }
    }
    // Nothing else happened: the dialog neither closed nor pressed OK.
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(form.isVisible());
}

void TestDlgCols::formCancelRejects()
{
    TDlgCols form;
    form.show();
    form.setResult(QDialog::Accepted);
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
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

    QTest::newRow("declared") << "SHSH" << QStringList{} << QStringList{"C0", "C2"}
                              << QStringList{"C1", "C3"};
    QTest::newRow("visual order") << "SSS" << QStringList{"up 2", "up 1"}
                                  << QStringList{"C2", "C0", "C1"} << QStringList{};
    QTest::newRow("hidden in the order hidden")
        << "SSSS" << QStringList{"hide 2", "hide 0"} << QStringList{"C1", "C3"}
        << QStringList{"C2", "C0"};
    QTest::newRow("all hidden") << "HH" << QStringList{} << QStringList{}
                                << QStringList{"C0", "C1"};
    QTest::newRow("no columns") << "" << QStringList{} << QStringList{} << QStringList{};
}

void TestDlgCols::setCols()
{
    QFETCH(QString, declared);
    QFETCH(QStringList, operations);
    QFETCH(QStringList, displayed);
    QFETCH(QStringList, hidden);

    Cols model = declaredModel(declared);
    for (const QString& operation : operations) {
        const QStringList words = operation.split(QLatin1Char(' '));
        if (words.at(0) == QLatin1String("up"))
            model.up(words.at(1).toInt());
        else
            model.hide(words.at(1).toInt());
    }
    DlgCols dialog;
    dialog.m_listDisplayed->addItem(QStringLiteral("left over"));
    dialog.setCols(model);
    QCOMPARE(entries(dialog.m_listDisplayed), displayed);
    QCOMPARE(entries(dialog.m_listHidden), hidden);
    // Setting the same model again does not add to the lists.
    dialog.setCols(model);
    QCOMPARE(entries(dialog.m_listDisplayed), displayed);
    QCOMPARE(entries(dialog.m_listHidden), hidden);
}

void TestDlgCols::getColsHasNoView()
{
    QTreeWidget view;
    Cols model = declaredModel(QStringLiteral("SHS"));
    model.view = &view;
    DlgCols dialog;
    dialog.setCols(model);
    const Cols result = dialog.getCols();
    QCOMPARE(result.view, nullptr);
    QCOMPARE(result.cols, model.cols);
    QCOMPARE(result.hid, model.hid);
    QCOMPARE(result.titles, model.titles);
}

void TestDlgCols::editingLeavesPageModelAlone()
{
    Cols model = declaredModel(QStringLiteral("SHS"));
    DlgCols dialog;
    dialog.setCols(model);
    select(dialog.m_listHidden, {0});
    dialog.slotAdd();
    select(dialog.m_listDisplayed, {0});
    dialog.slotRemove();
    QCOMPARE(model.cols, (IntList{0, 2, -1}));
    QCOMPARE(model.hid, (IntList{1, -1, -1}));
    QCOMPARE(dialog.getCols().cols, (IntList{2, 1, -1}));
}

void TestDlgCols::addAndRemove_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<bool>("add");
    QTest::addColumn<IntList>("selected");
    QTest::addColumn<IntList>("cols");
    QTest::addColumn<IntList>("hid");

    QTest::newRow("add second and fourth hidden")
        << "SHHHH" << true << IntList{1, 3} << IntList{0, 2, 4, -1, -1}
        << IntList{1, 3, -1, -1, -1};
    QTest::newRow("add all hidden") << "SHHH" << true << IntList{0, 1, 2}
                                    << IntList{0, 1, 2, 3} << IntList{-1, -1, -1, -1};
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

    const Cols result = dialog.getCols();
    QCOMPARE(result.cols, cols);
    QCOMPARE(result.hid, hid);
    QCOMPARE(entries(dialog.m_listDisplayed), titlesOf(result, result.cols));
    QCOMPARE(entries(dialog.m_listHidden), titlesOf(result, result.hid));
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
    QTest::newRow("up on the first") << IntList{0} << QStringList{"up"}
                                     << IntList{0, 1, 2, 3, -1} << IntList{0};
    QTest::newRow("down on the last") << IntList{3} << QStringList{"down"}
                                      << IntList{0, 1, 2, 3, -1} << IntList{3};
    QTest::newRow("up without selection") << IntList{} << QStringList{"up"}
                                          << IntList{0, 1, 2, 3, -1} << IntList{};
    QTest::newRow("down without selection") << IntList{} << QStringList{"down"}
                                            << IntList{0, 1, 2, 3, -1} << IntList{};
    QTest::newRow("up") << IntList{2} << QStringList{"up"} << IntList{0, 2, 1, 3, -1}
                        << IntList{1};
    QTest::newRow("down") << IntList{1} << QStringList{"down"} << IntList{0, 2, 1, 3, -1}
                          << IntList{2};
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

    const Cols result = dialog.getCols();
    QCOMPARE(result.cols, cols);
    QCOMPARE(result.disp, declared.disp);
    QCOMPARE(result.hid, declared.hid);
    QCOMPARE(entries(dialog.m_listDisplayed), titlesOf(result, result.cols));
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
    model.up(2);
    model.hide(0);
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

void TestDlgCols::okWithDisplayedColumnsAccepts()
{
    DialogRecorder recorder;
    DlgCols dialog;
    dialog.setCols(declaredModel(QStringLiteral("HS")));
    dialog.show();
    dialog.m_btnOK->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(recorder.messages.isEmpty());
}

void TestDlgCols::okWithAllHiddenAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("Yes: stays open to show a column") << int(QMessageBox::Yes) << false;
    QTest::newRow("No: accepted with no column") << int(QMessageBox::No) << true;
    QTest::newRow("Cancel: stays open") << int(QMessageBox::Cancel) << false;
}

void TestDlgCols::okWithAllHiddenAsks()
{
    QFETCH(int, answer);
    QFETCH(bool, accepted);

    DialogRecorder recorder;
    recorder.answer(answer);
    QWidget page;
    DlgCols dialog(&page, nullptr, true, {});
    dialog.setCols(declaredModel(QStringLiteral("SH")));
    select(dialog.m_listDisplayed, {0});
    dialog.m_btnRemove->click();
    dialog.show();
    dialog.m_btnOK->click();

    QCOMPARE(recorder.messages.size(), 1);
    const DialogRecorder::Message& message = recorder.messages.first();
    QCOMPARE(message.icon, QMessageBox::Warning);
    QCOMPARE(message.parent.data(), nullptr);
    QCOMPARE(message.caption, QString());
    QCOMPARE(message.text,
             QStringLiteral("All columns are hidden.\nDo you want to change this settings?"));
    QCOMPARE(message.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(dialog.isVisible(), !accepted);
    if (accepted) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.getCols().cols, (IntList{-1, -1}));
    }
}

void TestDlgCols::activationMovesTheSelection_data()
{
    QTest::addColumn<bool>("hiddenList");
    QTest::addColumn<IntList>("selected");
    QTest::addColumn<int>("activated");
    QTest::addColumn<IntList>("cols");

    QTest::newRow("hidden entry with another selected")
        << true << IntList{0, 2} << 2 << IntList{0, 1, 3, -1};
    QTest::newRow("displayed entry") << false << IntList{0} << 0 << IntList{-1, -1, -1, -1};
}

void TestDlgCols::activationMovesTheSelection()
{
    QFETCH(bool, hiddenList);
    QFETCH(IntList, selected);
    QFETCH(int, activated);
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
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(dialog.getCols().cols, cols);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(recorder.messages.isEmpty());
}

QTEST_MAIN(TestDlgCols)
#include "tst_dlgcols.moc"
