#include "authtypechoice.h"

#include "authnames.h"
#include "dbreq.h"
#include "ownrequest.h"

#include <QComboBox>

#include <cstring>

namespace {

qint32 intCell(DBReq& req, int row, int column)
{
    char buffer[128] = {};
    int length = int(sizeof buffer);
    qint32 value = 0;
    if (req.read(row, column, buffer, &length) && length >= int(sizeof value))
        std::memcpy(&value, buffer, sizeof value);
    return value;
}

QString textCell(DBReq& req, int row, int column)
{
    QByteArray buffer(128, '\0');
    int length = int(buffer.size());
    if (!req.read(row, column, buffer.data(), &length)) {
        if (length <= buffer.size())
            return QString(); // no such cell
        buffer.resize(length); // longer than the first guess: read it at its size
        if (!req.read(row, column, buffer.data(), &length))
            return QString();
    }
    return QString::fromUtf8(buffer.constData());
}

} // namespace

QString AuthTypeChoice::label(int row, const QString& serverName)
{
    return row < AUTH_NAMES.size() ? AUTH_NAMES[row] : serverName;
}

void AuthTypeChoice::fillComboAuthTypes(QComboBox* box, int currentId)
{
    DBReq req(QStringLiteral("SELECT get_auth_types()"), false);
    // The box is the dialog's, which may be closed during the wait or the failure's box.
    if (sendOwnRequest(m_conn, req, box) != OwnRequest::Answered)
        return;
    const int rows = req.rowCount();
    m_ids.resize(rows);
    for (int i = 0; i < rows; ++i) {
        m_ids[i] = intCell(req, i, 0);
        box->addItem(label(i, textCell(req, i, 1)));
        if (m_ids.at(i) == currentId)
            box->setCurrentIndex(box->count() - 1);
    }
}

int AuthTypeChoice::getId(unsigned index) const
{
    return index < unsigned(m_ids.size()) ? m_ids.at(int(index)) : 0;
}
