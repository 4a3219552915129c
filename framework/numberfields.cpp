#include "numberfields.h"

#include "dialogseam.h"
#include "digitsvalidator.h"
#include "fieldfocus.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>

namespace NumberFields {

namespace {

void setDigitsValidator(QLineEdit* field, qint64 top)
{
    // A child of the field: it goes with it, and serves again when the field becomes a
    // number field once more.
    auto* validator = field->findChild<DigitsValidator*>(QString(), Qt::FindDirectChildrenOnly);
    if (validator)
        validator->setTop(top);
    else
        validator = new DigitsValidator(top, field);
    field->setValidator(validator);
}

} // namespace

void acceptDigits(QLineEdit* field, qint64 top)
{
    setDigitsValidator(field, top);
}

void acceptAnyDigits(QLineEdit* field)
{
    setDigitsValidator(field, DigitsValidator::NoTop);
}

qint64 shownNumber(const QLineEdit* field)
{
    return field->text().toLongLong();
}

qint64 highestFitting(qint64 factor, qint64 columnTop)
{
    return columnTop / qMax<qint64>(factor, 1);
}

bool fits(const QLineEdit* field, qint64 factor, qint64 columnTop)
{
    const QString text = field->text();
    if (text.isEmpty())
        return true;
    // A text the validator let in is digits; anything else (a text the program set) is
    // written as it stands.
    if (!DigitsValidator::isDigits(text))
        return true;
    return text.toLongLong() <= highestFitting(factor, columnTop);
}

QString beyondColumnText(const QString& what, qint64 factor, qint64 columnTop,
                         const QString& unit)
{
    const QString highest = QString::number(highestFitting(factor, columnTop))
        + (unit.isEmpty() ? QString() : u' ' + unit);
    return QCoreApplication::translate("NumberFields", "%1 must be a number from 0 to %2.")
        .arg(what, highest);
}

bool confirmFits(const QString& what, QLineEdit* field, qint64 factor, qint64 columnTop,
                 const QString& unit)
{
    if (fits(field, factor, columnTop))
        return true;
    // The dialog may go while the box is up.
    const QPointer<QLineEdit> guarded(field);
    // Without a parent, as the dialogs' other boxes: the window system places it.
    Dialogs::warning(nullptr,
                     QCoreApplication::translate("NumberFields", "Ornel Corvane Administration"),
                     beyondColumnText(what, factor, columnTop, unit), QMessageBox::Ok);
    if (guarded)
        FieldFocus::give(guarded);
    return false;
}

} // namespace NumberFields
