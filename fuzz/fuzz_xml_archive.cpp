// The XML archive on any file: load it, then read it the way the loaders do (sections entered by
// name, every kind of value, nested sections, leaving past the root) and write into the loaded
// document, which the archive must survive without a crash, a leak or undefined behaviour.
#include "FuzzSupport.h"

#include "archive/QXmlArchive.h"

#include <string>

namespace {

// The names the application's files use, and a few that no file holds.
const char* const names[] = {"Configuration", "SLMain",     "GateSequence", "SequenceName", "TotalDistance",
                             "NumGates",      "Gate_0",     "Gate_1",       "Gate_10",      "GateNumber",
                             "a",             "Value",      ""};

void readEveryKind(QXmlArchive& archive, const char* name)
{
    std::string text;
    QString string;
    unsigned int number = 7;
    unsigned short shortNumber = 7;
    double real = 7.0;
    archive.GetValue(name, text);
    archive.GetValue(name, string);
    archive.GetValue(name, number);
    archive.GetValue(name, shortNumber);
    archive.GetValue(name, real);
}

void readSection(QXmlArchive& archive, int depth)
{
    for (const char* name : names)
        readEveryKind(archive, name);
    if (depth == 0)
        return;
    for (const char* name : names) {
        if (archive.GetSection(name)) {
            readSection(archive, depth - 1);
            archive.LeaveSection();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool silenced = (fuzz::silenceQtMessages(), true);
    (void)silenced;
    const QString path = fuzz::writeScratchFile("archive.xml", data, size);

    QXmlArchive archive;
    if (!archive.LoadFile(path))
        return 0;
    readSection(archive, 2);

    // Writing while loading is traced and still appends; reading must find the first element.
    archive.SetValue("NumGates", static_cast<unsigned short>(3));
    unsigned short count = 0;
    archive.GetValue("NumGates", count);

    // Past the root the archive is invalid: nothing may be read, entered or written.
    archive.LeaveSection();
    archive.LeaveSection();
    std::string text = "kept";
    if (archive.GetValue("SequenceName", text) || text != "kept" || archive.GetSection("GateSequence"))
        fuzz::fail("an invalid archive still read a value or entered a section");
    archive.SetValue("SequenceName", std::string("x"));
    archive.AddSection("GateSequence");
    return 0;
}
