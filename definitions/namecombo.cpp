#include "namecombo.h"

#include "dbtable.h"

#include <QComboBox>
#include <QSet>

void fillComboWithNames(DBTable* table, const char* nameColumn, QComboBox* combo,
                        const QString& current, bool withEmpty)
{
    combo->clear();
    QSet<QString> added;
    if (withEmpty) {
        combo->addItem(QString());
        added.insert(QString());
    }
    if (table) {
        for (const std::unique_ptr<DBRow>& row : table->m_rows) {
            const int column = row->colIndex(nameColumn);
            if (column < 0)
                break;
            const QString name = row->m_values[column]->text();
            if (!added.contains(name)) {
                added.insert(name);
                combo->addItem(name);
            }
        }
    }
    const int chosen = combo->findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(chosen >= 0 ? chosen : 0);
}
