#pragma once

#include <QWidget>

class QGridLayout;
class QTreeWidget;
class QTreeWidgetItem;

// The form of a navigation list page: one two-column list ("Section", "Description")
// filling the page. A double click or Return on the list goes to slotNavigate(), which
// only complains here; WndNavigation implements it. A single click only moves the
// current row. The widgets are children of the form.
class TWndNavigation : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndNavigation".
    explicit TWndNavigation(QWidget* parent = nullptr, const char* name = nullptr,
                            Qt::WindowFlags fl = {});
    ~TWndNavigation() override;

    QTreeWidget* m_list;

public slots:
    // The row passed is the one under the double click, or the current row on Return.
    virtual void slotNavigate(QTreeWidgetItem* item);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    QGridLayout* TWndNavigationLayout;

private:
    void createWidgets();
    void createLayout();
    void setTexts();
    void connectSignals();
};
