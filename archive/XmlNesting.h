#pragma once

#include <QByteArray>

// How deeply the elements of an XML text nest, found by a linear scan before any parser recurses
// into it. Comments, CDATA, declarations and quoted attribute values are skipped; the text need
// not be well-formed.
int XmlNestingDepth(const QByteArray& text);
