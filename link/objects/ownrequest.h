#pragma once

class DBConn;
class DBReq;
class QObject;

// A statement a window sends itself, past the table layer and the pending list (a service
// started, the plug-ins listed, a group's members read): queued at once and waited for
// under the wait indicator over the window in front (DBReq::wait), input held back
// meanwhile. "&Abort" there fails the call as a refusal would.
//
// Every such call tells its failure the same way. A lost connection is the console's
// lost-connection report (requestfailure.h: the box once per connection, the caption mark,
// the pending list dropped) and nothing more: a box of the caller's own on top would only
// say it twice, and on every later call. Any other failure, a refused statement say, is
// told in the caller's own box, "Operation failed." under "Error".

enum class OwnRequest {
    Answered,
    Failed,    // told as above
    OwnerGone, // the owner went while the call waited: nothing told, nothing of it touched
};

// Sends request on conn and waits for it. owner, not null, is what the call serves (a page,
// a dialog): the wait and the box let events run, and should it go meanwhile the call
// ends at once. Without a connection the request fails.
OwnRequest sendOwnRequest(DBConn *conn, DBReq &request, const QObject *owner);

// The telling alone, for a caller that waits itself; nothing for a request that succeeded.
// The box runs an event loop: check what may have gone after it.
void reportOwnRequestFailure(DBConn *conn, const DBReq &request);
