#pragma once

#include "frame/ScreenFlow.h"

#include <QStringList>

namespace kavoret::test {

// Records each hand-over by name, in order ("showBoard", "endProgram:1", ...).
class RecordingScreenFlow final : public ScreenFlow {
public:
    void showNameSelection() override { calls.append(QStringLiteral("showNameSelection")); }
    void closeNameSelection() override { calls.append(QStringLiteral("closeNameSelection")); }
    void showBoard() override { calls.append(QStringLiteral("showBoard")); }
    void closeBoard() override { calls.append(QStringLiteral("closeBoard")); }
    void startDrillRun() override { calls.append(QStringLiteral("startDrillRun")); }
    void showFinish() override { calls.append(QStringLiteral("showFinish")); }
    void showBackdrop() override { calls.append(QStringLiteral("showBackdrop")); }
    void closeBackdrop() override { calls.append(QStringLiteral("closeBackdrop")); }
    void endProgram(int exitCode) override {
        calls.append(QStringLiteral("endProgram:%1").arg(exitCode));
    }
    int count(const QString& call) const { return static_cast<int>(calls.count(call)); }

    QStringList calls;
};

} // namespace kavoret::test
