#pragma once

// Shared by the fuzz targets: the input as a read-only device, and a quiet toolkit
// (decoders complain about broken files through its message handler).

#include <QBuffer>
#include <QByteArray>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

namespace ivra::fuzz {

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A buffer over the bytes, open for reading.
class InputDevice : public QBuffer {
public:
    InputDevice(const std::uint8_t* data, std::size_t size) : bytes_(bytesOf(data, size))
    {
        setBuffer(&bytes_);
        open(QIODevice::ReadOnly);
    }

private:
    QByteArray bytes_;
};

inline void silenceToolkit()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

} // namespace ivra::fuzz
