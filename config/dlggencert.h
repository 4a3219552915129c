#pragma once

#include "tdlggencert.h"

#include <QString>

// "Generate Certificate": collects the attributes of a new self-signed certificate. It
// sends nothing: after Accepted the caller reads the line edits and m_code, the code of
// the country chosen. OK needs a host name other than blanks, the one thing a
// certificate cannot do without; until one is typed the button stays disabled.
class DlgGenCert : public TDlgGenCert
{
    Q_OBJECT

public:
    DlgGenCert(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags);
    ~DlgGenCert() override;

    // The two-letter code of the country that OK found chosen; empty until then.
    QString m_code;

public slots:
    void slotChange() override;
    void slotOK() override;

private:
    bool hasHostName() const;
};
