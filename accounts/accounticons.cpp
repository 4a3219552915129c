#include "accounticons.h"

#include "xpmicon.h"

#include "images/group.xpm"
#include "images/template.xpm"
#include "images/user.xpm"

namespace AccountIcons {

const QIcon& user()
{
    static const QIcon icon(xpmIcon(user_xpm));
    return icon;
}

const QIcon& group()
{
    static const QIcon icon(xpmIcon(group_xpm));
    return icon;
}

const QIcon& userTemplate()
{
    static const QIcon icon(xpmIcon(template_xpm));
    return icon;
}

} // namespace AccountIcons
