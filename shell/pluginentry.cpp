// The module's entry record and its descriptor. module_connect, the third exported
// symbol, opens a server and lives with the main window.

#include "ornelplugin.h"
#include "xpmicon.h"

#include "images/ornelcon16.xpm"
#include "images/ornelcon32.xpm"
#include "images/ornelcon48.xpm"

#include <QFile>

#include <algorithm>
#include <iterator>
#include <optional>

namespace {

// Built by the first module_init(): a QPixmap may not exist before the application
// object, so the descriptor cannot be a plain static. It lives until the library is
// unloaded, and its address stays the same for the host.
std::optional<ModuleDescriptor> p_iface;

QImage loadSplash()
{
    QFile file(QStringLiteral(":/splash.png"));
    QImage image;
    if (file.open(QIODevice::ReadOnly))
        image.loadFromData(file.readAll());
    return image;
}

void fillDescriptor(ModuleDescriptor& d)
{
    const QPixmap small = xpmIcon(ornelcon16_xpm);
    const QPixmap medium = xpmIcon(ornelcon32_xpm);
    const QPixmap large = xpmIcon(ornelcon48_xpm);
    const QImage splash = loadSplash();

    const qint32 numbers[6] = {2, 5, 0, 2, 44337, 17};
    std::copy(std::begin(numbers), std::end(numbers), d.numbers);
    d.productName = QStringLiteral("Ornel Corvane");
    d.secondText = QStringLiteral("");
    d.moduleStem = QStringLiteral("ornelcon");
    d.smallIcon = small;
    d.mediumIcon = medium;
    d.largeIcon = large;
    d.splash = splash;
    d.words[0] = 0;
    d.words[2] = 0;
    d.module_connect = module_connect;
}

} // namespace

extern "C" {

const InitInterface init_interface = {OrnelPluginVersion, module_init, module_connect};

ModuleDescriptor* module_init()
{
    if (!p_iface)
        p_iface.emplace();
    fillDescriptor(*p_iface);
    return &*p_iface;
}

} // extern "C"
