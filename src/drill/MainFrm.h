#pragma once

#include "drill/DrillRun.h"

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace kavoret {

class DrillPicture;

// The drill screen: one timed run at the shared currentLevel. Keys go straight
// to the run's judging (input methods are off here, so every key arrives as the
// character typed); the timers only trigger the run's clock and minutes.
class MainFrm : public QWidget, private drill::DrillView {
    Q_OBJECT
public:
    MainFrm(SharedState& state, drill::DrillServices services, QWidget* parent = nullptr);
    ~MainFrm() override;

    drill::DrillRun& run() { return run_; }
    const drill::DrillRun& run() const { return run_; }

    // Event handlers, named after their controls.
    void Command5_Click();
    void sTimer1_Timer();
    void sTimer2_Timer();
    // The screen's activation: counts give-ups, sets up and starts the run.
    void Form_Activate();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // DrillView
    void processEvents() override;
    void refresh() override;
    void redraw() override;
    void clearPictures() override;
    void waitOneSecond() override;
    void closeScreen() override;

    QLabel* addLabel(const QString& name, const QString& text, const QRect& geometry,
                     double pointSize = 0);
    void placeShape(QFrame* shape, double fraction);

    drill::DrillRun run_;
    bool activationQueued_ = false;

    QFrame* picture2_;
    QLabel* sLabel2_;
    QLabel* sLabel7_;
    QLabel* sLabel8_;
    QLabel* sLabel9_;
    QLabel* sLabel10_;
    QLabel* sLabel11_;
    QLabel* sLabel12_;
    QLabel* sLabel13_;
    QLabel* sLabel14_;
    QFrame* sShape5_;
    QFrame* sShape2_;
    QFrame* sShape3_;
    QFrame* sShape4_;
    QLabel* label2_0_;
    QLabel* label2_1_;
    DrillPicture* picture1_;
    DrillPicture* picture12_;
    QLabel* label1_;
    QPushButton* command5_;
    QFrame* sPicture2_;
    QLabel* lblsss1_;
    QLabel* lblsss2_;
    QTimer* sTimer1_;
    QTimer* sTimer2_;
};

} // namespace kavoret
