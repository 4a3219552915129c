#pragma once

#include "groupedtable.h"
#include "listpage.h"

#include <QSet>
#include <QStringList>

#include <optional>

// A list page of named sets of rows, the address groups or the time ranges: each set is a
// heading with its entries below it. Add and Edit open the set's dialog, which sends its
// changes at once; the page then reads the table again. Remove takes whole sets out through
// the pending list, like any page's edit, until Apply or Reset; a set waiting for removal
// that the dialog adds entries to, or changes, is kept and shown again.
class SetListPage : public ListPage
{
protected:
    struct Source
    {
        const char* table;
        const DBCOL* columns;
        const char* nameColumn;
    };

    SetListPage(QWidget* page, DBConn* conn, DBCtrl* ctrl, Desktop* desktop, const Source& source);

    // The page's one list, its layout kept under "/Admin/Ferrox" beside the other
    // definition lists' layouts rather than the mail lists'.
    void addSetList(QTreeWidget* list, const QString& key, QAbstractButton* editButton,
                    QAbstractButton* removeButton);
    // Once the columns are declared: reads the layout and the table, draws and follows the
    // main window.
    void start();

    // The cells of a set's heading and of one of its entries, by column id.
    virtual QStringList headingTexts(const QString& set) const = 0;
    virtual QStringList entryTexts(const DBRow* row) const = 0;
    // Runs the set's dialog on `set` (empty for a new one); true when it was accepted.
    virtual bool runSetDialog(const QString& set) = 0;

    // The form's slots.
    // The list-page enabling, except that Edit also acts on a selected entry's set: it is
    // enabled when the selection lies within one set.
    void updateSetButtons(QAbstractButton* editButton);
    void addSet();
    void editCurrentSet();
    void removeSelectedSets();

    void fillItems(int list) override;
    DBRow* rowOf(int list, QTreeWidgetItem* item) const override;
    void afterApply() override;
    void afterReset() override;

    GroupedTable m_sets;

private:
    void openSet(const QString& set);
    // The set of a heading or of an entry; empty for an item of neither.
    QString setOf(QTreeWidgetItem* item) const;
    // The one set the selected items lie within; none for no selection or several sets.
    std::optional<QString> selectedSet() const;
    // The entries the server held of `sets` at the last load or apply, each as its cells'
    // texts: an entry a set's dialog added or changed since is not among them.
    QSet<QStringList> storedEntriesOf(const QStringList& sets) const;
    static QStringList cellTexts(const DBRow* row);

    Source m_source;
    // Sets removed since the last Apply or Reset: taken out again after a reload, but for
    // those the set's dialog has added entries to or changed meanwhile.
    QStringList m_removed;
};
