#pragma once

#include "platform/WebView.h"

#include <QObject>

class QWebEngineProfile;
class QWebEngineView;

namespace kavoret {

// Owned by its view: it goes when the view's parent deletes the view.
class QtWebView final : public QObject, public WebView {
public:
    QtWebView(QWebEngineProfile* profile, QWidget* parent, const QString& objectName);
    void navigate(const QString& address) override;
    void setShown(bool shown) override;
    QWidget* widget() override;

private:
    QWebEngineView* view_;
};

class QtWebViewFactory final : public WebViewFactory {
public:
    WebView* create(QWidget* parent, const QString& objectName) override;
    // Starts the web engine with the views' profile.
    void prepare() override;

private:
    QWebEngineProfile* profile();

    QWebEngineProfile* profile_ = nullptr;
};

} // namespace kavoret
