#pragma once

#include <QString>

class QWidget;

namespace kavoret {

// An embedded web view a screen places in its layout.
class WebView {
public:
    virtual ~WebView() = default;
    virtual void navigate(const QString& address) = 0;
    virtual void setShown(bool shown) = 0;
    virtual QWidget* widget() = 0;
};

// Screens get their web views from a factory, so tests can swap in plain widgets.
class WebViewFactory {
public:
    virtual ~WebViewFactory() = default;
    // The view is owned by its widget's parent.
    virtual WebView* create(QWidget* parent, const QString& objectName) = 0;
    // Gets ready to make views, so that the first one comes at once; the
    // program calls it while its splash is up. Nothing to do by default.
    virtual void prepare() {}
};

} // namespace kavoret
