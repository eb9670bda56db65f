#include "platform/QtSheetPrinter.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace kavoret;

namespace {

// Answers the print dialog once it is open: with `file` as its PDF file
// (accepted), or cancelled when `file` is empty.
void answerDialog(const QString& file, bool* answered) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, file, answered] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        *answered = true;
        if (file.isEmpty()) {
            dialog->reject();
            return;
        }
        // Without a printer the dialog offers "Print to File (PDF)" alone.
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename")))
            name->setText(file);
        dialog->accept();
    });
    poll->start(50);
}

int pagesOf(const QString& file) {
    QFile pdf(file);
    return pdf.open(QIODevice::ReadOnly) ? static_cast<int>(pdf.readAll().count("/Type /Page\n"))
                                         : -1;
}

} // namespace

class tst_QtSheetPrinter : public QObject {
    Q_OBJECT
private slots:
    void jobsToOnePdfFileAreNumbered();
    void cancelledDialogPrintsNothing();
    void noJobWithoutAChoice();
};

void tst_QtSheetPrinter::jobsToOnePdfFileAreNumbered() {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("成績表.pdf"));
    QtSheetPrinter printer;
    bool answered = false;
    answerDialog(file, &answered);
    QVERIFY(printer.choosePrinter(2));
    QVERIFY(answered);
    for (int job = 1; job <= 2; ++job) {
        QPainter* painter = printer.beginJob(QStringLiteral("job %1").arg(job));
        QVERIFY2(painter, qPrintable(printer.lastError()));
        // A4 portrait inside 10 mm margins: 190 × 277 mm.
        const QPaintDevice* page = painter->device();
        const double mm = page->logicalDpiX() / 25.4;
        QVERIFY(qAbs(page->width() / mm - 190) < 1);
        QVERIFY(qAbs(page->height() / mm - 277) < 1);
        painter->drawText(100, 100, QStringLiteral("job %1").arg(job));
        if (job == 2)
            QVERIFY(printer.newPage());
        QVERIFY(printer.endJob());
    }
    QCOMPARE(pagesOf(file), 1);
    QCOMPARE(pagesOf(folder.filePath(QStringLiteral("成績表-2.pdf"))), 2);
}

void tst_QtSheetPrinter::cancelledDialogPrintsNothing() {
    QtSheetPrinter printer;
    bool answered = false;
    answerDialog(QString(), &answered);
    QVERIFY(!printer.choosePrinter(1));
    QVERIFY(answered);
}

void tst_QtSheetPrinter::noJobWithoutAChoice() {
    QtSheetPrinter printer;
    QVERIFY(!printer.beginJob(QStringLiteral("job")));
    QVERIFY(!printer.lastError().isEmpty());
    QVERIFY(!printer.newPage());
    QVERIFY(!printer.endJob());
}

QTEST_MAIN(tst_QtSheetPrinter)
#include "tst_qtsheetprinter.moc"
