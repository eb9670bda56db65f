#include "platform/QtSheetPrinter.h"

#include <QApplication>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace kavoret {
namespace {

const QMarginsF kMarginsMm(10, 10, 10, 10);

void useA4Portrait(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(kMarginsMm, QPageLayout::Millimeter);
}

// The file of the job-th job when every job was to go to `file`.
QString numberedFile(const QString& file, int job) {
    if (job <= 1)
        return file;
    const QFileInfo info(file);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QString base = file.left(file.size() - suffix.size());
    return QStringLiteral("%1-%2%3").arg(base).arg(job).arg(suffix);
}

} // namespace

QtSheetPrinter::QtSheetPrinter() = default;

QtSheetPrinter::~QtSheetPrinter() {
    if (painter_ && painter_->isActive())
        painter_->end();
}

bool QtSheetPrinter::choosePrinter(int jobCount) {
    error_.clear();
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    useA4Portrait(*printer_);
    QPrintDialog dialog(printer_.get(), QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("印刷（%1人分）").arg(jobCount));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // The sheets are laid out for A4 portrait, whatever the printer's default.
    useA4Portrait(*printer_);
    chosenFile_ = printer_->outputFileName();
    job_ = 0;
    return true;
}

QPainter* QtSheetPrinter::beginJob(const QString& title) {
    error_.clear();
    if (!printer_) {
        error_ = QStringLiteral("プリンターが選ばれていません。");
        return nullptr;
    }
    ++job_;
    printer_->setDocName(title);
    if (!chosenFile_.isEmpty())
        printer_->setOutputFileName(numberedFile(chosenFile_, job_));
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        error_ = chosenFile_.isEmpty() ? QStringLiteral("プリンター「%1」で印刷を始められません。")
                                             .arg(printer_->printerName())
                                       : QStringLiteral("ファイル「%1」に書き出せません。")
                                             .arg(printer_->outputFileName());
        painter_.reset();
        return nullptr;
    }
    return painter_.get();
}

bool QtSheetPrinter::newPage() {
    if (!printer_ || !painter_ || !printer_->newPage()) {
        error_ = QStringLiteral("次のページに進めません。");
        return false;
    }
    return true;
}

bool QtSheetPrinter::endJob() {
    if (!painter_)
        return false;
    const bool ended = painter_->end();
    painter_.reset();
    if (!ended)
        error_ = QStringLiteral("印刷を終えられません。");
    return ended;
}

QString QtSheetPrinter::lastError() const {
    return error_;
}

} // namespace kavoret
