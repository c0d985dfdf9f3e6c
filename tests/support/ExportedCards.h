#pragma once
// An export's bytes as a test reads them: delivered to memory, so that the
// UIDs it gives are stored as with a file.
#include "documents/vcard/VCardExchange.h"

namespace testsupport {

class MemoryDelivery : public vcard::Delivery {
  public:
    bool prepare(const QByteArray& bytes, QString&) override
    {
        bytes_ = bytes;
        return true;
    }
    bool complete(QString&) override { return true; }
    const QByteArray& bytes() const { return bytes_; }

  private:
    QByteArray bytes_;
};

// The cards, and in `problem` the contacts not exported, one a line.
inline QByteArray exportedCards(const QList<qint32>& ids, const QString& user, QString* problem = nullptr)
{
    MemoryDelivery memory;
    const vcard::ExportResult result = vcard::exportContacts(ids, user, memory);
    if (problem)
        *problem = result.skipped.join(u'\n');
    return memory.bytes();
}

} // namespace testsupport
