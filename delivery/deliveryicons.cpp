#include "deliveryicons.h"

#include "xpmicon.h"

#include "images/connection.xpm"
#include "images/etrn.xpm"
#include "images/pop3.xpm"
#include "images/queue.xpm"
#include "images/rule.xpm"
#include "images/sched.xpm"

namespace DeliveryIcons {

const QIcon& etrn()
{
    static const QIcon icon(xpmIcon(etrn_xpm));
    return icon;
}

const QIcon& queue()
{
    static const QIcon icon(xpmIcon(queue_xpm));
    return icon;
}

const QIcon& connection()
{
    static const QIcon icon(xpmIcon(connection_xpm));
    return icon;
}

const QIcon& sched()
{
    static const QIcon icon(xpmIcon(sched_xpm));
    return icon;
}

const QIcon& pop3()
{
    static const QIcon icon(xpmIcon(pop3_xpm));
    return icon;
}

const QIcon& rule()
{
    static const QIcon icon(xpmIcon(rule_xpm));
    return icon;
}

} // namespace DeliveryIcons
