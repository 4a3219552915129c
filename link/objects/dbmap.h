#pragma once

#include <QString>

class QCheckBox;
class QComboBox;

// A table of {stored text, label} pairs for columns that hold one of a few codes,
// ended by a pair whose label is null. Every function below stops there.
struct DBMAP
{
    const char *value;
    const char *label;
};

// Appends the labels to combo in table order. Each entry whose stored text equals
// value exactly becomes the current item as it is added, so the last one stays.
void fillCombo(QComboBox *combo, const DBMAP *map, const char *value);

// Checks box when text begins with '0' and sense is false, or with another
// character and sense is true; unchecks it otherwise (also for an empty text).
void setCheckBox(QCheckBox *box, const char *text, bool sense);

// The label of the first pair whose stored text equals value ignoring case; the
// empty string when there is none.
QString map2str(const DBMAP *map, const char *value);

// The stored text of the first pair whose label equals label ignoring case; the
// empty string when there is none.
QString str2map(const DBMAP *map, const char *label);
