#pragma once

#include <QString>

class QRadioButton;

// The three "User Rights" buttons of the group dialogs and the value of `rights` they
// stand for: bit 0 reads the administration, bit 1 writes it.
struct RightsChoice
{
    QRadioButton* noAccess;
    QRadioButton* readOnly;
    QRadioButton* readWrite;

    // Read/write for both bits, read only for the read bit alone, else none.
    void show(int rights) const;
    // An edit: "1" for read only, the stored value with both bits set for read/write (its
    // other bits stay), "0" for none.
    QString edited(int stored) const;
    // A new account: "1", "3" or "0"; nothing earlier to keep.
    QString chosen() const;
};
