#include "dlgtimeintex.h"

#include "dbrow.h"
#include "groupeditor.h"
#include "timeintervals.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

namespace {

// The three types the box offers; a fourth entry holds a stored type of another value.
constexpr int KnownTypes = 3;

} // namespace

DlgTimeIntEx::DlgTimeIntEx(QWidget* parent, const char* name, bool modal,
                           Qt::WindowFlags flags, DBConn* conn, QString range)
    : TDlgTimeIntEx(parent, name, modal, flags), m_ranges("timeintervals", dbcol_time, "name")
{
    GroupEditor::EntryFields fields;
    fields.listTexts = [](const DBRow* row) {
        return QStringList{row->m_values[TimeDesc]->text(),
                           timeTypeName(row->m_values[TimeType]->text()),
                           row->m_values[TimeDays]->text(), row->m_values[TimeStart]->text(),
                           row->m_values[TimeEnd]->text()};
    };
    fields.show = [this](const DBRow* row) {
        m_editDesc->setText(row->m_values[TimeDesc]->text());
        showType(row->m_values[TimeType]->text());
        m_editDays->setText(row->m_values[TimeDays]->text());
        m_spinStart->setValue(row->m_values[TimeStart]->text().toInt());
        m_spinEnd->setValue(row->m_values[TimeEnd]->text().toInt());
    };
    fields.write = [this](DBRow* row) {
        row->m_values[TimeDesc]->set(m_editDesc->text().trimmed());
        row->m_values[TimeType]->set(chosenType());
        row->m_values[TimeDays]->set(m_editDays->text());
        row->m_values[TimeStart]->set(QString::number(m_spinStart->value()));
        row->m_values[TimeEnd]->set(QString::number(m_spinEnd->value()));
    };
    fields.complete = [this] { return !m_editDesc->text().trimmed().isEmpty(); };
    m_editor = new GroupEditor(this, &m_ranges,
                               {m_comboRange, m_list, m_btnAdd, m_btnEdit, m_btnRemove,
                                m_btnRenameRange, m_btnRemoveRange},
                               fields);

    m_ranges.load(parent, conn, DBTable::WaitWithProgress | DBTable::ReportRefusal);
    m_editor->start(range);
}

DlgTimeIntEx::~DlgTimeIntEx() = default;

void DlgTimeIntEx::done(int result)
{
    TDlgTimeIntEx::done(m_editor->closingResult(result));
}

int DlgTimeIntEx::exec()
{
    return isLoaded() ? TDlgTimeIntEx::exec() : int(Rejected);
}

// A type the box does not offer stays choosable as an entry of its own, so that changing
// another field of the interval writes the stored type back unchanged.
void DlgTimeIntEx::showType(const QString& storedType)
{
    while (m_comboType->count() > KnownTypes)
        m_comboType->removeItem(KnownTypes);
    bool isNumber = false;
    const int type = storedType.toInt(&isNumber);
    if (isNumber && type >= 0 && type < KnownTypes) {
        m_comboType->setCurrentIndex(type);
        return;
    }
    m_comboType->addItem(storedType);
    m_comboType->setCurrentIndex(KnownTypes);
}

QString DlgTimeIntEx::chosenType() const
{
    const int index = m_comboType->currentIndex();
    return index < KnownTypes ? QString::number(index) : m_comboType->currentText();
}

void DlgTimeIntEx::slotRangeChanged(const QString&)
{
    m_editor->showSet();
}

void DlgTimeIntEx::slotSelected()
{
    m_editor->entrySelected();
}

void DlgTimeIntEx::slotFieldsChanged()
{
    m_editor->fieldsChanged();
}

void DlgTimeIntEx::slotAdd()
{
    m_editor->addEntry();
}

void DlgTimeIntEx::slotEdit()
{
    m_editor->editEntry();
}

void DlgTimeIntEx::slotRemove()
{
    m_editor->removeEntry();
}

void DlgTimeIntEx::slotRenameRange()
{
    m_editor->renameSet();
}

void DlgTimeIntEx::slotRemoveRange()
{
    m_editor->removeSet();
}

void DlgTimeIntEx::slotOK()
{
    m_editor->accept();
}
