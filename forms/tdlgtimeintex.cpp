#include "tdlgtimeintex.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "notimplemented.h"
#include "setdialogform.h"

#include <QGridLayout>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QSpinBox>

#include <limits>

using FormWidgets::makeChild;

namespace {

// Start and end are shown as the server stores them, whatever their sign and size.
QSpinBox* makeStoredNumber(QWidget* parent, const char* objectName)
{
    auto* box = makeChild<QSpinBox>(parent, objectName);
    box->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    return box;
}

} // namespace

TDlgTimeIntEx::TDlgTimeIntEx(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgTimeIntEx"));
    setModal(modal);
    createWidgets();
    setTexts();
    resize(520, 400);
}

TDlgTimeIntEx::~TDlgTimeIntEx()
{
    FormWidgets::quietenBoxes(this);
}

QList<QWidget*> TDlgTimeIntEx::entryFields() const
{
    return {m_editDesc, m_comboType, m_editDays, m_spinStart, m_spinEnd};
}

void TDlgTimeIntEx::createWidgets()
{
    const SetDialogForm::SetMembers<TDlgTimeIntEx> range{
        &TDlgTimeIntEx::m_labelRange, &TDlgTimeIntEx::m_comboRange,
        &TDlgTimeIntEx::m_btnRenameRange, &TDlgTimeIntEx::m_btnRemoveRange};
    const SetDialogForm::Parts parts = SetDialogForm::makeParts(this, range, QStringLiteral("Range"), 5);

    m_labelDesc = makeChild<QLabel>(this, "m_labelDesc");
    m_editDesc = makeChild<QLineEdit>(this, "m_editDesc");
    m_labelType = makeChild<QLabel>(this, "m_labelType");
    m_comboType = makeChild<ChoiceBox>(this, "m_comboType");
    m_labelDays = makeChild<QLabel>(this, "m_labelDays");
    m_editDays = makeChild<QLineEdit>(this, "m_editDays");
    // The digits of the days, 1 for Monday to 7 for Sunday.
    m_editDays->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[1-7]{0,7}")), m_editDays));
    m_labelStart = makeChild<QLabel>(this, "m_labelStart");
    m_spinStart = makeStoredNumber(this, "m_spinStart");
    m_labelEnd = makeChild<QLabel>(this, "m_labelEnd");
    m_spinEnd = makeStoredNumber(this, "m_spinEnd");
    auto* fields = new QGridLayout;
    fields->addWidget(m_labelDesc, 0, 0);
    fields->addWidget(m_editDesc, 0, 1, 1, 3);
    fields->addWidget(m_labelType, 1, 0);
    fields->addWidget(m_comboType, 1, 1);
    fields->addWidget(m_labelDays, 1, 2);
    fields->addWidget(m_editDays, 1, 3);
    fields->addWidget(m_labelStart, 2, 0);
    fields->addWidget(m_spinStart, 2, 1);
    fields->addWidget(m_labelEnd, 2, 2);
    fields->addWidget(m_spinEnd, 2, 3);

    SetDialogForm::finishParts(this, parts, fields, &TDlgTimeIntEx::slotRangeChanged,
                               &TDlgTimeIntEx::slotRenameRange, &TDlgTimeIntEx::slotRemoveRange);
    connect(m_editDesc, &QLineEdit::textChanged, this, &TDlgTimeIntEx::slotFieldsChanged);
}

void TDlgTimeIntEx::setTexts()
{
    setWindowTitle(tr("Time Range"));
    m_labelRange->setText(tr("Range:"));
    m_btnRemoveRange->setText(tr("Remove Ran&ge"));
    m_list->setHeaderLabels({tr("Description"), tr("Type"), tr("Days"), tr("Start"), tr("End")});
    m_labelDesc->setText(tr("Description:"));
    m_labelType->setText(tr("Type:"));
    m_comboType->addItems({tr("Daily"), tr("Weekly"), tr("Absolute")});
    m_labelDays->setText(tr("Days:"));
    m_labelStart->setText(tr("Start:"));
    m_labelEnd->setText(tr("End:"));
}

void TDlgTimeIntEx::slotRangeChanged(const QString&)
{
    notImplemented("TDlgTimeIntEx::slotRangeChanged(const QString&)");
}

void TDlgTimeIntEx::slotSelected()
{
    notImplemented("TDlgTimeIntEx::slotSelected()");
}

void TDlgTimeIntEx::slotFieldsChanged()
{
    notImplemented("TDlgTimeIntEx::slotFieldsChanged()");
}

void TDlgTimeIntEx::slotAdd()
{
    notImplemented("TDlgTimeIntEx::slotAdd()");
}

void TDlgTimeIntEx::slotEdit()
{
    notImplemented("TDlgTimeIntEx::slotEdit()");
}

void TDlgTimeIntEx::slotRemove()
{
    notImplemented("TDlgTimeIntEx::slotRemove()");
}

void TDlgTimeIntEx::slotRenameRange()
{
    notImplemented("TDlgTimeIntEx::slotRenameRange()");
}

void TDlgTimeIntEx::slotRemoveRange()
{
    notImplemented("TDlgTimeIntEx::slotRemoveRange()");
}

void TDlgTimeIntEx::slotOK()
{
    notImplemented("TDlgTimeIntEx::slotOK()");
}
