#pragma once

#include "configpage.h"
#include "dbtable.h"
#include "twndsmtp.h"
#include "units.h"

class QComboBox;
class QLineEdit;

// "SMTP Properties": how the server delivers (directly by MX records or through a relay
// server, with the relay's authentication) and runs its queue. Edits the single rows of
// "smtp" and "relay"; before an apply it asks for the relay's host name and port and for a
// user name when the relay requires authentication.
//
// Every number field follows NumberFields: the port, the threads and the hops are written as
// typed, and an amount in a unit (a size, a time) as exactly that many units. An amount whose
// number and unit still show what they showed when filled is written back as stored: the
// field shows a stored value that is no whole number of the unit rounded down, which may not
// replace what the server holds. An amount the column cannot hold in the unit chosen (3000
// "MB") is held back: it counts as an edit, and every apply stops at it, with the
// administrator sent to the field, until it is corrected.
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
    // A number of the "smtp" row shown in a unit of a choice box.
    struct Amount
    {
        const char* column;
        Units::Factors factors;
        QLineEdit* field;
        QComboBox* unit;
        QString what; // as the page names it when the column cannot hold it
    };
    QList<Amount> amounts() const;
    static qint64 factorOf(const Amount& amount);

    void acceptNumbers();
    void bindCells();
    void showAmount(const Amount& amount);
    void writeAmount(const Amount& amount);
    bool askAboutRelay();

    DBTable m_smtp;
    DBTable m_relay;
};
