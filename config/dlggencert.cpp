#include "dlggencert.h"

#include "countries.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

DlgGenCert::DlgGenCert(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : TDlgGenCert(parent, name, modal, flags)
{
    for (const Country& country : COUNTRIES)
        m_comboCountry->addItem(QString::fromLatin1(country.name));
    m_comboCountry->setCurrentIndex(m_comboCountry->findText(QStringLiteral("United States")));
    slotChange();
}

DlgGenCert::~DlgGenCert() = default;

bool DlgGenCert::hasHostName() const
{
    return !m_editHostname->text().trimmed().isEmpty();
}

void DlgGenCert::slotChange()
{
    m_btnOK->setEnabled(hasHostName());
}

void DlgGenCert::slotOK()
{
    if (!hasHostName()) {
        m_editHostname->setFocus();
        return;
    }
    const QString chosen = m_comboCountry->currentText();
    m_code.clear();
    for (const Country& country : COUNTRIES) {
        if (chosen == QLatin1String(country.name))
            m_code = QString::fromLatin1(country.code);
    }
    accept();
}
