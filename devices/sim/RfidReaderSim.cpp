#include "devices/sim/RfidReaderSim.h"

#include "platform/VirtualAdapters.h"

namespace sim {

RfidReaderSim::RfidReaderSim(const QString& name, const QStringList& tagList, Log logLine,
                             const QString& folder)
    : terminal(name, folder.isEmpty() ? platform::virtualSerialFolder() : folder), tags(tagList),
      log(std::move(logLine))
{
}

void RfidReaderSim::Poll()
{
    const QByteArray requests = terminal.ReadAvailable();
    for (const char byte : requests) {
        if (byte != 'r' || tags.isEmpty())
            continue;
        const QString tag = tags[next];
        next = (next + 1) % static_cast<int>(tags.size());
        terminal.Write(tag.toLatin1() + "\r\n");
        if (log)
            log(QStringLiteral("RFID scan answered with %1").arg(tag));
    }
}

} // namespace sim
