#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace kavoret {

// The version box.
class frmver : public QDialog {
    Q_OBJECT
public:
    explicit frmver(const QString& programTitle, QWidget* parent = nullptr);

    static QString versionText();
    void Command1_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString programTitle_;
    QLabel* label1_;
    QLabel* label2_;
    QLabel* label4_;
    QLabel* label5_;
    QFrame* shape1_;
    QPushButton* command1_;
};

} // namespace kavoret
