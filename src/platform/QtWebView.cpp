#include "platform/QtWebView.h"

#include <QFileInfo>
#include <QUrl>
#include <QWebEngineView>

namespace kavoret {

QtWebView::QtWebView(QWidget* parent, const QString& objectName)
    : view_(new QWebEngineView(parent)) {
    view_->setObjectName(objectName);
    setParent(view_);
}

void QtWebView::navigate(const QString& address) {
    // Local pages are given as file paths, server pages as addresses.
    const QUrl url = QFileInfo(address).isAbsolute() ? QUrl::fromLocalFile(address)
                                                     : QUrl::fromUserInput(address);
    view_->setUrl(url);
}

void QtWebView::setShown(bool shown) {
    view_->setVisible(shown);
}

QWidget* QtWebView::widget() {
    return view_;
}

WebView* QtWebViewFactory::create(QWidget* parent, const QString& objectName) {
    return new QtWebView(parent, objectName);
}

} // namespace kavoret
