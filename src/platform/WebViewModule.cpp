// The entry point of the web view module. The program loads this library only
// when its first web view is needed, so the web engine stays out of the start-up.
#include "platform/QtWebView.h"

#include <QQuickWindow>

extern "C" Q_DECL_EXPORT kavoret::WebViewFactory* kavoret_make_web_view_factory() {
    // The pages the program shows need no OpenGL: the views compose in software,
    // so no GL driver is loaded for them.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    return new kavoret::QtWebViewFactory;
}
