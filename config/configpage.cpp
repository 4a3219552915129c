#include "configpage.h"

#include "accountcolumns.h"
#include "carriedout.h"
#include "cellnumbers.h"
#include "comboboxes.h"
#include "dbconn.h"
#include "dbctrl.h"
#include "dbreq.h"
#include "dbrow.h"
#include "dbtable.h"
#include "dialogseam.h"
#include "dlgbrowse.h"
#include "dlgipgroup.h"
#include "fieldfocus.h"
#include "ipaccesslist.h"
#include "numberfields.h"
#include "ownrequest.h"
#include "passwordplaceholder.h"
#include "scopedqpointer.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QWidget>

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

struct ConfigPage::PickerTables
{
    DBTable domains;
    DBTable users;
    DBTable groups;
};

ConfigPage::ConfigPage(QWidget* page, QWidget* parent, DBConn* conn, DBCtrl* ctrl,
                       Desktop* desktop)
    : m_parent(parent)
    , m_conn(conn)
    , m_ctrl(ctrl)
    , m_desktop(desktop)
    , m_page(page)
{
}

ConfigPage::~ConfigPage()
{
    for (const QMetaObject::Connection& connection : std::as_const(m_connections))
        QObject::disconnect(connection);
}

QString ConfigPage::caption()
{
    return QCoreApplication::translate("ConfigPage", "Ornel Corvane Administration");
}

bool ConfigPage::loadTables(const QList<TableLoad>& loads)
{
    const QPointer<QWidget> page(m_page);
    const int flags = DBTable::WaitWithProgress | DBTable::ReportRefusal;
    for (const TableLoad& load : loads) {
        const bool loaded = (load.use & Function)
            ? load.table->function(m_parent, m_conn, load.name, load.columns, flags)
            : load.table->select(m_parent, m_conn, load.name, load.columns, flags);
        // The page may have been closed while it waited; then it is half destroyed.
        if (!page)
            return false;
        // The widgets show the one row of a single-row table: without it there is nothing
        // to show or to write, and the page stays as inert as after a failed load.
        if (!loaded || ((load.use & SingleRow) && load.table->m_rows.empty()))
            return false;
        m_tables.append(load.table);
        if (load.use & Edited)
            m_edited.append(load.table);
    }
    return true;
}

void ConfigPage::start(int follow)
{
    m_ready = false;
    updateData();
    rememberShown();
    answerSignals(follow);
    updateObject();
    m_ready = true;
}

void ConfigPage::refill()
{
    showUnwritten([this] { updateData(); });
}

void ConfigPage::showStored()
{
    showUnwritten([this] { updateData(); });
    rememberShown();
    updateObject();
}

void ConfigPage::bindCell(DBTable& table, const char* column,
                          std::initializer_list<const QWidget*> widgets)
{
    m_bound.push_back({&table, column});
    m_shown.remember(QString::number(m_bound.size() - 1), QString(), widgets);
}

int ConfigPage::boundIndex(const DBTable& table, const char* column) const
{
    for (size_t i = 0; i < m_bound.size(); ++i) {
        if (m_bound[i].table == &table && qstrcmp(m_bound[i].column, column) == 0)
            return int(i);
    }
    return -1;
}

void ConfigPage::rememberShown()
{
    for (size_t i = 0; i < m_bound.size(); ++i)
        m_shown.settle(QString::number(i), QString());
}

// A cell that holds what the server holds was carried out, or never changed: either way
// what its widgets show is what the server holds.
void ConfigPage::settleStoredCells()
{
    for (size_t i = 0; i < m_bound.size(); ++i) {
        DBTable& table = *m_bound[i].table;
        if (cell(table, m_bound[i].column) == storedCell(table, m_bound[i].column))
            m_shown.settle(QString::number(i), QString());
    }
}

bool ConfigPage::isTouched(DBTable& table, const char* column) const
{
    const int index = boundIndex(table, column);
    return index < 0 || m_shown.isTouched(QString::number(index));
}

void ConfigPage::writeCell(DBTable& table, const char* column, const QString& edited)
{
    if (isTouched(table, column))
        setCell(table, column, edited);
    else
        keepStored(table, column);
}

void ConfigPage::writeFlag(DBTable& table, const char* column, bool on)
{
    writeCell(table, column, on ? QStringLiteral("1") : QStringLiteral("0"));
}

void ConfigPage::showUnwritten(const std::function<void()>& show)
{
    const bool ready = m_ready;
    m_ready = false;
    show();
    m_ready = ready;
}

void ConfigPage::answerSignals(int follow)
{
    if (!m_ctrl)
        return;
    auto answer = [this](auto signal, void (ConfigPage::*slot)()) {
        m_connections.append(QObject::connect(m_ctrl, signal, m_page, [this, slot] { (this->*slot)(); }));
    };
    if (follow & BeforeApply)
        answer(&DBCtrl::sig_before_apply, &ConfigPage::slotBeforeApply);
    if (follow & UpdateAgain)
        answer(&DBCtrl::sig_update_again, &ConfigPage::slotUpdateAgain);
    if (follow & Apply) {
        answer(&DBCtrl::sig_apply, &ConfigPage::slotApply);
        m_connections.append(QObject::connect(m_ctrl, &DBCtrl::sig_carried_out, m_page,
                                              [this](const QStringList& statements) {
                                                  CarriedOut done(statements);
                                                  storeCarriedOut(done);
                                              }));
    }
    if (follow & Reset)
        answer(&DBCtrl::sig_reset, &ConfigPage::slotReset);
}

// The tables' statements go to the controller in one list: handed in table by table, the
// list would be empty between a table with nothing pending and the next, and Apply and Reset
// would go off and on again at every change.
void ConfigPage::updateQuery()
{
    if (!m_ctrl)
        return;
    QStringList statements;
    for (DBTable* table : std::as_const(m_edited))
        statements += *table->diff(true);
    m_ctrl->set(statements, false);
}

void ConfigPage::updateQueryAfterEditOf(const DBRow* row)
{
    if (!m_ctrl)
        return;
    QStringList statements;
    for (DBTable* table : std::as_const(m_edited))
        statements += *table->diffAfterEditOf(row, true);
    m_ctrl->set(statements, false);
}

void ConfigPage::slotUpdateAgain()
{
    updateQuery();
}

void ConfigPage::slotApply()
{
    for (DBTable* table : std::as_const(m_tables))
        table->apply(false);
    settleStoredCells();
}

void ConfigPage::storeCarriedOut(CarriedOut& done)
{
    for (DBTable* table : std::as_const(m_edited))
        table->storeCarriedOut(done);
    settleStoredCells();
}

void ConfigPage::slotReset()
{
    for (DBTable* table : std::as_const(m_tables))
        table->reset();
    m_holdingBack = false;
    showStored();
}

bool ConfigPage::handChangeIn()
{
    if (!m_ready)
        return false;
    m_holdingBack = false;
    writeRows();
    // An edit held back is told before the statements change and one let go after them, so
    // that the buttons never go off between the two.
    if (m_holdingBack)
        announceHeldBack();
    updateQuery();
    if (!m_holdingBack)
        announceHeldBack();
    return true;
}

void ConfigPage::announceHeldBack()
{
    if (m_ctrl)
        m_ctrl->setHeldBack(m_holdingBack);
}

bool ConfigPage::stopAtBeyondColumn(const QString& what, QLineEdit* field, qint64 factor,
                                    qint64 columnTop, const QString& unit)
{
    if (NumberFields::fits(field, factor, columnTop))
        return false;
    const QPointer<QWidget> alive(m_page);
    Dialogs::warning(nullptr, caption(),
                     NumberFields::beyondColumnText(what, factor, columnTop, unit),
                     QMessageBox::Ok);
    // The page may go while the box is up; then so has this base.
    if (!alive)
        return true;
    FieldFocus::give(field);
    withdrawApply();
    return true;
}

bool ConfigPage::askToCorrect(const QString& text, QWidget* field)
{
    const Dialogs::Button answer = Dialogs::information(
        nullptr, caption(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::No)
        return false;
    FieldFocus::give(field);
    withdrawApply();
    return true;
}

void ConfigPage::withdrawApply()
{
    for (DBTable* table : std::as_const(m_edited))
        table->m_statements.clear();
    if (m_ctrl)
        m_ctrl->m_pending.clear();
}

DBRow* ConfigPage::firstRow(DBTable& table)
{
    return table.m_rows.empty() ? nullptr : table.m_rows.front().get();
}

DBRow* ConfigPage::firstOriginal(DBTable& table)
{
    DBRow* row = firstRow(table);
    if (!row)
        return nullptr;
    // Looked up without findorig(), whose matched mark belongs to the diff.
    for (const std::unique_ptr<DBRow>& original : table.m_orig) {
        if (original->m_id == row->m_id)
            return original.get();
    }
    return nullptr;
}

QString ConfigPage::cell(DBTable& table, const char* column)
{
    DBRow* row = firstRow(table);
    const int index = row ? row->colIndex(column) : -1;
    return index < 0 ? QString() : row->m_values[size_t(index)]->text();
}

QString ConfigPage::storedCell(DBTable& table, const char* column)
{
    DBRow* original = firstOriginal(table);
    const int index = original ? original->colIndex(column) : -1;
    return index < 0 ? QString() : original->m_values[size_t(index)]->text();
}

void ConfigPage::keepStored(DBTable& table, const char* column)
{
    DBRow* row = firstRow(table);
    DBRow* original = firstOriginal(table);
    const int index = row ? row->colIndex(column) : -1;
    if (index < 0 || !original || size_t(index) >= original->m_values.size())
        return;
    row->m_values[size_t(index)]->setTextOf(*original->m_values[size_t(index)]);
}

void ConfigPage::writeChoice(DBTable& table, const char* column, const QString& chosen,
                             const TurnedOnBy& turnedOnBy)
{
    const bool turnedOn = turnedOnBy.button->isChecked() && isTouched(table, turnedOnBy.column);
    if (isTouched(table, column) || turnedOn)
        setCell(table, column, chosen);
    else
        keepStored(table, column);
}

qint64 ConfigPage::cellNumber(DBTable& table, const char* column)
{
    return CellNumbers::leadingNumber(cell(table, column));
}

bool ConfigPage::cellFlag(DBTable& table, const char* column)
{
    return cellNumber(table, column) != 0;
}

void ConfigPage::setCell(DBTable& table, const char* column, const QString& text)
{
    DBRow* row = firstRow(table);
    const int index = row ? row->colIndex(column) : -1;
    if (index >= 0)
        row->m_values[size_t(index)]->set(text);
}

void ConfigPage::showPlaceholder(QLineEdit* field)
{
    field->setText(passwordPlaceholder());
}

void ConfigPage::writePassword(DBTable& table, const char* column, const QLineEdit* field)
{
    if (field->text() != passwordPlaceholder())
        setCell(table, column, QStringLiteral("NUL:") + field->text());
    else
        keepStored(table, column);
}

void ConfigPage::fillGroupBox(DBTable* acl, QComboBox* box, const QString& stored)
{
    fillComboFromAcl(acl, box, stored, false);
    if (!stored.isEmpty())
        ComboBoxes::setCurrentText(box, stored);
}

void ConfigPage::editAddressGroups(DBTable* acl, const QString& shownGroup,
                                   const QList<GroupBox>& boxes)
{
    if (!m_ready)
        return;
    const QPointer<QWidget> page(m_page);
    int result = QDialog::Rejected;
    {
        // The dialog goes with the page should the page be closed under it.
        const ScopedQPointer<DlgIPGroup> dialog(
            new DlgIPGroup(m_page, nullptr, true, {}, m_conn, m_desktop, shownGroup));
        if (dialog)
            result = Dialogs::exec(dialog.get());
    }
    if (!page)
        return;
    if (result != QDialog::Accepted) {
        acl->reset();
        return;
    }
    const bool loaded = acl->select(m_parent, m_conn, "ipaccesslist", dbcol_ipacl,
                                    DBTable::WaitWithProgress | DBTable::ReportRefusal);
    if (!page || !loaded)
        return;
    refillGroupBoxes(acl, boxes);
    handChangeIn();
}

void ConfigPage::refillGroupBoxes(DBTable* acl, const QList<GroupBox>& boxes)
{
    showUnwritten([&] {
        for (const GroupBox& group : boxes) {
            const bool chosen = m_shown.isChanged(group.box);
            const QString choice = group.box->currentText();
            fillGroupBox(acl, group.box, storedCell(*group.table, group.column));
            const int kept = chosen ? group.box->findText(choice) : -1;
            // A choice kept is measured against what the box showed before, since the
            // refill may show the very group chosen for what the server holds.
            if (kept >= 0)
                group.box->setCurrentIndex(kept);
            else
                m_shown.refilled(group.box);
        }
    });
}

bool ConfigPage::pickAccount(QString* chosen)
{
    if (!m_ready)
        return false;
    if (!m_picker)
        m_picker = std::make_unique<PickerTables>();
    const QPointer<QWidget> page(m_page);
    PickerTables& tables = *m_picker;
    const ScopedQPointer<DlgBrowse> dialog(new DlgBrowse(
        m_page, nullptr, true, {}, m_conn, &tables.domains, &tables.users, &tables.groups));
    if (!dialog || Dialogs::exec(dialog.get()) != QDialog::Accepted || !dialog || !page)
        return false;
    *chosen = dialog->m_result;
    return true;
}

DBTable* ConfigPage::pickerTable(PickerTable which)
{
    if (!m_picker)
        m_picker = std::make_unique<PickerTables>();
    switch (which) {
    case PickerDomains:
        return &m_picker->domains;
    case PickerUsers:
        return &m_picker->users;
    case PickerGroups:
        return &m_picker->groups;
    }
    return nullptr;
}

bool ConfigPage::loadPickerTable(PickerTable which)
{
    DBTable* table = pickerTable(which);
    if (which == PickerDomains)
        return false;
    if (table->m_loaded)
        return true;
    const QPointer<QWidget> page(m_page);
    const bool loaded = which == PickerUsers
        ? table->select(m_parent, m_conn, "user", dbcol_user_min,
                        DBTable::WaitWithProgress | DBTable::ReportRefusal)
        : table->select(m_parent, m_conn, "group", dbcol_group,
                        DBTable::WaitWithProgress | DBTable::ReportRefusal);
    return loaded && page;
}

ConfigPage::Asked ConfigPage::askServer(const QString& statement, int columns,
                                        QList<QStringList>* rows)
{
    DBReq request(statement, false);
    switch (sendOwnRequest(m_conn, request, m_page)) {
    case OwnRequest::OwnerGone:
        return Asked::PageGone;
    case OwnRequest::Failed:
        return Asked::Failed;
    case OwnRequest::Answered:
        break;
    }
    rows->clear();
    for (int row = 0; row < request.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < columns; ++column)
            cells.append(answerText(request, row, column));
        rows->append(cells);
    }
    return Asked::Answered;
}
