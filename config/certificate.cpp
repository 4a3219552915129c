#include "certificate.h"

#include "escape.h"

#include <QStringList>

namespace Certificate {

QList<Field> split(const QString& name)
{
    QList<Field> fields;
    qsizetype slash = name.indexOf(u'/');
    while (slash >= 0) {
        const qsizetype equals = name.indexOf(u'=', slash + 1);
        // Each round moves past at least one "=", so the split always ends.
        if (equals <= slash + 1)
            break;
        const qsizetype next = name.indexOf(u'/', equals + 1);
        const qsizetype end = next < 0 ? name.size() : next;
        fields.append({name.mid(slash + 1, equals - slash - 1), name.mid(equals + 1, end - equals - 1)});
        slash = next;
    }
    return fields;
}

QString createStatement(const Attributes& attributes)
{
    const QStringList values{attributes.hostName, attributes.orgUnit, attributes.orgName,
                             attributes.city,     attributes.state,   attributes.country};
    QStringList quoted;
    for (const QString& value : values)
        quoted.append(u'"' + escape(value) + u'"');
    return QStringLiteral("SELECT create_certificate(") + quoted.join(QStringLiteral(", "))
        + u')';
}

} // namespace Certificate
