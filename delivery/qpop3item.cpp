#include "qpop3item.h"

#include "cols.h"
#include "deliveryicons.h"
#include "deliverytexts.h"

#include <QCoreApplication>

using namespace DeliveryTexts;

QPop3Item::QPop3Item(QTreeWidget* list, DBRow* row, const Cols* cols)
    : DeliveryItem(list, cols, Type)
    , m_row(row)
{
}

void QPop3Item::addColumns(Cols& cols)
{
    cols.add(QCoreApplication::translate("WndPop3", "POP3 Server"), true, -1, false);
    cols.add(QCoreApplication::translate("WndPop3", "POP3 User"), true, -1, false);
    cols.add(QCoreApplication::translate("WndPop3", "Delivery"), true, -1, false);
    cols.add(QCoreApplication::translate("WndPop3", "Authentication"), false, -1, false);
    cols.add(QCoreApplication::translate("WndPop3", "Max msg."), false, -1, false);
    cols.add(QCoreApplication::translate("WndPop3", "Description"), true, -1, false);
    cols.add(QCoreApplication::translate("WndPop3", "SSL Mode"), false, -1, false);
    cols.add(QCoreApplication::translate("WndPop3", "Port"), false, -1, false);
}

QString QPop3Item::getAuthAsString(int type)
{
    switch (type) {
    case 0: return QStringLiteral("Plain");
    case 1: return QStringLiteral("APOP");
    }
    return QString();
}

int QPop3Item::getAuthAsInt(const QString& text)
{
    return text == QLatin1String("APOP") ? 1 : 0;
}

QString QPop3Item::getSSLAsString(int mode)
{
    switch (mode) {
    case 1: return QStringLiteral("Special port");
    case 2: return QStringLiteral("STLS command");
    }
    return QString();
}

int QPop3Item::getSSLAsInt(const QString& text)
{
    if (text == QLatin1String("Special port"))
        return 1;
    if (text == QLatin1String("STLS command"))
        return 2;
    return 0;
}

bool QPop3Item::listsAsHeader(const QString& mbox)
{
    return mbox.startsWith(QLatin1Char('{'));
}

bool QPop3Item::opensAsHeader(const QString& mbox)
{
    return mbox.size() >= 2 && listsAsHeader(mbox);
}

QString QPop3Item::headerOf(const QString& mbox)
{
    return enclosedText(mbox, QLatin1Char('}'));
}

QString QPop3Item::mboxOfHeader(const QString& header)
{
    return QLatin1Char('{') + header + QLatin1Char('}');
}

QString QPop3Item::deliveryText(const QString& mbox)
{
    if (mbox.isEmpty())
        return QString();
    if (listsAsHeader(mbox))
        return QCoreApplication::translate("QPop3Item", "Sort with header \"") + headerOf(mbox)
               + QCoreApplication::translate("QPop3Item", "\"");
    return QCoreApplication::translate("QPop3Item", "To mailbox") + QLatin1Char(' ') + mbox;
}

QString QPop3Item::cellText(int id) const
{
    switch (id) {
    case Server: return cell(m_row, "server");
    case User: return cell(m_row, "user");
    case Delivery: return deliveryText(cell(m_row, "mbox"));
    case Authentication: return getAuthAsString(leadingInt(cell(m_row, "auth_type")));
    case MaxMessages: return cell(m_row, "max_msgcount");
    case Description: return cell(m_row, "description");
    case SslMode: return getSSLAsString(leadingInt(cell(m_row, "sslmode")));
    case Port: return cell(m_row, "port");
    }
    return QString();
}

void QPop3Item::show()
{
    m_cols->showItem(this, [this](int id) { return cellText(id); });
    setIconOfFirst(DeliveryIcons::pop3());
}

QString QPop3Item::key(int column, bool) const
{
    const bool numeric = column >= 0 && (column == viewColumn(MaxMessages) || column == viewColumn(Port));
    const QString primary = numeric ? sizeKey(text(column)) : text(column);
    const QString blanks(16, QLatin1Char(' '));
    return primary + blanks + textOfId(Server) + blanks + textOfId(User);
}
