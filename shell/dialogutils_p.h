#pragma once

#include <QString>

#include <cstdarg>

// The message of DlgMessage::setText and DialogF: formatted into 2048 bytes, so at most
// 2047 characters, read as Latin-1.
QString formatMessage(const char* format, va_list args) __attribute__((format(printf, 1, 0)));
