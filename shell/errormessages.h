#pragma once

#include <QString>

class QWidget;

// Tells the administrator that opening a server failed: the modal "Ornel Administration
// Console" dialog with the cause read from `code` (the connection's result code) and a
// list of possible reasons. Returns once the dialog is closed.
void show_error_message(QWidget* parent, unsigned int code);

// The same codes as one line of text; `version` is named in the authentication failure.
QString getErrorMessage(unsigned int code, unsigned int version);
