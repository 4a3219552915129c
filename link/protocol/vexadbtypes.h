#pragma once

// Value type codes of server columns and the conversions between a value's
// in-memory form and its text. These belong to the protocol client's plain-function
// layer; the client's own header includes this one.

// The codes as the server sends them in column descriptors.
enum vexadb_type {
    VEXADB_VOID = 0,
    VEXADB_STRING = 1,  // NUL-terminated characters
    VEXADB_INT = 2,     // 32-bit, host byte order
    VEXADB_INT64 = 3,   // 64-bit, host byte order
    VEXADB_IPADDR = 4,  // IPv4 address, network byte order
    VEXADB_PWD = 5,     // NUL-terminated characters
    VEXADB_BINARY = 6,  // raw bytes; the length travels separately
    VEXADB_PORT = 7,    // 16-bit, network byte order
    VEXADB_IDLIST = 8,  // list form: items of {32-bit length + 1, characters, NUL}, then a 32-bit 0
};

// "VOID", "STRING", ... "IDLIST"; "UNKNOWN" for any other code.
const char *vexadb_type_desc(int type);

// Converts the text into the value form of the type within size bytes of
// value. Returns the number of bytes written, 0 on failure (nothing fits,
// a refused type, null pointers).
int vexadb_str2val(int type, const char *text, void *value, int size);

// Writes the text form of a value into text (size bytes). valuelen is the
// value's length in bytes: it gives a BINARY value's length and bounds the
// reading of an IDLIST. Returns the text's length including its NUL, 0 on
// failure; a failure leaves the text empty whenever there is room for a NUL.
int vexadb_val2str(int type, char *text, int size, const void *value, int valuelen);
