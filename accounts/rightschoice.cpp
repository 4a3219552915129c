#include "rightschoice.h"

#include <QRadioButton>

void RightsChoice::show(int rights) const
{
    if ((rights & 3) == 3)
        readWrite->setChecked(true);
    else if (rights & 1)
        readOnly->setChecked(true);
    else
        noAccess->setChecked(true);
}

QString RightsChoice::edited(int stored) const
{
    if (readOnly->isChecked())
        return QStringLiteral("1");
    if (readWrite->isChecked())
        return QString::number(stored | 3);
    return QStringLiteral("0");
}

QString RightsChoice::chosen() const
{
    return edited(0);
}
