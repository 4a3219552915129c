#include "wndpop3.h"

#include "comboboxes.h"
#include "deliverycolumns.h"
#include "deliverytexts.h"
#include "dialogseam.h"
#include "dlgpop3.h"
#include "dlgrule.h"
#include "qpop3item.h"
#include "qruleitem.h"
#include "scopedqpointer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

using namespace DeliveryTexts;

const char* const WndPop3::PasswordPlaceholder = "PlainFillText";

namespace {

// A choice box whose entries carry the stored number they stand for. A stored number that
// no entry stands for leaves the box at its first entry; the dialog's UntouchedFields
// writes it back as it was unless another entry is chosen.
void addNumberEntry(QComboBox* box, const QString& text, int number)
{
    box->addItem(text, QString::number(number));
}

void chooseNumber(QComboBox* box, int stored)
{
    ComboBoxes::setCurrentItem(box, box->findData(QString::number(stored)));
}

} // namespace

WndPop3::WndPop3(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop, const char* name,
                 Qt::WindowFlags fl)
    : TWndPop3(parent, name, fl)
    , ListPage(this, conn, ctrl, desktop)
{
    addList({m_list, QStringLiteral("pop3acc"), 2, m_btnEdit, m_btnRemove, &m_tblPop3,
             tr("POP3 account with this name and server is already defined!")});
    addList({m_list_2, QStringLiteral("pop3sort"), 2, m_btnEdit_2, m_btnRemove_2, &m_tblSort,
             tr("This sorting rule is already defined!")});
    QPop3Item::addColumns(cols(Accounts));
    QRuleItem::addColumns(cols(Rules));
    loadLayouts();
    if (!loadTables({{&m_tblPop3, "pop3", dbcol_pop3}, {&m_tblSort, "sort", dbcol_rule}}))
        return;
    finishEditablePage();
}

WndPop3::~WndPop3() = default;

int WndPop3::currentList() const
{
    return m_tabs->currentIndex() == 1 ? Rules : Accounts;
}

void WndPop3::fillItems(int list)
{
    if (list == Accounts) {
        for (const auto& row : m_tblPop3.m_rows)
            (new QPop3Item(m_list, row.get(), &cols(Accounts)))->show();
        return;
    }
    // A rule for "@" stays in the table, checked as a duplicate and committed, but is not
    // the administrator's to change here.
    for (const auto& row : m_tblSort.m_rows) {
        if (!QRuleItem::isHidden(row.get()))
            (new QRuleItem(m_list_2, row.get(), &cols(Rules)))->show();
    }
}

DBRow* WndPop3::rowOf(int list, QTreeWidgetItem* item) const
{
    if (list == Accounts)
        return static_cast<QPop3Item*>(item)->row();
    return static_cast<QRuleItem*>(item)->row();
}

QTreeWidgetItem* WndPop3::newItem(int list, DBRow* row)
{
    if (list == Accounts)
        return new QPop3Item(m_list, row, &cols(Accounts));
    return new QRuleItem(m_list_2, row, &cols(Rules));
}

void WndPop3::showItem(int list, QTreeWidgetItem* item)
{
    if (list == Accounts)
        static_cast<QPop3Item*>(item)->show();
    else
        static_cast<QRuleItem*>(item)->show();
}

bool WndPop3::runEditDialog(int list, DBRow* row)
{
    return list == Accounts ? runAccountDialog(row) : runRuleDialog(row);
}

void WndPop3::fillAccountDialog(DlgPop3* dialog, const DBRow* row)
{
    dialog->m_editServer->setText(cell(row, "server"));
    dialog->m_editUser->setText(cell(row, "user"));
    // Never the stored password: only whether it is retyped.
    dialog->m_editPass->setText(QLatin1String(PasswordPlaceholder));
    dialog->m_editDescription->setText(cell(row, "description"));

    for (int type : {0, 1})
        addNumberEntry(dialog->m_comboAuth, QPop3Item::getAuthAsString(type), type);
    chooseNumber(dialog->m_comboAuth, leadingInt(cell(row, "auth_type")));
    dialog->m_untouched.remember(QStringLiteral("auth_type"), cell(row, "auth_type"), {dialog->m_comboAuth});

    for (int mode : {2, 1})
        addNumberEntry(dialog->m_comboSSL, QPop3Item::getSSLAsString(mode), mode);
    const int ssl = leadingInt(cell(row, "sslmode"));
    dialog->m_chkUseSSL->setChecked(ssl > 0);
    if (ssl < 1)
        dialog->m_comboSSL->setEnabled(false);
    else
        chooseNumber(dialog->m_comboSSL, ssl);
    dialog->m_untouched.remember(QStringLiteral("sslmode"), cell(row, "sslmode"),
                                 {dialog->m_chkUseSSL, dialog->m_comboSSL});
    // After the SSL choice, which proposes a standard port: the dialog opens on the stored one.
    dialog->m_editPort->setText(cell(row, "port"));

    dialog->m_comboRule->addItems({QStringLiteral("Received"), QStringLiteral("X-Envelope-To"),
                                   QStringLiteral("Delivered-To")});
    const QString mbox = cell(row, "mbox");
    if (QPop3Item::opensAsHeader(mbox)) {
        dialog->m_rbtnRule->setChecked(true);
        ComboBoxes::setCurrentText(dialog->m_comboRule, QPop3Item::headerOf(mbox));
    } else {
        dialog->m_rbtnAddress->setChecked(true);
        dialog->m_editAddress->setText(mbox);
    }
    // A header text the fields show only as well as they can ("{X-Envelope-To" without its
    // brace, text after it) goes back as stored while they are left alone.
    dialog->m_untouched.remember(QStringLiteral("mbox"), mbox,
                                 {dialog->m_rbtnAddress, dialog->m_rbtnRule, dialog->m_comboRule,
                                  dialog->m_editAddress});
    const QString count = cell(row, "max_msgcount");
    dialog->m_editMaxMsg->setText(count);
    // A stored count beyond what the column holds is the server's, not the administrator's:
    // only a count typed is asked about.
    dialog->m_untouched.remember(QStringLiteral("max_msgcount"), count, {dialog->m_editMaxMsg});
}

void WndPop3::readAccountDialog(const DlgPop3* dialog, DBRow* row)
{
    setCell(row, "server", dialog->m_editServer->text());
    setCell(row, "user", dialog->m_editUser->text());
    if (dialog->m_editPass->text() != QLatin1String(PasswordPlaceholder))
        setCell(row, "password", QLatin1String("NUL:") + dialog->m_editPass->text());
    setCell(row, "description", dialog->m_editDescription->text());
    const UntouchedFields& untouched = dialog->m_untouched;
    setCell(row, "auth_type",
            untouched.value(QStringLiteral("auth_type"), dialog->m_comboAuth->currentData().toString()));
    const QString ssl = dialog->m_chkUseSSL->isChecked() ? dialog->m_comboSSL->currentData().toString()
                                                         : QStringLiteral("0");
    setCell(row, "sslmode", untouched.value(QStringLiteral("sslmode"), ssl));
    setCell(row, "port", dialog->m_editPort->text());
    const QString mbox = dialog->m_rbtnAddress->isChecked()
        ? dialog->m_editAddress->text()
        : QPop3Item::mboxOfHeader(dialog->m_comboRule->currentText());
    setCell(row, "mbox", untouched.value(QStringLiteral("mbox"), mbox));
    setCell(row, "max_msgcount",
            untouched.value(QStringLiteral("max_msgcount"), dialog->m_editMaxMsg->text()));
}

bool WndPop3::runAccountDialog(DBRow* row)
{
    ScopedQPointer<DlgPop3> dialog(
        new DlgPop3(this, nullptr, true, {}, m_conn, &m_tblDomain, &m_tblUser, &m_tblGroup, &m_tblAlias));
    // Its lookups may have found the connection lost: the edit ends there.
    if (!dialog || heldRowsWent())
        return false;
    fillAccountDialog(dialog.get(), row);
    dialog->m_untouched.setNewRow(isNewRow(Accounts, row));
    if (Dialogs::exec(dialog.get()) != QDialog::Accepted || !dialog)
        return false;
    readAccountDialog(dialog.get(), row);
    return true;
}

bool WndPop3::runRuleDialog(DBRow* row)
{
    ScopedQPointer<DlgRule> dialog(
        new DlgRule(this, nullptr, true, {}, m_conn, &m_tblDomain, &m_tblUser, &m_tblGroup, &m_tblAlias));
    if (!dialog || heldRowsWent())
        return false;
    dialog->m_editContent->setText(cell(row, "to"));
    dialog->m_editDeliver->setText(cell(row, "account"));
    if (Dialogs::exec(dialog.get()) != QDialog::Accepted || !dialog)
        return false;
    setCell(row, "to", dialog->m_editContent->text());
    setCell(row, "account", dialog->m_editDeliver->text());
    return true;
}

void WndPop3::slotAdd()
{
    if (currentList() == Rules) {
        slotAdd2();
        return;
    }
    addRow(Accounts, [](DBRow* row) {
        // A new account carries an empty password unless one is typed.
        setCell(row, "password", QStringLiteral("NUL:"));
        setCell(row, "port", QStringLiteral("110"));
    });
}

void WndPop3::slotAdd2()
{
    addRow(Rules, [](DBRow*) {});
}

void WndPop3::slotCols()
{
    if (currentList() == Rules) {
        slotCols2();
        return;
    }
    ListPage::layout(Accounts).modifyColumns();
}

void WndPop3::slotCols2()
{
    ListPage::layout(Rules).modifyColumns();
}

void WndPop3::slotEdit()
{
    if (currentList() == Rules) {
        slotEdit2();
        return;
    }
    editCurrent(Accounts);
}

void WndPop3::slotEdit2()
{
    editCurrent(Rules);
}

void WndPop3::slotRemove()
{
    if (currentList() == Rules) {
        slotRemove2();
        return;
    }
    removeSelected(Accounts);
}

void WndPop3::slotRemove2()
{
    removeSelected(Rules);
}

void WndPop3::slotSelectionChanged()
{
    updateButtons(Accounts);
}

void WndPop3::slotSelectionChanged2()
{
    updateButtons(Rules);
}
