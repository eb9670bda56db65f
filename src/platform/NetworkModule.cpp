// The entry points of the network module. The program loads this library with
// its first page read or request, so libcurl, Qt Network and everything under
// them stay out of the start-up.
#include "platform/CurlPageReader.h"
#include "platform/QtRequestSender.h"

extern "C" Q_DECL_EXPORT kavoret::PageReader* kavoret_make_page_reader() {
    return new kavoret::CurlPageReader;
}

extern "C" Q_DECL_EXPORT kavoret::RequestSender* kavoret_make_request_sender() {
    return new kavoret::QtRequestSender;
}
