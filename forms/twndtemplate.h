#pragma once

#include <QWidget>

class QPushButton;
class QTreeWidget;

// The form of the user templates page: the list of templates above the row "&Add...",
// "&Edit...", "&Remove". The list has no columns of its own; the page's column model gives
// them. The slots only complain; WndTemplate implements those the page uses. The widgets
// are children of the form.
class TWndTemplate : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndTemplate".
    explicit TWndTemplate(QWidget* parent = nullptr, const char* name = nullptr,
                          Qt::WindowFlags fl = {});
    ~TWndTemplate() override;

    QTreeWidget* m_list;
    QPushButton* m_btnAdd;
    QPushButton* m_btnEdit;
    QPushButton* m_btnRemove;

public slots:
    virtual void slotAdd();
    virtual void slotCols();
    // Nothing on this page is connected to these two.
    virtual void slotDomainChanged(const QString& text);
    virtual void slotEdit();
    virtual void slotImport();
    virtual void slotRemove();
    virtual void slotSelectionChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
