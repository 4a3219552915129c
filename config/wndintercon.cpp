#include "wndintercon.h"

#include "comboboxes.h"
#include "configcolumns.h"
#include "dbconn.h"
#include "dbreq.h"
#include "dialogseam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>

#include <vector>

namespace {

// A text cell of an answer, whatever its length: names are not cut to a buffer's size.
QString answerText(DBReq& request, int row, int column)
{
    std::vector<char> buffer(64);
    int length = int(buffer.size());
    if (!request.read(row, column, buffer.data(), &length)) {
        if (length <= int(buffer.size()))
            return QString();
        buffer.resize(size_t(length));
        if (!request.read(row, column, buffer.data(), &length))
            return QString();
    }
    return QString::fromUtf8(buffer.data());
}

} // namespace

WndInterCon::WndInterCon(QWidget* parent, DBConn* conn, DBCtrl* ctrl, const char* name,
                         Qt::WindowFlags flags)
    : TWndInterCon(parent, name, flags)
    , ConfigPage(this, parent, conn, ctrl)
{
    if (!loadTables({{&m_connection, "connection", dbcol_inter, EditedRow}}))
        return;
    if (!loadRASLines())
        return;
    start(ApplyAndReset);
}

WndInterCon::~WndInterCon() = default;

bool WndInterCon::loadRASLines()
{
    const QPointer<QWidget> page(this);
    DBReq request(QStringLiteral("SELECT get_phonebook()"), false);
    bool answered = false;
    if (m_conn) {
        m_conn->insert(&request);
        request.wait(false, nullptr);
        if (!page)
            return false;
        answered = request.m_status == 0;
    }
    if (!answered) {
        Dialogs::warning(nullptr, tr("Error"), tr("Operation failed."));
        return true;
    }
    m_rasLine->clear();
    for (int row = 0; row < request.rowCount(); ++row)
        m_rasLine->addItem(answerText(request, row, 0));
    return true;
}

void WndInterCon::selectRASLines(const QString& line)
{
    ComboBoxes::setCurrentText(m_rasLine, line);
}

void WndInterCon::updateData()
{
    if (cellFlag(m_connection, "OnlineMode"))
        m_rbtnOnline->setChecked(true);
    else
        m_rbtnOffline->setChecked(true);
    m_chkUseRAS->setChecked(cellFlag(m_connection, "UseRAS"));
    selectRASLines(cell(m_connection, "RASLine"));
    m_editUser->setText(cell(m_connection, "RASUser"));
    showPlaceholder(m_editPass);
}

void WndInterCon::updateObject()
{
    const bool offline = m_rbtnOffline->isChecked();
    const bool dialUp = offline && m_chkUseRAS->isChecked();
    m_chkUseRAS->setEnabled(offline);
    m_rasLine->setEnabled(dialUp);
    m_editUser->setEnabled(dialUp);
    m_editPass->setEnabled(dialUp);
}

void WndInterCon::writeRows()
{
    setFlag(m_connection, "OnlineMode", m_rbtnOnline->isChecked());
    setFlag(m_connection, "UseRAS", m_chkUseRAS->isChecked());
    setCell(m_connection, "RASLine", m_rasLine->currentText());
    setCell(m_connection, "RASUser", m_editUser->text());
    writePassword(m_connection, "RASPassword", m_editPass);
}

void WndInterCon::slotChanged()
{
    handChangeIn();
}

void WndInterCon::slotToogleOnline(bool)
{
    slotChanged();
    updateObject();
}

void WndInterCon::slotToogleOffline(bool)
{
    slotChanged();
    updateObject();
}

void WndInterCon::slotToogleUseRas(bool)
{
    updateObject();
    slotChanged();
}
