#pragma once

#include <QString>

class QWidget;

// Small helpers any window of the console may use.

// A warning box without a caption over parent, with the text formatted like printf (at
// most 2047 characters, read as Latin-1); returns when it is closed. Text that came from
// elsewhere must be an argument: DialogF(parent, "%s", text).
void DialogF(QWidget* parent, const char* format, ...) __attribute__((format(printf, 2, 3)));

// A one-line input dialog: label and caption (Latin-1; a null caption leaves the
// window's own), the line edit width pixels wide and holding value, "&Ok" and
// "&Cancel". value receives the edited text however the dialog ends. Returns 1 for
// "&Ok", 0 otherwise. The dialog has a fixed size, width + 140 by 100 pixels, or more when
// the label or the buttons need more: it shows every text whole, as every dialog does.
int DialogInput(QWidget* parent, QString& value, const char* caption, const char* label,
                int width);

// The dotted text of an IPv4 address given in network byte order (its bytes in memory
// order are the four numbers). buf holds at least 16 bytes.
void toip(char* buf, unsigned int address);
void toip(QString& text, unsigned int address);

// Moves widget so that it is centred on outer's size (in widget's parent's coordinates:
// centred on outer when outer is its parent). A widget larger than outer overhangs it
// equally on both sides.
void CenterWidget(QWidget* outer, QWidget* widget);
