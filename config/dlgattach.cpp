#include "dlgattach.h"

#include "cellnumbers.h"
#include "comboboxes.h"
#include "dialogseam.h"
#include "rowcells.h"

#include <QComboBox>
#include <QRadioButton>

namespace {

const char* const filePresets[] = {
    "*.bin", "*.exe", "*.com", "*.dll", "*.sys", "*.drv", "*.pif", "*.bat", "*.cmd",
    "*.vbs", "*.doc", "*.dot", "*.rtf", "*.xls", "*.xlt", "*.ppt", "*.mdb",
};

const char* const mimePresets[] = {
    "application/octet-stream",
    "application/*",
    "*/ms-download",
};

template<size_t N>
void fill(QComboBox* box, const char* const (&presets)[N])
{
    box->clear();
    for (const char* preset : presets)
        box->addItem(QString::fromLatin1(preset));
}

} // namespace

DlgAttach::DlgAttach(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : TDlgAttach(parent, name, modal, flags)
{
    m_comboType->setFocus();
}

void DlgAttach::showRow(const DBRow* row, bool newRow)
{
    m_untouched.setNewRow(newRow);
    const int kind = CellNumbers::wholeNumber(row, "type") == 0 ? 0 : 1;
    m_comboType->setCurrentIndex(kind);
    slotTypeActivated(kind);
    m_untouched.remember(QStringLiteral("type"), RowCells::cell(row, "type"), {m_comboType});
    ComboBoxes::setCurrentText(m_comboContent, RowCells::cell(row, "pattern"));
    if (CellNumbers::wholeNumber(row, "action") == 0)
        m_rbtnAccept->setChecked(true);
    else
        m_rbtnBlock->setChecked(true);
    m_untouched.remember(QStringLiteral("action"), RowCells::cell(row, "action"),
                         {m_rbtnAccept, m_rbtnBlock});
}

void DlgAttach::writeRow(DBRow* row) const
{
    RowCells::setCell(row, "type", m_untouched.value(QStringLiteral("type"),
                                                     QString::number(m_comboType->currentIndex())));
    RowCells::setCell(row, "pattern", m_comboContent->currentText());
    RowCells::setCell(row, "action",
                      m_untouched.value(QStringLiteral("action"), m_rbtnBlock->isChecked()
                                                                      ? QStringLiteral("1")
                                                                      : QStringLiteral("0")));
}

void DlgAttach::slotOK()
{
    if (m_comboContent->currentText().isEmpty()) {
        const Dialogs::Button answer = Dialogs::warning(
            nullptr, tr("Ornel Corvane Administration"),
            tr("You should fill content item.\nDo you want to correct the problem?"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer != QMessageBox::No) {
            m_comboContent->setFocus();
            return;
        }
    }
    accept();
}

void DlgAttach::slotTypeActivated(int type)
{
    const QString typed = m_comboContent->currentText();
    if (type == 0)
        fill(m_comboContent, filePresets);
    else if (type == 1)
        fill(m_comboContent, mimePresets);
    else
        return;
    ComboBoxes::setCurrentText(m_comboContent, typed);
}
