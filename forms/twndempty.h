#pragma once

#include <QWidget>

class QComboBox;
class QGridLayout;
class QPushButton;

// The form of the empty page: a choice box and a "&Navigate" button in the top left
// corner. The button goes to slotService(), which only complains here; WndEmpty
// implements it. The widgets are children of the form.
class TWndEmpty : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndEmpty".
    explicit TWndEmpty(QWidget* parent = nullptr, const char* name = nullptr,
                       Qt::WindowFlags fl = {});
    ~TWndEmpty() override;

    QComboBox* m_combo;
    QPushButton* m_btnNavigate;

public slots:
    virtual void slotService();

protected:
    QGridLayout* TWndEmptyLayout;

private:
    void createWidgets();
    void createLayout();
    void setTexts();
};
