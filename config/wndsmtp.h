#pragma once

#include "configpage.h"
#include "dbtable.h"
#include "twndsmtp.h"
#include "units.h"

class QComboBox;
class QIntValidator;
class QLineEdit;

// "SMTP Properties": how the server delivers (directly by MX records or through a relay
// server, with the relay's authentication) and runs its queue. Edits the single rows of
// "smtp" and "relay"; before an apply it asks for the relay's host name and port, for a
// port the column can hold (in either delivery mode: such a port is never written, and
// after an apply the field shows the port the server holds), and for a user name when the
// relay requires authentication.
class WndSmtp : public TWndSmtp, public ConfigPage
{
    Q_OBJECT

public:
    WndSmtp(QWidget* parent, DBConn* conn, DBCtrl* ctrl, const char* name, Qt::WindowFlags f);
    ~WndSmtp() override;

    void updateData() override;
    void updateObject() override;

public slots:
    void slotBeforeApply() override;
    void slotApply() override;
    void slotToggleAuth(bool on) override;
    void slotToggleDNS(bool on) override;
    void slotToggleSMTP(bool on) override;
    void slotChange() override;
    void slotDefault() override;

protected:
    void writeRows() override;

private:
    void setValidators();
    void showAmount(const char* column, const Units::Factors& factors, QLineEdit* field,
                    QComboBox* unit);
    void writeAmount(const char* column, const Units::Factors& factors, const QLineEdit* field,
                     const QComboBox* unit);

    DBTable m_smtp;
    DBTable m_relay;
    QIntValidator* m_validator = nullptr; // a child of the page
};
