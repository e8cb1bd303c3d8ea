#include "archive/QXmlArchive.h"

#include "archive/XmlNesting.h"
#include "common/Hex.h"
#include "common/TokenSplit.h"
#include "common/Trace.h"
#include "common/Utf8.h"
#include "common/WriteWhole.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdint>
#include <cstring>
#include <locale>
#include <sstream>

namespace {

const char* const rootName = "Configuration";
// Far beyond the few levels the application's files use.
constexpr int MaxNestingDepth = 256;
// TinyXML's own wording for a file it cannot open.
const char* const openingFileError = "Failed to open file";

// What TinyXML's own file loading does before it parses: the text ends at its first NUL, and
// CR LF and lone CR become LF.
void NormaliseAsTinyXmlLoads(QByteArray& bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    bytes.replace("\r\n", "\n");
    bytes.replace('\r', '\n');
}

std::string EncodeDouble(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    std::string text;
    for (int k = 0; k < 8; ++k) {
        const unsigned byte = static_cast<unsigned>((bits >> (8 * k)) & 0xffu);
        text += ' ';
        text += LowerHexDigit(byte >> 4);
        text += LowerHexDigit(byte);
        text += ' ';
    }
    return text;
}

// Exactly eight byte tokens of one or two hexadecimal digits, least significant byte first.
bool DecodeDouble(const char* text, double& out)
{
    const std::vector<std::string> tokens = SplitTokens(text ? text : "", " \t\r\n");
    if (tokens.size() != 8)
        return false;
    std::uint64_t bits = 0;
    for (int k = 0; k < 8; ++k) {
        const std::string& token = tokens[static_cast<std::size_t>(k)];
        if (token.empty() || token.size() > 2)
            return false;
        unsigned byte = 0;
        for (char c : token) {
            const int digit = HexValue(c);
            if (digit < 0)
                return false;
            byte = byte * 16 + static_cast<unsigned>(digit);
        }
        bits |= static_cast<std::uint64_t>(byte) << (8 * k);
    }
    std::memcpy(&out, &bits, sizeof out);
    return true;
}

// Decimal stream extraction; text that does not parse, or a number above `max`, gives 0.
unsigned long long ParseUnsigned(const char* text, unsigned long long max)
{
    std::istringstream stream(text ? text : "");
    stream.imbue(std::locale::classic());
    unsigned long long value = 0;
    if (!(stream >> value) || value > max)
        return 0;
    return value;
}

std::string FormatDouble(double value)
{
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream << value;
    return stream.str();
}

void Trace(const std::string& line)
{
    qCDebug(swiftlaneTrace, "%s", line.c_str());
}

} // namespace

QXmlArchive::QXmlArchive()
{
    NewDocument();
}

QXmlArchive::~QXmlArchive() = default;

void QXmlArchive::NewDocument()
{
    childIndex.clear();
    document.Clear();
    document.ClearError();
    document.LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
    document.LinkEndChild(new TiXmlElement(rootName));
    currentSection = document.FirstChildElement();
    direction = Save;
}

bool QXmlArchive::LoadFile(const QString& fileName)
{
    return LoadFile(QFileInfo(fileName));
}

bool QXmlArchive::LoadFile(const QFileInfo& info)
{
    childIndex.clear(); // the document is replaced or emptied below
    const QString fileName = info.filePath();
    // TinyXML aborts on a directory, and opening a named pipe waits for a writer: only regular
    // files are opened.
    if (!info.isFile()) {
        FailLoad(fileName, openingFileError);
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        FailLoad(fileName, openingFileError);
        return false;
    }
    // Read once and parsed from memory: listing the runs folder loads every file in it.
    QByteArray bytes = file.readAll();
    file.close();
    // TinyXML recurses once per level when it parses, prints and frees; a damaged or hostile file
    // nested deeply enough would overflow the stack.
    if (XmlNestingDepth(bytes) > MaxNestingDepth) {
        FailLoad(fileName, "Elements nested too deeply");
        return false;
    }
    // Files of older versions hold Latin-1 text without an encoding declaration; parsed as UTF-8
    // their accented letters would swallow the markup after them.
    const TiXmlEncoding encoding = IsUtf8(bytes) ? TIXML_DEFAULT_ENCODING : TIXML_ENCODING_LEGACY;
    NormaliseAsTinyXmlLoads(bytes);

    document.Clear();
    document.ClearError();
    document.Parse(bytes.constData(), nullptr, encoding);
    if (document.Error()) {
        FailLoad(fileName, document.ErrorDesc());
        return false;
    }
    currentSection = document.RootElement();
    direction = Load;
    return true;
}

void QXmlArchive::FailLoad(const QString& fileName, const char* description)
{
    qCDebug(swiftlaneTrace, "%s",
            qUtf8Printable(QStringLiteral("Failed to open file :") + fileName + QStringLiteral("\nError :") +
                           QString::fromUtf8(description)));
    // A failed parse may have emptied the document: never keep a cursor into it.
    document.Clear();
    currentSection = nullptr;
}

namespace {

// Device files and pipes cannot be replaced by a finished temporary file; write into them directly.
bool WriteDirectly(const QString& fileName, const QByteArray& bytes, QString& error)
{
    QFile file(fileName);
    const bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) &&
                    WriteWhole(file, bytes);
    if (!ok)
        error = file.errorString();
    return ok;
}

bool WriteReplacing(const QString& fileName, const QByteArray& bytes, QString& error)
{
    QSaveFile file(fileName);
    const bool ok =
        file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && WriteWhole(file, bytes) && file.commit();
    if (!ok) {
        error = file.errorString();
        file.cancelWriting();
    }
    return ok;
}

} // namespace

bool QXmlArchive::SaveFile(const QString& fileName, QString* errorOut) const
{
    TiXmlPrinter printer; // default indent and line break, as TinyXML's own SaveFile prints
    document.Accept(&printer);
    const QByteArray bytes(printer.CStr(), static_cast<qsizetype>(printer.Size()));

    const QFileInfo target(fileName);
    QString error;
    bool ok = false;
    if (target.isDir())
        error = QStringLiteral("Is a directory");
    else if (target.exists() && !target.isFile())
        ok = WriteDirectly(fileName, bytes, error);
    else
        ok = WriteReplacing(fileName, bytes, error);
    // TinyXML's own error text is empty or stale here; the write knows why it failed.
    if (!ok)
        qCDebug(swiftlaneTrace, "SaveFile \"%s\"failed with error :%s\n", qUtf8Printable(fileName),
                qUtf8Printable(error));
    if (!ok && errorOut)
        *errorOut = error;
    return ok;
}

void QXmlArchive::CheckSetting(const std::string& name) const
{
    if (direction != Save)
        Trace("ERROR! CXmlArchive. \"Setting\" value in Load operation. Element: " + name + "\n");
}

void QXmlArchive::CheckGetting(const std::string& name) const
{
    if (direction == Save)
        Trace("ERROR! CXmlArchive. \"Getting\" value in Save operation. Element: " + name + "\n");
}

void QXmlArchive::CheckClash(const std::string& name) const
{
    if (!currentSection)
        Trace("ERROR! CXmlArchive. The document is in an invalid state\n");
    else if (FindChild(name))
        Trace("ERROR! CXmlArchive. An element of name: " + name + "  already exists\n");
}

bool QXmlArchive::AddSection(const std::string& name)
{
    CheckSetting(name);
    CheckClash(name);
    if (!currentSection)
        return false;
    AppendElement(new TiXmlElement(name.c_str()));
    currentSection = FindChild(name);
    return true;
}

bool QXmlArchive::GetSection(const std::string& name)
{
    qCDebug(swiftlaneTrace, "GetSection %s.  CurrentSection: %s\n", name.c_str(),
            currentSection ? currentSection->Value() : "");
    CheckGetting(name);
    if (!currentSection)
        return false;
    TiXmlElement* section = FindChild(name);
    if (!section)
        return false;
    currentSection = section;
    return true;
}

void QXmlArchive::LeaveSection()
{
    if (!currentSection)
        return;
    TiXmlNode* parent = currentSection->Parent();
    currentSection = parent ? parent->ToElement() : nullptr;
}

void QXmlArchive::AppendValueElement(const std::string& name, const std::string& text)
{
    CheckSetting(name);
    CheckClash(name);
    if (!currentSection)
        return;
    auto* element = new TiXmlElement(name.c_str());
    element->LinkEndChild(new TiXmlText(text.c_str()));
    AppendElement(element);
}

TiXmlElement* QXmlArchive::AppendElement(TiXmlElement* element)
{
    currentSection->LinkEndChild(element);
    const auto indexed = childIndex.find(currentSection);
    if (indexed != childIndex.end())
        indexed->second.try_emplace(element->Value(), element);
    return element;
}

TiXmlElement* QXmlArchive::FindChild(const std::string& name) const
{
    if (!currentSection)
        return nullptr;
    const auto [indexed, isNew] = childIndex.try_emplace(currentSection);
    ChildrenByName& children = indexed->second;
    if (isNew) {
        for (TiXmlElement* child = currentSection->FirstChildElement(); child;
             child = child->NextSiblingElement())
            children.try_emplace(child->Value(), child);
    }
    const auto found = children.find(name);
    return found == children.end() ? nullptr : found->second;
}

void QXmlArchive::AddComment(const std::string& text)
{
    if (!currentSection)
        return;
    auto* comment = new TiXmlComment();
    comment->SetValue(text.c_str());
    currentSection->LinkEndChild(comment);
}

void QXmlArchive::SetValue(const std::string& name, const std::string& value)
{
    AppendValueElement(name, value);
}

void QXmlArchive::SetValue(const std::string& name, const QString& value)
{
    AppendValueElement(name, value.toUtf8().toStdString());
}

void QXmlArchive::SetValue(const std::string& name, unsigned int value)
{
    AppendValueElement(name, std::to_string(value));
}

void QXmlArchive::SetValue(const std::string& name, unsigned short value)
{
    AppendValueElement(name, std::to_string(value));
}

void QXmlArchive::SetValue(const std::string& name, double value)
{
    AppendValueElement(name, EncodeDouble(value));
    AddComment(" " + name + " value: " + FormatDouble(value) + " ");
}

bool QXmlArchive::GetValue(const std::string& name, std::string& out)
{
    const TiXmlElement* element = FindChild(name);
    CheckGetting(name);
    if (!element)
        return false;
    const char* text = element->GetText();
    out = text ? text : "";
    return true;
}

bool QXmlArchive::GetValue(const std::string& name, QString& out)
{
    std::string bytes;
    if (!GetValue(name, bytes))
        return false;
    const QByteArray raw = QByteArray::fromStdString(bytes);
    out = IsUtf8(raw) ? QString::fromUtf8(raw) : QString::fromLatin1(raw);
    return true;
}

bool QXmlArchive::GetValue(const std::string& name, unsigned int& out) const
{
    const TiXmlElement* element = FindChild(name);
    if (!element)
        return false;
    out = static_cast<unsigned int>(ParseUnsigned(element->GetText(), 0xffffffffu));
    return true;
}

bool QXmlArchive::GetValue(const std::string& name, unsigned short& out) const
{
    const TiXmlElement* element = FindChild(name);
    if (!element)
        return false;
    out = static_cast<unsigned short>(ParseUnsigned(element->GetText(), 0xffffu));
    return true;
}

bool QXmlArchive::GetValue(const std::string& name, double& out) const
{
    const TiXmlElement* element = FindChild(name);
    return element && DecodeDouble(element->GetText(), out);
}
