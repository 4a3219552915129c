#include "wndempty.h"

#include <QComboBox>
#include <QPushButton>

WndEmpty::WndEmpty(QWidget* parent, int, DBConn*, DBCtrl*, Desktop*, const char* name,
                   Qt::WindowFlags f)
    : TWndEmpty(parent, name, f)
{
    m_combo->hide();
    m_btnNavigate->hide();
}

WndEmpty::~WndEmpty() = default;

void WndEmpty::slotService()
{
}
