// Feeds arbitrary bytes to what the browser sign-in reads from outside: the request line the
// loopback listener receives, the token endpoint's reply and the identity token. Nothing may
// crash; only a GET of "/" counts as a redirect, and only a 2xx reply yields tokens.
#include "services/oauth/LoopbackAuthService.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    const OAuth::RedirectRequest request = OAuth::readRedirectRequest(bytes);
    if (request.kind == OAuth::RedirectRequest::Kind::Redirect && !bytes.startsWith("GET /"))
        std::abort();
    if (request.kind != OAuth::RedirectRequest::Kind::Redirect
        && !QString(request.state + request.code + request.error + request.errorDescription)
                .isEmpty())
        std::abort();

    for (int status : {200, 400}) {
        const OAuth::TokenReply reply = OAuth::readTokenReply(status, bytes);
        if (status != 200
            && !QString(reply.accessToken + reply.refreshToken + reply.idToken).isEmpty())
            std::abort();
    }

    (void)OAuth::decodeJwtPayload(QString::fromUtf8(bytes));
    return 0;
}
