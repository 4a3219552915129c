#pragma once

// What the configuration pages' tests share: the demo server in process, a connection to
// it, a pending-change controller, a shown container the pages are built in, the dialog
// recorder answering the pages' boxes, and the main window's apply.

#include "dbctrl.h"
#include "dbtable.h"
#include "dialogrecorder.h"
#include "pendingapply.h"
#include "standinconnection.h"

#include <QComboBox>
#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <memory>

class ConfigPageFixture
{
public:
    // Called from the test's init(): a fresh server with the demo data.
    void start()
    {
        m_dialogs.reset();
        m_conn.reset();
        m_server = startStandIn();
        m_conn = std::make_unique<ScopedConnection>(m_server->port());
        QVERIFY(m_conn->connect());
        m_ctrl = std::make_unique<DBCtrl>();
        m_container = std::make_unique<QWidget>();
        m_container->resize(640, 480);
        m_container->setWindowTitle(QStringLiteral("Console"));
        // As the main window does before it loads anything: a lost connection is reported
        // over it, marks its caption and drops the controller's pending list.
        m_conn->get()->m_owner = m_container.get();
        m_conn->get()->m_ctrl = m_ctrl.get();
        m_dialogs = std::make_unique<DialogRecorder>();
    }

    // Called from cleanup(): pages first, then the connection.
    void stop()
    {
        m_container.reset();
        m_dialogs.reset();
        m_conn.reset();
        m_ctrl.reset();
        m_server.reset();
    }

    template<class Page, class... Desktop>
    Page* build(Desktop... desktop)
    {
        auto* page = new Page(m_container.get(), m_conn->get(), m_ctrl.get(), desktop..., nullptr,
                              Qt::WindowFlags());
        m_container->show();
        return page;
    }

    // Changes cells of the single row of a server table before a page reads it.
    void setCells(const QString& table, const QMap<QString, QString>& cells)
    {
        const QList<StandIn::Column> columns = m_server->columns(table);
        QList<QStringList> rows = m_server->rows(table);
        QVERIFY(!rows.isEmpty());
        for (auto cell = cells.cbegin(); cell != cells.cend(); ++cell) {
            int index = -1;
            for (int c = 0; c < columns.size(); ++c) {
                if (columns.at(c).name == cell.key())
                    index = c;
            }
            QVERIFY2(index >= 0, qPrintable(cell.key()));
            rows[0][index] = cell.value();
        }
        m_server->setTable(table, columns, rows);
    }

    // Leaves a table without its row.
    void emptyTable(const QString& table)
    {
        m_server->setTable(table, m_server->columns(table), {});
    }

    QString storedCell(const QString& table, const QString& column) const
    {
        const QList<StandIn::Column> columns = m_server->columns(table);
        for (int c = 0; c < columns.size(); ++c) {
            if (columns.at(c).name == column)
                return m_server->rows(table).value(0).value(c);
        }
        return QStringLiteral("<no column>");
    }

    int journalSize() const { return int(m_server->journal().size()); }
    QStringList journalSince(int from) const
    {
        QStringList statements;
        const QList<StandIn::JournalEntry> entries = m_server->journal();
        for (int i = from; i < entries.size(); ++i)
            statements.append(entries.at(i).statement);
        return statements;
    }

    // The main window's Apply: the checks, then the pending statements sent.
    ApplyOutcome apply()
    {
        return applyPendingStatements(m_container.get(), m_conn->get(), m_ctrl.get());
    }

    // Apply with the checks' questions answered in turn: the questions asked, each with the
    // pages' caption and Yes, No and Cancel; the widget then focused (empty: not looked at);
    // and whether the statements went out or the apply was withdrawn.
    void applyAnswering(const QList<int>& answers, const QStringList& asked, const QString& focused,
                        bool sent)
    {
        for (int answer : answers)
            m_dialogs->answer(answer);
        const int mark = journalSize();
        const ApplyOutcome outcome = apply();
        QCOMPARE(messageTexts(), asked);
        for (const DialogRecorder::Message& message : std::as_const(m_dialogs->messages)) {
            QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
            QCOMPARE(message.icon, QMessageBox::Information);
            QVERIFY(message.parent.isNull());
            QCOMPARE(message.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        }
        QCOMPARE(outcome, sent ? ApplyOutcome::Applied : ApplyOutcome::Withdrawn);
        QCOMPARE(journalSince(mark).isEmpty(), !sent);
        if (!focused.isEmpty())
            QCOMPARE(focusedWidget()->objectName(), focused);
    }

    QStringList pending() const { return m_ctrl->m_pending; }
    // The box a lost connection shows, once, and the mark it leaves on the caption.
    static QString lostConnectionText()
    {
        return QStringLiteral("Connection failed!\nConsole was disconnected from 127.0.0.1.");
    }
    bool markedNotConnected() const
    {
        return m_container->windowTitle() == QLatin1String("Console - NOT CONNECTED!");
    }
    QStringList messageTexts() const { return m_dialogs->messageTexts(); }

    // The entries of a choice box, in order.
    static QStringList entries(const QComboBox* box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts.append(box->itemText(i));
        return texts;
    }

    // The widget that has, or gets once its window is active, the keyboard focus.
    QWidget* focusedWidget() const { return m_container->focusWidget(); }

    std::unique_ptr<StandIn::TestServer> m_server;
    std::unique_ptr<ScopedConnection> m_conn;
    std::unique_ptr<DBCtrl> m_ctrl;
    std::unique_ptr<QWidget> m_container;
    std::unique_ptr<DialogRecorder> m_dialogs;
};
