#pragma once

#include "twndempty.h"

class DBConn;
class DBCtrl;
class Desktop;

// A blank page: the form with its choice box and button hidden. It keeps none of the
// connection, controller or workspace it is given; they are taken only so that it can
// be built like the other pages.
class WndEmpty : public TWndEmpty
{
    Q_OBJECT

public:
    WndEmpty(QWidget* parent, int, DBConn*, DBCtrl*, Desktop*, const char* name = nullptr,
             Qt::WindowFlags f = {});
    ~WndEmpty() override;

public slots:
    // The button is hidden, so nothing can ask for a service here.
    void slotService() override;
};
