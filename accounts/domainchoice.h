#pragma once

#include <QString>

class DBTable;
class QComboBox;

// The domain box of the users and groups pages: the local domains, in which the console's
// current domain (globalData, empty for the primary domain) is chosen.
namespace DomainChoice {

// Fills the box with the domains of type 0 (the primary domain) and 1 (other local
// domains), in table order, and selects the current domain, or the primary domain while
// the current domain is empty. A type that is not a number reads as 0.
void fill(QComboBox* box, const DBTable& domains);

// The current domain that choosing `text` in the box makes: the text, or empty when the
// first domain of that name is the primary domain.
QString chosen(const DBTable& domains, const QString& text);

} // namespace DomainChoice
