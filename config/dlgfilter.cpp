#include "dlgfilter.h"

#include "cellnumbers.h"
#include "comboboxes.h"
#include "filtertypes.h"
#include "rowcells.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

DlgFilter::DlgFilter(QWidget* parent, const char* name, bool modal, Qt::WindowFlags f)
    : TDlgFilter(parent, name, modal, f)
{
    m_comboHeader->setFocus();
}

void DlgFilter::showRow(const DBRow* row, bool newRow)
{
    m_untouched.setNewRow(newRow);
    m_comboHeader->clear();
    for (const char* header : {"From", "To", "Cc", "Subject", "Sender"})
        m_comboHeader->addItem(QString::fromLatin1(header));
    ComboBoxes::setCurrentText(m_comboHeader, RowCells::cell(row, "header"));

    m_comboType->clear();
    for (int type = 0; type < FilterTypes::Count; ++type)
        m_comboType->addItem(FilterTypes::phrase(type), type);
    const int type = CellNumbers::wholeNumber(row, "type");
    int index = m_comboType->findData(type);
    if (index < 0) {
        m_comboType->addItem(FilterTypes::phrase(type), type);
        index = m_comboType->count() - 1;
    }
    m_comboType->setCurrentIndex(index);
    slotTypeActivated(index);
    m_untouched.remember(QStringLiteral("type"), RowCells::cell(row, "type"), {m_comboType});

    m_editContent->setText(RowCells::cell(row, "content"));
}

void DlgFilter::writeRow(DBRow* row) const
{
    RowCells::setCell(row, "header", m_comboHeader->currentText());
    RowCells::setCell(row, "type", m_untouched.value(QStringLiteral("type"),
                                                     QString::number(m_comboType->currentData().toInt())));
    RowCells::setCell(row, "content", m_editContent->text());
}

void DlgFilter::slotTypeActivated(int index)
{
    const bool shown = FilterTypes::needsContent(m_comboType->itemData(index).toInt());
    m_lblContent->setVisible(shown);
    m_editContent->setVisible(shown);
}
