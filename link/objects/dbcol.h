#pragma once

// One column of a server table as a page declares it. A page's column table is a
// static array of these ended by an all-zero record; everything that walks a column
// table stops at the first record whose name is null and looks at nothing else in
// it. Column tables are never freed, so rows and tables only point at them.
struct DBCOL
{
    int type;          // vexadb_type code of the column
    const char *name;  // spelled as the server names the column
    int key;           // non-zero: part of the table's primary key
};

// The number of records before the terminator; 0 for a null table.
inline int dbcolCount(const DBCOL *cols)
{
    int count = 0;
    while (cols && cols[count].name)
        ++count;
    return count;
}
