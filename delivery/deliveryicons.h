#pragma once

#include <QIcon>

// The pictures of the delivery lists' rows, each made once, the first time a row asks for
// it (after the application exists), and shared by every row of every list.
namespace DeliveryIcons {
const QIcon& etrn();       // a server sending mail down to a mailbox
const QIcon& queue();      // a stack of letters
const QIcon& connection(); // a computer with its network cable
const QIcon& sched();      // a clock
} // namespace DeliveryIcons
