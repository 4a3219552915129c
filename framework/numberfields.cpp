#include "numberfields.h"

#include "dialogseam.h"
#include "digitsvalidator.h"
#include "fieldfocus.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>

#include <limits>

namespace NumberFields {

namespace {

const DigitsValidator* validatorOf(const QLineEdit* field)
{
    return qobject_cast<const DigitsValidator*>(field->validator());
}

} // namespace

void acceptDigits(QLineEdit* field, qint64 bottom, qint64 top)
{
    // A child of the field: it goes with it, and serves again when the field becomes a
    // number field once more.
    auto* validator = field->findChild<DigitsValidator*>(QString(), Qt::FindDirectChildrenOnly);
    if (validator)
        validator->setRange(bottom, top);
    else
        validator = new DigitsValidator(bottom, top, field);
    field->setValidator(validator);
}

void setRange(QLineEdit* field, qint64 bottom, qint64 top)
{
    if (auto* validator = const_cast<DigitsValidator*>(validatorOf(field)))
        validator->setRange(bottom, top);
}

qint64 bottom(const QLineEdit* field)
{
    const DigitsValidator* validator = validatorOf(field);
    return validator ? validator->bottom() : 0;
}

qint64 top(const QLineEdit* field)
{
    const DigitsValidator* validator = validatorOf(field);
    return validator ? validator->top() : std::numeric_limits<qint64>::max();
}

bool holdsNumber(const QLineEdit* field)
{
    const QString text = field->text();
    if (!DigitsValidator::isDigits(text))
        return false;
    const qint64 number = text.toLongLong();
    return number >= bottom(field) && number <= top(field);
}

bool isWritable(const QLineEdit* field)
{
    return !field->isModified() || field->text().isEmpty() || holdsNumber(field);
}

QString rangeQuestion(const QString& what, const QLineEdit* field, const QString& unit)
{
    const QString highest = QString::number(top(field)) + (unit.isEmpty() ? QString() : u' ' + unit);
    return QCoreApplication::translate("NumberFields",
                                       "%1 must be a number from %2 to %3.\n"
                                       "Do you want to correct the problem?")
        .arg(what, QString::number(bottom(field)), highest);
}

bool confirmWritable(const QString& what, QLineEdit* field, const QString& unit)
{
    if (isWritable(field))
        return true;
    // The dialog may go while the box is up.
    const QPointer<QLineEdit> guarded(field);
    // Without a parent, as the dialogs' other questions: the window system places it.
    const Dialogs::Button answer = Dialogs::information(
        nullptr, QCoreApplication::translate("NumberFields", "Ornel Corvane Administration"),
        rangeQuestion(what, field, unit), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (!guarded)
        return false;
    if (answer == QMessageBox::No)
        return true;
    FieldFocus::give(field);
    return false;
}

} // namespace NumberFields
