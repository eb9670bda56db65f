#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <functional>

namespace kavoret::test {

// Records every message and answers input boxes from a script.
class RecordingDialogs final : public Dialogs {
public:
    struct Shown {
        QString text;
        QString title;
        Icon icon;
    };
    void message(const QString& text, const QString& title, Icon icon) override {
        messages.append({text, title, icon});
        if (onMessage)
            onMessage(messages.back());
    }
    std::optional<QString> input(const QString& prompt, const QString& title) override {
        prompts.append({prompt, title, Icon::None});
        if (answers.isEmpty())
            return std::nullopt;
        return answers.takeFirst();
    }

    QList<Shown> messages;
    QList<Shown> prompts;
    QList<std::optional<QString>> answers;
    std::function<void(const Shown&)> onMessage;
};

} // namespace kavoret::test
