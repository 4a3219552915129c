#include "domainchoice.h"

#include "accounttexts.h"
#include "dbtable.h"
#include "globaldata.h"

#include <QComboBox>

using AccountTexts::cell;
using AccountTexts::wholeNumber;

namespace DomainChoice {

void fill(QComboBox* box, const DBTable& domains)
{
    box->clear();
    const QString& current = globalData.currentDomain;
    for (const auto& row : domains.m_rows) {
        const int type = wholeNumber(row.get(), "type");
        if (type != 0 && type != 1)
            continue;
        const QString domain = cell(row.get(), "domain");
        box->addItem(domain);
        if (domain == current || (current.isEmpty() && type == 0))
            box->setCurrentIndex(box->count() - 1);
    }
}

QString chosen(const DBTable& domains, const QString& text)
{
    for (const auto& row : domains.m_rows) {
        if (cell(row.get(), "domain") == text)
            return wholeNumber(row.get(), "type") == 0 ? QString() : text;
    }
    return text;
}

} // namespace DomainChoice
