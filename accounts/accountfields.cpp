#include "accountfields.h"

#include "accountcolumns.h"
#include "accounttexts.h"
#include "dbrow.h"
#include "dbtable.h"
#include "dialogseam.h"
#include "dlgaddgroup.h"
#include "globaldata.h"
#include "numberfields.h"
#include "qgroupitem.h"
#include "scopedqpointer.h"
#include "untouchedfields.h"
#include "vexasupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <limits>

using AccountTexts::cell;

namespace {

const int UnitShift[] = {10, 20, 30};
// The largest number the quota fields take.
constexpr qint64 HighestEntry = 1000000;
// The disk quota's column holds a 64-bit signed number of bytes.
constexpr qint64 QuotaColumnTop = std::numeric_limits<qint64>::max();

void addShortColumns(Cols& cols)
{
    cols.add(QObject::tr("Name"), true, -1, false);
    cols.add(QObject::tr("Description"), true, -1, false);
}

QGroupItem* groupItem(QTreeWidgetItem* item)
{
    return static_cast<QGroupItem*>(item);
}

} // namespace

AccountFields::AccountFields(const AccountWidgets& widgets, DBTable* groupTable, QWidget* dialog,
                             UntouchedFields& untouched)
    : m_w(widgets)
    , m_groupTable(groupTable)
    , m_dialog(dialog)
    , m_untouched(untouched)
{
    addShortColumns(m_listCols);
}

AccountFields::~AccountFields()
{
    // The items point at the rows this object owns: they go first.
    m_w.listGroups->clear();
}

QStringList AccountFields::splitGroups(const QString& text)
{
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char(','));
}

AccountFields::QuotaShown AccountFields::showQuota(qint64 bytes)
{
    const qint64 kb = qint64(1) << 10, mb = qint64(1) << 20, gb = qint64(1) << 30;
    if (bytes < kb || bytes % kb != 0)
        return {0, -1};
    if (bytes < mb || bytes % mb != 0)
        return {bytes / kb, 0};
    if (bytes > gb - 1 && bytes % gb == 0)
        return {bytes / gb, 2};
    return {bytes / mb, 1};
}

qint64 AccountFields::quotaBytes(const QString& number, int unit)
{
    const long long n = atoi64(number.toLatin1().constData());
    const int shift = UnitShift[qBound(0, unit, 2)];
    return qint64(quint64(n) << shift);
}

QString AccountFields::FindDesc(const QString& name) const
{
    for (const auto& row : m_groupTable->m_rows) {
        if (cell(row.get(), "name") == name)
            return cell(row.get(), "description");
    }
    return QString();
}

bool AccountFields::existInList(const DBRow* row) const
{
    const QString name = cell(row, "name");
    for (int i = 0; i < m_w.listGroups->topLevelItemCount(); ++i) {
        if (cell(groupItem(m_w.listGroups->topLevelItem(i))->row(), "name") == name)
            return true;
    }
    return false;
}

void AccountFields::loadGroups(const DBRow* row)
{
    for (const QString& name : splitGroups(cell(row, "groups"))) {
        auto group = std::make_unique<DBRow>(dbcol_group);
        setCell(group.get(), "name", name);
        setCell(group.get(), "description", FindDesc(name));
        setCell(group.get(), "rights", QStringLiteral("0"));
        (new QGroupItem(m_w.listGroups, group.get(), &m_listCols))->show_min();
        m_ownRows.push_back(std::move(group));
    }
    m_loadedGroups = listedGroups();
}

QStringList AccountFields::listedGroups() const
{
    QStringList names;
    for (int i = 0; i < m_w.listGroups->topLevelItemCount(); ++i)
        names.append(cell(groupItem(m_w.listGroups->topLevelItem(i))->row(), "name"));
    names.sort();
    return names;
}

bool AccountFields::groupsTouched() const
{
    return listedGroups() != m_loadedGroups;
}

void AccountFields::loadRights(const DBRow* row)
{
    rightsChoice().show(AccountTexts::wholeNumber(row, "rights"));
    m_untouched.remember(QStringLiteral("rights"), cell(row, "rights"),
                         {m_w.rbtnNoAcc, m_w.rbtnViewLogs, m_w.rbtnFullAcc});
}

void AccountFields::loadQuota(const DBRow* row)
{
    const QString stored = cell(row, "qstorage");
    const QuotaShown shown = showQuota(atoi64(stored.toLatin1().constData()));
    m_w.editDiskSpace->setText(QString::number(shown.number));
    if (shown.unit >= 0)
        m_w.comboKB->setCurrentIndex(shown.unit);
    m_w.editNumMess->setText(cell(row, "qmessage"));
    m_untouched.remember(QStringLiteral("qstorage"), stored, {m_w.editDiskSpace, m_w.comboKB});
}

void AccountFields::writeGroups(DBRow* row)
{
    // The list shows the stored groups only in its own order: left alone, it leaves the stored
    // text as it is (groups out of order, a trailing comma).
    if (!groupsTouched())
        return;
    QTreeWidget* list = m_w.listGroups;
    list->sortItems(0, Qt::AscendingOrder);
    QString groups;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (!groups.isEmpty())
            groups += QLatin1Char(',');
        groups += cell(groupItem(list->topLevelItem(i))->row(), "name");
    }
    setCell(row, "groups", groups);
}

void AccountFields::writeRights(DBRow* row)
{
    const QString rights = rightsChoice().edited(AccountTexts::wholeNumber(row, "rights"));
    setCell(row, "rights", m_untouched.value(QStringLiteral("rights"), rights));
}

RightsChoice AccountFields::rightsChoice() const
{
    return {m_w.rbtnNoAcc, m_w.rbtnViewLogs, m_w.rbtnFullAcc};
}

void AccountFields::acceptNumbers()
{
    for (QLineEdit* field : {m_w.editDiskSpace, m_w.editNumMess})
        NumberFields::acceptDigits(field, HighestEntry);
}

bool AccountFields::confirmNumbers()
{
    // A typed number of the field's digits fits in any unit; only a stored one, shown in
    // kilobytes and then put in a larger unit, can go beyond the column.
    const int unit = qBound(0, m_w.comboKB->currentIndex(), 2);
    return NumberFields::confirmFits(QObject::tr("Disk space"), m_w.editDiskSpace,
                                     qint64(1) << UnitShift[unit], QuotaColumnTop,
                                     m_w.comboKB->currentText());
}

void AccountFields::writeQuota(DBRow* row)
{
    const qint64 bytes = quotaBytes(m_w.editDiskSpace->text(), m_w.comboKB->currentIndex());
    setCell(row, "qstorage", m_untouched.value(QStringLiteral("qstorage"), QString::number(bytes)));
    setCell(row, "qmessage", m_w.editNumMess->text());
}

void AccountFields::addGroups()
{
    addGroups(globalData.currentDomain);
}

void AccountFields::addGroups(const QString& domain)
{
    ScopedQPointer<DlgAddGroup> picker(new DlgAddGroup(m_dialog, nullptr, false, {}));
    picker->m_listGroups->clear();
    m_pickerCols = Cols();
    addShortColumns(m_pickerCols);
    for (const auto& group : m_groupTable->m_rows) {
        if (!existInList(group.get()) && cell(group.get(), "domain") == domain)
            (new QGroupItem(picker->m_listGroups, group.get(), &m_pickerCols))->show_min();
    }
    if (Dialogs::exec(picker.get()) != QDialog::Accepted || !picker)
        return;
    QTreeWidget* offered = picker->m_listGroups;
    for (int i = 0; i < offered->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = offered->topLevelItem(i);
        if (item->isSelected())
            (new QGroupItem(m_w.listGroups, groupItem(item)->row(), &m_pickerCols))->show_min();
    }
}

void AccountFields::removeGroups()
{
    const QList<QTreeWidgetItem*> selected = m_w.listGroups->selectedItems();
    qDeleteAll(selected);
}

void AccountFields::updateRemoveButton()
{
    m_w.btnRemove->setEnabled(!m_w.listGroups->selectedItems().isEmpty());
}
