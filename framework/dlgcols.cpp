#include "dlgcols.h"

#include "dialogseam.h"

#include <QListWidget>

#include <functional>

namespace {

// The row of the first selected entry, or the number of entries when none is selected.
int firstSelectedRow(const QListWidget* list)
{
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected())
            return row;
    }
    return list->count();
}

// Moves every selected entry of `from`, in list order, to the end of `to`. `moveInModel`
// makes the same move in the model for the entry at a row and returns its title; rows are
// taken from the list as it stands after each move.
void moveSelectedEntries(QListWidget* from, QListWidget* to,
                         const std::function<QString(int)>& moveInModel)
{
    int row = 0;
    while (row < from->count()) {
        if (!from->item(row)->isSelected()) {
            ++row;
            continue;
        }
        delete from->takeItem(row);
        to->addItem(moveInModel(row));
    }
    from->setFocus();
    if (QListWidgetItem* current = from->currentItem())
        current->setSelected(true);
}

} // namespace

DlgCols::DlgCols(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : TDlgCols(parent, name, modal, fl)
{
}

DlgCols::~DlgCols() = default;

void DlgCols::setCols(Cols c)
{
    m_cols = c;
    m_listDisplayed->clear();
    m_listHidden->clear();
    for (int i = 0; i < m_cols.cols.size(); ++i) {
        if (m_cols.cols.at(i) != -1)
            m_listDisplayed->addItem(m_cols.titles.value(m_cols.cols.at(i)));
        if (m_cols.hid.value(i, -1) != -1)
            m_listHidden->addItem(m_cols.titles.value(m_cols.hid.at(i)));
    }
}

Cols DlgCols::getCols() const
{
    return m_cols;
}

void DlgCols::slotAdd()
{
    moveSelectedEntries(m_listHidden, m_listDisplayed, [this](int row) {
        const QString title = m_cols.titles.value(m_cols.hid.value(row, -1));
        m_cols.show(row);
        return title;
    });
}

void DlgCols::slotRemove()
{
    moveSelectedEntries(m_listDisplayed, m_listHidden, [this](int row) {
        const QString title = m_cols.titles.value(m_cols.cols.value(row, -1));
        m_cols.hide(row);
        return title;
    });
}

void DlgCols::slotUp()
{
    const int row = firstSelectedRow(m_listDisplayed);
    if (row == 0 || row >= m_listDisplayed->count())
        return;
    m_cols.up(row);
    showMovedEntry(row, row - 1);
}

void DlgCols::slotDown()
{
    const int row = firstSelectedRow(m_listDisplayed);
    if (row + 1 >= m_listDisplayed->count())
        return;
    m_cols.down(row);
    showMovedEntry(row, row + 1);
}

// After two neighbours swapped places in the model: both entries get their new titles and
// the selection goes with the moved column, so that pressing the button again moves the
// same column on.
void DlgCols::showMovedEntry(int from, int to)
{
    QListWidgetItem* moved = m_listDisplayed->item(to);
    QListWidgetItem* other = m_listDisplayed->item(from);
    moved->setText(m_cols.titles.value(m_cols.cols.value(to, -1)));
    other->setText(m_cols.titles.value(m_cols.cols.value(from, -1)));
    m_listDisplayed->setFocus();
    other->setSelected(false);
    moved->setSelected(true);
    m_listDisplayed->setCurrentItem(moved, QItemSelectionModel::NoUpdate);
}

void DlgCols::slotReset()
{
    m_cols.reset();
    setCols(m_cols);
}

void DlgCols::slotOK()
{
    if (m_listDisplayed->count() > 0) {
        accept();
        return;
    }
    const Dialogs::Button answer = Dialogs::warning(
        nullptr, QString(), tr("All columns are hidden.\nDo you want to change this settings?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    // Yes and Cancel keep the dialog open, so that a column can be shown.
    if (answer == QMessageBox::No)
        accept();
}
