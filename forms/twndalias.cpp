#include "twndalias.h"

#include "listform.h"
#include "notimplemented.h"

#include <QTreeWidget>
#include <QVBoxLayout>

TWndAlias::TWndAlias(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndAlias"));
    m_list = ListForm::makeList(this, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(m_list);
    setWindowTitle(tr("Aliases"));
    resize(484, 242);
}

TWndAlias::~TWndAlias() = default;

void TWndAlias::slotCols()
{
    notImplemented("TWndAlias::slotCols()");
}
