#pragma once

#include <QWidget>

class QTreeWidget;

// The form of the Aliases page: the list of the server's aliases, nothing to edit them
// with. The list has no columns of its own; the page's column model gives them. The slot
// only complains; WndAlias implements it. The widgets are children of the form.
class TWndAlias : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndAlias".
    explicit TWndAlias(QWidget* parent = nullptr, const char* name = nullptr, Qt::WindowFlags fl = {});
    ~TWndAlias() override;

    QTreeWidget* m_list;

public slots:
    virtual void slotCols();
};
