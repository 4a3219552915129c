#pragma once

#include "statement_p.h"

#include <QString>

namespace StandIn {

// Reads the statement language the console writes:
//   select c1, c2 from T [where c='v' and ...]    select * from T
//   select f("text", 12)
//   insert T set c='v', ...
//   update T set c='v', l+="item", l -= 'item' [where ...]
//   delete from T where c='v' and ...
// Keywords in any case; values in '...' or "..." with the escapes \\ \" \' \n
// \r \t (any other backslash stays as written), or plain decimal numbers;
// blanks around operators optional. Names may hold '-' (as in service-smtp)
// unless it starts "-=".
class StatementParser
{
public:
    static bool parse(const QString &text, Statement *statement, QString *error);

private:
    class Reader;
};

} // namespace StandIn
