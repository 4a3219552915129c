#include "dialogutils.h"
#include "dialogutils_p.h"

#include "dialogseam.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstdio>

QString formatMessage(const char* format, va_list args)
{
    char buffer[2048];
    std::vsnprintf(buffer, sizeof buffer, format ? format : "", args);
    return QString::fromLatin1(buffer);
}

void DialogF(QWidget* parent, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const QString text = formatMessage(format, args);
    va_end(args);
    Dialogs::warning(parent, QString(), text, QString(), QString(), QString(), 0, -1);
}

int DialogInput(QWidget* parent, QString& value, const char* caption, const char* label,
                int width)
{
    QDialog dialog(parent);
    dialog.setModal(true);

    auto* prompt = new QLabel(QString::fromLatin1(label), &dialog);
    prompt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    prompt->setGeometry(20, 25, 75, 22);

    auto* edit = new QLineEdit(value, &dialog);
    edit->setGeometry(100, 20, width, 22);

    auto* ok = new QPushButton(QDialog::tr("&Ok"), &dialog);
    ok->setGeometry(100, 60, 70, 24);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QDialog::tr("&Cancel"), &dialog);
    cancel->setGeometry(180, 60, 70, 24);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);

    dialog.setMinimumWidth(300);
    dialog.setFixedSize(width + 140, 100);
    if (caption)
        dialog.setWindowTitle(QString::fromLatin1(caption));

    edit->setFocus();
    edit->setSelection(0, 1000);
    const int result = Dialogs::exec(&dialog);
    value = edit->text();
    return result;
}

void toip(char* buf, unsigned int address)
{
    in_addr in{};
    in.s_addr = address;
    char text[INET_ADDRSTRLEN] = {};
    // inet_ntop writes what inet_ntoa would, without its shared static buffer.
    inet_ntop(AF_INET, &in, text, sizeof text);
    std::snprintf(buf, INET_ADDRSTRLEN, "%s", text);
}

void toip(QString& text, unsigned int address)
{
    char buf[INET_ADDRSTRLEN];
    toip(buf, address);
    text = QString::fromLatin1(buf);
}

void CenterWidget(QWidget* outer, QWidget* widget)
{
    widget->move((outer->width() - widget->width()) / 2,
                 (outer->height() - widget->height()) / 2);
}
