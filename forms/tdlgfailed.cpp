#include "tdlgfailed.h"

#include "formwidgets.h"

#include "images/dlgfailed.xpm"
#include "images/dlgfailedicon.xpm"

#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

TDlgFailed::TDlgFailed(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgFailed"));
    setModal(modal);
    createWidgets();
    createLayout();
    setTexts();
    connect(PushButton5, &QPushButton::clicked, this, &TDlgFailed::accept);
    resize(383, 164);
    setWindowIcon(QPixmap(dlgfailedicon_xpm));
}

TDlgFailed::~TDlgFailed() = default;

void TDlgFailed::createWidgets()
{
    PixmapLabel1 = makeChild<QLabel>(this, "PixmapLabel1");
    PixmapLabel1->setPixmap(QPixmap(dlgfailed_xpm));
    PixmapLabel1->setScaledContents(true);
    PixmapLabel1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    m_lbError = makeChild<QLabel>(this, "m_lbError");
    QFont errorFont = m_lbError->font();
    errorFont.setBold(true);
    m_lbError->setFont(errorFont);

    m_lbDesc = makeChild<QLabel>(this, "m_lbDesc");

    // A titled panel in the old layout; Qt 6's group box draws the style's own frame and
    // has no frame shape of its own to set.
    GroupBox1 = makeChild<QGroupBox>(this, "GroupBox1");
    GroupBox1->setTitle(QString());
    m_lbReasons = makeChild<QLabel>(GroupBox1, "m_lbReasons");

    PushButton5 = makeChild<QPushButton>(this, "PushButton5");
}

void TDlgFailed::createLayout()
{
    TDlgFailedLayout = new QVBoxLayout(this);
    TDlgFailedLayout->setObjectName(QStringLiteral("TDlgFailedLayout"));
    TDlgFailedLayout->setContentsMargins(11, 11, 11, 11);
    TDlgFailedLayout->setSpacing(6);

    Layout4 = new QHBoxLayout;
    Layout4->setObjectName(QStringLiteral("Layout4"));
    Layout4->setContentsMargins(0, 0, 0, 0);
    Layout4->setSpacing(6);
    Layout4->addWidget(PixmapLabel1);
    Layout4->addWidget(m_lbError);
    Layout4->addItem(horizontalSpacer());
    TDlgFailedLayout->addLayout(Layout4);

    TDlgFailedLayout->addWidget(m_lbDesc);

    GroupBox1Layout = new QVBoxLayout(GroupBox1);
    GroupBox1Layout->setObjectName(QStringLiteral("GroupBox1Layout"));
    GroupBox1Layout->setContentsMargins(11, 11, 11, 11);
    GroupBox1Layout->setSpacing(6);
    GroupBox1Layout->setAlignment(Qt::AlignTop);
    GroupBox1Layout->addWidget(m_lbReasons);
    TDlgFailedLayout->addWidget(GroupBox1);

    TDlgFailedLayout->addItem(verticalSpacer());

    Layout5 = new QHBoxLayout;
    Layout5->setObjectName(QStringLiteral("Layout5"));
    Layout5->setContentsMargins(0, 0, 0, 0);
    Layout5->setSpacing(6);
    Layout5->addItem(horizontalSpacer());
    Layout5->addWidget(PushButton5);
    Layout5->addItem(horizontalSpacer());
    TDlgFailedLayout->addLayout(Layout5);
}

void TDlgFailed::setTexts()
{
    setWindowTitle(tr("Ornel Administration Console"));
    m_lbError->setText(tr("Failed to connect to the server application."));
    m_lbDesc->setText(QString());
    m_lbReasons->setText(QString());
    PushButton5->setText(tr("&OK"));
}
