// Parses arbitrary bytes the way a document file is read, then reads and writes through the
// cursor everywhere, so that every offset the index holds is used at least once.

#include "Markup.h"

#include <cstddef>
#include <cstdint>

namespace {

void ReadChild(const CMarkup& xml) {
    const QString name = xml.ChildTagName();
    xml.ChildAttribute(name);
    xml.ChildAttribute(u"ID");
    xml.ChildAttribute(u"a");
    xml.ChildText();
}

// Every element in document order, without recursion: deep inputs are expected.
void WalkAll(CMarkup& xml) {
    xml.Rewind();
    while (xml.NextElement()) {
        xml.Attribute(xml.TagName());
        xml.Attribute(u"ID");
        int depth = 0;
        while (true) {
            if (xml.NextChild()) {
                ReadChild(xml);
                xml.EnterElement();
                ++depth;
            } else if (depth > 0) {
                xml.LeaveElement();
                --depth;
            } else {
                break;
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CMarkup xml;
    xml.SetDocumentText(CMarkup::DecodeUtf8(reinterpret_cast<const char*>(data), size));
    xml.IsWellFormed();
    WalkAll(xml);

    xml.Rewind();
    if (xml.NextElement()) {
        xml.SetAttribute(u"ID", 1);
        xml.AppendChild(u"N", u"<&>");
        xml.SetChildAttribute(u"a", u"\"'");
        xml.EnterElement();
        xml.AppendElement(u"M");
    }
    WalkAll(xml);
    return 0;
}
