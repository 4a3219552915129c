#include "wizard.h"

#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QPushButton* makeButton(QWidget* parent, const char* objectName)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setAutoDefault(true);
    return button;
}

} // namespace

Wizard::Wizard(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
    , m_title(new QLabel(this))
    , m_stack(new QStackedWidget(this))
    , m_help(makeButton(this, "help"))
    , m_back(makeButton(this, "back"))
    , m_next(makeButton(this, "next"))
    , m_finish(makeButton(this, "finish"))
    , m_cancel(makeButton(this, "cancel"))
{
    if (name)
        setObjectName(QLatin1String(name));
    setModal(modal);

    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    m_title->setFont(titleFont);
    m_title->setObjectName(QStringLiteral("title"));

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(m_help);
    buttons->addStretch(1);
    buttons->addWidget(m_back);
    buttons->addWidget(m_next);
    buttons->addWidget(m_finish);
    buttons->addSpacing(12);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(m_title);
    layout->addWidget(m_stack, 1);
    layout->addWidget(rule);
    layout->addLayout(buttons);

    setButtonTexts();
    m_finish->hide();

    connect(m_back, &QPushButton::clicked, this, &Wizard::back);
    connect(m_next, &QPushButton::clicked, this, &Wizard::next);
    // The finish button reads "&Next >": on the last page it has nowhere to go, so it
    // does nothing even when a page enables it.
    connect(m_help, &QPushButton::clicked, this, &Wizard::help);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

Wizard::~Wizard() = default;

void Wizard::addPage(QWidget* page, const QString& title)
{
    m_stack->addWidget(page);
    m_pages.append(Page{page, title});
    if (m_current < 0) {
        m_current = 0;
        m_title->setText(title);
    }
}

QWidget* Wizard::page(int index) const
{
    return index >= 0 && index < m_pages.size() ? m_pages.at(index).widget : nullptr;
}

int Wizard::indexOf(QWidget* page) const
{
    for (int i = 0; i < m_pages.size(); ++i) {
        if (m_pages.at(i).widget == page)
            return i;
    }
    return -1;
}

QWidget* Wizard::currentPage() const
{
    return page(m_current);
}

QString Wizard::title(QWidget* page) const
{
    const Page* p = find(page);
    return p ? p->title : QString();
}

void Wizard::setAppropriate(QWidget* page, bool appropriate)
{
    if (Page* p = find(page)) {
        p->appropriate = appropriate;
        if (m_current >= 0)
            updateButtons();
    }
}

bool Wizard::appropriate(QWidget* page) const
{
    const Page* p = find(page);
    return p && p->appropriate;
}

void Wizard::setBackEnabled(QWidget* page, bool enabled)
{
    if (Page* p = find(page)) {
        p->backEnabled = enabled;
        if (page == currentPage())
            updateButtons();
    }
}

void Wizard::setNextEnabled(QWidget* page, bool enabled)
{
    if (Page* p = find(page)) {
        p->nextEnabled = enabled;
        if (page == currentPage())
            updateButtons();
    }
}

void Wizard::setFinishEnabled(QWidget* page, bool enabled)
{
    if (Page* p = find(page)) {
        p->finishEnabled = enabled;
        if (page == currentPage())
            updateButtons();
    }
}

void Wizard::setHelpEnabled(QWidget* page, bool enabled)
{
    if (Page* p = find(page)) {
        p->helpEnabled = enabled;
        if (page == currentPage())
            updateButtons();
    }
}

void Wizard::showPage(QWidget* page)
{
    const int index = indexOf(page);
    if (index < 0)
        return;
    m_current = index;
    // Arriving on a page opens the way on, whatever the page was left with.
    m_pages[index].nextEnabled = true;
    m_stack->setCurrentIndex(index);
    m_title->setText(m_pages.at(index).title);
    setButtonTexts();
    updateButtons();
    emit selected(m_pages.at(index).title);
    focusForPage();
}

void Wizard::next()
{
    const int to = appropriateNeighbour(m_current, +1);
    if (to >= 0)
        showPage(page(to));
}

void Wizard::back()
{
    const int to = appropriateNeighbour(m_current, -1);
    if (to >= 0)
        showPage(page(to));
}

void Wizard::help()
{
    emit helpClicked();
}

void Wizard::setVisible(bool visible)
{
    if (visible && !isVisible() && m_current >= 0)
        showPage(currentPage());
    QDialog::setVisible(visible);
    if (visible)
        focusForPage();
}

Wizard::Page* Wizard::find(QWidget* page)
{
    const int index = indexOf(page);
    return index < 0 ? nullptr : &m_pages[index];
}

const Wizard::Page* Wizard::find(QWidget* page) const
{
    const int index = indexOf(page);
    return index < 0 ? nullptr : &m_pages.at(index);
}

int Wizard::appropriateNeighbour(int from, int step) const
{
    for (int i = from + step; i >= 0 && i < m_pages.size(); i += step) {
        if (m_pages.at(i).appropriate)
            return i;
    }
    return -1;
}

void Wizard::updateButtons()
{
    if (m_current < 0)
        return;
    const Page& p = m_pages.at(m_current);
    const bool anyBefore = appropriateNeighbour(m_current, -1) >= 0;
    m_back->setEnabled(p.backEnabled && anyBefore);
    m_next->setEnabled(p.nextEnabled);
    m_finish->setEnabled(p.finishEnabled);
    m_help->setEnabled(p.helpEnabled);

    const bool last = m_current == m_pages.size() - 1;
    const bool finishInNextsPlace = last || (p.finishEnabled && !p.nextEnabled);
    m_next->setVisible(!finishInNextsPlace);
    m_finish->setVisible(finishInNextsPlace);
    (finishInNextsPlace ? m_finish : m_next)->setDefault(true);
}

void Wizard::setButtonTexts()
{
    m_cancel->setText(tr("&Cancel"));
    m_back->setText(tr("< &Back"));
    m_next->setText(tr("&Next >"));
    m_finish->setText(tr("&Next >"));
    m_help->setText(tr("&Finish"));
}

void Wizard::focusForPage()
{
    if (m_current == m_pages.size() - 1)
        m_help->setFocus();
    else
        m_next->setFocus();
}
