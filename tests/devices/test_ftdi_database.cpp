// The memory of FTDI devices seen before, which fills in listed devices that lack a location id.
#include "devices/CSerialLinkSL.h"
#include "devices/FtdiDatabase.h"
#include "support/FakeFtdiDevices.h"

#include <QtTest>

#include <cstring>

namespace {

using Listing = QList<QPair<unsigned, QString>>; // location id, serial number

Listing patched(const Listing& listing)
{
    std::vector<platform::FtDeviceListInfoNode> nodes(static_cast<std::size_t>(listing.size()));
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        nodes[i].LocId = listing[qsizetype(i)].first;
        std::strncpy(nodes[i].SerialNumber, listing[qsizetype(i)].second.toLatin1().constData(), 15);
    }
    PatchFtdiDeviceList(nodes.data(), static_cast<int>(nodes.size()));
    Listing result;
    for (const auto& node : nodes)
        result << qMakePair(unsigned(node.LocId), QString::fromLatin1(node.SerialNumber));
    return result;
}

} // namespace

class TestFtdiDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init() { InitFtdiDatabase(); }
    void cleanup() { EmptyFtdiDatabase(); }

    // Earlier listings are patched in order (they fill the memory); the last one is checked.
    void listingsArePatchedFromMemory_data()
    {
        QTest::addColumn<QList<Listing>>("earlier");
        QTest::addColumn<Listing>("now");
        QTest::addColumn<Listing>("shown");
        using L = Listing;
        QTest::newRow("unknown nodes take the last unmatched entries, newest first")
            << QList<L>{{{0x11, "A"}, {0x12, "B"}, {0x13, "C"}}} << L{{0x13, "C"}, {0, ""}, {0, ""}}
            << L{{0x13, "C"}, {0x12, "B"}, {0x11, "A"}};
        QTest::newRow("more unknown than remembered")
            << QList<L>{{{0x11, "A"}}} << L{{0, ""}, {0, ""}} << L{{0x11, "A"}, {0, ""}};
        QTest::newRow("serial moved")
            << QList<L>{{{0x11, "A"}}, {{0x22, "A"}}} << L{{0, ""}, {0, ""}} << L{{0x22, "A"}, {0, ""}};
        QTest::newRow("id without serial: not remembered")
            << QList<L>{{{0x11, ""}}} << L{{0, ""}} << L{{0, ""}};
        QTest::newRow("ids left as listed") << QList<L>{{{0x11, "A"}}} << L{{0x33, "B"}} << L{{0x33, "B"}};
    }
    void listingsArePatchedFromMemory()
    {
        QFETCH(QList<Listing>, earlier);
        QFETCH(Listing, now);
        QFETCH(Listing, shown);
        for (const Listing& listing : earlier)
            patched(listing);
        QCOMPARE(patched(now), shown);
    }

    // The memory lives as long as the gate link, works outside it, and cuts long serials to fit.
    void gateLinkHoldsTheMemory()
    {
        platform::FakeFtdiDevices devices;
        EmptyFtdiDatabase();
        RememberFtdiDevice(0x11, QStringLiteral("ABCDEFGHIJKLMNOPQRS"));
        QCOMPARE(patched({{0, ""}}), (Listing{{0x11, "ABCDEFGHIJKLMNO"}}));
        {
            CSerialLinkSL gateLink;
            patched({{0x121, "SL1"}});
            QCOMPARE(patched({{0, ""}}), (Listing{{0x121, "SL1"}}));
        }
        QCOMPARE(patched({{0, ""}}), (Listing{{0, ""}})); // emptied with the link
    }
};

QTEST_GUILESS_MAIN(TestFtdiDatabase)
#include "test_ftdi_database.moc"
