#include "dialogutils.h"
#include "dialogutils_p.h"

#include "dialogseam.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
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

namespace {

// The one-line input dialog's measures: the label 75 by 22 pixels from 20, 25, the line
// edit beside it from 100, 20, the buttons 70 by 24 from 60 down, and the dialog the edit's
// width plus 140 by 100. They are the least: a longer label or wider buttons push the rest
// right, and the dialog grows to hold them.
constexpr int InputMargin = 20;
constexpr int InputLabelWidth = 75;
constexpr int InputLabelGap = 5;
constexpr int InputRowHeight = 22;
constexpr int InputButtonWidth = 70;
constexpr int InputButtonHeight = 24;
constexpr int InputButtonGap = 10;
constexpr int InputRowsGap = 18;
constexpr int InputExtraWidth = 140;
constexpr int InputHeight = 100;
constexpr int InputBottomMargin = InputHeight - InputMargin - InputRowHeight - InputRowsGap - InputButtonHeight;

QPushButton* inputButton(const QString& text, QDialog* dialog)
{
    auto* button = new QPushButton(text, dialog);
    button->setMinimumSize(InputButtonWidth, InputButtonHeight);
    return button;
}

} // namespace

int DialogInput(QWidget* parent, QString& value, const char* caption, const char* label,
                int width)
{
    QDialog dialog(parent);
    dialog.setModal(true);

    auto* prompt = new QLabel(QString::fromLatin1(label), &dialog);
    prompt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    prompt->setMinimumSize(InputLabelWidth, InputRowHeight);
    auto* edit = new QLineEdit(value, &dialog);
    edit->setFixedWidth(width);
    edit->setMinimumHeight(InputRowHeight);

    auto* ok = inputButton(QDialog::tr("&Ok"), &dialog);
    ok->setDefault(true);
    auto* cancel = inputButton(QDialog::tr("&Cancel"), &dialog);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(InputButtonGap);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* grid = new QGridLayout(&dialog);
    grid->setContentsMargins(InputMargin, InputMargin, InputMargin, InputBottomMargin);
    grid->setHorizontalSpacing(InputLabelGap);
    grid->setVerticalSpacing(InputRowsGap);
    grid->addWidget(prompt, 0, 0);
    grid->addWidget(edit, 0, 1, Qt::AlignLeft);
    grid->addLayout(buttons, 1, 1);
    grid->setColumnStretch(1, 1);

    dialog.ensurePolished();
    dialog.setFixedSize(QSize(width + InputExtraWidth, InputHeight).expandedTo(dialog.sizeHint()));
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
