#include "artwork/EmbeddedPicture.h"

#include "artwork/DataZLib.h"

#include <QCoreApplication>
#include <QImage>
#include <QThread>

Data inflateEmbeddedPicture(std::span<const std::uint8_t> stream, std::uint32_t length)
{
    return dataWithZLibCompressedBytes(stream, length).value_or(Data());
}

const QImage& sharedEmbeddedPicture(QImage& slot, QImage (*make)())
{
    // The slots take no lock; they rely on every caller being on the main thread.
    Q_ASSERT(!QCoreApplication::instance() || QThread::currentThread() == QCoreApplication::instance()->thread());
    // A picture that failed to decode leaves the slot empty, so the next call tries again.
    if (slot.isNull())
        slot = make();
    return slot;
}
