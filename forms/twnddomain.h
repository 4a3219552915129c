#pragma once

#include <QWidget>

class QTreeWidget;

// The form of the Domains page: the list of the server's domains, nothing to edit them
// with. The list has no columns of its own; the page's column model gives them. The slot
// only complains; WndDomain implements it. The widgets are children of the form.
class TWndDomain : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndDomain".
    explicit TWndDomain(QWidget* parent = nullptr, const char* name = nullptr, Qt::WindowFlags fl = {});
    ~TWndDomain() override;

    QTreeWidget* m_list;

public slots:
    virtual void slotCols();
};
