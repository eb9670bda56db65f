#pragma once

#include "roster/ListOrder.h"

#include <QStringList>
#include <QWidget>
#include <array>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace kavoret {

class Clock;
class Cues;
class Dialogs;
class PageReader;
class Random;
class ResultsStore;
class ScreenFlow;
class Shell;
class WebView;
class WebViewFactory;
struct SharedState;

// The name selection screen: the roster with each student's runs or points,
// narrowed to a class; a student picks a name and logs in to the results board.
class namesel : public QWidget {
    Q_OBJECT
public:
    struct Services {
        ScreenFlow& flow;
        Dialogs& dialogs;
        Cues& cues;
        ResultsStore& results;
        PageReader& pages;
        Shell& shell;
        WebViewFactory& webViews;
        const Clock& clock;
        Random& random;
    };

    // The class names of Combo1, in their order.
    static QStringList classNames();

    namesel(SharedState& state, Services services, QWidget* parent = nullptr);

    // The load step (after the duplicate-instance check): lays out and paints
    // the screen, lists the roster and shows the screen. When the roster cannot
    // be read it says so and ends the program; the screen is never shown then
    // and the result is false.
    bool load();
    // First activation after load: school labels, program information, list
    // mode and class reset, the board closed, the list rebuilt.
    void Form_Activate();
    // Activation when the results board returns to this screen: the same
    // without the school labels and the program information.
    void formactive2();

    // Loads the roster and rebuilds the lists; false when the roster could not
    // be read (the program is ending then).
    bool 名簿表示();
    // Reads the program information: reference times, clear points, point limits.
    void ソフト情報よみこみ();

    // Event handlers.
    void List1_Click(int index);
    void List1_DblClick(int index);
    void Combo1_Click(int index);
    void Option1_Click(int index);
    void Command14_Click();
    void Command7_Click();
    void Command13_Click();
    void Command1_Click();
    void Label4_Click();

    int listMode() const { return listMode_; }
    const QString& chosenClass() const { return chosenClass_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void activationSteps();
    void startProgramMenu();
    void paintSeasonColour();
    void showLines(QListWidget* list, const QStringList& lines);

    SharedState& state_;
    Services services_;
    roster::ListOrder order_;
    int listMode_ = 1;
    QString chosenClass_ = QStringLiteral("全学年");

    QWidget* picture10_;
    QWidget* picture12_;
    QWidget* picture5_;
    QListWidget* list1_;
    QListWidget* list2_;
    QListWidget* list3_;
    QComboBox* combo1_;
    std::array<QRadioButton*, 4> option1_{};
    QButtonGroup* option1Group_;
    QLabel* label1_;
    QLabel* label2_;
    QLabel* label4_;
    QLabel* label13_;
    QLabel* label14_;
    QPushButton* command14_;
    QPushButton* command7_;
    QPushButton* command13_;
    QPushButton* command1_;
    QLineEdit* turl_;
    WebView* webBrowser2_ = nullptr;
};

} // namespace kavoret
