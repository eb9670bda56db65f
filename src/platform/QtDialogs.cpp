#include "platform/QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace kavoret {

void QtDialogs::message(const QString& text, const QString& title, Icon icon) {
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::None:
        break;
    case Icon::Information:
        boxIcon = QMessageBox::Information;
        break;
    case Icon::Warning:
        boxIcon = QMessageBox::Warning;
        break;
    case Icon::Error:
        boxIcon = QMessageBox::Critical;
        break;
    }
    QMessageBox box(boxIcon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    // Messages carry file paths, roster names and server text: shown as written, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("O.K."));
    box.exec();
}

std::optional<QString> QtDialogs::input(const QString& prompt, const QString& title) {
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                               QLineEdit::Normal, {}, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

} // namespace kavoret
