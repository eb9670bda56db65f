// The real message box shows texts as written: names and paths are never markup.
#include "platform/QtDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace kavoret;

class tst_QtDialogs : public QObject {
    Q_OBJECT
private slots:
    void messageShowsMarkupAsWritten();
};

void tst_QtDialogs::messageShowsMarkupAsWritten() {
    const QString text = QStringLiteral("ファイル「/data/<b>x</b>.txt」がありません");
    QString shownText;
    Qt::TextFormat shownFormat = Qt::AutoText;
    QString okCaption;
    // The box is modal: look at it from a timer and close it with its button.
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        shownText = box->text();
        shownFormat = box->textFormat();
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        okCaption = ok->text();
        ok->click();
    });
    QtDialogs dialogs;
    dialogs.message(text, QStringLiteral("Kavoret"), Dialogs::Icon::Error);
    QCOMPARE(shownText, text);
    QCOMPARE(shownFormat, Qt::PlainText);
    QCOMPARE(okCaption, QStringLiteral("O.K."));
}

QTEST_MAIN(tst_QtDialogs)
#include "tst_qtdialogs.moc"
