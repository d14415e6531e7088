#include "MessageSink.h"

namespace ivra {

namespace {
std::unique_ptr<MessageSink>& slot()
{
    static std::unique_ptr<MessageSink> handler;
    return handler;
}
} // namespace

MessageSink& MessageSink::instance()
{
    auto& handler = slot();
    if (!handler)
        handler = std::make_unique<StreamMessageSink>();
    return *handler;
}

std::unique_ptr<MessageSink> MessageSink::install(std::unique_ptr<MessageSink> handler)
{
    auto previous = std::move(slot());
    slot() = std::move(handler);
    return previous;
}

void StreamMessageSink::message(const std::string& text)
{
    std::fputs(text.c_str(), stream_);
    std::fputc('\n', stream_);
    std::fflush(stream_);
}

} // namespace ivra
