#pragma once

#include <QByteArray>

class DBReq;

// Reads the text cell (row, column) of a finished request's answer into a buffer of
// capacity bytes and takes no more of it than the length the read reports, up to its
// first zero byte: a string cell carries one, but a server need not send it, and an
// empty cell has none. Empty when the cell cannot be read; then *needed, when given,
// holds the length the cell needs if only the buffer was too small, else 0.
QByteArray readTextCell(DBReq& request, int row, int column, int capacity, int* needed = nullptr);
