#include "twndalias.h"

#include "listform.h"
#include "notimplemented.h"

TWndAlias::TWndAlias(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndAlias"));
    ListForm::buildShownList(this, tr("Aliases"));
}

TWndAlias::~TWndAlias() = default;

void TWndAlias::slotCols()
{
    notImplemented("TWndAlias::slotCols()");
}
