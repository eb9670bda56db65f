#pragma once

#include "platform/PlatformModule.h"
#include "platform/WebView.h"

#include <QString>
#include <memory>

namespace kavoret {

// Loads the web view module (and with it the web engine) when it is prepared
// or the first view is asked for, so the splash does without it. When the module
// cannot be loaded, every view is a plain panel that says why.
class LazyWebViewFactory final : public WebViewFactory {
public:
    explicit LazyWebViewFactory(QString modulePath);
    ~LazyWebViewFactory() override;

    WebView* create(QWidget* parent, const QString& objectName) override;
    // Loads the module and has it start the web engine.
    void prepare() override;

    // Why the module could not be loaded; empty while it could (or was not tried).
    const QString& loadError() const { return real_.loadError(); }

private:
    ModuleObject<WebViewFactory> real_;
};

} // namespace kavoret
