#pragma once

#include <QIcon>

// The pictures of the account items, each made once, the first time an item asks for it
// (after the application exists), and shared by every item of every list.
namespace AccountIcons {
const QIcon& user();
const QIcon& group();
const QIcon& userTemplate();
} // namespace AccountIcons
