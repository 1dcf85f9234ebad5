// The development server's two parsers on arbitrary bytes.
#include "devserver/commandparser.h"
#include "devserver/httprequest.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
#if defined(VORKLE_FUZZ_HTTP)
    const devserver::HttpRequest r = devserver::parseHttpRequest(bytes);
    if (r.state == devserver::HttpRequest::State::Complete &&
        (r.headLength <= 0 || r.headLength > bytes.size()))
        abort();
    r.queryValue(QStringLiteral("screenname"));
#else
    devserver::Command cmd;
    if (devserver::parseCommand(bytes, &cmd) && cmd.name.isEmpty())
        abort();
#endif
    return 0;
}
