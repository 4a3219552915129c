#pragma once

// Lookup of fixed texts by code, shared by the client's tables (type names,
// error texts): a table of {code, text} pairs ending with a null text.

struct vexadb_code_text
{
    int code;
    const char *text;
};

// The text for code, or fallback when the table does not have it.
const char *vexadb_lookup_text(const vexadb_code_text *table, int code, const char *fallback);
