#include "tdlglogo.h"

#include "formwidgets.h"

#include "banner/banner_column.xpm"
#include "banner/banner_corner_bottom.xpm"
#include "banner/banner_corner_top.xpm"
#include "banner/banner_emblem.xpm"
#include "banner/banner_fill_bottom.xpm"
#include "banner/banner_fill_top.xpm"
#include "banner/banner_mark.xpm"
#include "banner/banner_stripes.xpm"
#include "banner/banner_title.xpm"

#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using FormWidgets::makeChild;

// The page's colours: white behind everything, the banner's greens for the bevels of
// whatever the style draws with them.
QPalette logoPalette()
{
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    const QColor grey(128, 128, 128);
    const QColor button(162, 200, 169);
    const QColor light(252, 255, 253);
    const QColor dark(81, 100, 85);
    const QColor mid(108, 133, 113);
    const QColor highlight(0, 0, 128);

    QPalette palette;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        const bool active = group == QPalette::Active;
        palette.setColor(group, QPalette::WindowText, disabled ? grey : black);
        palette.setColor(group, QPalette::Button, button);
        palette.setColor(group, QPalette::Light, light);
        palette.setColor(group, QPalette::Midlight,
                         active ? QColor(207, 227, 211) : QColor(187, 230, 195));
        palette.setColor(group, QPalette::Dark, dark);
        palette.setColor(group, QPalette::Mid, mid);
        palette.setColor(group, QPalette::Text, disabled ? grey : black);
        palette.setColor(group, QPalette::BrightText, white);
        palette.setColor(group, QPalette::ButtonText, disabled ? grey : black);
        palette.setColor(group, QPalette::Base, white);
        palette.setColor(group, QPalette::Window, white);
        palette.setColor(group, QPalette::Shadow, black);
        palette.setColor(group, QPalette::Highlight, highlight);
        palette.setColor(group, QPalette::HighlightedText, white);
        palette.setColor(group, QPalette::Link, active ? black : QColor(0, 0, 255));
        palette.setColor(group, QPalette::LinkVisited, active ? black : QColor(255, 0, 255));
    }
    return palette;
}

QLabel* makePicture(QWidget* parent, const char* objectName, const char* const* xpm,
                    QSizePolicy::Policy across, QSizePolicy::Policy down, bool scaled)
{
    auto* label = makeChild<QLabel>(parent, objectName);
    label->setPixmap(QPixmap(xpm));
    label->setSizePolicy(across, down);
    label->setScaledContents(scaled);
    return label;
}

} // namespace

TDlgLogo::TDlgLogo(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgLogo"));
    setPalette(logoPalette());
    setAutoFillBackground(true);
    createWidgets();
    createLayout();
    setTexts();
    resize(567, 449);
}

TDlgLogo::~TDlgLogo() = default;

void TDlgLogo::createWidgets()
{
    constexpr auto Preferred = QSizePolicy::Preferred;
    constexpr auto Fixed = QSizePolicy::Fixed;
    constexpr auto Expanding = QSizePolicy::Expanding;

    PixmapLabel2 = makePicture(this, "PixmapLabel2", banner_corner_top_xpm, Preferred, Preferred, false);
    PixmapLabel8 = makePicture(this, "PixmapLabel8", banner_corner_bottom_xpm, Fixed, Fixed, false);
    PixmapLabel6 = makePicture(this, "PixmapLabel6", banner_emblem_xpm, Preferred, Preferred, false);
    PixmapLabel12 = makePicture(this, "PixmapLabel12", banner_mark_xpm, Preferred, Preferred, false);
    PixmapLabel3 = makePicture(this, "PixmapLabel3", banner_title_xpm, Preferred, Preferred, false);
    PixmapLabel1 = makePicture(this, "PixmapLabel1", banner_column_xpm, Fixed, Fixed, false);

    Frame7 = makeChild<QFrame>(this, "Frame7");
    Frame7->setPalette(logoPalette());
    Frame7->setAutoFillBackground(true);
    Frame7->setFrameShape(QFrame::NoFrame);
    Frame7->setFrameShadow(QFrame::Raised);
    Frame7->setLineWidth(0);

    m_list = makeChild<QTreeWidget>(Frame7, "m_list");
    m_list->setColumnCount(2);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(false);
    m_list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_list->setMaximumSize(32767, 500);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setFrameShadow(QFrame::Plain);
    m_list->setLineWidth(0);
    m_list->setMidLineWidth(2);
    m_list->setContentsMargins(0, 0, 0, 0);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setAllColumnsShowFocus(true);
    // A list sorts by its first column until told otherwise; the page that fills this
    // one turns that off to keep its own order.
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);
    m_list->header()->setSortIndicatorShown(false);

    PixmapLabel7 = makePicture(this, "PixmapLabel7", banner_column_xpm, Fixed, QSizePolicy::Minimum, true);
    PixmapLabel5 = makePicture(this, "PixmapLabel5", banner_fill_top_xpm, Expanding, Fixed, true);
    PixmapLabel9 = makePicture(this, "PixmapLabel9", banner_stripes_xpm, Preferred, Preferred, false);
    PixmapLabel11 = makePicture(this, "PixmapLabel11", banner_fill_bottom_xpm, Expanding, Fixed, true);
}

void TDlgLogo::createLayout()
{
    TDlgLogoLayout = new QGridLayout(this);
    TDlgLogoLayout->setObjectName(QStringLiteral("TDlgLogoLayout"));
    TDlgLogoLayout->setContentsMargins(0, 0, 0, 0);
    TDlgLogoLayout->setSpacing(0);

    TDlgLogoLayout->addWidget(PixmapLabel2, 0, 0);
    TDlgLogoLayout->addWidget(PixmapLabel3, 0, 1);
    TDlgLogoLayout->addWidget(PixmapLabel5, 0, 2);
    TDlgLogoLayout->addWidget(PixmapLabel6, 0, 3);
    TDlgLogoLayout->addWidget(PixmapLabel7, 1, 0);
    TDlgLogoLayout->addWidget(Frame7, 1, 1, 1, 3);
    TDlgLogoLayout->addWidget(PixmapLabel1, 2, 0);
    TDlgLogoLayout->addWidget(PixmapLabel8, 3, 0);
    TDlgLogoLayout->addWidget(PixmapLabel9, 3, 1);
    TDlgLogoLayout->addWidget(PixmapLabel11, 3, 2);
    TDlgLogoLayout->addWidget(PixmapLabel12, 3, 3);

    Frame7Layout = new QVBoxLayout(Frame7);
    Frame7Layout->setObjectName(QStringLiteral("Frame7Layout"));
    Frame7Layout->setContentsMargins(11, 11, 11, 11);
    Frame7Layout->setSpacing(6);
    Frame7Layout->addWidget(m_list);
}

void TDlgLogo::setTexts()
{
    setWindowTitle(tr("Form1"));
    m_list->setHeaderLabels({tr("Column 1"), tr("Column 2")});
}
