#pragma once

#include <QString>

// The tests a header filter rule can make, by the number a rule stores in its "type".
namespace FilterTypes {

enum { Count = 5 }; // "Empty", "Missing", "Address", "Domain", "Substring"

// The short name the rule list shows. A number the server stores beyond the known tests
// shows as that number, so a rule written by a newer server is still told apart.
QString shortName(int type);
// The phrase the rule dialog offers ("is empty" ...); the number itself for an unknown one.
QString phrase(int type);
// Whether the test looks for a text: the dialog shows the content field only then.
bool needsContent(int type);

} // namespace FilterTypes
