#include "unsavedprompt.h"

#include "dialogseam.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>

UnsavedChangesAnswer askToSaveChanges(QWidget* window, const QString& host)
{
    enum { Yes, No, Cancel };
    const int answer = Dialogs::warning(
        window, QObject::tr("Ornel Corvane Administration"),
        QCoreApplication::translate("WndMain",
                                    "You have modified some data in the current view.\n"
                                    "Save changes on %1?")
            .arg(host),
        QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("&Cancel"), Yes, Cancel);
    switch (answer) {
    case Yes:
        return UnsavedChangesAnswer::Save;
    case No:
        return UnsavedChangesAnswer::Discard;
    default:
        return UnsavedChangesAnswer::Keep;
    }
}
