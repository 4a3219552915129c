#include "wndintercon.h"

#include "comboboxes.h"
#include "configcolumns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

WndInterCon::WndInterCon(QWidget* parent, DBConn* conn, DBCtrl* ctrl, const char* name,
                         Qt::WindowFlags flags)
    : TWndInterCon(parent, name, flags)
    , ConfigPage(this, parent, conn, ctrl)
{
    if (!loadTables({{&m_connection, "connection", dbcol_inter, EditedRow}}))
        return;
    if (!loadRASLines())
        return;
    bindCell(m_connection, "OnlineMode", {m_rbtnOnline, m_rbtnOffline});
    bindCell(m_connection, "UseRAS", {m_chkUseRAS});
    bindCell(m_connection, "RASLine", {m_rasLine});
    bindCell(m_connection, "RASUser", {m_editUser});
    start(ApplyAndReset);
}

WndInterCon::~WndInterCon() = default;

bool WndInterCon::loadRASLines()
{
    QList<QStringList> lines;
    const Asked asked = askServer(QStringLiteral("SELECT get_phonebook()"), 1, &lines);
    if (asked == Asked::PageGone)
        return false;
    if (asked == Asked::Answered) {
        m_rasLine->clear();
        for (const QStringList& line : std::as_const(lines))
            m_rasLine->addItem(line.first());
    }
    return true;
}

void WndInterCon::selectRASLines(const QString& line)
{
    if (!line.isEmpty())
        ComboBoxes::setCurrentText(m_rasLine, line);
}

void WndInterCon::updateData()
{
    if (cellFlag(m_connection, "OnlineMode"))
        m_rbtnOnline->setChecked(true);
    else
        m_rbtnOffline->setChecked(true);
    m_chkUseRAS->setChecked(cellFlag(m_connection, "UseRAS"));
    // No line stored: the box shows its first, which the row takes only once the
    // administrator chooses it or turns dial-up on.
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
    writeFlag(m_connection, "OnlineMode", m_rbtnOnline->isChecked());
    writeFlag(m_connection, "UseRAS", m_chkUseRAS->isChecked());
    writeChoice(m_connection, "RASLine", m_rasLine->currentText(), {m_chkUseRAS, "UseRAS"});
    writeCell(m_connection, "RASUser", m_editUser->text());
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
