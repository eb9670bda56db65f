#include "platform/QtWebView.h"

#include <QFileInfo>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace kavoret {

QtWebView::QtWebView(QWebEngineProfile* profile, QWidget* parent, const QString& objectName)
    : view_(new QWebEngineView(profile, parent)) {
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

void QtWebViewFactory::prepare() {
    profile();
}

WebView* QtWebViewFactory::create(QWidget* parent, const QString& objectName) {
    return new QtWebView(profile(), parent, objectName);
}

// Every view shares the engine's default profile, which keeps nothing on disk.
// The pages are a few local files and the ranking server's pages, which change
// with every run: the views keep no HTTP cache either. One renderer process
// serves all of them, instead of one per page the board and the finish screen
// show. The first call starts the web engine.
QWebEngineProfile* QtWebViewFactory::profile() {
    if (profile_)
        return profile_;
    // The engine reads its flags when it starts; programs started later from
    // here get the environment as it was.
    const bool hadFlags = qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS");
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--renderer-process-limit"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                flags + (flags.isEmpty() ? "" : " ") + "--renderer-process-limit=1");
    profile_ = QWebEngineProfile::defaultProfile(); // off the record: nothing on disk
    if (hadFlags)
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    else
        qunsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    profile_->setHttpCacheType(QWebEngineProfile::NoCache);
    return profile_;
}

} // namespace kavoret
