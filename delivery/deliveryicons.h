#pragma once

#include <QIcon>

// The pictures of the delivery lists' rows, each made once, the first time a row asks for
// it (after the application exists), and shared by every row of every list.
namespace DeliveryIcons {
const QIcon& etrn();       // a server sending mail down to a mailbox
const QIcon& queue();      // a stack of letters
const QIcon& connection(); // a computer with its network cable
const QIcon& sched();      // a clock
const QIcon& pop3();       // a mailbox on a server, collected
const QIcon& rule();       // a letter sent on to another
} // namespace DeliveryIcons
