#include "dlgfilter.h"

#include "accountfields.h"
#include "accounttexts.h"
#include "editablecombo.h"
#include "filtertypes.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

DlgFilter::DlgFilter(QWidget* parent, const char* name, bool modal, Qt::WindowFlags f)
    : TDlgFilter(parent, name, modal, f)
{
    m_comboHeader->setFocus();
}

void DlgFilter::showRow(const DBRow* row)
{
    m_comboHeader->clear();
    for (const char* header : {"From", "To", "Cc", "Subject", "Sender"})
        m_comboHeader->addItem(QString::fromLatin1(header));
    showInEditable(m_comboHeader, AccountTexts::cell(row, "header"));

    m_comboType->clear();
    for (int type = 0; type < FilterTypes::Count; ++type)
        m_comboType->addItem(FilterTypes::phrase(type), type);
    const int type = AccountTexts::number(row, "type");
    int index = m_comboType->findData(type);
    if (index < 0) {
        m_comboType->addItem(FilterTypes::phrase(type), type);
        index = m_comboType->count() - 1;
    }
    m_comboType->setCurrentIndex(index);
    slotTypeActivated(index);

    m_editContent->setText(AccountTexts::cell(row, "content"));
}

void DlgFilter::writeRow(DBRow* row) const
{
    setCell(row, "header", m_comboHeader->currentText());
    setCell(row, "type", QString::number(m_comboType->currentData().toInt()));
    setCell(row, "content", m_editContent->text());
}

void DlgFilter::slotTypeActivated(int index)
{
    const bool shown = FilterTypes::needsContent(m_comboType->itemData(index).toInt());
    m_lblContent->setVisible(shown);
    m_editContent->setVisible(shown);
}
