#include "CMessageHandler.h"

namespace tools {

namespace {
std::unique_ptr<CMessageHandler>& slot()
{
    static std::unique_ptr<CMessageHandler> handler;
    return handler;
}
} // namespace

CMessageHandler& CMessageHandler::instance()
{
    auto& handler = slot();
    if (!handler)
        handler = std::make_unique<CMessageHandlerPrintf>();
    return *handler;
}

std::unique_ptr<CMessageHandler> CMessageHandler::install(std::unique_ptr<CMessageHandler> handler)
{
    auto previous = std::move(slot());
    slot() = std::move(handler);
    return previous;
}

void CMessageHandlerPrintf::message(const std::string& text)
{
    std::fputs(text.c_str(), stream_);
    std::fputc('\n', stream_);
    std::fflush(stream_);
}

} // namespace tools
