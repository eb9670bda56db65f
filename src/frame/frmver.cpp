#include "frame/frmver.h"

#include "frame/Version.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace kavoret {

frmver::frmver(const QString& programTitle, QWidget* parent)
    : QDialog(parent), programTitle_(programTitle) {
    setObjectName(QStringLiteral("frmver"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setFixedSize(420, 260);

    shape1_ = new QFrame(this);
    shape1_->setObjectName(QStringLiteral("Shape1"));
    shape1_->setGeometry(12, 12, 396, 180);
    shape1_->setFrameShape(QFrame::Box);
    shape1_->setStyleSheet(QStringLiteral("#Shape1 { border: 2px solid rgb(30, 60, 140); "
                                          "border-radius: 6px; background: rgb(235, 242, 255); }"));

    auto makeLabel = [this](const char* name, int y, int height, const QString& style) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setGeometry(24, y, 372, height);
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(style);
        return label;
    };
    label1_ = makeLabel("Label1", 24, 48, QStringLiteral("font-size: 30px; font-weight: bold;"));
    label2_ = makeLabel("Label2", 76, 28, QStringLiteral("font-size: 18px;"));
    label4_ = makeLabel("Label4", 108, 28, QStringLiteral("font-size: 18px;"));
    label5_ = makeLabel("Label5", 140, 44, QStringLiteral("font-size: 13px;"));
    label5_->setWordWrap(true);

    command1_ = new QPushButton(QStringLiteral("O.K."), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(160, 206, 100, 36);
    command1_->setDefault(true);
    connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

QString frmver::versionText() {
    return QStringLiteral("Version%1.%2.%3")
        .arg(version::kMajor)
        .arg(version::kMinor)
        .arg(version::kRevision);
}

void frmver::Command1_Click() {
    close();
}

void frmver::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    label1_->setText(programTitle_);
    label2_->setText(versionText());
    label4_->setText(QStringLiteral("Morvenda"));
    label5_->setText(QStringLiteral("© Morvenda　塾・家庭用タイピングドリル"));
}

} // namespace kavoret
