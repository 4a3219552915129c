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
// what the column holds in the unit chosen, and is written as exactly that many units. An
// amount whose number and unit show what the server holds, as the page shows it, is
// written back as stored: the field shows a stored value that is no whole number of the
// unit rounded down, and one beyond what the field takes as it is, and neither may replace
// what the server holds. Once its number or its unit shows something else the amount is
// the administrator's, and a number out of range in the unit chosen is asked about, as a
// typed one is.
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
    bool showsStoredAmount(const char* column, const Units::Factors& factors,
                           const QLineEdit* field, const QComboBox* unit);
    bool amountWritable(const char* column, const Units::Factors& factors,
                        const QLineEdit* field, const QComboBox* unit);
    // One check of slotBeforeApply() for an amount, as askAboutNumber() for a number.
    bool askAboutAmount(const QString& what, const char* column, const Units::Factors& factors,
                        QLineEdit* field, const QComboBox* unit);

    DBTable m_smtp;
    DBTable m_relay;
};
