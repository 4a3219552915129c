#include "dbmap.h"

#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>

#include <cstring>

namespace {

bool equalIgnoringCase(const char *a, const char *b)
{
    return a && b && qstricmp(a, b) == 0;
}

} // namespace

void fillCombo(QComboBox *combo, const DBMAP *map, const char *value)
{
    if (!combo || !map)
        return;
    for (const DBMAP *pair = map; pair->label; ++pair) {
        combo->addItem(QString::fromUtf8(pair->label));
        if (value && pair->value && std::strcmp(pair->value, value) == 0)
            combo->setCurrentIndex(combo->count() - 1);
    }
}

void setCheckBox(QCheckBox *box, const char *text, bool sense)
{
    if (!box)
        return;
    bool on = false;
    if (text && *text)
        on = (*text == '0') ? !sense : sense;
    box->setChecked(on);
}

QString map2str(const DBMAP *map, const char *value)
{
    for (const DBMAP *pair = map; pair && pair->label; ++pair) {
        if (equalIgnoringCase(pair->value, value))
            return QString::fromUtf8(pair->label);
    }
    return QLatin1String("");
}

QString str2map(const DBMAP *map, const char *label)
{
    for (const DBMAP *pair = map; pair && pair->label; ++pair) {
        if (equalIgnoringCase(pair->label, label))
            return QString::fromUtf8(pair->value);
    }
    return QLatin1String("");
}
