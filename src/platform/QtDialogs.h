#pragma once

#include "platform/Dialogs.h"

class QWidget;

namespace kavoret {

// QMessageBox and QInputDialog, parented to the active window.
class QtDialogs final : public Dialogs {
public:
    void message(const QString& text, const QString& title, Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title) override;
};

} // namespace kavoret
