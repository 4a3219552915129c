#pragma once

// A session of the protocol client opened on the benchmark's own thread, without the
// connection object and its worker: the reference the connection's costs are measured
// against.

#include "vexadb.h"

#include <QByteArray>
#include <QtGlobal>

class DirectSession
{
public:
    explicit DirectSession(quint16 port)
    {
        int syserr = 0, version = 0, n1 = 0, n2 = 0, n3 = 0;
        const QByteArray portText = QByteArray::number(port);
        unsigned authResult = 0;
        if (vexadb_open(&m_handle, "127.0.0.1", portText.constData(), "Ornel Admin 5.0 (Linux)", 0,
                        &syserr, &version, &n1, &n2, &n3)
                != VEXADB_OK
            || vexadb_authenticate(m_handle, "admin", "admin", &authResult) != VEXADB_OK) {
            qFatal("the direct session did not open");
        }
    }
    ~DirectSession() { vexadb_close(m_handle); }
    DirectSession(const DirectSession &) = delete;
    DirectSession &operator=(const DirectSession &) = delete;

    void query(const QByteArray &statement)
    {
        vexadb_result result{};
        if (vexadb_send_query(m_handle, statement.constData(), &result) != VEXADB_OK)
            qFatal("a direct statement failed: %s", statement.constData());
        vexadb_free_result(&result);
    }

private:
    vexadb_handle m_handle = nullptr;
};
