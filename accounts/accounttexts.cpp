#include "accounttexts.h"

#include "dbrow.h"
#include "dbtable.h"
#include "vexasupport.h"

#include <QCoreApplication>

namespace AccountTexts {

namespace {

const qint64 KB = qint64(1) << 10;
const qint64 MB = qint64(1) << 20;
const qint64 GB = qint64(1) << 30;

// The list items' texts are translated in the global context.
QString trGlobal(const char* text)
{
    return QCoreApplication::translate("QObject", text);
}

} // namespace

QString rightsLabel(int rights)
{
    if ((rights & 3) == 3)
        return trGlobal("Read/write access");
    if (rights & 1)
        return trGlobal("Read only access");
    return QString();
}

QString quotaText(qint64 bytes)
{
    if (bytes < KB || bytes % KB != 0)
        return QStringLiteral("0");
    if (bytes < MB || bytes % MB != 0)
        return QString::number(bytes / KB) + QLatin1String(" KB");
    if (bytes < GB || bytes % GB != 0)
        return QString::number(bytes / MB) + QLatin1String(" MB");
    return QString::number(bytes / GB) + QLatin1String(" GB");
}

QString yesNo(int flag)
{
    return flag != 0 ? trGlobal("Yes") : trGlobal("No");
}

QString authTypeName(const DBTable& authTypes, int id)
{
    for (const auto& row : authTypes.m_rows) {
        if (wholeNumber(row.get(), "ID") == id)
            return cell(row.get(), "Name");
    }
    return QString();
}

QString settingText(const DBRow* row, Setting setting, const DBTable& authTypes)
{
    switch (setting) {
    case Setting::Authentication: return authTypeName(authTypes, wholeNumber(row, "auth_type"));
    case Setting::Rights: return rightsLabel(wholeNumber(row, "rights"));
    case Setting::Quota: return quotaText(atoi64(cell(row, "qstorage").toLatin1().constData()));
    case Setting::QuotaMessages: return cell(row, "qmessage");
    case Setting::SentFolder: return cell(row, "sentfolder");
    case Setting::DraftFolder: return cell(row, "draftfolder");
    case Setting::HideFolderList: return yesNo(wholeNumber(row, "hidefldlist"));
    case Setting::ShowOnlySubscribed: return yesNo(wholeNumber(row, "showsub"));
    case Setting::MsgsPerPage: return cell(row, "msgperpage");
    case Setting::Language: return cell(row, "preflang");
    }
    return QString();
}

QString countKey(const QString& text)
{
    return QString::asprintf("%06d", CellNumbers::leadingInt(text));
}

QString quotaKey(const QString& text)
{
    const QString digits = countKey(text);
    if (text.size() <= 2)
        return digits;
    const QStringView unit = QStringView(text).right(2);
    if (unit == QLatin1String("KB"))
        return QLatin1String("a") + digits;
    if (unit == QLatin1String("MB"))
        return QLatin1String("b") + digits;
    if (unit == QLatin1String("GB"))
        return QLatin1String("c") + digits;
    return digits;
}

QString textKey(const QString& text, const QString& name)
{
    QString key;
    key.reserve(text.size() + 16 + name.size());
    key += text;
    key += QLatin1String("                ");
    key += name;
    return key;
}

} // namespace AccountTexts
