#include "archive/XmlNesting.h"

#include <algorithm>

namespace {

// Index just past `terminator` at or after `from`, or the end of the text.
qsizetype SkipPast(const QByteArray& text, qsizetype from, const char* terminator)
{
    const qsizetype found = text.indexOf(terminator, from);
    return found < 0 ? text.size() : found + static_cast<qsizetype>(qstrlen(terminator));
}

// From just after "<name": the index past the tag's ">", and whether it closed itself ("/>").
qsizetype SkipOpeningTag(const QByteArray& text, qsizetype at, bool& selfClosing)
{
    char quote = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            selfClosing = text[at - 1] == '/';
            return at + 1;
        }
    }
    selfClosing = false;
    return at;
}

} // namespace

int XmlNestingDepth(const QByteArray& text)
{
    int depth = 0;
    int deepest = 0;
    qsizetype at = 0;
    while ((at = text.indexOf('<', at)) >= 0) {
        const QByteArray rest = QByteArray::fromRawData(text.constData() + at, text.size() - at);
        if (rest.startsWith("<!--")) {
            at = SkipPast(text, at + 4, "-->");
        } else if (rest.startsWith("<![CDATA[")) {
            at = SkipPast(text, at + 9, "]]>");
        } else if (rest.startsWith("<!") || rest.startsWith("<?")) {
            at = SkipPast(text, at + 2, ">");
        } else if (rest.startsWith("</")) {
            depth = std::max(depth - 1, 0);
            at = SkipPast(text, at + 2, ">");
        } else {
            bool selfClosing = false;
            at = SkipOpeningTag(text, at + 1, selfClosing);
            if (!selfClosing)
                deepest = std::max(deepest, ++depth);
        }
    }
    return deepest;
}
