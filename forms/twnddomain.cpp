#include "twnddomain.h"

#include "listform.h"
#include "notimplemented.h"

#include <QTreeWidget>
#include <QVBoxLayout>

TWndDomain::TWndDomain(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndDomain"));
    m_list = ListForm::makeList(this, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(m_list);
    setWindowTitle(tr("Domains"));
    resize(484, 242);
}

TWndDomain::~TWndDomain() = default;

void TWndDomain::slotCols()
{
    notImplemented("TWndDomain::slotCols()");
}
