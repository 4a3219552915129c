#include "twnddomain.h"

#include "listform.h"
#include "notimplemented.h"

TWndDomain::TWndDomain(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndDomain"));
    ListForm::buildShownList(this, tr("Domains"));
}

TWndDomain::~TWndDomain() = default;

void TWndDomain::slotCols()
{
    notImplemented("TWndDomain::slotCols()");
}
