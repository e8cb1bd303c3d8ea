// The ".run" loader on any file, as the listing loads it; whatever loads is saved and loaded again
// and must come back the same (one load may already trim white space, so the name is compared
// from the second save on).
#include "FuzzSupport.h"

#include "timing/GateSequence.h"

#include <cstring>

namespace {

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameGates(const GateSequence& a, const GateSequence& b)
{
    if (a.GateCount() != b.GateCount())
        return false;
    for (unsigned k = 0; k < static_cast<unsigned>(a.GateCount()); ++k) {
        if (a.GateNumberAt(k) != b.GateNumberAt(k))
            return false;
    }
    return true;
}

GateSequence saveAndLoad(const GateSequence& sequence, const char* fileName)
{
    const QString path = fuzz::scratchPath(fileName);
    if (!sequence.Save(path))
        fuzz::fail("a sequence that loaded cannot be saved");
    GateSequence reloaded;
    if (!reloaded.Load(path))
        fuzz::fail("a saved sequence does not load");
    return reloaded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool silenced = (fuzz::silenceQtMessages(), true);
    (void)silenced;
    const QString path = fuzz::writeScratchFile("input.run", data, size);

    GateSequence loaded;
    if (!loaded.Load(path))
        return 0;
    const GateSequence once = saveAndLoad(loaded, "once.run");
    if (!sameGates(loaded, once) || !sameBits(loaded.TotalDistance(), once.TotalDistance()) ||
        loaded.HoldOffMs() != once.HoldOffMs())
        fuzz::fail("gates, distance or hold-off changed in a save and load");
    const GateSequence twice = saveAndLoad(once, "twice.run");
    if (twice.Name() != once.Name() || !sameGates(once, twice) ||
        !sameBits(once.TotalDistance(), twice.TotalDistance()))
        fuzz::fail("a second save and load changed the sequence");
    return 0;
}
