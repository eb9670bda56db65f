#pragma once

#include "board/Listings.h"
#include "board/OverPractice.h"
#include "board/Rankings.h"
#include "ranking/OnlineFigures.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStringListModel;

namespace kavoret {

class Clock;
class Dialogs;
class PageReader;
class ResultsStore;
class ScreenFlow;
class SheetPrinter;
class Shell;
class WebView;
class WebViewFactory;
struct SharedState;
namespace board {
class SheetPicture;
}

// The results board: the hub after a login. One column per level with the
// student's counters and marks, a start button and a list; around them the
// display and list selectors, the grade filter and the doors to the server's pages.
class seisekitime1 : public QWidget {
    Q_OBJECT
public:
    struct Services {
        ScreenFlow& flow;
        Dialogs& dialogs;
        ResultsStore& results;
        PageReader& pages;
        Shell& shell;
        WebViewFactory& webViews;
        const Clock& clock;
        // Prints the statistics sheets; without one "印刷" prints nothing.
        SheetPrinter* printer = nullptr;
    };

    seisekitime1(SharedState& state, Services services, QWidget* parent = nullptr);
    ~seisekitime1() override;

    // Once per login: the server's figures of every level, the columns, the
    // stored unlocks; chosenClass is the grade last chosen at the name selection.
    void load(const QString& chosenClass);
    // Each time the board comes back: the tally, the counters, the lists, the limits.
    void Form_Activate();

    // Public operations of the board.
    void 回数など表示();
    void 成績リスト色表示();
    void 成績リスト色表示単独(int level);
    void kkk() {}
    void net読み込み(int level);

    // Event handlers.
    void Option2_Click(int index);
    void Option1_Click(int index);
    void Combo1_Click(int index);
    void Combo2_Click(int index);
    void Command4_Click(int level);
    void Label3_Click(int level);
    void Text1_DblClick(int level);
    void Command36_Click(int level);
    void Command1_Click();
    void Command39_Click();
    void Command37_Click();
    void Command38_Click();
    void Command35_Click();

    // The statistics panel.
    void Command17_Click();
    void Command24_Click(int index); // 0 shows the sheets, 1 prints them
    void Command25_Click();
    void Command18_Click();
    void List2_Click();
    void List3_Click();

    bool boardReady() const { return boardReady_ != 0; }
    // The load has finished (it reads the server, letting events through meanwhile).
    bool loaded() const { return loaded_; }
    int displayMode() const { return displayMode_; }
    int periodIndex() const { return periodIndex_; }
    // The lines a level's list shows, for tests and the screen's own checks.
    QStringList listLines(int level) const;
    void setSkipRefresh(bool skip) { skipRefresh_ = skip ? 1 : 0; }
    // The student whose sheets the panel shows last.
    int chosenStudent() const { return chosenStudent_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The widgets of one level's column.
    struct Column {
        QWidget* picture15 = nullptr;
        QLabel* label1 = nullptr;
        QLabel* label3 = nullptr;
        QLabel* label32 = nullptr;
        QLabel* label7 = nullptr;
        QLabel* label8 = nullptr;
        QLabel* label2 = nullptr;
        QLabel* label19 = nullptr;
        QLabel* label31 = nullptr;
        QLabel* label14 = nullptr;
        QLabel* label15 = nullptr;
        QLabel* label9 = nullptr;
        QLabel* label10 = nullptr;
        QListView* list5 = nullptr;
        QStringListModel* lines = nullptr;
        QPushButton* command4 = nullptr;
        QLineEdit* text1 = nullptr;
        QPushButton* command36 = nullptr;
        WebView* webBrowser1 = nullptr; // made when first needed
    };

    void buildControls();
    void buildColumn(int level);
    void buildStatisticsPanel();
    void placeColumns();
    void fillColumn(int level);
    void showCover(bool shown);
    void beginBusy();
    void endBusy();
    void showLevelLists(bool shown);
    void runListSelector(int index);
    void buildRankings(board::RankingKind kind);
    void showListings(const board::LevelLists& lists);
    void showRanking(int level, const board::RankedList& ranked);
    void evaluateLimits();
    bool handleKey(const QKeyEvent* key);
    void startRun(int level);
    void focusFirstStartButton();
    void reloadRosterList();
    bool drawSheets(int target);
    QString gradeFilter() const;
    double today() const;
    void breathe();

    SharedState& state_;
    Services services_;
    int levelCount_ = 0;
    std::vector<Column> columns_; // index 1..levelCount
    std::vector<ranking::OnlineFigures> server_;
    std::vector<board::LevelGate> gates_;
    std::unique_ptr<board::RankingBuilder> rankings_;

    bool loaded_ = false;
    int boardReady_ = 0;
    int displayMode_ = 1;
    int rankingKind_ = 1;
    int skipRefresh_ = 0;
    int periodIndex_ = 3;

    QLabel* label11_;
    QLabel* label12_;
    QLabel* label13_;
    QLabel* label17_;
    QLabel* label18_;
    QLabel* label30_;
    QLabel* label5_;
    std::array<QRadioButton*, 3> option2_{};
    QWidget* option1Panel_;
    std::array<QRadioButton*, 4> option1_{}; // 1..3
    QButtonGroup* option2Group_;
    QButtonGroup* option1Group_;
    QComboBox* combo1_;
    QComboBox* combo2_;
    QPushButton* command1_;
    QPushButton* command17_;
    QPushButton* command39_;
    QPushButton* command35_;
    QWidget* picture16_;
    WebView* webBrowser3_ = nullptr;
    QPushButton* command37_;
    QPushButton* command38_;
    QWidget* picture2_;
    QProgressBar* progressBar2_;
    WebView* webBrowser2_ = nullptr;

    // The statistics panel and its form state.
    QWidget* picture11_;
    board::SheetPicture* picture12_;
    QListView* list2_;
    QStringListModel* list2Lines_;
    QLabel* label27_;
    QListView* list3_;
    QStringListModel* list3Lines_;
    QPushButton* command25_;
    std::array<QPushButton*, 2> command24_{};
    QPushButton* command18_;
    int chosenStudent_ = 0;
    int sheetFontSize_ = 6;
    bool drawingSheets_ = false;
};

} // namespace kavoret
