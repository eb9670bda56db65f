#pragma once

#include <QString>
#include <optional>

namespace kavoret {

// Modal message and input boxes. Messages have one O.K. button.
class Dialogs {
public:
    enum class Icon { None, Information, Warning, Error };
    virtual ~Dialogs() = default;
    virtual void message(const QString& text, const QString& title, Icon icon = Icon::None) = 0;
    // The entered text, or nothing when the box was cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title) = 0;
};

} // namespace kavoret
