#pragma once

#include <QString>

#include <cstdio>

// Picking a console's translation file and reading simple text files. None of these
// keeps any state.

// The language table's indexes: 0 is the system's own language, 1 English (which
// needs no translation file), then Czech, Slovak, German, French and Russian; 7 to 9
// are empty.
enum LanguageIndex {
    LanguageSystem = 0,
    LanguageEnglish = 1,
    LanguageCount = 10,
};

// The name (without folder) of the translation file "<prefix>_<code>.qm" in the
// process's current folder for the preferred language, else for the fallback
// language; empty when English is preferred, when neither file is there, or when an
// index lies outside the table. The system language stands for English unless its
// name has exactly two letters. The file's ".qm" may be in any case; the name
// returned always ends in ".qm".
QString find_language(QString prefix, int preferred, int fallback);

// Copies at most two characters of src into dst and ends them with a zero byte at
// position 2; dst holds 3 bytes. Returns dst.
char* langcpy(char* dst, const char* src);

// Reads one line of at most size - 2 characters into buf without its line end ("\n",
// "\r\n" or "\r"). Returns buf, or null at the end of the file, on a read error, or
// when size is below 2 (buf is then left alone).
char* fgetstr(char* buf, int size, FILE* file);

// Splits text into fields. The variable arguments are triples (const char* delimiters,
// int size, char* out) ended by a null delimiters pointer. Each field runs up to the
// first of its delimiters and is copied into out, cut to size - 1 characters and ended
// with a zero byte; a run of delimiters counts as one. Returns the rest of the text
// after the last field and its delimiters. When the text runs out before the last
// triple, the field that took its end is filled, the later triples are left alone, and
// the start of that field is returned. A size of 0 or less skips the field without
// writing to out.
char* tokenize(char* text, ...);
