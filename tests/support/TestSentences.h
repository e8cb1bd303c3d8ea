#pragma once

#include <QByteArray>

#include <cstdint>

// Gate sentences as the hardware sends them, built here with a checksum of the test's own, so a
// fault in the product's checksum code cannot agree with the sentences its tests feed it.
namespace testsentences {

inline QByteArray withChecksum(const QByteArray& body)
{
    unsigned char sum = 0;
    for (int i = 1; i < body.size(); ++i) // after the "$"
        sum ^= static_cast<unsigned char>(body[i]);
    return body + '*' + QByteArray::number(sum, 16).rightJustified(2, '0').toUpper();
}

// "$PSTS,<time>,g0,g1,g2,g3*HH\r\n"
inline QByteArray status(std::uint32_t deviceTime, bool g0 = true, bool g1 = true, bool g2 = true,
                         bool g3 = true)
{
    QByteArray body = "$PSTS," + QByteArray::number(deviceTime);
    for (bool ready : {g0, g1, g2, g3})
        body += ready ? ",1" : ",0";
    return withChecksum(body) + "\r\n";
}

// "$PEVT,<time>,<gate>,<state>*HH\r\n"
inline QByteArray event(std::uint32_t deviceTime, int gate, bool state = true)
{
    return withChecksum("$PEVT," + QByteArray::number(deviceTime) + ',' + QByteArray::number(gate) +
                        (state ? ",1" : ",0")) +
           "\r\n";
}

} // namespace testsentences
