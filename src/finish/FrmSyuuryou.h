#pragma once

#include "finish/FinishJudgement.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace kavoret {

class Clock;
class Cues;
class PageReader;
class RequestSender;
class ResultsStore;
class ScreenFlow;
class WebView;
class WebViewFactory;
struct SharedState;

// The finish screen: the judgement of the run at once, the student's online
// standing one second later, and half a second after that the way on.
class FrmSyuuryou : public QWidget {
    Q_OBJECT
public:
    struct Services {
        finish::FinishSequence::Services sequence; // what the judgement itself needs
        WebViewFactory& webViews;
        ScreenFlow& flow;
    };

    FrmSyuuryou(SharedState& state, Services services, QWidget* parent = nullptr);

    // The first activation after the window opens judges the run, sends the
    // upload, plays the cues and starts the online part. Later activations
    // while the window stays open change nothing.
    void Form_Activate();
    // Reads the student's online figures at the level into this screen.
    void net読み込み(int level);

    void Timer4_Timer();
    void Timer1_Timer();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* makeLabel(const QString& name, const QString& text, const QRect& geometry,
                      const QString& style, QWidget* parent);
    QPushButton* makeButton(const QString& name, const QString& caption, const QRect& geometry);

    SharedState& state_;
    Services services_;
    finish::FinishSequence sequence_;
    ranking::OnlineFigures figures_;
    bool placed_ = false;
    bool judged_ = false;

    QWidget* picture4_;
    QLabel* label15_;
    QLabel* label16_;
    QLabel* label17_;
    QLabel* label18_;
    QLabel* label19_;
    QLabel* label13_;
    QLabel* label14_;
    QLabel* label20_;
    QWidget* picture1_;
    QLabel* label1_;
    QLabel* label2_;
    QLabel* label21_;
    QLabel* label25_;
    QLabel* label22_;
    QLabel* label24_;
    QLabel* label23_;
    WebView* webBrowser2_;
    WebView* webBrowser6_;
    QPushButton* command4_;
    QPushButton* command5_;
    QPushButton* command6_;
    QPushButton* command7_;
    QTimer* timer4_;
    QTimer* timer1_;
};

} // namespace kavoret
