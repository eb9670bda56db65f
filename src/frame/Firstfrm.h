#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

namespace kavoret {

class Clock;
class Random;
struct SharedState;

// The splash screen: shown at once, then 100 ms later hands over to the
// folder setup and the name selection screen.
class Firstfrm : public QWidget {
    Q_OBJECT
public:
    Firstfrm(SharedState& state, const Clock& clock, Random& random, QWidget* parent = nullptr);

    // Runs when Timer1 fires; set by the program before load().
    void setHandOver(std::function<void()> handOver) { handOver_ = std::move(handOver); }

    // Runs once, as soon as the splash has been painted and its load step is
    // done: the time for work that may hold the window a moment (getting the
    // web engine ready) while Timer1 counts, instead of before the splash or
    // after it.
    void setWhenShown(std::function<void()> whenShown) { whenShown_ = std::move(whenShown); }

    // The load step: show, seed the random source, date and season colour, enable Timer1.
    void load();
    void Timer1_Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    SharedState& state_;
    const Clock& clock_;
    Random& random_;
    std::function<void()> handOver_;
    std::function<void()> whenShown_;
    bool painted_ = false;
    bool loaded_ = false;
    bool whenShownQueued_ = false;

    void queueWhenShown();
    QLabel* picture1_;
    QLabel* label5_;
    QLabel* label19_;
    QTimer* timer1_;
};

} // namespace kavoret
