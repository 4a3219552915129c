#pragma once

// The countries a new certificate can name, in the order the certificate dialog lists
// them: the two-letter code the certificate carries (UK, not GB, for the United Kingdom)
// and the English name shown.
struct Country
{
    const char* code;
    const char* name;
};

constexpr int CountryCount = 237;
extern const Country COUNTRIES[CountryCount];
