#pragma once

#include <QList>
#include <QPair>
#include <QString>

// What the advanced options page makes of the server's certificate: the issuer or subject
// name split into its fields, and the statement that has the server generate a new one.
namespace Certificate {

using Field = QPair<QString, QString>; // field name, value

// "/ST=Texas/L=Austin/CN=mail" gives (ST, Texas), (L, Austin), (CN, mail). A value runs to
// the next "/", so a value holding one is cut there and the rest, up to the next "=", is
// read as the next field's name: "/O=R/D/CN=x" gives (O, R), (D/CN, x). Text before the
// first "/" is skipped, and the split ends at a "/" that no field name and "=" follow (a
// trailing one, or "/=v").
QList<Field> split(const QString& name);

// The attributes of a self-signed certificate, as the certificate dialog collects them.
struct Attributes
{
    QString hostName;
    QString orgName;
    QString orgUnit;
    QString city;
    QString state;
    QString country; // two-letter code
};

// SELECT create_certificate("host", "unit", "organization", "city", "state", "country"),
// every value escaped.
QString createStatement(const Attributes& attributes);

} // namespace Certificate
