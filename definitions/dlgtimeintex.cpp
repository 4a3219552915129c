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
    // Each field keeps the entry's text while it is left alone: a description with blanks the
    // typed one loses, a type in another form ("01"), a start or end the spin boxes cannot
    // hold (a word, a number beyond an int) would otherwise go back as what they show.
    fields.show = [this](const DBRow* row, UntouchedFields& shown) {
        const QString desc = row->m_values[TimeDesc]->text();
        m_editDesc->setText(desc);
        shown.remember(QStringLiteral("desc"), desc, {m_editDesc});
        const QString type = row->m_values[TimeType]->text();
        showType(type);
        shown.remember(QStringLiteral("type"), type, {m_comboType});
        const QString days = row->m_values[TimeDays]->text();
        m_editDays->setText(days);
        shown.remember(QStringLiteral("days"), days, {m_editDays});
        showNumber(m_spinStart, row->m_values[TimeStart]->text(), QStringLiteral("start"), shown);
        showNumber(m_spinEnd, row->m_values[TimeEnd]->text(), QStringLiteral("end"), shown);
    };
    fields.write = [this](DBRow* row, const UntouchedFields& shown) {
        const QString start = QString::number(m_spinStart->value());
        const QString end = QString::number(m_spinEnd->value());
        row->m_values[TimeDesc]->set(shown.value(QStringLiteral("desc"), m_editDesc->text().trimmed()));
        row->m_values[TimeType]->set(shown.value(QStringLiteral("type"), chosenType()));
        row->m_values[TimeDays]->set(shown.value(QStringLiteral("days"), m_editDays->text()));
        row->m_values[TimeStart]->set(shown.value(QStringLiteral("start"), start));
        row->m_values[TimeEnd]->set(shown.value(QStringLiteral("end"), end));
    };
    fields.complete = [this] { return !m_editDesc->text().trimmed().isEmpty(); };
    m_editor = new GroupEditor(this, &m_ranges,
                               {m_comboRange, m_list, m_btnAdd, m_btnEdit, m_btnRemove,
                                m_btnRenameRange, m_btnRemoveRange, entryFields()},
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

void DlgTimeIntEx::showNumber(QSpinBox* box, const QString& stored, const QString& name,
                              UntouchedFields& shown)
{
    box->setValue(stored.toInt());
    shown.remember(name, stored, {box});
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
