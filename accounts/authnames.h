#pragma once

#include <QString>

// The labels of the authentication choice boxes, by the position of each type in the
// server's answer to "get_auth_types()": "Internal user database", "Windows NT domain",
// "Linux PAM", "Kerberos 5" and an empty fifth entry.
//
// Read as AUTH_NAMES[i]. The texts are translated (global context) the first time one is
// read, so after the application and its translators exist, and kept from then on. An
// index outside 0..4 reads as the empty text.
class AuthNameTable
{
public:
    static constexpr int Count = 5;
    const QString& operator[](int index) const;
    int size() const { return Count; }
};

extern const AuthNameTable AUTH_NAMES;
