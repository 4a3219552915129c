#pragma once

#include "configpage.h"
#include "dbtable.h"
#include "twndsmtp.h"
#include "units.h"

class QComboBox;
class QLineEdit;

// "SMTP Properties": how the server delivers (directly by MX records or through a relay
// server, with the relay's authentication) and runs its queue. Edits the single rows of
// "smtp" and "relay"; before an apply it asks for the relay's host name and port, for a
// port the column can hold (in either delivery mode), for a user name when the relay
// requires authentication, and for the numbers of the options that are out of their range.
// Every number field follows NumberFields: an amount in a unit (a size, a time) goes up to
// what the column holds in the unit chosen, and is written as exactly that many units.
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
    void slotToggleAuth(bool on) override;
    void slotToggleDNS(bool on) override;
    void slotToggleSMTP(bool on) override;
    void slotChange() override;
    void slotDefault() override;

protected:
    void writeRows() override;

private:
    void acceptNumbers();
    static void limitAmount(QLineEdit* field, const Units::Factors& factors, const QComboBox* unit);
    void showAmount(const char* column, const Units::Factors& factors, QLineEdit* field,
                    QComboBox* unit);
    void writeAmount(const char* column, const Units::Factors& factors, QLineEdit* field,
                     const QComboBox* unit);

    DBTable m_smtp;
    DBTable m_relay;
};
