#pragma once

class DBConn;
class DBCtrl;
class QWidget;

// How an apply of the pending statements ended.
enum class ApplyOutcome {
    Withdrawn,      // a page emptied the list when asked to check its input: nothing sent
    Applied,        // every statement accepted; the pages have committed
    Refused,        // a statement failed; it and the ones after it are still pending
    ConnectionLost, // the connection broke; the unsent statements are still pending
    Aborted,        // "&Abort" was chosen; the statement it cut off and the rest are still pending
    Abandoned,      // the connection or the controller went away during the wait
};

// Sends ctrl's pending statements through conn, one request at a time in list order,
// under a single wait indicator ("Transfering data ...") over window (StatementRun).
//
// First every page is asked (sig_before_apply); a page that empties the list withdraws
// the apply. Then each statement is sent only once the previous one is answered, and
// the first failure stops the run: a broken connection is announced once per connection
// (the critical box, and the mark in window's caption) but leaves the pending list
// alone; any other failure shows "Query failed: %1" with the request's error text. The
// indicator's "&Abort" stops the run as well: the statement being sent is abandoned and
// counts as not carried out, nothing more is sent, and it is told as a refusal with no
// text ("Query failed: "), as an aborted load is. In every such case the statements the
// server has carried out leave the list and are announced (DBCtrl::carriedOut), so that
// the pages take their rows as stored and the next apply does not carry them out a second
// time. When all are accepted the list is emptied, sig_empty(true) and then sig_apply()
// are emitted.
//
// Blocks user input to the interface but the indicator while it waits; paint and timers
// go on.
ApplyOutcome applyPendingStatements(QWidget* window, DBConn* conn, DBCtrl* ctrl);
